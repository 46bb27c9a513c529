#pragma once
// The status bar along the bottom of its form: panels by index (1-based) or
// key, each with a text, a picture (an icon) and a width in twips; spring
// panels share what the others leave. A panel's text is its tool tip too, so
// that one the panel cuts can be read whole.
#include "control.h"
#include "picture.h"

#include <memory>
#include <string>
#include <vector>

namespace vm {

enum PanelAutoSize : int { sbrNoAutoSize = 0, sbrSpring = 1, sbrContents = 2 };

class StatusBar;

class Panel {
public:
    int Index() const;
    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    const Picture& GetPicture() const { return picture_; }
    void SetPicture(const Picture& picture);
    int Width() const; // twips; a spring panel's actual width
    void SetWidth(int twips);
    int MinWidth() const { return minWidth_; }
    void SetMinWidth(int twips);
    int AutoSize() const { return autoSize_; }
    void SetAutoSize(int mode);
    std::string Tag;

private:
    friend class PanelCollection;
    friend class StatusBar;
    StatusBar* bar_ = nullptr;
    std::string key_, text_;
    Picture picture_;
    // What the bar shows of the panel: each message to it redraws the panel,
    // so what did not change is not sent again.
    mutable bool shown_ = false;
    mutable bool textSent_ = false;
    mutable bool textPending_ = false; // set since the bar last painted or was read
    mutable std::string shownText_;
    mutable HICON shownIcon_ = nullptr;
    int width_ = 1440, minWidth_ = 0, autoSize_ = sbrNoAutoSize;
};

class PanelCollection {
public:
    explicit PanelCollection(StatusBar& bar) : bar_(bar) {}
    Panel& Add(int index = -1, const std::string& key = "", const std::string& text = "", const Picture& picture = {});
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws VbError 35601 (element not found) for an unknown index or key.
    Panel& operator()(int index);
    Panel& operator()(const std::string& key);
    void Remove(int index);
    void Clear();

private:
    friend class Panel;
    friend class StatusBar;
    StatusBar& bar_;
    std::vector<std::unique_ptr<Panel>> items_;
};

class StatusBar : public Control {
public:
    using Control::Control;
    void create(Window& parent);
    PanelCollection Panels{*this};

    std::function<void(Panel& panel)> PanelClick, PanelDblClick;

    void parentResized() override;
    bool onNotify(NMHDR* header, LRESULT& result) override;
    bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void reset() override;

protected:
    // Its window tells its parent of no plain click.
    bool clicksFromButtons() const override { return true; }

private:
    friend class Panel;
    friend class PanelCollection;
    void layout();
    void show(const Panel& panel);
    void sendTexts();
    std::vector<int> widths_; // pixels, as laid out
    bool textsPending_ = false;
};

} // namespace vm
