#pragma once
// The progress bar, the slider and the tab strip.
#include "control.h"

#include <memory>
#include <string>
#include <vector>

namespace vm {

class ProgressBar : public Control {
public:
    using Control::Control;
    void create(Window& parent, int left, int top, int width, int height);
    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetMin(int value);
    void SetMax(int value);
    int Value();
    void SetValue(int value);

protected:
    // Its window tells its parent of no plain click.
    bool clicksFromButtons() const override { return true; }

private:
    int min_ = 0, max_ = 100;
};

// Setting Value from code raises Change, as a person's move does; Scroll
// comes while the thumb is dragged.
class Slider : public Control {
public:
    using Control::Control;
    void create(Window& parent, int left, int top, int width, int height);
    int Min();
    int Max();
    void SetMin(int value);
    void SetMax(int value);
    int Value();
    void SetValue(int value);
    void SetTickFrequency(int frequency);
    void SetSmallChange(int value);
    void SetLargeChange(int value);

    std::function<void()> Change, Scroll;
    void onScroll(int code) override;

protected:
    // Its window tells its parent of no plain click.
    bool clicksFromButtons() const override { return true; }

private:
    int value_ = 0;
};

class TabStrip;

class Tab {
public:
    int Index() const;
    const std::string& Key() const { return key_; }
    const std::string& Caption() const { return caption_; }
    bool Selected() const;
    // Selecting a tab from code raises the strip's Click.
    void SetSelected(bool selected);
    // Shown when the pointer rests on the tab.
    const std::string& ToolTipText() const { return toolTip_; }
    void SetToolTipText(const std::string& text);
    std::string Tag;

private:
    friend class TabCollection;
    TabStrip* strip_ = nullptr;
    std::string key_, caption_, toolTip_;
};

class TabCollection {
public:
    explicit TabCollection(TabStrip& strip) : strip_(strip) {}
    Tab& Add(int index = -1, const std::string& key = "", const std::string& caption = "");
    int Count() const { return static_cast<int>(items_.size()); }
    Tab& operator()(int index);
    Tab& operator()(const std::string& key);

private:
    friend class Tab;
    friend class TabStrip;
    TabStrip& strip_;
    std::vector<std::unique_ptr<Tab>> items_;
};

// The tab strip stays behind the other controls of its parent, so the
// controls of its pages show whatever order they were created in.
class TabStrip : public Control {
public:
    using Control::Control;
    void create(Window& parent, int left, int top, int width, int height);
    TabCollection Tabs{*this};
    Tab* SelectedItem();
    void SetSelectedItem(Tab* tab);

    bool onNotify(NMHDR* header, LRESULT& result) override;
    bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void reset() override;

protected:
    bool hasToolTips() const override;

private:
    friend class Tab;
    friend class TabCollection;
    // Gives each tab with a tool tip a tool over its place in the strip.
    void placeTabTips();
};

} // namespace vm
