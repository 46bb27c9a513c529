#include "cfileicon.h"
#include "datamodule.h"

#include <olectl.h>

#include <algorithm>
#include <memory>

#include "alphaicon.h"
#include "iconsource.h"
#include "loadergate.h"
#include "temporaryname.h"
#include "neiconfile.h"
#include "widefile.h"

namespace vm {
namespace {

constexpr const char* kClass = "cFileIcon";

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using FileHandle = std::unique_ptr<void, HandleCloser>;

struct ModuleFreer {
    void operator()(HMODULE m) const { ReleaseDataModule(m); }
};
using ModuleHandle = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

// Reads exactly size bytes at offset; false on a short read.
bool readAt(HANDLE file, std::uint64_t offset, std::uint8_t* out, DWORD size) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) return false;
    while (size > 0) {
        DWORD got = 0;
        if (!ReadFile(file, out, size, &got, nullptr) || got == 0) return false;
        out += got;
        size -= got;
    }
    return true;
}

ico::Bytes bytesOf(const std::vector<std::uint8_t>& v) { return {v.data(), v.size()}; }

// Copies the bitmap selected into src to dst: in its own size when width and
// height are both 0, else stretched to them (a 0 side keeping its own).
void blitSelected(HDC dst, HDC src, int ownWidth, int ownHeight, int x, int y, int width, int height,
                  DWORD rasterOp) {
    if (width == 0 && height == 0) {
        BitBlt(dst, x, y, ownWidth, ownHeight, src, 0, 0, rasterOp);
        return;
    }
    StretchBlt(dst, x, y, width ? width : ownWidth, height ? height : ownHeight, src, 0, 0, ownWidth,
               ownHeight, rasterOp);
}

} // namespace

void cFileIcon::CloneTo(cFileIcon& target) const {
    if (&target == this) return;
    target.filename_ = filename_;
    target.resourceId_ = resourceId_;
    target.entries_ = entries_;
    target.images_ = images_;
}

void cFileIcon::clear() {
    resourceId_ = std::monostate{};
    entries_.clear();
    images_.clear();
}

void cFileIcon::checkIndex(int index) const {
    if (index < 1 || index > ImageCount()) raiseSubscriptError(kClass);
}

int cFileIcon::ImageWidth(int index) const {
    checkIndex(index);
    int w = entries_[index - 1].bWidth;
    return w == 0 ? 256 : w;
}

int cFileIcon::ImageHeight(int index) const {
    checkIndex(index);
    int h = entries_[index - 1].bHeight;
    return h == 0 ? 256 : h;
}

std::int32_t cFileIcon::ImageColourCount(int index) const {
    checkIndex(index);
    return ico::colourCount(entries_[index - 1], bytesOf(images_[index - 1]));
}

std::int32_t cFileIcon::ImageSize(int index) const {
    checkIndex(index);
    return static_cast<std::int32_t>(entries_[index - 1].dwBytesInRes);
}

void cFileIcon::layOutOffsets() {
    std::vector<std::uint32_t> sizes;
    for (const auto& e : entries_) sizes.push_back(e.dwBytesInRes);
    auto offsets = ico::packedOffsets(sizes);
    for (std::size_t i = 0; i < entries_.size(); ++i) entries_[i].dwImageOffset = offsets[i];
}

