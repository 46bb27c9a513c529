#include "toolbar.h"

#include "menu.h"
#include "seam.h"
#include "vberror.h"

#include <algorithm>

namespace vm {

namespace {
[[noreturn]] void notFound(const char* source) { throw VbError(35601, source, "Element not found"); }

BYTE buttonStyle(int style) {
    switch (style) {
    case tbrCheck: return BTNS_CHECK;
    case tbrButtonGroup: return BTNS_CHECKGROUP;
    case tbrSeparator:
    case tbrPlaceholder: return BTNS_SEP;
    case tbrDropdown: return BTNS_DROPDOWN;
    default: return BTNS_BUTTON;
    }
}
} // namespace

ButtonMenu& ButtonMenuCollection::Add(int index, const std::string& key, const std::string& text) {
    int count = Count();
    if (index == 0 || index > count + 1) throw VbError(35600, "ButtonMenus", "Index out of bounds");
    auto item = std::make_unique<ButtonMenu>();
    item->parent_ = &button_;
    item->key_ = key;
    item->text_ = text;
    ButtonMenu* added = item.get();
    items_.insert(items_.begin() + (index < 0 ? count : index - 1), std::move(item));
    for (size_t i = 0; i < items_.size(); ++i) items_[i]->index_ = static_cast<int>(i) + 1;
    return *added;
}

ButtonMenu& ButtonMenuCollection::operator()(int index) {
    if (index < 1 || index > Count()) notFound("ButtonMenus");
    return *items_[static_cast<size_t>(index) - 1];
}

ButtonMenu& ButtonMenuCollection::operator()(const std::string& key) {
    for (const auto& item : items_)
        if (!key.empty() && item->key_ == key) return *item;
    notFound("ButtonMenus");
}

int ToolbarButton::Index() const {
    const auto& items = bar_.Buttons.items_;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i) + 1;
    return 0;
}

void ToolbarButton::setInfo(TBBUTTONINFOA& info) {
    info.cbSize = sizeof(info);
    if (bar_.created()) SendMessageA(bar_.handle(), TB_SETBUTTONINFOA, static_cast<WPARAM>(id_), reinterpret_cast<LPARAM>(&info));
}

DWORD ToolbarButton::state() const {
    if (!bar_.created()) return 0;
    LRESULT state = SendMessageA(bar_.handle(), TB_GETSTATE, static_cast<WPARAM>(id_), 0);
    return state < 0 ? 0 : static_cast<DWORD>(state);
}

void ToolbarButton::SetCaption(const std::string& caption) {
    caption_ = caption;
    TBBUTTONINFOA info{};
    info.dwMask = TBIF_TEXT;
    info.pszText = const_cast<char*>(caption_.c_str());
    setInfo(info);
    bar_.fitWindow();
}

void ToolbarButton::SetImage(int image) {
    image_ = image;
    TBBUTTONINFOA info{};
    info.dwMask = TBIF_IMAGE;
    info.iImage = image > 0 ? image - 1 : I_IMAGENONE;
    setInfo(info);
}

bool ToolbarButton::Enabled() const { return state() & TBSTATE_ENABLED; }
void ToolbarButton::SetEnabled(bool enabled) {
    wanted_ = enabled;
    showEnabled();
}
void ToolbarButton::showEnabled(bool skipIdleRepaint) {
    const bool shown = wanted_ && (!bar_.held_ || liveWhileHeld_);
    if (!bar_.created() || Enabled() == shown) return;
    SendMessageA(bar_.handle(), TB_ENABLEBUTTON, static_cast<WPARAM>(id_), shown);
    greyedSincePaint_ = true;
    if (skipIdleRepaint) bar_.skipIdleRepaint();
}
bool ToolbarButton::Visible() const { return !(state() & TBSTATE_HIDDEN); }
void ToolbarButton::SetVisible(bool visible) {
    if (!bar_.created()) return;
    SendMessageA(bar_.handle(), TB_HIDEBUTTON, static_cast<WPARAM>(id_), !visible);
    bar_.fitWindow();
}
int ToolbarButton::Value() const { return (state() & TBSTATE_CHECKED) ? 1 : 0; }
void ToolbarButton::SetValue(int value) {
    if (bar_.created()) SendMessageA(bar_.handle(), TB_CHECKBUTTON, static_cast<WPARAM>(id_), value != 0);
}

