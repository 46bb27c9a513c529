#include "neiconfile.h"

#include <windows.h>

#include "iconsource.h"
#include "widefile.h"

namespace vm {
namespace {

// Far above any icon library; a larger file is not read whole.
constexpr std::uint32_t kMaxLibraryBytes = 64u << 20;

struct Kept {
    std::string path;
    ULONGLONG size = 0;
    FILETIME written{};
    std::shared_ptr<const NeIconFile> icons;
};
Kept g_kept;

bool stamp(const std::string& path, ULONGLONG& size, FILETIME& written) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!wide::AttributeData(path, data)) return false;
    size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    written = data.ftLastWriteTime;
    return true;
}

// Whether the file starts like a 16-bit module, read from its first bytes
// only: the page loader asks this of every module it draws from.
bool startsAsNeModule(const std::string& path) {
    HANDLE h = wide::Open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (h == INVALID_HANDLE_VALUE) return false;
    std::uint8_t head[0x40];
    DWORD got = 0;
    bool ne = false;
    if (ReadFile(h, head, sizeof head, &got, nullptr) && got == sizeof head && head[0] == 'M' && head[1] == 'Z') {
        const DWORD at = head[0x3C] | (head[0x3D] << 8) | (head[0x3E] << 16) | (static_cast<DWORD>(head[0x3F]) << 24);
        std::uint8_t signature[2];
        ne = at < 0x80000000u && SetFilePointer(h, static_cast<LONG>(at), nullptr, FILE_BEGIN) == at &&
             ReadFile(h, signature, 2, &got, nullptr) && got == 2 && signature[0] == 'N' && signature[1] == 'E';
    }
    CloseHandle(h);
    return ne;
}

} // namespace

std::shared_ptr<const NeIconFile> ReadNeIconFile(const std::string& file) {
    ULONGLONG size = 0;
    FILETIME written{};
    if (!stamp(file, size, written)) return nullptr;
    if (g_kept.icons && lstrcmpiA(g_kept.path.c_str(), file.c_str()) == 0 && g_kept.size == size &&
        CompareFileTime(&g_kept.written, &written) == 0)
        return g_kept.icons;
    if (!startsAsNeModule(file)) return nullptr;
    std::string bytes;
    bool sound = false;
    if (!ReadIconSource(file, kMaxLibraryBytes, bytes, sound) || !sound) return nullptr;
    auto icons = NeIconFileOf(std::move(bytes));
    if (!icons) return nullptr;
    g_kept = {file, size, written, icons};
    return icons;
}

} // namespace vm
