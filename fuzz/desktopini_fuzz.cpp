// desktop.ini as the folder-icon commands edit it: whatever the file holds,
// the change keeps a record it reads back whole, and the restore gives back
// every byte of the file as it was.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "desktopini.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string ini(reinterpret_cast<const char*>(data), size);
    vm::WithIconKeysBlanked(ini);
    vm::ReadFolderIconRecord(ini);
    // A file with a record section of its own keeps it through a change.
    std::string lower = ini;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
    if (lower.find("vellumar.before") != std::string::npos) return 0;
    vm::FolderIconRecord before = vm::RecordOfKeys(ini);
    before.iniExisted = size % 2 == 0;
    before.iniAttributes = static_cast<std::uint32_t>(size);
    before.folderAttributes = 4;
    before.iconExisted = size % 3 == 0;
    const std::string changed = vm::WithFolderIcon(ini, before);
    const auto record = vm::ReadFolderIconRecord(changed);
    if (!record || record->iconFileLine != before.iconFileLine || record->iconIndexLine != before.iconIndexLine ||
        record->classInfo != before.classInfo || record->iniExisted != before.iniExisted ||
        record->iconExisted != before.iconExisted || vm::WithoutFolderIcon(changed, *record) != ini)
        std::abort();
    return 0;
}
