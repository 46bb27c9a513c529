#include "picturefile.h"

#include <windows.h>

#include "icolayout.h"
#include "loadergate.h"
#include "vberror.h"

namespace vm {
namespace {

// No picture an icon is made from comes near this.
constexpr LONGLONG kMaxPictureBytes = 64ll << 20;

[[noreturn]] void invalid() { throw VbError(481, "LoadPicture", "Invalid picture"); }

bool isCursorFile(std::span<const std::uint8_t> bytes) {
    const auto dir = ico::readIconDir(bytes);
    return dir && dir->idReserved == 0 && dir->idType == 2;
}

} // namespace

Picture LoadPicture(const std::string& fileName) {
    if (fileName.empty()) return {};
    HANDLE h = CreateFileA(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) throw VbError(53, "LoadPicture", "File not found: '" + fileName + "'");
    std::string bytes;
    LARGE_INTEGER size{};
    bool read = GetFileSizeEx(h, &size) && size.QuadPart > 0 && size.QuadPart <= kMaxPictureBytes;
    if (read) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        read = ReadFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size();
    }
    CloseHandle(h);
    if (!read) invalid();
    const std::span<const std::uint8_t> view(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    // The system's picture loader reads icons but not cursors.
    if (isCursorFile(view)) {
        HANDLE cursor = gate::LoadImageFile(fileName, IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE);
        if (!cursor) invalid();
        return Picture::fromIcon(static_cast<HICON>(cursor));
    }
    return LoadPictureData(bytes.data(), bytes.size());
}

Picture LoadPictureData(const void* data, size_t size) {
    IPicture* ole = gate::LoadPictureBytes({static_cast<const std::uint8_t*>(data), size});
    if (!ole) invalid();
    return Picture::fromOle(ole);
}

} // namespace vm
