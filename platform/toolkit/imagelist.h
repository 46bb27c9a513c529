#pragma once
// Image lists: pictures of one size kept for the list view, tree view,
// toolbar and status bar. ListImages are 1-based and can also be found by key.
// Bitmaps added take the MaskColor as their transparent colour.
#include "picture.h"
#include "twips.h"

#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

namespace vm {

// An image of a list named by its 1-based index or by its key (0 / "" = none).
struct ImageRef {
    int index = 0;
    std::string key;
    ImageRef() = default;
    ImageRef(int i) : index(i) {}
    ImageRef(const char* k) : key(k) {}
    ImageRef(std::string k) : key(std::move(k)) {}
    bool empty() const { return index == 0 && key.empty(); }
};

class ImageList;

class ListImage {
public:
    int Index() const;
    const std::string& Key() const { return key_; }
    const Picture& picture() const { return picture_; }
    // An icon of the image (transparent where the mask is), for the caller to keep.
    Picture ExtractIcon() const;
    // One icon of the image, made on first use and shared: a status panel
    // given it again sees the same picture and sends nothing.
    const Picture& SharedIcon() const;
    // Draws the image into dc at x, y (pixels).
    void Draw(HDC dc, int x, int y) const;
    std::string Tag;

private:
    friend class ListImageCollection;
    ListImage(ImageList& list, std::string key, Picture picture)
        : list_(&list), key_(std::move(key)), picture_(std::move(picture)) {}
    ImageList* list_;
    std::string key_;
    Picture picture_;
    mutable Picture icon_;
};

class ListImageCollection {
public:
    explicit ListImageCollection(ImageList& list) : list_(list) {}
    // Adds a picture (bitmap or icon) at a 1-based index (-1 = at the end).
    ListImage& Add(int index = -1, const std::string& key = "", const Picture& picture = {});
    // Appends pictures without keys in one go, far cheaper than one Add each
    // for a page of bitmaps. An empty picture or a failure adds none (VbError 481).
    void AddRange(const std::vector<Picture>& pictures);
    void Remove(const ImageRef& image);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws VbError 35601 (element not found) for an unknown index or key.
    ListImage& operator()(const ImageRef& image);
    // The 0-based position of an image in the system list, -1 when there is none.
    int find(const ImageRef& image) const;

private:
    friend class ListImage;
    ImageList& list_;
    std::vector<std::unique_ptr<ListImage>> items_;
};

class ImageList {
public:
    ImageList() = default;
    ~ImageList();
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    // Pixels; 0 until set or until the first image gives the size. Changing
    // the size of a list that holds images is refused (VbError 35611).
    int ImageWidth() const { return width_; }
    int ImageHeight() const { return height_; }
    void SetImageWidth(int pixels);
    void SetImageHeight(int pixels);
    OleColor MaskColor() const { return maskColor_; }
    void SetMaskColor(OleColor color) { maskColor_ = color; }
    bool UseMaskColor = true;
    ListImageCollection ListImages{*this};

    // The system image list (made with the first image, or by a control that shows the list).
    HIMAGELIST hImageList();

private:
    friend class ListImageCollection;
    void setSize(int width, int height);
    // Appends count pictures to the system list; on a failure it is left as it was.
    bool add(const Picture* pictures, size_t count);

    HIMAGELIST handle_ = nullptr;
    int width_ = 0, height_ = 0;
    OleColor maskColor_ = 0xC0C0C0u;
};

} // namespace vm
