#include "loadergate.h"

#include <shellapi.h>
#include <olectl.h>
#include <shlobj.h>

#include <climits>
#include <cstring>
#include <optional>
#include <vector>

#include "filekinds.h"
#include "icolayout.h"
#include "iconsource.h"
#include "neiconfile.h"
#include "peresources.h"
#include "utf8text.h"
#include "widefile.h"

namespace vm::gate {
namespace {

using Bytes = std::span<const std::uint8_t>;

bool isKind(const SourceVerdict& v, std::initializer_list<FileKind> kinds) {
    if (!v.sound) return false;
    for (FileKind k : kinds)
        if (v.kind == k) return true;
    return false;
}

// A file mapped for reading while the gate reads it.
class FileView {
public:
    explicit FileView(const std::string& file) {
        HANDLE h = wide::Open(file, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
        if (h == INVALID_HANDLE_VALUE) return;
        LARGE_INTEGER length{};
        if (GetFileSizeEx(h, &length) && length.QuadPart > 0 && length.QuadPart < 0x7FFFFFFF) {
            HANDLE mapping = CreateFileMappingA(h, nullptr, PAGE_READONLY, 0, 0, nullptr);
            if (mapping) {
                view_ = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
                if (view_) size_ = static_cast<std::size_t>(length.QuadPart);
                CloseHandle(mapping);
            }
        }
        CloseHandle(h);
    }
    FileView(const FileView&) = delete;
    FileView& operator=(const FileView&) = delete;
    ~FileView() {
        if (view_) UnmapViewOfFile(view_);
    }
    Bytes bytes() const { return {static_cast<const std::uint8_t*>(view_), size_}; }

private:
    void* view_ = nullptr;
    std::size_t size_ = 0;
};

// Icon number index of a module at cx x cy, from its group: the image the
// system would pick for that size, found among the module's icon images.
Bytes moduleImage(Bytes file, const std::vector<pe::ResourceType>& types, const pe::Resource& group, int cx) {
    const pe::ResourceType* images = pe::typeOf(types, pe::kIconType);
    const auto dir = pe::groupDirectory(file, group);
    if (!images || !dir) return {};
    // The system picks by reading the directory only; it is whole here.
    const int id = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(dir->bytes.data()), TRUE, cx, cx, LR_DEFAULTCOLOR);
    const pe::Resource* image =
        id >= 0 && id <= 0xFFFF ? pe::resourceOf(images, static_cast<std::uint16_t>(id)) : nullptr;
    return image ? pe::bytesOf(file, *image) : Bytes{};
}

HICON moduleIcon(Bytes file, const std::vector<pe::ResourceType>& types, const pe::Resource& group, int cx) {
    const Bytes image = moduleImage(file, types, group, cx);
    return image.empty() ? nullptr : IconFromImage(image, true, cx, cx, LR_DEFAULTCOLOR);
}

// Group index of a module's group icons; a negative index names the group by its number.
const pe::Resource* moduleGroup(const std::vector<pe::ResourceType>& types, int index) {
    const pe::ResourceType* groups = pe::typeOf(types, pe::kGroupIconType);
    if (!groups) return nullptr;
    if (index >= 0) return static_cast<std::size_t>(index) < groups->resources.size()
                               ? &groups->resources[static_cast<std::size_t>(index)]
                               : nullptr;
    for (const pe::Resource& r : groups->resources)
        if (!r.id.named && r.id.number == -index) return &r;
    return nullptr;
}

// ExtractIconEx over a sound PE module, read by the project's own reader.
UINT moduleIcons(Bytes file, const std::optional<std::vector<pe::ResourceType>>& types, int index, HICON* large,
                 HICON* small, UINT count) {
    if (!types) return 0;
    const pe::ResourceType* groups = pe::typeOf(*types, pe::kGroupIconType);
    const std::size_t n = groups ? groups->resources.size() : 0;
    if (index == -1 && !large && !small) return static_cast<UINT>(n);
    UINT made = 0;
    for (UINT i = 0; i < count; ++i) {
        const pe::Resource* group = nullptr;
        if (index >= 0 && static_cast<std::size_t>(index) + i < n) {
            group = &groups->resources[static_cast<std::size_t>(index) + i];
        } else if (index < 0 && groups) {
            // A negative index names the group by its number.
            for (const pe::Resource& r : groups->resources)
                if (!r.id.named && r.id.number == -index) group = &r;
        }
        if (!group) break;
        if (large) large[i] = moduleIcon(file, *types, *group, GetSystemMetrics(SM_CXICON));
        if (small) small[i] = moduleIcon(file, *types, *group, GetSystemMetrics(SM_CXSMICON));
        ++made;
    }
    return made;
}

// ExtractIconEx over a sound 16-bit module: the system's reader of 16-bit
// tables is not trusted with one, and NT-family Windows has none. Each icon is
// made from the image of its group that suits the size best.
UINT oldModuleIcons(const NeIconFile* icons, int index, HICON* large, HICON* small, UINT count) {
    if (!icons) return 0;
    const std::size_t n = icons->groups.size();
    if (index == -1 && !large && !small) return static_cast<UINT>(n);
    auto make = [&](const ne::IconGroup& group, int side) {
        return IconFromImage(icons->image(ne::bestImage(icons->file(), group, side)), true, side, side,
                             LR_DEFAULTCOLOR);
    };
    UINT made = 0;
    for (UINT i = 0; i < count && index >= 0 && static_cast<std::size_t>(index) + i < n; ++i) {
        const ne::IconGroup& group = icons->groups[static_cast<std::size_t>(index) + i];
        if (large) large[i] = make(group, GetSystemMetrics(SM_CXICON));
        if (small) small[i] = make(group, GetSystemMetrics(SM_CXSMICON));
        ++made;
    }
    return made;
}

// The side the extraction gives an icon asked for at size: 16 is the small
// icon's, any other the large one's.
int extractedSide(int size) { return GetSystemMetrics(size == 16 ? SM_CXSMICON : SM_CXICON); }

// The image of an ICO or CUR file's bytes that the system's lookup picks at
// side x side, from the directory rebuilt as a resource group holds it (an
// icon's entries keep their first 12 bytes, a cursor's give width, doubled
// height, planes and depth); nothing when it picks none.
std::optional<ico::DirEntry> pickedImage(Bytes bytes, bool icon, int side) {
    const auto dir = ico::readIconDir(bytes);
    if (!dir || dir->idCount < 1) return std::nullopt;
    const auto count = static_cast<std::size_t>(dir->idCount);
    std::vector<std::uint8_t> group(ico::kDirSize + ico::kGroupEntrySize * count);
    std::memcpy(group.data(), bytes.data(), ico::kDirSize);
    std::vector<ico::DirEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const auto e = ico::readDirEntry(bytes.subspan(ico::kDirSize + ico::kEntrySize * i));
        if (!e || !ico::blockInside(e->dwImageOffset, e->dwBytesInRes, bytes.size())) return std::nullopt;
        entries.push_back(*e);
        std::uint8_t* out = group.data() + ico::kDirSize + ico::kGroupEntrySize * i;
        if (icon) {
            std::memcpy(out, bytes.data() + ico::kDirSize + ico::kEntrySize * i, 12);
        } else {
            const unsigned width = e->bWidth == 0 ? 256 : e->bWidth, height = 2 * (e->bHeight == 0 ? 256 : e->bHeight);
            const unsigned depth = ico::imageBitDepth(bytes.subspan(e->dwImageOffset, e->dwBytesInRes));
            const std::uint16_t words[4] = {static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 1,
                                            static_cast<std::uint16_t>(depth)};
            std::memcpy(out, words, 8);
            std::memcpy(out + 8, &e->dwBytesInRes, 4);
        }
        out[12] = static_cast<std::uint8_t>(i & 0xFF);
        out[13] = static_cast<std::uint8_t>(i >> 8);
    }
    const int picked = LookupIconIdFromDirectoryEx(group.data(), icon ? TRUE : FALSE, side, side, LR_DEFAULTCOLOR);
    if (picked < 0 || static_cast<std::size_t>(picked) >= count) return std::nullopt;
    return entries[static_cast<std::size_t>(picked)];
}

// The icon of an ICO file, or the cursor of a CUR file, from its bytes.
HICON iconFileIcon(Bytes bytes, int size) {
    const bool icon = ico::readIconDir(bytes)->idType == ico::kTypeIcon;
    const int side = icon ? extractedSide(size) : size;
    const auto e = pickedImage(bytes, icon, side);
    if (!e) return nullptr;
    const Bytes image = bytes.subspan(e->dwImageOffset, e->dwBytesInRes);
    if (icon) return IconFromImage(image, true, side, side, LR_DEFAULTCOLOR);
    // A cursor file keeps its hotspot in the directory; a cursor image leads with it.
    std::vector<std::uint8_t> withHotspot(4 + image.size());
    const std::uint16_t hotspot[2] = {e->wPlanes, e->wBitCount};
    std::memcpy(withHotspot.data(), hotspot, 4);
    std::memcpy(withHotspot.data() + 4, image.data(), image.size());
    return IconFromImage(withHotspot, false, side, side, 0);
}

// ExtractIconEx over an icon file, from its bytes.
UINT iconFileIcons(const std::string& file, int index, HICON* large, HICON* small, UINT count) {
    if (index == -1 && !large && !small) return 1;
    if (index != 0 || count < 1) return 0;
    FileView view(file);
    if (large) large[0] = iconFileIcon(view.bytes(), 32);
    if (small) small[0] = iconFileIcon(view.bytes(), 16);
    return (large && large[0]) || (small && small[0]) ? 1 : 0;
}

} // namespace