HBITMAP cFileIcon::drawImageBits(HDC hDC, int index, bool mask, bool draw, int x, int y, int width,
                                 int height, DWORD rasterOp, bool keep) const {
    const auto& image = images_[index - 1];
    const auto dib = ico::checkDib(bytesOf(image));
    if (!dib) return nullptr;
    const int w = ImageWidth(index);
    const int h = ImageHeight(index);

    HDC mem = CreateCompatibleDC(mask ? nullptr : hDC);
    HBITMAP bmp = mem ? CreateCompatibleBitmap(mask ? mem : hDC, w, h) : nullptr;
    if (!bmp) {
        if (mem) DeleteDC(mem);
        return nullptr;
    }

    if (HGDIOBJ old = SelectObject(mem, bmp)) {
        // The stored header describes both planes; GDI gets one plane at a time.
        std::vector<std::uint8_t> info;
        const std::uint8_t* bits;
        if (!mask) {
            info.assign(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(dib->colourBits));
            bits = image.data() + dib->colourBits;
        } else {
            info.assign(ico::kInfoHeaderSize + 8, 0);
            info[0] = static_cast<std::uint8_t>(ico::kInfoHeaderSize);
            std::copy_n(image.begin() + 4, 4, info.begin() + 4); // biWidth
            info[12] = 1;                                        // biPlanes
            info[14] = 1;                                        // biBitCount
            std::fill_n(info.begin() + ico::kInfoHeaderSize + 4, 3, std::uint8_t{255});
            bits = image.data() + dib->maskBits;
        }
        auto* header = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
        header->biHeight = dib->height;
        // An entry larger than its image shows the image's top-left part only.
        const int cx = std::min(w, dib->width);
        const int cy = std::min(h, dib->height);
        SetDIBitsToDevice(mem, 0, 0, cx, cy, 0, dib->height - cy, 0, dib->height, bits,
                          reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
        if (draw) blitSelected(hDC, mem, w, h, x, y, width, height, rasterOp);
        SelectObject(mem, old);
    }
    DeleteDC(mem);
    if (keep) return bmp;
    DeleteObject(bmp);
    return nullptr;
}

HICON cFileIcon::decodedIcon(int index) const {
    auto& image = images_[index - 1];
    // A PNG that claims another size than its entry, or a huge one, is never decoded.
    if (!ico::imageIsSound(entries_[index - 1], bytesOf(image))) return nullptr;
    HICON decoded = gate::IconFromImage(bytesOf(image), true, ImageWidth(index), ImageHeight(index), LR_DEFAULTCOLOR);
    // The system's decoder makes a mask of its own that drops half-transparent
    // pixels; a PNG image gets its mask by the rule every image without one gets.
    HICON icon = IconWithAlphaMask(decoded);
    if (decoded) DestroyIcon(decoded);
    return icon;
}

HICON cFileIcon::IconHandle(HDC hDC, int index) const {
    checkIndex(index);
    if (ico::isPng(bytesOf(images_[index - 1]))) return decodedIcon(index);
    HBITMAP colour = drawImageBits(hDC, index, false, false, 0, 0, 0, 0, 0, true);
    HBITMAP maskBmp = drawImageBits(hDC, index, true, false, 0, 0, 0, 0, 0, true);
    HICON icon = nullptr;
    if (colour && maskBmp) {
        ICONINFO ii{TRUE, 0, 0, maskBmp, colour};
        icon = CreateIconIndirect(&ii);
    }
    if (colour) DeleteObject(colour);
    if (maskBmp) DeleteObject(maskBmp);
    return icon;
}

Microsoft::WRL::ComPtr<IPicture> cFileIcon::IconPicture(HDC hDC, int index) const {
    Microsoft::WRL::ComPtr<IPicture> picture;
    HICON icon = IconHandle(hDC, index);
    if (!icon) return picture;
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof desc;
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = icon;
    if (FAILED(OleCreatePictureIndirect(&desc, IID_IPicture, TRUE,
                                        reinterpret_cast<void**>(picture.GetAddressOf())))) {
        DestroyIcon(icon);
        picture.Reset();
    }
    return picture;
}

void cFileIcon::DrawIconImage(HDC hDC, int index, bool mask, int x, int y, int width, int height,
                              DWORD rasterOp) const {
    checkIndex(index);
    if (!ico::isPng(bytesOf(images_[index - 1]))) {
        drawImageBits(hDC, index, mask, true, x, y, width, height, rasterOp, false);
        return;
    }
    HICON icon = decodedIcon(index);
    if (!icon) return;
    ICONINFO ii{};
    if (GetIconInfo(icon, &ii)) {
        HBITMAP plane = mask ? ii.hbmMask : ii.hbmColor;
        HDC mem = CreateCompatibleDC(hDC);
        if (mem && plane) {
            if (HGDIOBJ old = SelectObject(mem, plane)) {
                blitSelected(hDC, mem, ImageWidth(index), ImageHeight(index), x, y, width, height, rasterOp);
                SelectObject(mem, old);
            }
        }
        if (mem) DeleteDC(mem);
        if (ii.hbmColor) DeleteObject(ii.hbmColor);
        if (ii.hbmMask) DeleteObject(ii.hbmMask);
    }
    DestroyIcon(icon);
}

void cFileIcon::AddImage(int width, int height, std::int32_t colours) {
    ico::DirEntry e;
    e.bWidth = static_cast<std::uint8_t>(width);
    e.bHeight = static_cast<std::uint8_t>(height);
    e.wPlanes = 1;
    switch (colours) {
    case 2: e.wBitCount = 1; e.bColorCount = 2; break;
    case 16: e.wBitCount = 4; e.bColorCount = 16; break;
    case 256: e.wBitCount = 8; break;
    default: e.wBitCount = 24; break;
    }
    // Any count other than 2, 16 and 256 makes a 24-bit image, so an image of
    // the same size and depth exists whatever count asked for it before.
    for (int i = 1; i <= ImageCount(); ++i) {
        const ico::DirEntry& old = entries_[i - 1];
        const bool sameSize = ImageWidth(i) == width && ImageHeight(i) == height;
        const bool sameDepth = ImageColourCount(i) == colours ||
                               (old.wBitCount == e.wBitCount && old.bColorCount == e.bColorCount);
        if (sameSize && sameDepth) raiseClassError(1049, kClass, "Icon already exists.");
    }
    if (width < 0 || width > 255 || height < 0 || height > 255) raiseOverflowError(kClass);
    auto image = ico::blankDib(width, height, e.wBitCount);
    e.dwBytesInRes = static_cast<std::uint32_t>(image.size());
    entries_.push_back(e);
    images_.push_back(std::move(image));
    layOutOffsets();
}

void cFileIcon::RemoveImage(int index) {
    if (ImageCount() < 2) {
        clear();
        return;
    }
    checkIndex(index);
    entries_.erase(entries_.begin() + (index - 1));
    images_.erase(images_.begin() + (index - 1));
    layOutOffsets();
}

bool cFileIcon::LoadIcon(const std::string& file) {
    clear();
    filename_ = file;
    FileHandle f(wide::Open(file, GENERIC_READ, 0, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    if (f.get() == INVALID_HANDLE_VALUE) {
        f.release();
        return false;
    }
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(f.get(), &fileSize)) return false;
    const auto size = static_cast<std::uint64_t>(fileSize.QuadPart);

    std::uint8_t head[ico::kDirSize];
    if (!readAt(f.get(), 0, head, sizeof head)) return false;
    const auto dir = ico::readIconDir(head);
    if (!dir || !ico::isIconDir(*dir)) return false;

    auto fail = [this](const char* what) {
        clear();
        raiseClassError(1050, kClass, std::string("Failed to load icon: ") + what);
    };
    const std::size_t count = static_cast<std::size_t>(dir->idCount);
    const std::size_t tableSize = ico::kEntrySize * count;
    if (!ico::blockInside(ico::kDirSize, tableSize, size)) fail("Icon Directory Array is Corrupt.");
    std::vector<std::uint8_t> table(tableSize);
    if (!readAt(f.get(), ico::kDirSize, table.data(), static_cast<DWORD>(tableSize)))
        fail("Icon Directory Array is Corrupt.");
    for (std::size_t i = 0; i < count; ++i)
        entries_.push_back(*ico::readDirEntry(ico::Bytes(table).subspan(i * ico::kEntrySize)));

    // Images may share bytes, but together they can be no larger than the
    // file: a small file whose many entries each span all of it would
    // otherwise ask for gigabytes.
    std::uint64_t total = 0;
    for (const auto& e : entries_) total += e.dwBytesInRes;
    if (total > size) fail("Icon Images Array is Corrupt.");
    for (const auto& e : entries_) {
        if (!ico::blockInside(e.dwImageOffset, e.dwBytesInRes, size)) fail("Icon Images Array is Corrupt.");
        std::vector<std::uint8_t> image(e.dwBytesInRes);
        if (!readAt(f.get(), e.dwImageOffset, image.data(), e.dwBytesInRes))
            fail("Icon Images Array is Corrupt.");
        images_.push_back(std::move(image));
    }
    return true;
}

bool cFileIcon::LoadIconFromEXE(const std::string& file, std::int32_t id, const std::string& name) {
    clear();
    filename_ = file;
    // A damaged module counts as one that cannot be loaded.
    if (!IconSourceIsSound(file)) return false;
    if (id != 0)
        resourceId_ = id;
    else
        resourceId_ = name;
    if (const auto icons = ReadNeIconFile(file)) return loadNeGroup(*icons, id, name);
    ModuleHandle module(AcquireDataModule(file));
    if (!module) return false;

    const std::string group = id != 0 ? '#' + std::to_string(id) : name;
    HRSRC found = FindResourceA(module.get(), group.c_str(), MAKEINTRESOURCEA(14));
    if (!found) raiseClassError(1055, kClass, "Can't find resource.");
    HGLOBAL loaded = LoadResource(module.get(), found);
    if (!loaded) raiseClassError(1056, kClass, "Can't load resource.");
    const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (!data) raiseClassError(1056, kClass, "Can't lock resource.");
    const ico::Bytes groupBytes(data, SizeofResource(module.get(), found));

    const auto dir = ico::readIconDir(groupBytes);
    if (!dir || dir->idCount < 1) return false;
    auto fail = [this] {
        clear();
        raiseClassError(1057, kClass, "Failed to read bitmap bits from resource.");
    };
    const std::size_t count = static_cast<std::size_t>(dir->idCount);
    if (!ico::blockInside(ico::kDirSize, ico::kGroupEntrySize * count, groupBytes.size())) fail();

    bool failed = false;
    for (std::size_t i = 0; i < count; ++i) {
        const auto g = *ico::readGroupEntry(groupBytes.subspan(ico::kDirSize + i * ico::kGroupEntrySize));
        HRSRC res = FindResourceA(module.get(), MAKEINTRESOURCEA(g.nID), MAKEINTRESOURCEA(3));
        HGLOBAL img = res ? LoadResource(module.get(), res) : nullptr;
        if (!img) {
            failed = true;
            break;
        }
        const DWORD size = SizeofResource(module.get(), res);
        std::vector<std::uint8_t> image;
        if (size > 0 && size == g.entry.dwBytesInRes) {
            const auto* bits = static_cast<const std::uint8_t*>(LockResource(img));
            if (!bits) {
                failed = true;
                break;
            }
            image.assign(bits, bits + size);
        } else {
            failed = true;
        }
        entries_.push_back(g.entry);
        images_.push_back(std::move(image));
    }
    if (failed) fail();
    layOutOffsets();
    return true;
}

bool cFileIcon::loadNeGroup(const NeIconFile& icons, std::int32_t id, const std::string& name) {
    // Names are compared as the system compares resource names, without regard to case.
    auto matches = [&](const ne::ResourceId& r) {
        return id != 0 ? !r.named && r.number == id : r.named && lstrcmpiA(r.name.c_str(), name.c_str()) == 0;
    };
    for (const ne::IconGroup& group : icons.groups) {
        if (!matches(group.id)) continue;
        // The reader has checked every image against the file and its entry.
        for (const ne::GroupImage& image : group.images) {
            const ne::Bytes bytes = icons.image(image);
            entries_.push_back(image.entry);
            images_.emplace_back(bytes.begin(), bytes.end());
        }
        layOutOffsets();
        return true;
    }
    raiseClassError(1055, kClass, "Can't find resource.");
}

bool cFileIcon::SaveIcon(const std::string& file) {
    if (filename_.empty() && file.empty()) raiseClassError(1051, kClass, "No filename specified.");
    if (entries_.empty()) raiseClassError(1052, kClass, "Icon contains no images.");
    if (!file.empty()) filename_ = file;

    // Replacing a read-only, hidden or system file is refused, as opening it
    // for writing with normal attributes would be; its attributes stay.
    const DWORD attributes = wide::Attributes(filename_);
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY)))
        raiseClassError(1052, kClass, "Couldn't open file for writing.");

    layOutOffsets();
    std::vector<std::uint8_t> bytes;
    ico::appendIconDir(bytes, {0, static_cast<std::int16_t>(ico::kTypeIcon), static_cast<std::int16_t>(ImageCount())});
    for (const auto& e : entries_) ico::appendDirEntry(bytes, e);
    for (const auto& image : images_) bytes.insert(bytes.end(), image.begin(), image.end());

    // The new file is written beside the old one and replaces it only when
    // complete, so a failed save leaves the old file as it was.
    const auto slash = filename_.find_last_of("\\/");
    const std::string folder = slash == std::string::npos ? "." : filename_.substr(0, slash + 1);
    const std::string temporary = NewTemporaryFileIn(folder, "ico");
    if (temporary.empty()) raiseClassError(1052, kClass, "Couldn't open file for writing.");
    const char* temp = temporary.c_str();
    FileHandle f(wide::Open(temp, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
    if (f.get() == INVALID_HANDLE_VALUE) {
        f.release();
        wide::Delete(temp);
        raiseClassError(1052, kClass, "Couldn't open file for writing.");
    }
    DWORD written = 0;
    const bool complete = WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                          written == bytes.size();
    f.reset();
    if (!complete) {
        wide::Delete(temp);
        raiseClassError(1053, kClass, "General failure writing icon.");
    }
    if (!wide::Move(temp, filename_, MOVEFILE_REPLACE_EXISTING)) {
        wide::Delete(temp);
        raiseClassError(1052, kClass, "Couldn't open file for writing.");
    }
    return true;
}

} // namespace vm
