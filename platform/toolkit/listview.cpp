#include "listview.h"

#include "vberror.h"
#include "utf8text.h"

#include <windowsx.h>

#include <algorithm>

namespace vm {

namespace {
[[noreturn]] void notFound(const char* source) { throw VbError(35601, source, "Element not found"); }

const int kViewStyles[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};

void setItemText(HWND list, int position, int column, const std::string& text) {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, static_cast<WPARAM>(position), reinterpret_cast<LPARAM>(&item));
}
} // namespace

int ListItem::position() const {
    // The control holds the items in the collection's order (adding, removing
    // and sorting keep the two alike), so no message need ask it: every one
    // costs a subclassed control dearly.
    return view_ && view_->created() ? index_ - 1 : -1;
}

int ListItem::searchPosition() const {
    if (!view_ || !view_->created()) return -1;
    LVFINDINFOA find{};
    find.flags = LVFI_PARAM;
    find.lParam = reinterpret_cast<LPARAM>(this);
    return static_cast<int>(
        SendMessageA(view_->handle(), LVM_FINDITEMA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
}

void ListItem::SetText(const std::string& text) {
    text_ = text;
    int at = position();
    if (at >= 0) setItemText(view_->handle(), at, 0, text);
}

std::string ListItem::SubItems(int i) const {
    if (i < 1) throw VbError(380, "SubItems", "Invalid property value");
    return static_cast<size_t>(i) <= subItems_.size() ? subItems_[static_cast<size_t>(i) - 1] : std::string();
}

void ListItem::SetSubItems(int i, const std::string& text) {
    if (i < 1) throw VbError(380, "SubItems", "Invalid property value");
    if (subItems_.size() < static_cast<size_t>(i)) subItems_.resize(static_cast<size_t>(i));
    subItems_[static_cast<size_t>(i) - 1] = text;
    int at = position();
    if (at >= 0) setItemText(view_->handle(), at, i, text);
}

void ListItem::SetIcon(const ImageRef& icon) {
    icon_ = icon;
    int at = position();
    if (at >= 0) ListView_RedrawItems(view_->handle(), at, at);
}

void ListItem::SetSmallIcon(const ImageRef& icon) {
    smallIcon_ = icon;
    int at = position();
    if (at >= 0) ListView_RedrawItems(view_->handle(), at, at);
}

bool ListItem::Selected() const {
    int at = position();
    return at >= 0 && (SendMessageA(view_->handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(at), LVIS_SELECTED) &
                       LVIS_SELECTED);
}

void ListItem::SetSelected(bool selected) {
    int at = position();
    if (at < 0) return;
    view_->selectingFromCode_ = true;
    ListView_SetItemState(view_->handle(), at, selected ? LVIS_SELECTED | LVIS_FOCUSED : 0,
                          LVIS_SELECTED | LVIS_FOCUSED);
    view_->selectingFromCode_ = false;
}

void ListItem::EnsureVisible() {
    int at = position();
    if (at >= 0) ListView_EnsureVisible(view_->handle(), at, FALSE);
}

void ColumnHeader::SetText(const std::string& text) {
    text_ = text;
    if (!view_->hWnd()) return;
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(text_.c_str());
    SendMessageA(view_->handle(), LVM_SETCOLUMNA, static_cast<WPARAM>(index_ - 1), reinterpret_cast<LPARAM>(&column));
}

int ColumnHeader::Width() const {
    // Only the report view shows the columns (and knows what the person dragged them to).
    if (view_->created() && view_->View() == lvwReport)
        width_ = static_cast<int>(SendMessageA(view_->handle(), LVM_GETCOLUMNWIDTH, index_ - 1, 0));
    return pixelsToTwipsX(width_);
}

void ColumnHeader::SetWidth(int twips) {
    width_ = twipsToPixelsX(twips);
    if (view_->hWnd()) SendMessageA(view_->handle(), LVM_SETCOLUMNWIDTH, index_ - 1, width_);
}

ListItem& ListItemCollection::Add(int index, const std::string& key, const std::string& text, const ImageRef& icon,
                                  const ImageRef& smallIcon) {
    if (!view_.hWnd()) throw VbError(91, "ListItems", "Object variable not set");
    int count = Count();
    if (index == 0 || index > count + 1) throw VbError(35600, "ListItems", "Index out of bounds");
    if (!key.empty())
        for (const auto& item : items_)
            if (item->key_ == key) throw VbError(35602, "ListItems", "Key is not unique in collection");
    auto item = std::make_unique<ListItem>();
    item->view_ = &view_;
    item->key_ = key;
    item->text_ = text;
    item->icon_ = icon;
    item->smallIcon_ = smallIcon;
    int at = index < 0 ? count : index - 1;
    ListItem* added = item.get();
    items_.insert(items_.begin() + at, std::move(item));
    LVITEMA lv{};
    lv.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    lv.iItem = at;
    lv.pszText = const_cast<char*>(added->text_.c_str());
    lv.iImage = I_IMAGECALLBACK;
    lv.lParam = reinterpret_cast<LPARAM>(added);
    SendMessageA(view_.handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&lv));
    renumber();
    if (view_.sorted_) view_.sort();
    return *added;
}

void ListItemCollection::renumber() {
    for (size_t i = 0; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i) + 1;
}

ListItem& ListItemCollection::operator()(int index) {
    if (index < 1 || index > Count()) notFound("ListItems");
    return *items_[static_cast<size_t>(index) - 1];
}

ListItem& ListItemCollection::operator()(const std::string& key) {
    for (const auto& item : items_)
        if (!key.empty() && item->key_ == key) return *item;
    notFound("ListItems");
}

void ListItemCollection::Remove(int index) {
    ListItem& item = (*this)(index);
    int at = item.position();
    if (at >= 0) SendMessageA(view_.handle(), LVM_DELETEITEM, static_cast<WPARAM>(at), 0);
    items_.erase(items_.begin() + (index - 1));
    renumber();
}

void ListItemCollection::Remove(const std::string& key) { Remove((*this)(key).Index()); }

void ListItemCollection::Clear() {
    if (view_.created()) SendMessageA(view_.handle(), LVM_DELETEALLITEMS, 0, 0);
    items_.clear();
}

ColumnHeader& ColumnHeaderCollection::Add(int index, const std::string& key, const std::string& text, int width,
                                          int alignment) {
    if (!view_.hWnd()) throw VbError(91, "ColumnHeaders", "Object variable not set");
    int count = Count();
    if (index == 0 || index > count + 1) throw VbError(35600, "ColumnHeaders", "Index out of bounds");
    auto column = std::make_unique<ColumnHeader>();
    column->view_ = &view_;
    column->key_ = key;
    column->text_ = text;
    int at = index < 0 ? count : index - 1;
    LVCOLUMNA lv{};
    lv.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    lv.fmt = alignment == 1 ? LVCFMT_RIGHT : alignment == 2 ? LVCFMT_CENTER : LVCFMT_LEFT;
    lv.cx = column->width_ = twipsToPixelsX(width < 0 ? 1440 : width);
    lv.pszText = const_cast<char*>(column->text_.c_str());
    SendMessageA(view_.handle(), LVM_INSERTCOLUMNA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&lv));
    ColumnHeader* added = column.get();
    items_.insert(items_.begin() + at, std::move(column));
    for (size_t i = 0; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i) + 1;
    // Sub-item texts set before the column existed show now.
    if (at > 0)
        for (const auto& item : view_.ListItems.items_) {
            std::string text = item->SubItems(at);
            if (!text.empty()) setItemText(view_.handle(), item->position(), at, text);
        }
    return *added;
}

