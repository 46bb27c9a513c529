#include "memoryicon.h"

#include <cstring>
#include <vector>

#include "icolayout.h"
#include "loadergate.h"

namespace vm {

HICON IconOfIcoBytes(std::span<const std::uint8_t> bytes, int size) {
    const auto dir = ico::readIconDir(bytes);
    if (!dir || dir->idReserved != 0 || dir->idType != ico::kTypeIcon || dir->idCount < 1) return nullptr;
    if (!ico::icoFileIsSound(bytes)) return nullptr;
    const auto count = static_cast<std::size_t>(dir->idCount);
    // The directory as an icon group holds it, the way the extraction builds
    // it for the lookup: each entry's first 12 bytes, then its number.
    std::vector<std::uint8_t> group(ico::kDirSize + ico::kGroupEntrySize * count);
    std::memcpy(group.data(), bytes.data(), ico::kDirSize);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint8_t* entry = group.data() + ico::kDirSize + ico::kGroupEntrySize * i;
        std::memcpy(entry, bytes.data() + ico::kDirSize + ico::kEntrySize * i, 12);
        entry[12] = static_cast<std::uint8_t>(i & 0xFF);
        entry[13] = static_cast<std::uint8_t>(i >> 8);
    }
    const int cx = GetSystemMetrics(size == 16 ? SM_CXSMICON : SM_CXICON);
    const int cy = GetSystemMetrics(size == 16 ? SM_CYSMICON : SM_CYICON);
    const int picked = LookupIconIdFromDirectoryEx(group.data(), TRUE, cx, cy, LR_DEFAULTCOLOR);
    if (picked < 0 || static_cast<std::size_t>(picked) >= count) return nullptr;
    const ico::DirEntry e = *ico::readDirEntry(bytes.subspan(ico::kDirSize + ico::kEntrySize * picked));
    if (!ico::blockInside(e.dwImageOffset, e.dwBytesInRes, bytes.size())) return nullptr;
    return gate::IconFromImage(bytes.subspan(e.dwImageOffset, e.dwBytesInRes), true, cx, cy, LR_DEFAULTCOLOR);
}

} // namespace vm
