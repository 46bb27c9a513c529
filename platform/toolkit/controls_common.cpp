#include "controls_common.h"

#include "form.h"
#include "vberror.h"

namespace vm {

void ProgressBar::create(Window& parent, int left, int top, int width, int height) {
    createWindow(parent, PROGRESS_CLASSA, WS_VISIBLE, 0, "", left, top, width, height);
    SendMessageA(handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void ProgressBar::SetMin(int value) {
    min_ = value;
    if (hWnd()) SendMessageA(handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

void ProgressBar::SetMax(int value) {
    max_ = value;
    if (hWnd()) SendMessageA(handle(), PBM_SETRANGE32, static_cast<WPARAM>(min_), max_);
}

int ProgressBar::Value() { return hWnd() ? static_cast<int>(SendMessageA(handle(), PBM_GETPOS, 0, 0)) : 0; }

void ProgressBar::SetValue(int value) {
    if (value < min_ || value > max_) throw VbError(380, "ProgressBar", "Invalid property value");
    if (hWnd()) SendMessageA(handle(), PBM_SETPOS, static_cast<WPARAM>(value), 0);
}

void Slider::create(Window& parent, int left, int top, int width, int height) {
    createWindow(parent, TRACKBAR_CLASSA, WS_VISIBLE | WS_TABSTOP | TBS_HORZ | TBS_AUTOTICKS, 0, "", left, top, width,
                 height);
    value_ = Value();
}

int Slider::Min() { return hWnd() ? static_cast<int>(SendMessageA(handle(), TBM_GETRANGEMIN, 0, 0)) : 0; }
int Slider::Max() { return hWnd() ? static_cast<int>(SendMessageA(handle(), TBM_GETRANGEMAX, 0, 0)) : 0; }
void Slider::SetMin(int value) {
    if (hWnd()) SendMessageA(handle(), TBM_SETRANGEMIN, TRUE, value);
}
void Slider::SetMax(int value) {
    if (hWnd()) SendMessageA(handle(), TBM_SETRANGEMAX, TRUE, value);
}
int Slider::Value() { return hWnd() ? static_cast<int>(SendMessageA(handle(), TBM_GETPOS, 0, 0)) : 0; }

void Slider::SetValue(int value) {
    if (!hWnd()) return;
    if (value < Min() || value > Max()) throw VbError(380, "Slider", "Invalid property value");
    SendMessageA(handle(), TBM_SETPOS, TRUE, value);
    if (value_ == value) return;
    value_ = value;
    if (Change) Change();
}

void Slider::SetTickFrequency(int frequency) {
    if (hWnd()) SendMessageA(handle(), TBM_SETTICFREQ, static_cast<WPARAM>(frequency), 0);
}
void Slider::SetSmallChange(int value) {
    if (hWnd()) SendMessageA(handle(), TBM_SETLINESIZE, 0, value);
}
void Slider::SetLargeChange(int value) {
    if (hWnd()) SendMessageA(handle(), TBM_SETPAGESIZE, 0, value);
}

void Slider::onScroll(int code) {
    if (code == TB_THUMBTRACK) {
        if (Scroll) Scroll();
        return;
    }
    int now = Value();
    if (now == value_) return;
    value_ = now;
    if (Change) Change();
}

int Tab::Index() const {
    const auto& items = strip_->Tabs.items_;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i) + 1;
    return 0;
}

bool Tab::Selected() const { return strip_->SelectedItem() == this; }

void Tab::SetSelected(bool selected) {
    if (selected) strip_->SetSelectedItem(this);
}

void Tab::SetToolTipText(const std::string& text) {
    toolTip_ = text;
    strip_->placeTabTips();
}

Tab& TabCollection::Add(int index, const std::string& key, const std::string& caption) {
    if (!strip_.hWnd()) throw VbError(91, "Tabs", "Object variable not set");
    int count = Count();
    if (index == 0 || index > count + 1) throw VbError(35600, "Tabs", "Index out of bounds");
    auto tab = std::make_unique<Tab>();
    tab->strip_ = &strip_;
    tab->key_ = key;
    tab->caption_ = caption;
    int at = index < 0 ? count : index - 1;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(tab->caption_.c_str());
    SendMessageA(strip_.handle(), TCM_INSERTITEMA, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&item));
    Tab* added = tab.get();
    items_.insert(items_.begin() + at, std::move(tab));
    strip_.placeTabTips();
    return *added;
}

Tab& TabCollection::operator()(int index) {
    if (index < 1 || index > Count()) throw VbError(35601, "Tabs", "Element not found");
    return *items_[static_cast<size_t>(index) - 1];
}

Tab& TabCollection::operator()(const std::string& key) {
    for (const auto& tab : items_)
        if (!key.empty() && tab->key_ == key) return *tab;
    throw VbError(35601, "Tabs", "Element not found");
}

void TabStrip::create(Window& parent, int left, int top, int width, int height) {
    createWindow(parent, WC_TABCONTROLA, WS_VISIBLE | WS_TABSTOP, 0, "", left, top, width, height);
    keepBehindSiblings();
}

bool TabStrip::hasToolTips() const {
    for (const auto& tab : Tabs.items_)
        if (!tab->ToolTipText().empty()) return true;
    return Control::hasToolTips();
}

void TabStrip::placeTabTips() {
    HWND tip = created() && form() ? form()->toolTipWindow() : nullptr;
    if (!tip) return;
    for (size_t i = 0; i < Tabs.items_.size(); ++i) {
        // The tools of the tabs are numbered from 1; the strip's own tool is its window.
        TTTOOLINFOA tool{};
        tool.cbSize = sizeof(tool);
        tool.hwnd = handle();
        tool.uId = i + 1;
        SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        const std::string& text = Tabs.items_[i]->ToolTipText();
        if (text.empty() ||
            !SendMessageA(handle(), TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tool.rect)))
            continue;
        tool.lpszText = const_cast<char*>(text.c_str());
        SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

bool TabStrip::onMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
    // A new width may put the tabs in other places.
    if (msg == WM_SIZE) placeTabTips();
    return false;
}

Tab* TabStrip::SelectedItem() {
    if (!created()) return nullptr;
    int at = static_cast<int>(SendMessageA(handle(), TCM_GETCURSEL, 0, 0));
    return at >= 0 && at < Tabs.Count() ? Tabs.items_[static_cast<size_t>(at)].get() : nullptr;
}

void TabStrip::SetSelectedItem(Tab* tab) {
    if (!hWnd() || !tab || SelectedItem() == tab) return;
    SendMessageA(handle(), TCM_SETCURSEL, static_cast<WPARAM>(tab->Index() - 1), 0);
    if (Click) Click();
}

bool TabStrip::onNotify(NMHDR* header, LRESULT& result) {
    if (header->hwndFrom != handle() || header->code != TCN_SELCHANGE) return false;
    if (Click) Click();
    result = 0;
    return true;
}

void TabStrip::reset() {
    Control::reset();
    Tabs.items_.clear();
}

} // namespace vm
