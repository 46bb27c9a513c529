#include "picturefile.h"

#include <windows.h>

#include "icolayout.h"
#include "loadergate.h"
#include "picturelayout.h"
#include "vberror.h"
#include "widefile.h"

namespace vm {
namespace {

// No picture an icon is made from comes near this.
constexpr LONGLONG kMaxPictureBytes = 64ll << 20;

[[noreturn]] void invalid() { throw VbError(481, "LoadPicture", "Invalid picture"); }
[[noreturn]] void tooLarge(const std::string& what) {
    throw VbError(481, "LoadPicture", "Picture too large: " + what);
}

// A picture refused for its size is told so, with the limit; any other is invalid.
[[noreturn]] void refused(std::span<const std::uint8_t> bytes) {
    if (const auto sides = pic::sidesBeyondBounds(bytes))
        tooLarge(std::to_string(sides->width) + " x " + std::to_string(sides->height) + " pixels; at most " +
                 std::to_string(pic::kMaxSide) + " pixels a side and " + std::to_string(pic::kMaxPixels) +
                 " pixels in all");
    invalid();
}

bool isCursorFile(std::span<const std::uint8_t> bytes) {
    const auto dir = ico::readIconDir(bytes);
    return dir && dir->idReserved == 0 && dir->idType == 2;
}

} // namespace

Picture LoadPicture(const std::string& fileName) {
    if (fileName.empty()) return {};
    HANDLE h = wide::Open(fileName, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0);
    if (h == INVALID_HANDLE_VALUE) throw VbError(53, "LoadPicture", "File not found: '" + fileName + "'");
    std::string bytes;
    LARGE_INTEGER size{};
    bool read = GetFileSizeEx(h, &size) && size.QuadPart > 0;
    if (read && size.QuadPart > kMaxPictureBytes) {
        CloseHandle(h);
        tooLarge("the file holds more than " + std::to_string(kMaxPictureBytes >> 20) + " MB");
    }
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
    const std::span<const std::uint8_t> bytes(static_cast<const std::uint8_t*>(data), size);
    IPicture* ole = gate::LoadPictureBytes(bytes);
    if (!ole) refused(bytes);
    return Picture::fromOle(ole);
}

} // namespace vm
