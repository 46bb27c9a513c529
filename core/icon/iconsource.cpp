#include "iconsource.h"

#include <windows.h>

#include <span>
#include <unordered_map>

#include "filekinds.h"
#include "widefile.h"

namespace vm {
namespace {

// Files of kinds the program does not know are left to the system, which
// gives them no icon.
SourceVerdict verdictOf(std::span<const std::uint8_t> bytes) { return CheckBytes(bytes); }

// The answers of this run, while each file keeps its size and time: a page
// asks again for every file its listing read, and a page of one module's
// icons for the same file many times. The size and time are had without
// opening the file.
struct Verdict {
    ULONGLONG size = 0;
    FILETIME written{};
    SourceVerdict verdict;
};
std::unordered_map<std::string, Verdict> g_verdicts;
constexpr std::size_t kMaxVerdicts = 65536;

void remember(const std::string& file, ULONGLONG size, const FILETIME& written, const SourceVerdict& verdict) {
    if (g_verdicts.size() >= kMaxVerdicts) g_verdicts.clear();
    g_verdicts[file] = {size, written, verdict};
}

const Verdict* remembered(const std::string& file) {
    const auto found = g_verdicts.find(file);
    if (found == g_verdicts.end()) return nullptr;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!wide::AttributeData(file, data)) return nullptr;
    const ULONGLONG size = (ULONGLONG{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    const Verdict& v = found->second;
    if (size == 0 || v.size != size || CompareFileTime(&v.written, &data.ftLastWriteTime) != 0) return nullptr;
    return &v;
}

} // namespace

SourceVerdict CheckIconSource(const std::string& file) {
    if (const Verdict* v = remembered(file)) return v->verdict;
    HANDLE h = wide::Open(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (h == INVALID_HANDLE_VALUE) return {};
    SourceVerdict verdict;
    LARGE_INTEGER length{};
    FILETIME written{};
    // Size and time alone: asking for the whole record of a file makes the
    // system look up its volume, which costs more than reading a small file.
    if (GetFileSizeEx(h, &length) && GetFileTime(h, nullptr, nullptr, &written)) {
        const auto size = static_cast<ULONGLONG>(length.QuadPart);
        if (size != 0) {
            HANDLE mapping = CreateFileMappingA(h, nullptr, PAGE_READONLY, 0, 0, nullptr);
            const void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
            if (view) {
                verdict = verdictOf({static_cast<const std::uint8_t*>(view), static_cast<std::size_t>(size)});
                UnmapViewOfFile(view);
                remember(file, size, written, verdict);
            }
            if (mapping) CloseHandle(mapping);
        }
    }
    CloseHandle(h);
    return verdict;
}

bool IconSourceIsSound(const std::string& file) {
    const SourceVerdict v = CheckIconSource(file);
    return v.kind == FileKind::Unknown || v.sound;
}

bool ReadIconSource(const std::string& file, std::uint32_t limit, std::string& bytes, bool& sound) {
    bytes.clear();
    sound = true;
    HANDLE h = wide::Open(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    if (h == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER length{};
    FILETIME written{};
    bool read = false;
    if (GetFileSizeEx(h, &length) && GetFileTime(h, nullptr, nullptr, &written) && length.QuadPart >= 0 &&
        length.QuadPart <= limit) {
        bytes.resize(static_cast<std::size_t>(length.QuadPart));
        DWORD got = 0;
        read = bytes.empty() ||
               (ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size());
        if (!read) bytes.clear();
    }
    CloseHandle(h);
    if (read && !bytes.empty()) {
        const SourceVerdict verdict = verdictOf({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
        sound = verdict.kind == FileKind::Unknown || verdict.sound;
        remember(file, bytes.size(), written, verdict);
    }
    return read;
}

} // namespace vm
