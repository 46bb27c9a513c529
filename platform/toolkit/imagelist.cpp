#include "imagelist.h"

#include "vberror.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

namespace vm {

namespace {
[[noreturn]] void notFound() { throw VbError(35601, "ListImages", "Element not found"); }

// Whether the picture is a 32-bit bitmap of exactly the list's size.
bool is32AtSize(const Picture& picture, int width, int height) {
    HBITMAP bitmap = picture.bitmap();
    DIBSECTION dib{};
    if (!bitmap || GetObjectA(bitmap, sizeof(dib), &dib) != sizeof(dib) || !dib.dsBm.bmBits) return false;
    return dib.dsBmih.biBitCount == 32 && dib.dsBmih.biCompression == BI_RGB && dib.dsBm.bmWidth == width &&
           dib.dsBm.bmHeight == height;
}

// The strip below, copied from the pictures' own bits where every one is a
// 32-bit picture of the list's size (as a page of library cells is): no
// drawing call for each picture. The bits are asked for top row first: a DIB
// section's own header tells its height as a positive number whichever way
// its rows run, so it cannot tell a top-down picture from a bottom-up one.
HBITMAP stripOfBits(const Picture* pictures, size_t count, int width, int height) {
    for (size_t i = 0; i < count; ++i)
        if (!is32AtSize(pictures[i], width, height)) return nullptr;
    std::uint32_t* rows = nullptr;
    HBITMAP strip = CreateTopDown32Bitmap(width * static_cast<int>(count), height, rows);
    if (!strip) return nullptr;
    GdiFlush();
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader = TopDown32Header(width, height);
    std::vector<std::uint32_t> cell(static_cast<size_t>(width) * static_cast<size_t>(height));
    const size_t stride = static_cast<size_t>(width) * count;
    bool ok = dc != nullptr;
    for (size_t i = 0; ok && i < count; ++i) {
        ok = GetDIBits(dc, pictures[i].bitmap(), 0, static_cast<UINT>(height), cell.data(), &info,
                       DIB_RGB_COLORS) == height;
        for (int y = 0; ok && y < height; ++y)
            std::copy_n(cell.data() + static_cast<size_t>(y) * static_cast<size_t>(width), width,
                        rows + static_cast<size_t>(y) * stride + i * static_cast<size_t>(width));
    }
    if (dc) DeleteDC(dc);
    if (ok) return strip;
    DeleteObject(strip);
    return nullptr;
}

// Icons of the list's size side by side, colour and mask, read from their
// bitmaps without drawing, so that the system list takes them in one call:
// added one at a time each costs it several drawing steps.
class IconStrip {
public:
    IconStrip(int width, int height) : width_(width), height_(height), dc_(CreateCompatibleDC(nullptr)) {}
    ~IconStrip() {
        if (dc_) DeleteDC(dc_);
    }
    IconStrip(const IconStrip&) = delete;
    IconStrip& operator=(const IconStrip&) = delete;

