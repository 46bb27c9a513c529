#include "controls_basic.h"

#include "captionfit.h"
#include "form.h"
#include "vberror.h"

#include <algorithm>

namespace vm {

namespace {
void raise(const std::function<void()>& handler) {
    if (handler) handler();
}
} // namespace

void Label::create(Window& parent, int left, int top, int width, int height, const std::string& caption,
                   int alignment) {
    DWORD align = alignment == vbRightJustify ? SS_RIGHT : alignment == vbCenter ? SS_CENTER : SS_LEFT;
    alignment_ = alignment;
    createWindow(parent, "STATIC", WS_VISIBLE | SS_NOTIFY | align, 0, caption, left, top, width, height);
    fitCaption(handle(), caption, CaptionKind::Label, true, alignment_);
}

void Label::SetCaption(const std::string& caption) {
    setWindowText(caption);
    fitCaption(handle(), caption, CaptionKind::Label, false, alignment_);
    keepWhole(caption);
}

void Label::keepWhole(const std::string& caption) {
    const HWND window = handle();
    if (!window) return;
    const HWND parent = GetParent(window);
    auto overhang = [&] {
        RECT r{}, client{};
        GetWindowRect(window, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        GetClientRect(parent, &client);
        return std::max(0L, r.right - client.right);
    };
    if (overhang() > 0)
        if (Form* holder = Form::fromHandle(parent)) holder->fitControls();
    LONG style = GetWindowLongA(window, GWL_STYLE);
    const LONG over = overhang();
    const bool cut = over > 0;
    if (cut) {
        RECT r{};
        GetWindowRect(window, &r);
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(window, nullptr, 0, 0, r.right - r.left - over, r.bottom - r.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    style = cut ? style | SS_ENDELLIPSIS : style & ~static_cast<LONG>(SS_ENDELLIPSIS);
    SetWindowLongA(window, GWL_STYLE, style);
    const bool ownTip = !ToolTipText().empty() && !tipShowsCaption_;
    if ((cut || tipShowsCaption_) && !ownTip) {
        tipShowsCaption_ = cut;
        SetToolTipText(cut ? caption : std::string());
    }
    InvalidateRect(window, nullptr, TRUE);
}

void Label::onCommand(int code, int) {
    if (code == STN_CLICKED) raise(Click);
    else if (code == STN_DBLCLK) raise(DblClick);
}

void CommandButton::create(Window& parent, int left, int top, int width, int height, const std::string& caption) {
    createWindow(parent, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, caption, left, top, width, height);
    fitCaption(handle(), caption, CaptionKind::Button, true);
}

void CommandButton::SetCaption(const std::string& caption) {
    setWindowText(caption);
    fitCaption(handle(), caption, CaptionKind::Button, false);
}

void CommandButton::SetDefault(bool on) {
    if (!hWnd()) return;
    SendMessageA(handle(), BM_SETSTYLE, on ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
    form()->setDefaultButton(on ? this : nullptr);
}

void CommandButton::SetCancel(bool on) {
    if (hWnd()) form()->setCancelButton(on ? this : nullptr);
}

void CommandButton::onCommand(int code, int) {
    if (code == BN_CLICKED) raise(Click);
}

void CheckBox::create(Window& parent, int left, int top, int width, int height, const std::string& caption) {
    createWindow(parent, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_3STATE, 0, caption, left, top, width, height);
    fitCaption(handle(), caption, CaptionKind::Box, true);
}

void CheckBox::SetCaption(const std::string& caption) {
    setWindowText(caption);
    fitCaption(handle(), caption, CaptionKind::Box, false);
}

int CheckBox::Value() { return hWnd() ? static_cast<int>(SendMessageA(handle(), BM_GETCHECK, 0, 0)) : 0; }

void CheckBox::SetValue(int value) {
    if (!hWnd()) return;
    if (value < vbUnchecked || value > vbGrayed) throw VbError(380, "CheckBox", "Invalid property value");
    if (Value() == value) return;
    SendMessageA(handle(), BM_SETCHECK, static_cast<WPARAM>(value), 0);
    raise(Click);
}

void CheckBox::onCommand(int code, int) {
    // A click toggles between checked and unchecked; grey is for code only.
    if (code == BN_CLICKED) SetValue(Value() == vbChecked ? vbUnchecked : vbChecked);
}

void OptionButton::create(Window& parent, int left, int top, int width, int height, const std::string& caption) {
    createWindow(parent, "BUTTON", WS_VISIBLE | WS_TABSTOP | BS_RADIOBUTTON, 0, caption, left, top, width, height);
    fitCaption(handle(), caption, CaptionKind::Box, true);
}

void OptionButton::SetCaption(const std::string& caption) {
    setWindowText(caption);
    fitCaption(handle(), caption, CaptionKind::Box, false);
}

bool OptionButton::Value() { return hWnd() && SendMessageA(handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void OptionButton::SetValue(bool value) {
    if (!hWnd()) return;
    bool was = Value();
    if (value) {
        // The option buttons of one container form one group.
        HWND parent = GetParent(handle());
        for (HWND sibling = GetWindow(parent, GW_CHILD); sibling; sibling = GetWindow(sibling, GW_HWNDNEXT))
            if (sibling != handle() && dynamic_cast<OptionButton*>(Control::fromHandle(sibling)))
                SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageA(handle(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (value && !was) raise(Click);
}

void OptionButton::onCommand(int code, int) {
    if (code == BN_CLICKED) SetValue(true);
}

TextBox::TextBox(Form* owner) : Control(owner) {
    backColor_ = vbWindowBackground;
    foreColor_ = vbWindowText;
}

void TextBox::create(Window& parent, int left, int top, int width, int height, const std::string& text,
                     bool multiLine, int scrollBars) {
    DWORD style = WS_VISIBLE | WS_TABSTOP | ES_LEFT;
    if (multiLine) {
        style |= ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
        if (scrollBars & 1) style |= WS_HSCROLL;
        if (scrollBars & 2) style |= WS_VSCROLL;
        if (!(scrollBars & 1)) style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    } else {
        style |= ES_AUTOHSCROLL;
    }
    createWindow(parent, "EDIT", style, WS_EX_CLIENTEDGE, text, left, top, width, height);
}

bool TextBox::Locked() { return hWnd() && (GetWindowLongA(handle(), GWL_STYLE) & ES_READONLY); }
void TextBox::SetLocked(bool locked) {
    if (hWnd()) SendMessageA(handle(), EM_SETREADONLY, locked, 0);
}
void TextBox::SetMaxLength(int length) {
    if (hWnd()) SendMessageA(handle(), EM_LIMITTEXT, static_cast<WPARAM>(length), 0);
}
void TextBox::SetPasswordChar(char c) {
    if (hWnd()) {
        SendMessageA(handle(), EM_SETPASSWORDCHAR, static_cast<unsigned char>(c), 0);
        InvalidateRect(handle(), nullptr, TRUE);
    }
}

int TextBox::SelStart() {
    DWORD start = 0, end = 0;
    if (hWnd()) SendMessageA(handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}
int TextBox::SelLength() {
    DWORD start = 0, end = 0;
    if (hWnd()) SendMessageA(handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}
void TextBox::SetSelStart(int start) {
    if (hWnd()) SendMessageA(handle(), EM_SETSEL, static_cast<WPARAM>(start), start);
}
void TextBox::SetSelLength(int length) {
    int start = SelStart();
    if (hWnd()) SendMessageA(handle(), EM_SETSEL, static_cast<WPARAM>(start), start + length);
}
std::string TextBox::SelText() {
    std::string text = Text();
    int start = SelStart();
    return text.substr(static_cast<size_t>(start), static_cast<size_t>(SelLength()));
}
void TextBox::SetSelText(const std::string& text) {
    if (hWnd()) SendMessageA(handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

// A box of several lines keeps Enter for its new lines (unless it is locked),
// but Tab and Shift+Tab go on to the next control and Esc to the cancel
// button, as in any dialog; Ctrl+Tab types a tab.
bool TextBox::onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg != WM_GETDLGCODE || !(GetWindowLongA(handle(), GWL_STYLE) & ES_MULTILINE)) return false;
    result = defaultProc(msg, wp, lp);
    const auto* key = reinterpret_cast<const MSG*>(lp);
    if (!key || (key->message != WM_KEYDOWN && key->message != WM_CHAR)) return true;
    const bool passOn = (key->wParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) || key->wParam == VK_ESCAPE ||
                        (key->wParam == VK_RETURN && Locked());
    if (passOn) result &= ~static_cast<LRESULT>(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    return true;
}

void TextBox::onCommand(int code, int) {
    if (code == EN_CHANGE) raise(Change);
    else if (code == EN_MAXTEXT) raise(MaxText);
}

void Frame::create(Window& parent, int left, int top, int width, int height, const std::string& caption) {
    createWindow(parent, "BUTTON", WS_VISIBLE | BS_GROUPBOX, WS_EX_CONTROLPARENT, caption, left, top, width, height);
    fitCaption(handle(), caption, CaptionKind::Frame, true);
}

void Frame::SetCaption(const std::string& caption) {
    setWindowText(caption);
    fitCaption(handle(), caption, CaptionKind::Frame, false);
}

bool Frame::onMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    if (msg == WM_NCHITTEST) {
        // A group box lets the mouse through to its parent; a frame hears it.
        result = HTCLIENT;
        return true;
    }
    if (msg != WM_ERASEBKGND) return false;
    RECT r{};
    GetClientRect(handle(), &r);
    HBRUSH fill = CreateSolidBrush(resolveColor(BackColor()));
    FillRect(reinterpret_cast<HDC>(wp), &r, fill);
    DeleteObject(fill);
    result = TRUE;
    return true;
}

void ListControl::checkIndex(int index) {
    if (index < 0 || index >= ListCount()) throw VbError(381, "List", "Invalid property array index");
}

void ListControl::AddItem(const std::string& text, int index) {
    if (!hWnd()) return;
    if (index > ListCount()) throw VbError(5, "AddItem", "Invalid procedure call or argument");
    LRESULT at = index < 0 ? SendMessageA(handle(), m_.add, 0, reinterpret_cast<LPARAM>(text.c_str()))
                           : SendMessageA(handle(), m_.insert, static_cast<WPARAM>(index),
                                          reinterpret_cast<LPARAM>(text.c_str()));
    newIndex_ = static_cast<int>(at);
}

void ListControl::RemoveItem(int index) {
    checkIndex(index);
    SendMessageA(handle(), m_.remove, static_cast<WPARAM>(index), 0);
}

void ListControl::Clear() {
    if (hWnd()) SendMessageA(handle(), m_.reset, 0, 0);
}

int ListControl::ListCount() { return hWnd() ? static_cast<int>(SendMessageA(handle(), m_.count, 0, 0)) : 0; }

std::string ListControl::List(int index) {
    // Reading past the end gives "", as the program expects of List().
    if (index < 0 || index >= ListCount()) return {};
    LRESULT length = SendMessageA(handle(), m_.getTextLength, static_cast<WPARAM>(index), 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(handle(), m_.getText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

void ListControl::SetList(int index, const std::string& text) {
    checkIndex(index);
    std::int32_t data = ItemData(index);
    bool selected = ListIndex() == index;
    SendMessageA(handle(), m_.remove, static_cast<WPARAM>(index), 0);
    SendMessageA(handle(), m_.insert, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    SetItemData(index, data);
    if (selected) SendMessageA(handle(), m_.setSel, static_cast<WPARAM>(index), 0);
}

std::int32_t ListControl::ItemData(int index) {
    checkIndex(index);
    return static_cast<std::int32_t>(SendMessageA(handle(), m_.getData, static_cast<WPARAM>(index), 0));
}

void ListControl::SetItemData(int index, std::int32_t value) {
    // The control refuses a position it does not hold (CB_ERR and LB_ERR are
    // alike); no count need be asked first.
    if (!hWnd() || SendMessageA(handle(), m_.setData, static_cast<WPARAM>(index), static_cast<LPARAM>(value)) ==
                       CB_ERR)
        throw VbError(381, "List", "Invalid property array index");
}

int ListControl::ListIndex() { return hWnd() ? static_cast<int>(SendMessageA(handle(), m_.getSel, 0, 0)) : -1; }

void ListControl::SetListIndex(int index) {
    if (!hWnd()) return;
    if (index < -1 || index >= ListCount()) throw VbError(380, "ListIndex", "Invalid property value");
    if (ListIndex() == index) return;
    SendMessageA(handle(), m_.setSel, static_cast<WPARAM>(index), 0);
    raise(Click);
}

void ListControl::onCommand(int code, int) {
    if (code == m_.selChange) raise(Click);
    else if (code == m_.dblClick) raise(DblClick);
}

namespace {
const ListControl::Messages kComboMessages{CB_ADDSTRING,    CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT,
                                           CB_GETCOUNT,     CB_GETLBTEXT,    CB_GETLBTEXTLEN, CB_GETITEMDATA,
                                           CB_SETITEMDATA,  CB_GETCURSEL,    CB_SETCURSEL,    CBN_SELCHANGE,
                                           CBN_DBLCLK};
const ListControl::Messages kListMessages{LB_ADDSTRING,   LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT,
                                          LB_GETCOUNT,    LB_GETTEXT,      LB_GETTEXTLEN,   LB_GETITEMDATA,
                                          LB_SETITEMDATA, LB_GETCURSEL,    LB_SETCURSEL,    LBN_SELCHANGE,
                                          LBN_DBLCLK};
} // namespace

ComboBox::ComboBox(Form* owner) : ListControl(owner, kComboMessages) {
    backColor_ = vbWindowBackground;
    foreColor_ = vbWindowText;
}

void ComboBox::create(Window& parent, int left, int top, int width, int height, int style, bool sorted) {
    style_ = style;
    DWORD kind = style == vbComboDropdownList ? CBS_DROPDOWNLIST : style == vbComboSimple ? CBS_SIMPLE : CBS_DROPDOWN;
    createWindow(parent, "COMBOBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_AUTOHSCROLL | kind |
                                         (sorted ? CBS_SORT : 0),
                 0, "", left, top, width, height);
    // Keys are typed into the edit box of a drop-down or simple combo box, not into the combo box.
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    if (handle() && GetComboBoxInfo(handle(), &info) && info.hwndItem != handle()) hookChild(info.hwndItem);
}

std::string ComboBox::Text() {
    if (style_ == vbComboDropdownList) return List(ListIndex());
    return windowText();
}

void ComboBox::SetText(const std::string& text) {
    if (!hWnd()) return;
    if (style_ == vbComboDropdownList) {
        int found = static_cast<int>(
            SendMessageA(handle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
        if (found < 0) throw VbError(383, "ComboBox", "'Text' property is read-only");
        SetListIndex(found);
        return;
    }
    if (windowText() == text) return;
    setWindowText(text);
    if (Change) Change();
}

void ComboBox::SetMaxLength(int length) {
    if (hWnd()) SendMessageA(handle(), CB_LIMITTEXT, static_cast<WPARAM>(length), 0);
}

bool ComboBox::onMessage(UINT msg, WPARAM wp, LPARAM, LRESULT&) {
    // The edit box tells its combo box, which passes nothing of it on.
    if (msg == WM_COMMAND && HIWORD(wp) == EN_MAXTEXT) raise(MaxText);
    return false;
}

void ComboBox::onCommand(int code, int id) {
    // An entry picked from the list with the mouse reaches the edit box only
    // after the selection is told; Click reads the picked entry's text.
    if (code == CBN_SELCHANGE && style_ != vbComboDropdownList) {
        const int index = ListIndex();
        if (index >= 0 && windowText() != List(index)) SendMessageA(handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    if (code == CBN_EDITCHANGE) raise(Change);
    else if (code == CBN_DROPDOWN) raise(DropDown);
    else ListControl::onCommand(code, id);
}

ListBox::ListBox(Form* owner) : ListControl(owner, kListMessages) {
    backColor_ = vbWindowBackground;
    foreColor_ = vbWindowText;
}

void ListBox::create(Window& parent, int left, int top, int width, int height, bool sorted, bool multiSelect) {
    // A tab in an item's text moves on to the next tab stop, as list boxes have always shown it.
    createWindow(parent, "LISTBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_USETABSTOPS |
                                        (sorted ? LBS_SORT : 0) | (multiSelect ? LBS_EXTENDEDSEL : 0),
                 WS_EX_CLIENTEDGE, "", left, top, width, height);
}

std::string ListBox::Text() { return List(ListIndex()); }

bool ListBox::Selected(int index) {
    checkIndex(index);
    return SendMessageA(handle(), LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void ListBox::SetSelected(int index, bool selected) {
    checkIndex(index);
    if (GetWindowLongA(handle(), GWL_STYLE) & LBS_EXTENDEDSEL)
        SendMessageA(handle(), LB_SETSEL, selected, index);
    else if (selected)
        SetListIndex(index);
}

int ListBox::SelCount() {
    if (!hWnd()) return 0;
    if (GetWindowLongA(handle(), GWL_STYLE) & LBS_EXTENDEDSEL)
        return static_cast<int>(SendMessageA(handle(), LB_GETSELCOUNT, 0, 0));
    return ListIndex() >= 0 ? 1 : 0;
}

} // namespace vm