ToolbarButton& ButtonCollection::Add(int index, const std::string& key, const std::string& caption, int style,
                                     int image) {
    if (!bar_.hWnd()) throw VbError(91, "Buttons", "Object variable not set");
    int count = Count();
    if (index == 0 || index > count + 1) throw VbError(35600, "Buttons", "Index out of bounds");
    if (!key.empty())
        for (const auto& button : items_)
            if (button->key_ == key) throw VbError(35602, "Buttons", "Key is not unique in collection");
    auto button = std::make_unique<ToolbarButton>(bar_);
    button->id_ = bar_.nextId_++;
    button->key_ = key;
    button->caption_ = caption;
    button->style_ = style;
    button->image_ = image;
    int at = index < 0 ? count : index - 1;
    TBBUTTON tb{};
    tb.iBitmap = image > 0 ? image - 1 : I_IMAGENONE;
    tb.idCommand = button->id_;
    tb.fsState = TBSTATE_ENABLED;
    tb.fsStyle = buttonStyle(style);
    tb.iString = reinterpret_cast<INT_PTR>(button->caption_.c_str());
    SendMessageA(bar_.handle(), TB_INSERTBUTTONA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&tb));
    ToolbarButton* added = button.get();
    items_.insert(items_.begin() + at, std::move(button));
    if (bar_.held_) added->showEnabled();
    bar_.fitWindow();
    return *added;
}

ToolbarButton& ButtonCollection::operator()(int index) {
    if (index < 1 || index > Count()) notFound("Buttons");
    return *items_[static_cast<size_t>(index) - 1];
}

ToolbarButton& ButtonCollection::operator()(const std::string& key) {
    for (const auto& button : items_)
        if (!key.empty() && button->key_ == key) return *button;
    notFound("Buttons");
}