    // False for an icon the strip cannot take as it is (monochrome, or of
    // another size); the caller adds that one alone.
    bool append(HICON icon) {
        ICONINFO info{};
        if (!dc_ || !GetIconInfo(icon, &info)) return false;
        const bool taken = info.hbmColor && read(info.hbmColor, info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        return taken;
    }
    // Pixels decoded in memory are read where they are, when the strip is
    // made; they must outlive it. False for another size.
    bool append(const Picture::Pixels& pixels) {
        if (pixels.width != width_ || pixels.height != height_ ||
            pixels.colours.size() != cellSize() || pixels.transparent.size() != cellSize())
            return false;
        cells_.push_back(&pixels);
        return true;
    }

    // Adds the icons gathered so far and starts anew.
    bool addTo(HIMAGELIST himl) {
        if (cells_.empty()) return true;
        const int stripWidth = width_ * static_cast<int>(cells_.size());
        std::uint32_t* out = nullptr;
        HBITMAP color = CreateTopDown32Bitmap(stripWidth, height_, out);
        if (color) {
            GdiFlush();
            const auto w = static_cast<size_t>(width_);
            const auto stride = static_cast<size_t>(stripWidth);
            for (size_t k = 0; k < cells_.size(); ++k)
                for (size_t y = 0; y < static_cast<size_t>(height_); ++y)
                    std::copy_n(cells_[k]->colours.data() + y * w, w, out + y * stride + k * w);
        }
        HBITMAP mask = color ? maskOf(stripWidth) : nullptr;
        const bool ok = color && mask && ImageList_Add(himl, color, mask) >= 0;
        if (mask) DeleteObject(mask);
        if (color) DeleteObject(color);
        cells_.clear();
        read_.clear();
        return ok;
    }

private:
    size_t cellSize() const { return static_cast<size_t>(width_) * static_cast<size_t>(height_); }

    // The cells' transparent pixels as a monochrome bitmap as wide as the strip.
    HBITMAP maskOf(int stripWidth) const {
        // A monochrome bitmap's rows are whole 16-bit words.
        const size_t maskStride = (static_cast<size_t>(stripWidth) + 15) / 16 * 2;
        std::vector<std::uint8_t> bits(maskStride * static_cast<size_t>(height_), 0);
        const auto w = static_cast<size_t>(width_);
        for (size_t k = 0; k < cells_.size(); ++k)
            for (size_t y = 0; y < static_cast<size_t>(height_); ++y)
                for (size_t x = 0; x < w; ++x) {
                    if (!cells_[k]->transparent[y * w + x]) continue;
                    const size_t at = k * w + x;
                    bits[y * maskStride + at / 8] |= static_cast<std::uint8_t>(0x80 >> (at % 8));
                }
        return CreateBitmap(stripWidth, height_, 1, 1, bits.data());
    }

    bool read(HBITMAP colorBitmap, HBITMAP maskBitmap) {
        BITMAP bm{};
        if (!maskBitmap || !GetObjectA(colorBitmap, sizeof(bm), &bm)) return false;
        if (bm.bmWidth != width_ || bm.bmHeight != height_) return false;
        Picture::Pixels cell;
        cell.width = width_;
        cell.height = height_;
        cell.colours.resize(cellSize());
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colors[2];
        } info{};
        info.header = TopDown32Header(width_, height_);
        bool ok = GetDIBits(dc_, colorBitmap, 0, static_cast<UINT>(height_), cell.colours.data(),
                            reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == height_;
        const size_t stride = (static_cast<size_t>(width_) + 31) / 32 * 4;
        std::vector<std::uint8_t> mask(stride * static_cast<size_t>(height_));
        if (ok) {
            info.header.biBitCount = 1;
            info.header.biClrUsed = 0;
            ok = GetDIBits(dc_, maskBitmap, 0, static_cast<UINT>(height_), mask.data(),
                           reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS) == height_;
        }
        if (!ok) return false;
        cell.transparent.reserve(cellSize());
        for (size_t y = 0; y < static_cast<size_t>(height_); ++y)
            for (size_t x = 0; x < static_cast<size_t>(width_); ++x)
                cell.transparent.push_back((mask[y * stride + x / 8] >> (7 - x % 8)) & 1);
        read_.push_back(std::move(cell));
        cells_.push_back(&read_.back());
        return true;
    }

    int width_, height_;
    HDC dc_; // for reading bitmaps' bits
    std::vector<const Picture::Pixels*> cells_;
    std::deque<Picture::Pixels> read_; // the icons' pixels, read from their bitmaps
};

// The pictures side by side, each drawn at the list's size, so that a wider
// one is not cut into several images; the system list takes such a strip in one call.
HBITMAP stripAtSize(const Picture* pictures, size_t count, int width, int height) {
    if (HBITMAP strip = stripOfBits(pictures, count, width, height)) return strip;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP result = CreateCompatibleBitmap(screen, width * static_cast<int>(count), height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, result);
    SetStretchBltMode(dc, COLORONCOLOR);
    for (size_t i = 0; i < count; ++i) pictures[i].render(dc, width * static_cast<int>(i), 0, width, height);
    SelectObject(dc, old);
    DeleteDC(dc);
    return result;
}
} // namespace

int ListImage::Index() const {
    const auto& items = list_->ListImages.items_;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i) + 1;
    return 0;
}

const Picture& ListImage::SharedIcon() const {
    if (!icon_) icon_ = ExtractIcon();
    return icon_;
}

Picture ListImage::ExtractIcon() const {
    // An icon taken in at the list's size comes back as it was given: the
    // system list makes a mask of its own from the alpha of what it holds, so
    // an icon saved from the list would get another mask than its file's.
    // One given as its pixels is handed out itself, its icon made once, on
    // first use: a copy would cost as much again.
    if (const Picture::Pixels* given = picture_.pixels();
        given && given->width == list_->ImageWidth() && given->height == list_->ImageHeight() && picture_.icon())
        return picture_;
    if (HICON given = picture_.icon()) {
        ICONINFO info{};
        BITMAP colour{};
        if (GetIconInfo(given, &info)) {
            const bool atSize = info.hbmColor && GetObjectA(info.hbmColor, sizeof(colour), &colour) &&
                                colour.bmWidth == list_->ImageWidth() && colour.bmHeight == list_->ImageHeight();
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
            if (atSize)
                if (HICON copy = CopyIcon(given)) return Picture::fromIcon(copy);
        }
    }
    return Picture::fromIcon(ImageList_GetIcon(list_->hImageList(), Index() - 1, ILD_NORMAL));
}

void ListImage::Draw(HDC dc, int x, int y) const { ImageList_Draw(list_->hImageList(), Index() - 1, dc, x, y, ILD_NORMAL); }

ImageList::~ImageList() {
    if (handle_) ImageList_Destroy(handle_);
}

HIMAGELIST ImageList::hImageList() {
    if (!handle_) {
        if (!width_) width_ = 16;
        if (!height_) height_ = 16;
        handle_ = ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 4, 4);
    }
    return handle_;
}

