#pragma once
// The cool bar (a rebar) along the top of its form: bands by index (1-based)
// or key, each holding one child control created with the cool bar as parent.
// Band sizes are twips. HeightChanged is raised whenever the bar's height
// changes (bands moved, shown, hidden or resized).
#include "control.h"

#include <memory>
#include <string>
#include <vector>

namespace vm {

class CoolBar;

class Band {
public:
    int Index() const;
    const std::string& Key() const { return key_; }
    bool Visible() const;
    void SetVisible(bool visible);
    // The band starts a new row.
    bool NewRow() const;
    void SetNewRow(bool newRow);
    // Whether the band is shown at the start of a row: the first visible band,
    // or one the bar placed below the band before it (also when it wrapped a
    // band that did not fit beside the one before).
    bool StartsRow() const;
    int Width() const;
    void SetWidth(int twips);
    int MinWidth() const;
    void SetMinWidth(int twips);
    int MinHeight() const;
    void SetMinHeight(int twips);
    std::string Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    Control* Child() const { return child_; }
    std::string Tag;

private:
    friend class BandCollection;
    friend class CoolBar;
    REBARBANDINFOA info(UINT mask) const;
    void set(REBARBANDINFOA& info);
    int position() const;
    CoolBar* bar_ = nullptr;
    UINT id_ = 0;
    std::string key_, caption_;
    Control* child_ = nullptr;
};

class BandCollection {
public:
    explicit BandCollection(CoolBar& bar) : bar_(bar) {}
    // A band holding child (created with the cool bar as its parent).
    Band& Add(int index = -1, const std::string& key = "", const std::string& caption = "", Control* child = nullptr,
              bool newRow = false);
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws VbError 35601 (element not found) for an unknown index or key.
    Band& operator()(int index);
    Band& operator()(const std::string& key);

private:
    friend class Band;
    friend class CoolBar;
    CoolBar& bar_;
    std::vector<std::unique_ptr<Band>> items_;
};

class CoolBar : public Control {
public:
    using Control::Control;
    void create(Window& parent);
    BandCollection Bands{*this};

    std::function<void(float NewHeight)> HeightChanged;

    void parentResized() override;
    bool onNotify(NMHDR* header, LRESULT& result) override;
    void reset() override;

private:
    friend class Band;
    friend class BandCollection;
    UINT nextId_ = 1;
};

} // namespace vm
