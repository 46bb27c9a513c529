#pragma once
// What the result list shows of a "user" entry: the reference's keyword, its
// key and origin, and the icon it points at.
#include <cstdint>
#include <string>

#include "browserstate.h"

namespace vm {

struct UserItemText {
    std::string key;      // "key" and the reference's index in cmbUser
    std::string text;     // the keyword; an animation frame adds a blank and its label
    std::string typeCode; // the type the user chose for the reference
    std::string origin;   // "Reference"
    std::string file;     // the icon's file
    int iconIndex = 0;    // icon index, or the frame step of an animation
    bool animated = false; // an .ani file: the frame is drawn from the animation
};

// itemData: the entry's ItemData in the entry list, the reference's index in
// cmbUser. False for an entry of 3 characters or fewer, which adds no item.
bool DescribeUserItem(const UserReferences& refs, const std::string& entry, std::int32_t itemData,
                      UserItemText& item);

} // namespace vm
