#include "imagelist.h"

#include "vberror.h"

#include <algorithm>

namespace vm {

namespace {
[[noreturn]] void notFound() { throw VbError(35601, "ListImages", "Element not found"); }

// The picture drawn at the list's size, so that a wider one is not cut into several images.
HBITMAP bitmapAtSize(const Picture& picture, int width, int height) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP result = CreateCompatibleBitmap(screen, width, height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, result);
    SetStretchBltMode(dc, COLORONCOLOR);
    picture.render(dc, 0, 0, width, height);
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

Picture ListImage::ExtractIcon() const {
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

bool ImageList::add(const Picture& picture) {
    HIMAGELIST himl = hImageList();
    if (HICON icon = picture.icon()) return ImageList_ReplaceIcon(himl, -1, icon) >= 0;
    HBITMAP bitmap = bitmapAtSize(picture, width_, height_);
    int added = UseMaskColor ? ImageList_AddMasked(himl, bitmap, resolveColor(maskColor_))
                             : ImageList_Add(himl, bitmap, nullptr);
    DeleteObject(bitmap);
    return added >= 0;
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
    if (!list_.add(picture)) throw VbError(481, "ListImages", "Invalid picture");
    int at = index < 0 ? count : index - 1;
    std::unique_ptr<ListImage> item(new ListImage(list_, key, picture));
    ListImage& added = **items_.insert(items_.begin() + at, std::move(item));
    if (at < count) {
        // The system list only appends: lay it out again in the new order.
        ImageList_RemoveAll(list_.hImageList());
        for (const auto& image : items_) list_.add(image->picture());
    }
    return added;
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