IconBytes::IconBytes(std::span<const std::uint8_t> bytes, CheckedBytes checked) : bytes_(bytes), checked_(checked) {
    if (isKind(checked_, {FileKind::PeModule})) resources_ = pe::readResources(bytes_);
    if (isKind(checked_, {FileKind::NeModule})) old_ = NeIconFileOf(std::string(bytes_.begin(), bytes_.end()));
}

UINT IconBytes::count() const {
    if (isKind(checked_, {FileKind::PeModule})) return moduleIcons(bytes_, resources_, -1, nullptr, nullptr, 0);
    if (isKind(checked_, {FileKind::NeModule})) return oldModuleIcons(old_.get(), -1, nullptr, nullptr, 0);
    return isKind(checked_, {FileKind::Icon}) ? 1 : 0;
}

HICON IconBytes::icon(int index, int size) const {
    HICON made = nullptr;
    HICON* large = size == 16 ? nullptr : &made;
    HICON* small = size == 16 ? &made : nullptr;
    if (isKind(checked_, {FileKind::PeModule})) moduleIcons(bytes_, resources_, index, large, small, 1);
    else if (isKind(checked_, {FileKind::NeModule})) oldModuleIcons(old_.get(), index, large, small, 1);
    else if (isKind(checked_, {FileKind::Icon}) && index == 0) made = iconFileIcon(bytes_, size);
    return made;
}

