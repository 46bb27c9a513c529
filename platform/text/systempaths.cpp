#include "systempaths.h"

#include <windows.h>

#include "utf8text.h"

namespace vm {

std::string ProgramFile() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) return Utf8Text(std::wstring_view(path.data(), n));
        path.resize(path.size() * 2);
    }
}

namespace {

// A path from a call that answers the size it needs when the buffer is too small.
template <class Call>
std::string askedPath(Call call) {
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = call(static_cast<DWORD>(path.size()), path.data());
    if (n >= path.size()) {
        path.assign(n, L'\0');
        n = call(static_cast<DWORD>(path.size()), path.data());
    }
    return n == 0 || n >= path.size() ? std::string() : Utf8Text(std::wstring_view(path.data(), n));
}

} // namespace

std::string CurrentFolder() {
    return askedPath([](DWORD size, wchar_t* buffer) { return GetCurrentDirectoryW(size, buffer); });
}

std::string TemporaryFolder() {
    return askedPath([](DWORD size, wchar_t* buffer) { return GetTempPathW(size, buffer); });
}

} // namespace vm
