#include "iconsource.h"

#include <windows.h>

#include <span>

#include "icolayout.h"
#include "peresources.h"

namespace vm {
namespace {

bool checkBytes(std::span<const std::uint8_t> bytes) {
    if (pe::isPeModule(bytes)) return pe::moduleIsSound(bytes);
    // A 16-bit module gives no icons in this program, and the system's own
    // reader of its tables is not to be trusted with a damaged one.
    if (bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z') return false;
    if (bytes.size() >= 4 && bytes[0] == 'R' && bytes[1] == 'I' && bytes[2] == 'F' && bytes[3] == 'F')
        return ico::aniFileIsSound(bytes);
    const auto dir = ico::readIconDir(bytes);
    if (dir && dir->idReserved == 0 && (dir->idType == 1 || dir->idType == 2)) return ico::icoFileIsSound(bytes);
    return true;
}

// The last answer, while the file keeps its size and time: a page of one
// module's icons asks for the same file many times.
struct Remembered {
    std::string file;
    ULONGLONG size = 0;
    FILETIME written{};
    bool sound = true;
};
Remembered g_last;

} // namespace

bool IconSourceIsSound(const std::string& file) {
    HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;
    BY_HANDLE_FILE_INFORMATION info{};
    bool sound = true;
    if (GetFileInformationByHandle(h, &info)) {
        const ULONGLONG size = (ULONGLONG{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
        if (size != 0 && g_last.file == file && g_last.size == size &&
            CompareFileTime(&g_last.written, &info.ftLastWriteTime) == 0) {
            CloseHandle(h);
            return g_last.sound;
        }
        if (size != 0) {
            HANDLE mapping = CreateFileMappingA(h, nullptr, PAGE_READONLY, 0, 0, nullptr);
            const void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
            if (view) {
                sound = checkBytes({static_cast<const std::uint8_t*>(view), static_cast<std::size_t>(size)});
                UnmapViewOfFile(view);
                g_last = {file, size, info.ftLastWriteTime, sound};
            }
            if (mapping) CloseHandle(mapping);
        }
    }
    CloseHandle(h);
    return sound;
}

} // namespace vm
