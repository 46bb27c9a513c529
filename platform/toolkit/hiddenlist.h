#pragma once
// A list control that only holds data: items of text plus ItemData, with the
// list operations of the original list box. It has no window.
#include <cstdint>
#include <string>
#include <vector>

namespace vm {

class HiddenList {
public:
    explicit HiddenList(bool sorted = false) : sorted_(sorted) {}

    // Appends the item (or inserts it at index); a sorted list places it by its
    // text without regard to case. NewIndex tells where it went.
    void AddItem(const std::string& text, int index = -1);
    void RemoveItem(int index);
    void Clear();

    int ListCount() const { return static_cast<int>(items_.size()); }
    const std::string& List(int index) const { return items_.at(static_cast<size_t>(index)).text; }
    void SetList(int index, const std::string& text) { items_.at(static_cast<size_t>(index)).text = text; }
    std::int32_t ItemData(int index) const { return items_.at(static_cast<size_t>(index)).itemData; }
    void SetItemData(int index, std::int32_t value) { items_.at(static_cast<size_t>(index)).itemData = value; }
    int NewIndex() const { return newIndex_; }

    // -1 when nothing is selected. Text is the selected item's text, or "".
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int index);
    std::string Text() const { return listIndex_ >= 0 ? List(listIndex_) : std::string(); }

private:
    struct Item {
        std::string text;
        std::int32_t itemData = 0;
    };
    bool sorted_;
    std::vector<Item> items_;
    int newIndex_ = -1;
    int listIndex_ = -1;
};

} // namespace vm
