#include "hiddenlist.h"
#include "utf8text.h"

#include <stdexcept>

namespace vm {

void HiddenList::AddItem(const std::string& text, int index) {
    int count = ListCount();
    int at = count;
    if (sorted_) {
        at = 0;
        while (at < count && CompareText(items_[static_cast<size_t>(at)].text, text) <= 0) ++at;
    } else if (index >= 0) {
        if (index > count) throw std::out_of_range("HiddenList::AddItem: invalid index");
        at = index;
    }
    items_.insert(items_.begin() + at, Item{text, 0});
    newIndex_ = at;
    if (listIndex_ >= at) ++listIndex_;
}

void HiddenList::RemoveItem(int index) {
    if (index < 0 || index >= ListCount()) throw std::out_of_range("HiddenList::RemoveItem: invalid index");
    items_.erase(items_.begin() + index);
    if (listIndex_ == index) listIndex_ = -1;
    else if (listIndex_ > index) --listIndex_;
}

void HiddenList::Clear() {
    items_.clear();
    listIndex_ = -1;
    newIndex_ = -1;
}

void HiddenList::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) throw std::out_of_range("HiddenList::ListIndex: invalid index");
    listIndex_ = index;
}

} // namespace vm