void ImageList::setSize(int width, int height) {
    if (width == width_ && height == height_) return;
    if (ListImages.Count() > 0)
        throw VbError(35611, "ImageList", "Property is read-only if image list contains images");
    width_ = width;
    height_ = height;
    // The handle stays the same: controls that show the list keep it.
    if (handle_) ImageList_SetIconSize(handle_, width_, height_);
}

bool ImageList::add(const Picture* pictures, size_t count) {
    HIMAGELIST himl = hImageList();
    const int before = ImageList_GetImageCount(himl);
    bool ok = true;
    IconStrip icons(width_, height_);
    for (size_t i = 0; ok && i < count;) {
        if (const Picture::Pixels* pixels = pictures[i].pixels(); pixels && icons.append(*pixels)) {
            ++i;
            continue;
        }
        if (HICON icon = pictures[i].icon()) {
            if (!icons.append(icon)) ok = icons.addTo(himl) && ImageList_ReplaceIcon(himl, -1, icon) >= 0;
            ++i;
            continue;
        }
        ok = icons.addTo(himl);
        if (!ok) break;
        size_t end = i + 1;
        while (end < count && pictures[end].Type() != vbPicTypeIcon) ++end;
        HBITMAP strip = stripAtSize(pictures + i, end - i, width_, height_);
        ok = (UseMaskColor ? ImageList_AddMasked(himl, strip, resolveColor(maskColor_))
                           : ImageList_Add(himl, strip, nullptr)) >= 0;
        DeleteObject(strip);
        i = end;
    }
    ok = ok && icons.addTo(himl);
    if (!ok) ImageList_SetImageCount(himl, static_cast<UINT>(before));
    return ok;
}

void ImageList::SetImageWidth(int pixels) { setSize(pixels, height_); }
void ImageList::SetImageHeight(int pixels) { setSize(width_, pixels); }

ListImage& ListImageCollection::Add(int index, const std::string& key, const Picture& picture) {
    if (picture.empty()) throw VbError(481, "ListImages", "Invalid picture");
    if (!key.empty() && find(key) >= 0) throw VbError(35602, "ListImages", "Key is not unique in collection");
    int count = Count();
    if (index == 0 || index > count + 1) throw VbError(35600, "ListImages", "Index out of bounds");
    if (!list_.handle_) {
        if (!list_.width_) list_.width_ = picture.pixelWidth();
        if (!list_.height_) list_.height_ = picture.pixelHeight();
    }
    if (!list_.add(&picture, 1)) throw VbError(481, "ListImages", "Invalid picture");
    int at = index < 0 ? count : index - 1;
    std::unique_ptr<ListImage> item(new ListImage(list_, key, picture));
    ListImage& added = **items_.insert(items_.begin() + at, std::move(item));
    if (at < count) {
        // The system list only appends: lay it out again in the new order.
        std::vector<Picture> pictures;
        pictures.reserve(items_.size());
        for (const auto& image : items_) pictures.push_back(image->picture());
        ImageList_RemoveAll(list_.hImageList());
        list_.add(pictures.data(), pictures.size());
    }
    return added;
}

void ListImageCollection::AddRange(const std::vector<Picture>& pictures) {
    if (pictures.empty()) return;
    for (const Picture& picture : pictures)
        if (picture.empty()) throw VbError(481, "ListImages", "Invalid picture");
    if (!list_.handle_) {
        if (!list_.width_) list_.width_ = pictures.front().pixelWidth();
        if (!list_.height_) list_.height_ = pictures.front().pixelHeight();
    }
    if (!list_.add(pictures.data(), pictures.size())) throw VbError(481, "ListImages", "Invalid picture");
    items_.reserve(items_.size() + pictures.size());
    for (const Picture& picture : pictures) items_.emplace_back(new ListImage(list_, "", picture));
}

int ListImageCollection::find(const ImageRef& image) const {
    if (!image.key.empty()) {
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i]->Key() == image.key) return static_cast<int>(i);
        return -1;
    }
    return image.index >= 1 && image.index <= Count() ? image.index - 1 : -1;
}

ListImage& ListImageCollection::operator()(const ImageRef& image) {
    int at = find(image);
    if (at < 0) notFound();
    return *items_[static_cast<size_t>(at)];
}

void ListImageCollection::Remove(const ImageRef& image) {
    int at = find(image);
    if (at < 0) notFound();
    ImageList_Remove(list_.hImageList(), at);
    items_.erase(items_.begin() + at);
}

void ListImageCollection::Clear() {
    if (list_.handle_) ImageList_RemoveAll(list_.handle_);
    items_.clear();
}

} // namespace vm
