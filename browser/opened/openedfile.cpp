#include "openedfile.h"

#include <windows.h>

#include <algorithm>

#include "utf8text.h"

namespace vm {
namespace {

// The size and last write of a file, without opening it.
bool stampOf(const std::string& path, std::uint64_t& size, std::uint64_t& written) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(WideText(path).c_str(), GetFileExInfoStandard, &data)) return false;
    size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    written = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    return true;
}

// A path Windows takes at any length.
std::wstring longPath(const std::string& path) {
    std::wstring wide = WideText(path);
    if (wide.size() >= MAX_PATH && wide.rfind(L"\\\\", 0) != 0 && wide.size() > 2 && wide[1] == L':')
        wide = L"\\\\?\\" + wide;
    return wide;
}

} // namespace

OpenedFile::OpenedFile(std::string bytes)
    : held_(std::move(bytes)),
      bytes_(reinterpret_cast<const std::uint8_t*>(held_.data()), held_.size()),
      checked_(CheckBytes(bytes_)),
      icons_(bytes_, checked_) {}

OpenedFile::OpenedFile(const void* view, std::size_t size)
    : view_(view),
      bytes_(static_cast<const std::uint8_t*>(view), size),
      checked_(CheckBytes(bytes_)),
      icons_(bytes_, checked_) {}

OpenedFile::~OpenedFile() {
    if (view_) UnmapViewOfFile(view_);
}

OpenedValue ReadOpenedFile(const std::string& path, std::uint64_t holdLimit) {
    HANDLE h = CreateFileW(longPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    std::shared_ptr<OpenedFile> value;
    LARGE_INTEGER length{};
    FILETIME written{};
    // The stamp the store keeps comes from the handle: no second look-up of the path.
    GetFileTime(h, nullptr, nullptr, &written);
    // A view is addressed by 32-bit sizes in the readers.
    if (GetFileSizeEx(h, &length) && length.QuadPart > 0 && length.QuadPart < 0x7FFFFFFF) {
        const auto size = static_cast<std::size_t>(length.QuadPart);
        if (size <= holdLimit) {
            std::string bytes(size, '\0');
            DWORD got = 0;
            if (ReadFile(h, bytes.data(), static_cast<DWORD>(size), &got, nullptr) && got == size)
                value = std::make_shared<OpenedFile>(std::move(bytes));
        } else if (HANDLE mapping = CreateFileMappingW(h, nullptr, PAGE_READONLY, 0, 0, nullptr)) {
            if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0))
                value = std::make_shared<OpenedFile>(view, size);
            CloseHandle(mapping);
        }
    }
    CloseHandle(h);
    if (value) value->setWritten((std::uint64_t{written.dwHighDateTime} << 32) | written.dwLowDateTime);
    return value;
}

OpenedValue OpenedStore::find(const std::string& key) const {
    const auto found = kept_.find(key);
    if (found == kept_.end()) return nullptr;
    const Kept& k = found->second;
    std::uint64_t size = 0, written = 0;
    if (!k.path.empty() && (!stampOf(k.path, size, written) || size != k.size || written != k.written)) return nullptr;
    return k.value;
}

void OpenedStore::keep(const std::string& key, const OpenedValue& value, const std::string& path) {
    if (!value || value->mapped()) return;
    Kept k{value, path};
    if (!path.empty() && value->written() != 0) {
        k.size = value->bytes().size();
        k.written = value->written();
    } else if (!path.empty() && !stampOf(path, k.size, k.written)) {
        k.path.clear();
    }
    if (const auto old = kept_.find(key); old != kept_.end()) {
        held_ -= std::min<std::uint64_t>(held_, old->second.value->bytes().size());
        old->second = std::move(k);
    } else {
        kept_.emplace(key, std::move(k));
        order_.push_back(key);
    }
    held_ += value->bytes().size();
    // The newest stays whatever its size: it is the one asked for now.
    while (held_ > budget_ && order_.size() > 1) {
        const auto oldest = kept_.find(order_.front());
        if (oldest != kept_.end()) {
            held_ -= std::min<std::uint64_t>(held_, oldest->second.value->bytes().size());
            kept_.erase(oldest);
        }
        order_.pop_front();
    }
}

void OpenedStore::forgetUnchecked() {
    std::deque<std::string> order;
    for (const std::string& key : order_) {
        const auto found = kept_.find(key);
        if (found == kept_.end()) continue;
        if (found->second.path.empty()) {
            held_ -= std::min<std::uint64_t>(held_, found->second.value->bytes().size());
            kept_.erase(found);
        } else {
            order.push_back(key);
        }
    }
    order_ = std::move(order);
}

void OpenedStore::clear() {
    kept_.clear();
    order_.clear();
    held_ = 0;
}

OpenedStore OpenedFiles(256ull << 20);

} // namespace vm