int IconBytes::pixels(int index, int size, std::vector<std::uint32_t>& colours,
                      std::vector<std::uint8_t>& transparent) const {
    // The image is the one icon() makes its icon of, at the side it makes it.
    int side = GetSystemMetrics(size == 16 ? SM_CXSMICON : SM_CXICON);
    Bytes image;
    if (isKind(checked_, {FileKind::PeModule}) && resources_) {
        if (const pe::Resource* group = moduleGroup(*resources_, index))
            image = moduleImage(bytes_, *resources_, *group, side);
    } else if (isKind(checked_, {FileKind::NeModule}) && old_) {
        if (index >= 0 && static_cast<std::size_t>(index) < old_->groups.size())
            image = old_->image(ne::bestImage(old_->file(), old_->groups[static_cast<std::size_t>(index)], side));
    } else if (isKind(checked_, {FileKind::Icon}) && index == 0) {
        const bool icon = ico::readIconDir(bytes_)->idType == ico::kTypeIcon;
        if (!icon) side = size;
        if (const auto e = pickedImage(bytes_, icon, side)) image = bytes_.subspan(e->dwImageOffset, e->dwBytesInRes);
    }
    return !image.empty() && ico::imageIsSound(image) && ico::decodeDib(image, side, colours, transparent) ? side : 0;
}

HICON IconBytes::animation() const {
    if (!isKind(checked_, {FileKind::Animation}) || bytes_.size() > 0x7FFFFFFF) return nullptr;
    return CreateIconFromResourceEx(const_cast<PBYTE>(bytes_.data()), static_cast<DWORD>(bytes_.size()), TRUE,
                                    0x00030000, 0, 0, 0);
}

