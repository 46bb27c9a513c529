#include "statusbar.h"

#include "vberror.h"

#include <algorithm>

namespace vm {

namespace {
[[noreturn]] void notFound() { throw VbError(35601, "Panels", "Element not found"); }
} // namespace

int Panel::Index() const {
    const auto& items = bar_->Panels.items_;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i) + 1;
    return 0;
}

void Panel::SetText(const std::string& text) {
    text_ = text;
    bar_->show(*this);
}

void Panel::SetPicture(const Picture& picture) {
    picture_ = picture;
    bar_->show(*this);
}

int Panel::Width() const {
    size_t at = static_cast<size_t>(Index() - 1);
    if (autoSize_ == sbrSpring && at < bar_->widths_.size()) return pixelsToTwipsX(bar_->widths_[at]);
    return width_;
}

void Panel::SetWidth(int twips) {
    width_ = std::max(twips, minWidth_);
    bar_->layout();
}

void Panel::SetMinWidth(int twips) {
    minWidth_ = twips;
    if (width_ < minWidth_) width_ = minWidth_;
    bar_->layout();
}

void Panel::SetAutoSize(int mode) {
    autoSize_ = mode;
    bar_->layout();
}

Panel& PanelCollection::Add(int index, const std::string& key, const std::string& text, const Picture& picture) {
    int count = Count();
    if (index == 0 || index > count + 1) throw VbError(35600, "Panels", "Index out of bounds");
    if (!key.empty())
        for (const auto& panel : items_)
            if (panel->key_ == key) throw VbError(35602, "Panels", "Key is not unique in collection");
    auto panel = std::make_unique<Panel>();
    panel->bar_ = &bar_;
    panel->key_ = key;
    panel->text_ = text;
    panel->picture_ = picture;
    Panel* added = panel.get();
    items_.insert(items_.begin() + (index < 0 ? count : index - 1), std::move(panel));
    bar_.layout();
    return *added;
}

Panel& PanelCollection::operator()(int index) {
    if (index < 1 || index > Count()) notFound();
    return *items_[static_cast<size_t>(index) - 1];
}

Panel& PanelCollection::operator()(const std::string& key) {
    for (const auto& panel : items_)
        if (!key.empty() && panel->key_ == key) return *panel;
    notFound();
}

void PanelCollection::Remove(int index) {
    (*this)(index);
    items_.erase(items_.begin() + (index - 1));
    bar_.layout();
}

void PanelCollection::Clear() {
    items_.clear();
    bar_.layout();
}

void StatusBar::create(Window& parent) {
    createWindow(parent, STATUSCLASSNAMEA, WS_VISIBLE | SBARS_SIZEGRIP | SBARS_TOOLTIPS | CCS_BOTTOM, 0, "", 0, 0, 0, 0);
    layout();
}

void StatusBar::parentResized() {
    if (!created()) return;
    // The bar places itself along the bottom when told of the new size.
    SendMessageA(handle(), WM_SIZE, 0, 0);
    layout();
}

void StatusBar::layout() {
    if (!created()) return;
    auto& items = Panels.items_;
    RECT client{};
    GetClientRect(handle(), &client);
    int fixed = 0, springs = 0;
    widths_.assign(items.size(), 0);
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i]->autoSize_ == sbrSpring) ++springs;
        else fixed += widths_[i] = twipsToPixelsX(items[i]->width_);
    }
    int spare = std::max(0, static_cast<int>(client.right) - fixed);
    std::vector<int> edges;
    int right = 0, remaining = spare, seen = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i]->autoSize_ == sbrSpring) {
            // Springs share the room evenly; the last one takes what rounding left.
            int share = ++seen == springs ? remaining : spare / springs;
            remaining -= share;
            widths_[i] = std::max(share, twipsToPixelsX(items[i]->minWidth_));
        }
        right += widths_[i];
        edges.push_back(right);
    }
    if (edges.empty()) edges.push_back(-1);
    SendMessageA(handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (const auto& panel : items) {
        panel->shown_ = panel->textSent_ = panel->textPending_ = false;
        show(*panel);
    }
}

// A text reaches the bar when the bar paints or is read, not when it is set:
// each text sent costs the bar about a millisecond, and work that sets a
// panel's text several times before the window paints again (a message, then
// none, then the first item's origin) pays for the last only, or for none when
// it ends as the text shown.
void StatusBar::show(const Panel& panel) {
    if (!created()) return;
    WPARAM part = static_cast<WPARAM>(panel.Index() - 1);
    if (!panel.textPending_ && (!panel.textSent_ || panel.shownText_ != panel.text_)) {
        RECT r{};
        InvalidateRect(handle(), SendMessageA(handle(), SB_GETRECT, part, reinterpret_cast<LPARAM>(&r)) ? &r : nullptr,
                       FALSE);
        panel.textPending_ = textsPending_ = true;
    }
    HICON icon = panel.picture_.icon();
    if (!panel.shown_ || panel.shownIcon_ != icon) SendMessageA(handle(), SB_SETICON, part, reinterpret_cast<LPARAM>(icon));
    panel.shownIcon_ = icon;
    panel.shown_ = true;
}

void StatusBar::sendTexts() {
    if (!textsPending_ || !created()) return;
    textsPending_ = false;
    for (const auto& panel : Panels.items_) {
        if (!panel->textPending_) continue;
        panel->textPending_ = false;
        if (panel->textSent_ && panel->shownText_ == panel->text_) continue;
        const WPARAM part = static_cast<WPARAM>(panel->Index() - 1);
        SendMessageA(handle(), SB_SETTEXTA, part, reinterpret_cast<LPARAM>(panel->text_.c_str()));
        // A text the panel cuts shows whole when the pointer rests on it.
        SendMessageA(handle(), SB_SETTIPTEXTA, part, reinterpret_cast<LPARAM>(panel->text_.c_str()));
        panel->shownText_ = panel->text_;
        panel->textSent_ = true;
    }
}

bool StatusBar::onMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
    switch (msg) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
    case SB_GETTEXTA:
    case SB_GETTEXTW:
    case SB_GETTEXTLENGTHA:
    case SB_GETTEXTLENGTHW:
    case SB_GETTIPTEXTA:
    case SB_GETTIPTEXTW: sendTexts(); break;
    default: break;
    }
    return false;
}

bool StatusBar::onNotify(NMHDR* header, LRESULT& result) {
    if (header->hwndFrom != handle()) return false;
    if (header->code != NM_CLICK && header->code != NM_DBLCLK && header->code != NM_RCLICK) return false;
    auto* mouse = reinterpret_cast<NMMOUSE*>(header);
    // Some status bars keep the button-up message to themselves; the click tells it.
    raiseMouseUp(header->code == NM_RCLICK ? vbRightButton : vbLeftButton, scaleX(mouse->pt.x), scaleY(mouse->pt.y));
    size_t part = static_cast<size_t>(mouse->dwItemSpec);
    if (header->code != NM_RCLICK && part < Panels.items_.size()) {
        auto& handler = header->code == NM_CLICK ? PanelClick : PanelDblClick;
        if (handler) handler(*Panels.items_[part]);
    }
    result = 0;
    return true;
}

void StatusBar::reset() {
    Control::reset();
    textsPending_ = false;
    Panels.items_.clear();
    widths_.clear();
}

} // namespace vm