ColumnHeader& ColumnHeaderCollection::operator()(int index) {
    if (index < 1 || index > Count()) notFound("ColumnHeaders");
    return *items_[static_cast<size_t>(index) - 1];
}

ColumnHeader& ColumnHeaderCollection::operator()(const std::string& key) {
    for (const auto& column : items_)
        if (!key.empty() && column->key_ == key) return *column;
    notFound("ColumnHeaders");
}

void ColumnHeaderCollection::Clear() {
    if (view_.created())
        while (SendMessageA(view_.handle(), LVM_DELETECOLUMN, 0, 0)) {
        }
    items_.clear();
}

ListView::ListView(Form* owner) : Control(owner) {
    backColor_ = vbWindowBackground;
    foreColor_ = vbWindowText;
}

void ListView::create(Window& parent, int left, int top, int width, int height, int view) {
    createWindow(parent, WC_LISTVIEWA,
                 WS_VISIBLE | WS_TABSTOP | LVS_SHAREIMAGELISTS | LVS_AUTOARRANGE | LVS_SHOWSELALWAYS |
                     static_cast<DWORD>(kViewStyles[view & 3]),
                 WS_EX_CLIENTEDGE, "", left, top, width, height);
}

int ListView::View() {
    if (!hWnd()) return lvwIcon;
    DWORD style = GetWindowLongA(handle(), GWL_STYLE) & LVS_TYPEMASK;
    for (int v = 0; v < 4; ++v)
        if (static_cast<DWORD>(kViewStyles[v]) == style) return v;
    return lvwIcon;
}

