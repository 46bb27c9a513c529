#include "menu.h"

#include "form.h"
#include "seam.h"

#include <algorithm>
#include <cctype>

namespace vm {

namespace {
UINT g_nextId = 0x1000;
unsigned g_nextOrder = 0;

// The place of the item with this id in menu, or -1 (not searching drop-downs).
int indexOfId(HMENU menu, UINT id) {
    for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID;
        if (GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info) && info.wID == id) return i;
    }
    return -1;
}

// A caption as a person reads it: no "&", no shortcut text.
std::string plainCaption(const std::string& caption) {
    std::string text;
    for (size_t i = 0; i < caption.size() && caption[i] != '\t'; ++i) {
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] != '&') continue;
        text += caption[i];
    }
    return text;
}

bool sameNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return tolower(x) == tolower(y); });
}

WORD keyOfName(const std::string& name) {
    static const struct {
        const char* name;
        WORD key;
    } names[] = {{"Del", VK_DELETE},  {"Delete", VK_DELETE}, {"Ins", VK_INSERT}, {"Insert", VK_INSERT},
                 {"Enter", VK_RETURN}, {"Esc", VK_ESCAPE},   {"Tab", VK_TAB},    {"Space", VK_SPACE},
                 {"Home", VK_HOME},    {"End", VK_END},      {"PgUp", VK_PRIOR}, {"PgDn", VK_NEXT},
                 {"Bksp", VK_BACK},    {"Backspace", VK_BACK}, {"Up", VK_UP},    {"Down", VK_DOWN},
                 {"Left", VK_LEFT},    {"Right", VK_RIGHT}};
    if (name.size() == 1 && isalnum(static_cast<unsigned char>(name[0])))
        return static_cast<WORD>(toupper(static_cast<unsigned char>(name[0])));
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f') && isdigit(static_cast<unsigned char>(name[1]))) {
        int n = atoi(name.c_str() + 1);
        if (n >= 1 && n <= 24) return static_cast<WORD>(VK_F1 + n - 1);
    }
    for (const auto& entry : names)
        if (sameNoCase(name, entry.name)) return entry.key;
    return 0;
}
} // namespace

MenuItem::MenuItem(Form* owner) : owner_(owner), id_(g_nextId++) {
    if (owner_) owner_->registerMenu(this);
}

MenuItem::~MenuItem() {
    destroy();
    if (owner_) owner_->unregisterMenu(this);
}

void MenuItem::create(Form& /*form*/, const std::string& caption, bool visible) {
    attach(nullptr, nullptr, caption, visible);
}
void MenuItem::create(MenuItem& parent, const std::string& caption, bool visible) {
    attach(&parent, nullptr, caption, visible);
}
void MenuItem::createAfter(MenuItem& sibling, const std::string& caption, bool visible) {
    attach(sibling.parent_, &sibling, caption, visible);
}

void MenuItem::attach(MenuItem* parent, MenuItem* after, const std::string& caption, bool visible) {
    parent_ = parent;
    caption_ = caption;
    visible_ = visible;
    attached_ = true;
    order_ = g_nextOrder++;
    if (parent_) {
        auto& siblings = parent_->children_;
        auto at = after ? std::find(siblings.begin(), siblings.end(), after) : siblings.end();
        siblings.insert(at == siblings.end() ? at : at + 1, this);
    }
    // Items added while the form is up go into its menus at once.
    if (!owner_ || !owner_->menusBuilt()) return;
    if (parent_ && !parent_->popup_) {
        parent_->popup_ = CreatePopupMenu();
        parent_->update();
    }
    build();
}

void MenuItem::destroy() {
    for (MenuItem* child : std::vector<MenuItem*>(children_)) {
        child->remove();
        child->parent_ = nullptr;
        child->attached_ = false;
    }
    children_.clear();
    if (inserted_) remove();
    if (popup_) DestroyMenu(popup_);
    popup_ = nullptr;
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = nullptr;
    attached_ = false;
}

HMENU MenuItem::container() const {
    if (parent_) return parent_->popup_;
    return owner_ ? owner_->menuBar() : nullptr;
}

UINT MenuItem::position() const {
    UINT position = 0;
    if (parent_) {
        for (MenuItem* sibling : parent_->children_) {
            if (sibling == this) break;
            if (sibling->inserted_) ++position;
        }
    } else if (owner_) {
        // Top-level items keep the order in which the form created them.
        for (MenuItem* item : owner_->menuItems())
            if (item->topLevel() && item->inserted_ && item->attached_ && item->order_ < order_) ++position;
    }
    return position;
}

