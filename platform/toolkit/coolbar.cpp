#include "coolbar.h"

#include "vberror.h"

namespace vm {

namespace {
[[noreturn]] void notFound() { throw VbError(35601, "Bands", "Element not found"); }
} // namespace

int Band::Index() const {
    const auto& items = bar_->Bands.items_;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i) + 1;
    return 0;
}

// The person can drag bands around: the band is found by its id, not its place.
int Band::position() const {
    return bar_->created() ? static_cast<int>(SendMessageA(bar_->handle(), RB_IDTOINDEX, id_, 0)) : -1;
}

REBARBANDINFOA Band::info(UINT mask) const {
    REBARBANDINFOA band{};
    band.cbSize = sizeof(band);
    band.fMask = mask;
    int at = position();
    if (at >= 0) SendMessageA(bar_->handle(), RB_GETBANDINFOA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&band));
    return band;
}

void Band::set(REBARBANDINFOA& band) {
    int at = position();
    if (at >= 0) SendMessageA(bar_->handle(), RB_SETBANDINFOA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&band));
}

bool Band::Visible() const { return !(info(RBBIM_STYLE).fStyle & RBBS_HIDDEN); }

void Band::SetVisible(bool visible) {
    int at = position();
    if (at >= 0) SendMessageA(bar_->handle(), RB_SHOWBAND, static_cast<WPARAM>(at), visible);
}

bool Band::NewRow() const { return info(RBBIM_STYLE).fStyle & RBBS_BREAK; }

void Band::SetNewRow(bool newRow) {
    REBARBANDINFOA band = info(RBBIM_STYLE);
    band.fMask = RBBIM_STYLE;
    band.fStyle = newRow ? band.fStyle | RBBS_BREAK : band.fStyle & ~static_cast<UINT>(RBBS_BREAK);
    set(band);
}

bool Band::StartsRow() const {
    const int at = position();
    if (at < 0) return false;
    RECT mine{};
    SendMessageA(bar_->handle(), RB_GETRECT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&mine));
    for (int before = at - 1; before >= 0; --before) {
        REBARBANDINFOA band{};
        band.cbSize = sizeof(band);
        band.fMask = RBBIM_STYLE;
        SendMessageA(bar_->handle(), RB_GETBANDINFOA, static_cast<WPARAM>(before), reinterpret_cast<LPARAM>(&band));
        if (band.fStyle & RBBS_HIDDEN) continue;
        RECT previous{};
        SendMessageA(bar_->handle(), RB_GETRECT, static_cast<WPARAM>(before), reinterpret_cast<LPARAM>(&previous));
        return mine.top >= previous.bottom;
    }
    return true;
}

int Band::Width() const { return pixelsToTwipsX(static_cast<int>(info(RBBIM_SIZE).cx)); }

void Band::SetWidth(int twips) {
    REBARBANDINFOA band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_SIZE;
    band.cx = static_cast<UINT>(twipsToPixelsX(twips));
    set(band);
}

int Band::MinWidth() const { return pixelsToTwipsX(static_cast<int>(info(RBBIM_CHILDSIZE).cxMinChild)); }

void Band::SetMinWidth(int twips) {
    REBARBANDINFOA band = info(RBBIM_CHILDSIZE);
    band.fMask = RBBIM_CHILDSIZE;
    band.cxMinChild = static_cast<UINT>(twipsToPixelsX(twips));
    set(band);
}

int Band::MinHeight() const { return pixelsToTwipsY(static_cast<int>(info(RBBIM_CHILDSIZE).cyMinChild)); }

void Band::SetMinHeight(int twips) {
    REBARBANDINFOA band = info(RBBIM_CHILDSIZE);
    band.fMask = RBBIM_CHILDSIZE;
    band.cyMinChild = static_cast<UINT>(twipsToPixelsY(twips));
    set(band);
}

void Band::SetCaption(const std::string& caption) {
    caption_ = caption;
    REBARBANDINFOA band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_TEXT;
    band.lpText = const_cast<char*>(caption_.c_str());
    set(band);
}

Band& BandCollection::Add(int index, const std::string& key, const std::string& caption, Control* child,
                          bool newRow) {
    if (!bar_.hWnd()) throw VbError(91, "Bands", "Object variable not set");
    int count = Count();
    if (index == 0 || index > count + 1) throw VbError(35600, "Bands", "Index out of bounds");
    auto added = std::make_unique<Band>();
    added->bar_ = &bar_;
    added->id_ = bar_.nextId_++;
    added->key_ = key;
    added->caption_ = caption;
    added->child_ = child;
    int at = index < 0 ? count : index - 1;
    REBARBANDINFOA band{};
    band.cbSize = sizeof(band);
    band.fMask = RBBIM_ID | RBBIM_STYLE | RBBIM_TEXT;
    band.wID = added->id_;
    band.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS | (newRow ? RBBS_BREAK : 0);
    band.lpText = const_cast<char*>(added->caption_.c_str());
    if (child && child->hWnd()) {
        RECT size{};
        GetWindowRect(child->hWnd(), &size);
        band.fMask |= RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_SIZE;
        band.hwndChild = child->hWnd();
        band.cxMinChild = 0;
        band.cyMinChild = static_cast<UINT>(size.bottom - size.top);
        band.cx = static_cast<UINT>(size.right - size.left);
    }
    SendMessageA(bar_.handle(), RB_INSERTBANDA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&band));
    Band* result = added.get();
    items_.insert(items_.begin() + at, std::move(added));
    return *result;
}

Band& BandCollection::operator()(int index) {
    if (index < 1 || index > Count()) notFound();
    return *items_[static_cast<size_t>(index) - 1];
}

Band& BandCollection::operator()(const std::string& key) {
    for (const auto& band : items_)
        if (!key.empty() && band->key_ == key) return *band;
    notFound();
}

void CoolBar::create(Window& parent) {
    createWindow(parent, REBARCLASSNAMEA, WS_VISIBLE | WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER | CCS_TOP,
                 0, "", 0, 0, 0, 0);
}

void CoolBar::parentResized() {
    // The rebar spans its parent's width when told of the new size.
    if (created()) SendMessageA(handle(), WM_SIZE, 0, 0);
}

bool CoolBar::onNotify(NMHDR* header, LRESULT& result) {
    if (header->hwndFrom != handle() || header->code != RBN_HEIGHTCHANGE) return false;
    if (HeightChanged) HeightChanged(static_cast<float>(Height()));
    result = 0;
    return true;
}

void CoolBar::reset() {
    Control::reset();
    Bands.items_.clear();
    nextId_ = 1;
}

} // namespace vm