void ListView::SetView(int view) {
    if (view < lvwIcon || view > lvwReport) throw VbError(380, "View", "Invalid property value");
    if (!hWnd()) return;
    LONG style = GetWindowLongA(handle(), GWL_STYLE);
    SetWindowLongA(handle(), GWL_STYLE, (style & ~LVS_TYPEMASK) | kViewStyles[view]);
    InvalidateRect(handle(), nullptr, TRUE);
}

ListItem* ListView::SelectedItem() {
    if (!created()) return nullptr;
    int at = static_cast<int>(SendMessageA(handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (at < 0) return nullptr;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = at;
    SendMessageA(handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<ListItem*>(item.lParam);
}

void ListView::SetSelectedItem(ListItem* item) {
    if (!hWnd()) return;
    selectingFromCode_ = true;
    ListView_SetItemState(handle(), -1, 0, LVIS_SELECTED);
    selectingFromCode_ = false;
    if (item) item->SetSelected(true);
}

// The list keeps its handle for good, so the same list given again changes
// nothing; each one the control takes costs it a new layout of its items.
void ListView::setImageList(ImageList*& held, ImageList* list, int which) {
    if (!hWnd()) {
        held = list;
        return;
    }
    const auto given = reinterpret_cast<LPARAM>(list ? list->hImageList() : nullptr);
    if (held == list && SendMessageA(handle(), LVM_GETIMAGELIST, static_cast<WPARAM>(which), 0) == given) return;
    held = list;
    SendMessageA(handle(), LVM_SETIMAGELIST, static_cast<WPARAM>(which), given);
}

void ListView::SetIcons(ImageList* list) { setImageList(icons_, list, LVSIL_NORMAL); }

void ListView::SetSmallIcons(ImageList* list) { setImageList(smallIcons_, list, LVSIL_SMALL); }

void ListView::SetSorted(bool sorted) {
    sorted_ = sorted;
    if (sorted_) sort();
}

void ListView::sort() {
    if (!hWnd()) return;
    auto compare = [](LPARAM a, LPARAM b, LPARAM self) -> int {
        auto* view = reinterpret_cast<ListView*>(self);
        auto* x = reinterpret_cast<ListItem*>(a);
        auto* y = reinterpret_cast<ListItem*>(b);
        std::string tx = view->sortKey_ == 0 ? x->Text() : x->SubItems(view->sortKey_);
        std::string ty = view->sortKey_ == 0 ? y->Text() : y->SubItems(view->sortKey_);
        int order = CompareText(tx, ty);
        return view->sortOrder_ == lvwDescending ? -order : order;
    };
    SendMessageA(handle(), LVM_SORTITEMS, reinterpret_cast<WPARAM>(this),
                 reinterpret_cast<LPARAM>(static_cast<PFNLVCOMPARE>(compare)));
    // The collection follows the order shown.
    auto& items = ListItems.items_;
    std::vector<std::unique_ptr<ListItem>> ordered(items.size());
    for (auto& item : items) {
        int at = item->searchPosition();
        ordered[static_cast<size_t>(at)] = std::move(item);
    }
    items = std::move(ordered);
    ListItems.renumber();
}

void ListView::setExStyle(DWORD mask, bool on) {
    if (hWnd()) SendMessageA(handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, mask, on ? mask : 0);
}

bool ListView::HotTracking() {
    return hWnd() && (SendMessageA(handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_UNDERLINEHOT);
}
void ListView::SetHotTracking(bool on) { setExStyle(LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT, on); }
bool ListView::HoverSelection() {
    return hWnd() && (SendMessageA(handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_TRACKSELECT);
}
void ListView::SetHoverSelection(bool on) { setExStyle(LVS_EX_TRACKSELECT, on); }

void ListView::SetBackColor(OleColor color) {
    backColor_ = color;
    if (!hWnd()) return;
    SendMessageA(handle(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(resolveColor(color)));
    SendMessageA(handle(), LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(resolveColor(color)));
    InvalidateRect(handle(), nullptr, TRUE);
}

void ListView::SetForeColor(OleColor color) {
    foreColor_ = color;
    if (!hWnd()) return;
    SendMessageA(handle(), LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(resolveColor(color)));
    InvalidateRect(handle(), nullptr, TRUE);
}

ListItem* ListView::HitTest(float x, float y) {
    if (!hWnd()) return nullptr;
    LVHITTESTINFO hit{};
    hit.pt = POINT{twipsToPixelsX(static_cast<int>(x)), twipsToPixelsY(static_cast<int>(y))};
    int at = static_cast<int>(SendMessageA(handle(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (at < 0) return nullptr;
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = at;
    SendMessageA(handle(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return reinterpret_cast<ListItem*>(item.lParam);
}

void ListView::Arrange() {
    if (hWnd()) SendMessageA(handle(), LVM_ARRANGE, LVA_DEFAULT, 0);
}

void ListView::SetRedraw(bool on) {
    if (!hWnd()) return;
    if (!on) {
        SendMessageA(handle(), WM_SETREDRAW, FALSE, 0);
        return;
    }
    // Drawing back on lays the items out and sets the scroll bars, and some
    // list controls draw a scroll bar at each such step, slowly. The window
    // counts as hidden meanwhile (the plain window handling of the message
    // takes its visible flag away and back, showing nothing anew), and then
    // paints once, frame included.
    // A list that arranges itself is arranged first, while it still draws
    // nothing: arranged with drawing on, each item moved would be drawn anew.
    if (GetWindowLongA(handle(), GWL_STYLE) & LVS_AUTOARRANGE) SendMessageA(handle(), LVM_ARRANGE, LVA_DEFAULT, 0);
    DefWindowProcA(handle(), WM_SETREDRAW, FALSE, 0);
    SendMessageA(handle(), WM_SETREDRAW, TRUE, 0);
    DefWindowProcA(handle(), WM_SETREDRAW, TRUE, 0);
    RedrawWindow(handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
}

int ListView::imageOf(const ListItem& item) {
    // The large-icon view shows the Icons list, the others the SmallIcons list.
    bool large = View() == lvwIcon;
    ImageList* list = large ? icons_ : smallIcons_;
    return list ? list->ListImages.find(large ? item.icon_ : item.smallIcon_) : -1;
}

bool ListView::onNotify(NMHDR* header, LRESULT& result) {
    if (header->hwndFrom != handle()) return false;
    switch (header->code) {
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW: {
        // The image is the only field asked back; both layouts agree on it.
        auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
        if (info->item.mask & LVIF_IMAGE)
            info->item.iImage = imageOf(*reinterpret_cast<ListItem*>(info->item.lParam));
        return true;
    }
    case LVN_DELETEALLITEMS:
        // No LVN_DELETEITEM for each item: the collection lets its items go by itself.
        result = TRUE;
        return true;
    case LVN_ITEMCHANGED: {
        auto* change = reinterpret_cast<NMLISTVIEW*>(header);
        bool nowSelected = (change->uNewState & LVIS_SELECTED) && !(change->uOldState & LVIS_SELECTED);
        if (nowSelected && !selectingFromCode_ && change->lParam) {
            itemClickRaised_ = true;
            if (ItemClick) ItemClick(*reinterpret_cast<ListItem*>(change->lParam));
        }
        return true;
    }
    case LVN_COLUMNCLICK: {
        auto* click = reinterpret_cast<NMLISTVIEW*>(header);
        if (ColumnClick && click->iSubItem < ColumnHeaders.Count()) ColumnClick(ColumnHeaders(click->iSubItem + 1));
        return true;
    }
    case NM_CLICK:
    case NM_RCLICK: {
        // The list view keeps the button-up message to itself; the click tells it.
        bool right = header->code == NM_RCLICK;
        POINT at{};
        GetCursorPos(&at);
        ScreenToClient(handle(), &at);
        // A click on the item already selected selects nothing anew, and is an item click all the same.
        if (!right && !itemClickRaised_) {
            itemClickRaised_ = true;
            ListItem* hit = HitTest(scaleX(at.x), scaleY(at.y));
            if (hit && hit->Selected() && ItemClick) ItemClick(*hit);
        }
        raiseMouseUp(right ? vbRightButton : vbLeftButton, scaleX(at.x), scaleY(at.y));
        if (!right && Click) Click();
        result = 0;
        return true;
    }
    case NM_DBLCLK:
        if (DblClick) DblClick();
        return true;
    case LVN_BEGINDRAG:
        if (OLEStartDrag) OLEStartDrag();
        return true;
    default: return false;
    }
}

bool ListView::onMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
    // Each press of the left button may raise one ItemClick, by selecting an item or by its click.
    if (msg == WM_LBUTTONDOWN) itemClickRaised_ = false;
    return false;
}

void ListView::reset() {
    Control::reset();
    ListItems.items_.clear();
    ColumnHeaders.items_.clear();
    icons_ = smallIcons_ = nullptr;
    sorted_ = false;
}

} // namespace vm
