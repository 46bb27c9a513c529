#include "neiconfile.h"

namespace vm {

std::shared_ptr<const NeIconFile> NeIconFileOf(std::string bytes) {
    auto icons = std::make_shared<NeIconFile>();
    icons->bytes = std::move(bytes);
    if (!ne::isNeModule(icons->file())) return nullptr;
    auto types = ne::readResources(icons->file());
    auto groups = ne::readIconGroups(icons->file());
    if (!types || !groups) return nullptr;
    icons->types = std::move(*types);
    icons->groups = std::move(*groups);
    return icons;
}

} // namespace vm
