#include "userreference.h"

#include <cstdlib>
#include <strings.h>

#include "resultentry.h"

namespace vm {

bool DescribeUserItem(const UserReferences& refs, const std::string& entry, std::int32_t itemData,
                      UserItemText& item) {
    if (entry.size() <= 3) return false;
    item = {};
    item.file = EntryField(entry, 1);
    item.iconIndex = std::atoi(EntryField(entry, 2).c_str());
    const std::string label = EntryField(entry, 3);
    item.typeCode = EntryField(entry, 4).substr(0, 1);
    // lstUser and cmbUser are kept in step, so the reference's own index finds
    // its keyword; a reference removed meanwhile has none.
    if (itemData >= 0 && itemData < refs.lstUser.ListCount()) item.text = refs.lstUser.List(itemData);
    item.key = "key" + std::to_string(itemData);
    item.origin = "Reference";
    item.animated = item.file.size() >= 3 && strcasecmp(item.file.c_str() + item.file.size() - 3, "ani") == 0;
    if (item.animated) item.text += " " + label;
    return true;
}

} // namespace vm