void MenuItem::build() {
    if (!attached_) return;
    if (!children_.empty() && !popup_) popup_ = CreatePopupMenu();
    if (visible_) insert();
    for (MenuItem* child : children_) child->build();
}

void MenuItem::insert() {
    HMENU menu = container();
    if (!menu || inserted_) return;
    if (parent_ && !parent_->popup_) return;
    UINT at = position();
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
    info.wID = id_;
    info.hSubMenu = popup_;
    if (caption_ == "-") {
        info.fMask = MIIM_ID | MIIM_FTYPE;
        info.fType = MFT_SEPARATOR;
    } else {
        info.fType = MFT_STRING;
        info.fState = (enabled_ ? MFS_ENABLED : MFS_GRAYED) | (checked_ ? MFS_CHECKED : MFS_UNCHECKED);
        info.dwTypeData = const_cast<char*>(caption_.c_str());
    }
    InsertMenuItemA(menu, at, TRUE, &info);
    inserted_ = true;
    if (!parent_ && owner_) owner_->menuBarChanged();
}

void MenuItem::remove() {
    HMENU menu = container();
    if (!inserted_ || !menu) {
        inserted_ = false;
        return;
    }
    // RemoveMenu keeps the item's drop-down for when it is shown again.
    int at = indexOfId(menu, id_);
    if (at >= 0) RemoveMenu(menu, static_cast<UINT>(at), MF_BYPOSITION);
    inserted_ = false;
    if (!parent_ && owner_) owner_->menuBarChanged();
}

void MenuItem::update(bool stateOnly) {
    HMENU menu = container();
    if (!inserted_ || !menu || caption_ == "-") return;
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
    info.hSubMenu = popup_;
    info.fState = (enabled_ ? MFS_ENABLED : MFS_GRAYED) | (checked_ ? MFS_CHECKED : MFS_UNCHECKED);
    info.dwTypeData = const_cast<char*>(caption_.c_str());
    int at = indexOfId(menu, id_);
    if (at >= 0) SetMenuItemInfoA(menu, static_cast<UINT>(at), TRUE, &info);
    if (!parent_ && owner_) owner_->menuBarChanged(!stateOnly);
}

void MenuItem::releaseHandles() {
    popup_ = nullptr;
    inserted_ = false;
}

void MenuItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    update();
}
void MenuItem::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    update(true);
}
void MenuItem::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    update(true);
}
void MenuItem::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (!owner_ || !owner_->menusBuilt()) return;
    if (visible) insert();
    else remove();
}

bool MenuItem::shortcut(ACCEL& accel) const {
    size_t tab = caption_.find('\t');
    if (tab == std::string::npos) return false;
    std::string keys = caption_.substr(tab + 1);
    BYTE flags = FVIRTKEY;
    size_t start = 0;
    for (size_t plus; (plus = keys.find('+', start)) != std::string::npos && plus + 1 < keys.size(); start = plus + 1) {
        std::string modifier = keys.substr(start, plus - start);
        if (sameNoCase(modifier, "Ctrl")) flags |= FCONTROL;
        else if (sameNoCase(modifier, "Shift")) flags |= FSHIFT;
        else if (sameNoCase(modifier, "Alt")) flags |= FALT;
    }
    WORD key = keyOfName(keys.substr(start));
    if (!key) return false;
    accel.fVirt = flags;
    accel.key = key;
    accel.cmd = static_cast<WORD>(id_);
    return true;
}

UINT trackPopup(HWND owner, HMENU menu, POINT at, UINT flags, const std::string& name) {
    Seam& seam = Seam::get();
    SeamAnswer answer;
    if (seam.scriptsPerson({"PopupMenu", plainCaption(name), {}, flags, {}}, answer, {0, {}, true})) {
        if (answer.cancelled) return 0;
        for (int i = 0, n = GetMenuItemCount(menu); i < n; ++i) {
            char text[256] = {};
            MENUITEMINFOA info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE;
            info.dwTypeData = text;
            info.cch = sizeof(text);
            GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
            if (!(info.fState & MFS_GRAYED) && sameNoCase(plainCaption(text), answer.text)) return info.wID;
        }
        return 0;
    }
    return static_cast<UINT>(TrackPopupMenu(menu, (flags & ~TPM_NONOTIFY) | TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x,
                                            at.y, 0, owner, nullptr));
}

} // namespace vm
