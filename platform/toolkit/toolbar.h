#pragma once
// The toolbar: buttons by index (1-based) or key, with a caption (the text
// label), a picture number (1-based) into the normal and hot image lists,
// tool tip, check and drop-down styles; a drop-down button lists its
// ButtonMenus. ButtonClick and ButtonMenuClick report a person's choice.
#include "control.h"
#include "imagelist.h"

#include <memory>
#include <string>
#include <vector>

namespace vm {

enum ButtonStyle : int { tbrDefault = 0, tbrCheck = 1, tbrButtonGroup = 2, tbrSeparator = 3, tbrPlaceholder = 4,
                         tbrDropdown = 5 };

class Toolbar;
class ToolbarButton;

class ButtonMenu {
public:
    int Index() const { return index_; }
    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text) { text_ = text; }
    bool Enabled = true;
    bool Visible = true;
    std::string Tag;
    ToolbarButton& Parent() const { return *parent_; }

private:
    friend class ButtonMenuCollection;
    ToolbarButton* parent_ = nullptr;
    int index_ = 0;
    std::string key_, text_;
};

class ButtonMenuCollection {
public:
    explicit ButtonMenuCollection(ToolbarButton& button) : button_(button) {}
    ButtonMenu& Add(int index = -1, const std::string& key = "", const std::string& text = "");
    int Count() const { return static_cast<int>(items_.size()); }
    ButtonMenu& operator()(int index);
    ButtonMenu& operator()(const std::string& key);

private:
    friend class Toolbar;
    ToolbarButton& button_;
    std::vector<std::unique_ptr<ButtonMenu>> items_;
};

class ToolbarButton {
public:
    explicit ToolbarButton(Toolbar& bar) : bar_(bar) {}
    int Index() const;
    const std::string& Key() const { return key_; }
    int Style() const { return style_; }
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int Image() const { return image_; }
    void SetImage(int image);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Visible() const;
    void SetVisible(bool visible);
    // Pressed (a check button that is down): 1, else 0.
    int Value() const;
    void SetValue(int value);
    const std::string& ToolTipText() const { return toolTip_; }
    void SetToolTipText(const std::string& text) { toolTip_ = text; }
    // What the customise dialog lists for the button.
    std::string Description;
    std::string Tag;
    ButtonMenuCollection ButtonMenus{*this};

private:
    friend class ButtonCollection;
    friend class Toolbar;
    void setInfo(TBBUTTONINFOA& info);
    DWORD state() const;
    // Shows the state the program set; unless told to wait, the bar then
    // forgoes a repaint that would show nothing new.
    void showEnabled(bool skipIdleRepaint = true);
    bool wanted_ = true;         // the state the program set, shown unless the bar is held
    bool liveWhileHeld_ = false;
    bool paintedEnabled_ = true; // the state the bar last painted
    bool greyedSincePaint_ = false; // greyed or back since the bar last painted
    Toolbar& bar_;
    int id_ = 0;
    std::string key_, caption_, toolTip_;
    int image_ = 0;
    int style_ = tbrDefault;
};

class ButtonCollection {
public:
    explicit ButtonCollection(Toolbar& bar) : bar_(bar) {}
    ToolbarButton& Add(int index = -1, const std::string& key = "", const std::string& caption = "",
                       int style = tbrDefault, int image = 0);
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws VbError 35601 (element not found) for an unknown index or key.
    ToolbarButton& operator()(int index);
    ToolbarButton& operator()(const std::string& key);

private:
    friend class Toolbar;
    friend class ToolbarButton;
    Toolbar& bar_;
    std::vector<std::unique_ptr<ToolbarButton>> items_;
};

class Toolbar : public Control {
public:
    using Control::Control;
    // A flat toolbar; in a cool bar band it is the band's child.
    void create(Window& parent, int left = 0, int top = 0, int width = 0, int height = 0);
    ButtonCollection Buttons{*this};

    void SetImageList(ImageList* list);
    void SetHotImageList(ImageList* list);
    // Button size in twips.
    int ButtonHeight();
    int ButtonWidth();
    // The width, in twips, the buttons take side by side (the toolbar's own
    // width, which a cool bar band may stretch).
    int ButtonsWidth();
    void SetButtonHeight(int twips);
    void SetButtonWidth(int twips);
    // The customise dialog of the toolbar (through the seam as "Customize").
    void Customize();
    // Stores the buttons' arrangement under HKEY_CURRENT_USER\key\subKey, value name.
    void SaveToolbar(const std::string& key, const std::string& subKey, const std::string& value);

    // While held, every button but the live ones shows disabled, whatever the
    // program sets meanwhile; released, each shows what was last set for it.
    // Long work holds the bar so that it offers no more than the menus do.
    void Hold(bool held, const std::vector<std::string>& live = {});

    std::function<void(ToolbarButton& Button)> ButtonClick;
    std::function<void(ButtonMenu& ButtonMenu)> ButtonMenuClick;
    std::function<void()> Change;

    void onCommand(int code, int id) override;
    bool onNotify(NMHDR* header, LRESULT& result) override;
    void reset() override;
    void modalWindowClosed() override;
    bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

protected:
    // Its window tells its parent of no plain click.
    bool clicksFromButtons() const override { return true; }

private:
    friend class ToolbarButton;
    friend class ButtonCollection;
    ToolbarButton* byId(int id);
    void fitWindow();
    void dropDown(ToolbarButton& button);
    void skipIdleRepaint();
    int nextId_ = 1;
    bool held_ = false;
    bool otherChangeSincePaint_ = false; // a change other than a button greyed or back
};

} // namespace vm