HANDLE LoadImageFile(const std::string& file, UINT type, int cx, int cy, UINT flags) {
    if (!isKind(CheckIconSource(file), {FileKind::Icon, FileKind::Animation})) return nullptr;
    return LoadImageW(nullptr, WideText(file).c_str(), type, cx, cy, flags | LR_LOADFROMFILE);
}

UINT ExtractIcons(const std::string& file, int index, HICON* large, HICON* small, UINT count) {
    const SourceVerdict v = CheckIconSource(file);
    if (isKind(v, {FileKind::PeModule})) {
        FileView view(file);
        return moduleIcons(view.bytes(), pe::readResources(view.bytes()), index, large, small, count);
    }
    if (isKind(v, {FileKind::NeModule})) return oldModuleIcons(ReadNeIconFile(file).get(), index, large, small, count);
    if (!isKind(v, {FileKind::Icon})) return 0;
    // The shell's extraction takes no path longer than MAX_PATH; an icon file holds one icon,
    // made from its bytes as the extraction makes it.
    if (wide::TooLongForOldCalls(file)) return iconFileIcons(file, index, large, small, count);
    const UINT n = ExtractIconExW(WideText(file).c_str(), index, large, small, count);
    return n == UINT_MAX ? 0 : n;
}

HICON IconFromImage(std::span<const std::uint8_t> image, bool icon, int cx, int cy, UINT flags) {
    // A cursor's image follows its 4-byte hotspot.
    const Bytes picture = icon ? image : (image.size() >= 4 ? image.subspan(4) : Bytes{});
    if (picture.empty() || !ico::imageIsSound(picture) || image.size() > 0x7FFFFFFF) return nullptr;
    return CreateIconFromResourceEx(const_cast<PBYTE>(image.data()), static_cast<DWORD>(image.size()),
                                    icon ? TRUE : FALSE, 0x00030000, cx, cy, flags);
}

HMODULE LoadDataFile(const std::string& file) {
    if (!isKind(CheckIconSource(file), {FileKind::PeModule})) return nullptr;
    return LoadLibraryExW(WideText(file).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
}

IPicture* LoadPictureBytes(std::span<const std::uint8_t> bytes) {
    const FileKind kind = KindOfBytes(bytes);
    const bool picture = kind == FileKind::Bitmap || kind == FileKind::Gif || kind == FileKind::Jpeg ||
                         kind == FileKind::Png || kind == FileKind::Metafile || kind == FileKind::Icon;
    if (!picture || !BytesAreSound(bytes) || bytes.size() > 0x7FFFFFFF) return nullptr;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory) return nullptr;
    memcpy(GlobalLock(memory), bytes.data(), bytes.size());
    GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return nullptr;
    }
    IPicture* ole = nullptr;
    const HRESULT hr = OleLoadPicture(stream, static_cast<LONG>(bytes.size()), FALSE, IID_IPicture,
                                      reinterpret_cast<void**>(&ole));
    stream->Release();
    return SUCCEEDED(hr) ? ole : nullptr;
}

HRESULT NewShellLink(IShellLinkA** link) {
    *link = nullptr;
    return CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                            reinterpret_cast<void**>(link));
}

namespace {

std::wstring wide(const std::string& text) {
    if (text.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

HRESULT persist(IShellLinkA* link, const std::string& file, bool load) {
    IPersistFile* persisted = nullptr;
    HRESULT hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persisted));
    if (FAILED(hr)) return hr;
    hr = load ? persisted->Load(wide(file).c_str(), STGM_READ) : persisted->Save(wide(file).c_str(), TRUE);
    persisted->Release();
    return hr;
}

} // namespace

HRESULT LoadShellLink(const std::string& file, IShellLinkA** link) {
    *link = nullptr;
    if (!isKind(CheckIconSource(file), {FileKind::ShellLink})) return E_FAIL;
    HRESULT hr = NewShellLink(link);
    if (SUCCEEDED(hr)) hr = persist(*link, file, true);
    if (FAILED(hr) && *link) {
        (*link)->Release();
        *link = nullptr;
    }
    return hr;
}

HRESULT SaveShellLink(IShellLinkA* link, const std::string& file) { return persist(link, file, false); }

} // namespace vm::gate