void Toolbar::create(Window& parent, int left, int top, int width, int height) {
    createWindow(parent, TOOLBARCLASSNAMEA,
                 WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | TBSTYLE_TRANSPARENT | CCS_NORESIZE | CCS_NODIVIDER |
                     CCS_NOPARENTALIGN | CCS_ADJUSTABLE,
                 0, "", left, top, width, height);
    SendMessageA(handle(), TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(handle(), TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    fitWindow();
}

// The pointer may have left the button while a modal window had it, and the
// bar, hearing nothing of that, would keep the button's hover frame.
void Toolbar::modalWindowClosed() {
    const int hot = static_cast<int>(SendMessageA(handle(), TB_GETHOTITEM, 0, 0));
    if (hot < 0) return;
    POINT at{};
    GetCursorPos(&at);
    RECT button{};
    SendMessageA(handle(), TB_GETITEMRECT, static_cast<WPARAM>(hot), reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(handle(), HWND_DESKTOP, reinterpret_cast<POINT*>(&button), 2);
    if (WindowFromPoint(at) != handle() || !PtInRect(&button, at)) SendMessageA(handle(), TB_SETHOTITEM, static_cast<WPARAM>(-1), 0);
}

ToolbarButton* Toolbar::byId(int id) {
    for (const auto& button : Buttons.items_)
        if (button->id_ == id) return button.get();
    return nullptr;
}

void Toolbar::fitWindow() {
    if (!created()) return;
    SendMessageA(handle(), TB_AUTOSIZE, 0, 0);
    SIZE size{};
    SendMessageA(handle(), TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    if (size.cx > 0 && size.cy > 0) SetWindowPos(handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Toolbar::SetImageList(ImageList* list) {
    if (!hWnd()) return;
    SendMessageA(handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(list ? list->hImageList() : nullptr));
    fitWindow();
}

void Toolbar::SetHotImageList(ImageList* list) {
    if (hWnd()) SendMessageA(handle(), TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(list ? list->hImageList() : nullptr));
}

int Toolbar::ButtonHeight() {
    return hWnd() ? pixelsToTwipsY(HIWORD(SendMessageA(handle(), TB_GETBUTTONSIZE, 0, 0))) : 0;
}
int Toolbar::ButtonWidth() {
    return hWnd() ? pixelsToTwipsX(LOWORD(SendMessageA(handle(), TB_GETBUTTONSIZE, 0, 0))) : 0;
}

int Toolbar::ButtonsWidth() {
    if (!hWnd()) return 0;
    SIZE size{};
    SendMessageA(handle(), TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    return pixelsToTwipsX(size.cx);
}

void Toolbar::SetButtonHeight(int twips) {
    if (!hWnd()) return;
    int width = LOWORD(SendMessageA(handle(), TB_GETBUTTONSIZE, 0, 0));
    SendMessageA(handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(width, twipsToPixelsY(twips)));
    fitWindow();
}

void Toolbar::SetButtonWidth(int twips) {
    if (!hWnd()) return;
    int height = HIWORD(SendMessageA(handle(), TB_GETBUTTONSIZE, 0, 0));
    SendMessageA(handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(twipsToPixelsX(twips), height));
    fitWindow();
}

void Toolbar::Customize() {
    if (!hWnd()) return;
    Seam& seam = Seam::get();
    if (seam.scripted()) {
        seam.note({"Customize", {}, {}, 0, {}});
        return;
    }
    SendMessageA(handle(), TB_CUSTOMIZE, 0, 0);
}

void Toolbar::SaveToolbar(const std::string& key, const std::string& subKey, const std::string& value) {
    if (!hWnd()) return;
    std::string path = key + "\\" + subKey;
    TBSAVEPARAMSA params{HKEY_CURRENT_USER, path.c_str(), value.c_str()};
    SendMessageA(handle(), TB_SAVERESTOREA, TRUE, reinterpret_cast<LPARAM>(&params));
}

void Toolbar::onCommand(int, int id) {
    if (ToolbarButton* button = byId(id); button && ButtonClick) ButtonClick(*button);
}

void Toolbar::dropDown(ToolbarButton& button) {
    HMENU menu = CreatePopupMenu();
    std::vector<ButtonMenu*> shown;
    for (const auto& item : button.ButtonMenus.items_) {
        if (!item->Visible) continue;
        shown.push_back(item.get());
        AppendMenuA(menu, MF_STRING | (item->Enabled ? MF_ENABLED : MF_GRAYED), shown.size(), item->Text().c_str());
    }
    RECT rect{};
    SendMessageA(handle(), TB_GETRECT, static_cast<WPARAM>(button.id_), reinterpret_cast<LPARAM>(&rect));
    POINT at{rect.left, rect.bottom};
    ClientToScreen(handle(), &at);
    UINT chosen = trackPopup(handle(), menu, at, TPM_LEFTALIGN | TPM_TOPALIGN, button.Caption().empty() ? button.Key() : button.Caption());
    DestroyMenu(menu);
    if (chosen >= 1 && chosen <= shown.size() && ButtonMenuClick) ButtonMenuClick(*shown[chosen - 1]);
}

bool Toolbar::onNotify(NMHDR* header, LRESULT& result) {
    switch (header->code) {
    case TBN_DROPDOWN: {
        if (header->hwndFrom != handle()) return false;
        if (ToolbarButton* button = byId(reinterpret_cast<NMTOOLBARA*>(header)->iItem)) dropDown(*button);
        result = TBDDRET_DEFAULT;
        return true;
    }
    case TTN_GETDISPINFOA: {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(header);
        ToolbarButton* button = byId(static_cast<int>(header->idFrom));
        if (!button) return false;
        info->lpszText = const_cast<char*>(button->toolTip_.c_str());
        return true;
    }
    case TBN_QUERYINSERT:
    case TBN_QUERYDELETE:
        result = TRUE;
        return header->hwndFrom == handle();
    case TBN_GETBUTTONINFOA: {
        // The customise dialog lists every button with its description.
        auto* info = reinterpret_cast<NMTOOLBARA*>(header);
        if (header->hwndFrom != handle() || info->iItem < 0 || info->iItem >= Buttons.Count()) return false;
        ToolbarButton& button = *Buttons.items_[static_cast<size_t>(info->iItem)];
        info->tbButton.iBitmap = button.image_ > 0 ? button.image_ - 1 : I_IMAGENONE;
        info->tbButton.idCommand = button.id_;
        info->tbButton.fsState = TBSTATE_ENABLED;
        info->tbButton.fsStyle = buttonStyle(button.style_);
        if (info->pszText && info->cchText > 0) lstrcpynA(info->pszText, button.Description.c_str(), info->cchText);
        result = TRUE;
        return true;
    }
    case TBN_TOOLBARCHANGE:
        if (header->hwndFrom != handle()) return false;
        fitWindow();
        if (Change) Change();
        return true;
    default: return false;
    }
}

void Toolbar::Hold(bool held, const std::vector<std::string>& live) {
    held_ = held;
    for (const auto& button : Buttons.items_) {
        button->liveWhileHeld_ = std::find(live.begin(), live.end(), button->key_) != live.end();
        button->showEnabled(false);
    }
    skipIdleRepaint();
}

// Short work holds the bar and releases it before the window paints again:
// the buttons then show what the bar last painted, and painting them anew
// would cost the window as much as the list it fills. The repaint is forgone
// only when nothing but those buttons awaits it.
void Toolbar::skipIdleRepaint() {
    if (otherChangeSincePaint_ || !created()) return;
    bool greyed = false;
    for (const auto& button : Buttons.items_) {
        if (!button->greyedSincePaint_) continue;
        if (button->Enabled() != button->paintedEnabled_) return;
        greyed = true;
    }
    if (!greyed) return;
    HRGN dirty = CreateRectRgn(0, 0, 0, 0);
    int left = GetUpdateRgn(handle(), dirty, FALSE);
    for (const auto& button : Buttons.items_) {
        RECT r{};
        if (left == NULLREGION || left == ERROR) break;
        if (!button->greyedSincePaint_ ||
            !SendMessageA(handle(), TB_GETRECT, static_cast<WPARAM>(button->id_), reinterpret_cast<LPARAM>(&r)))
            continue;
        HRGN area = CreateRectRgnIndirect(&r);
        left = CombineRgn(dirty, dirty, area, RGN_DIFF);
        DeleteObject(area);
    }
    DeleteObject(dirty);
    if (left != NULLREGION) return;
    ValidateRect(handle(), nullptr);
    for (const auto& button : Buttons.items_) button->greyedSincePaint_ = false;
}

bool Toolbar::onMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
    switch (msg) {
    case WM_PAINT:
        for (const auto& button : Buttons.items_) {
            button->paintedEnabled_ = button->Enabled();
            button->greyedSincePaint_ = false;
        }
        otherChangeSincePaint_ = false;
        break;
    case TB_CHECKBUTTON:
    case TB_PRESSBUTTON:
    case TB_HIDEBUTTON:
    case TB_INDETERMINATE:
    case TB_MARKBUTTON:
    case TB_SETSTATE:
    case TB_SETBUTTONINFOA:
    case TB_SETBUTTONINFOW:
    case TB_ADDBUTTONSA:
    case TB_ADDBUTTONSW:
    case TB_INSERTBUTTONA:
    case TB_INSERTBUTTONW:
    case TB_DELETEBUTTON:
    case TB_SETIMAGELIST:
    case TB_SETHOTIMAGELIST:
    case TB_SETDISABLEDIMAGELIST:
    case TB_SETBUTTONSIZE:
    case TB_SETHOTITEM:
    case WM_SETFONT:
    case WM_SIZE: otherChangeSincePaint_ = true; break;
    default: break;
    }
    return false;
}

void Toolbar::reset() {
    Control::reset();
    held_ = false;
    otherChangeSincePaint_ = false;
    Buttons.items_.clear();
    nextId_ = 1;
}

} // namespace vm
