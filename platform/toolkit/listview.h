#pragma once
// The list view: items (1-based ListItems, also by key) with text, sub-items,
// a tag and icons taken from the Icons (large) and SmallIcons image lists by
// index or key; column headers; the four views; sorting by a column.
// Setting SelectedItem from code raises no ItemClick; a person's click or
// keyboard move does, also a click on the item already selected.
#include "control.h"
#include "imagelist.h"

#include <memory>
#include <string>
#include <vector>

namespace vm {

enum ListViewView : int { lvwIcon = 0, lvwSmallIcon = 1, lvwList = 2, lvwReport = 3 };
enum ListSortOrder : int { lvwAscending = 0, lvwDescending = 1 };

class ListView;

class ListItem {
public:
    int Index() const { return index_; }
    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    // Sub-item i (1-based: the second column is SubItems(1)); "" when not set.
    std::string SubItems(int i) const;
    void SetSubItems(int i, const std::string& text);
    const ImageRef& Icon() const { return icon_; }
    void SetIcon(const ImageRef& icon);
    const ImageRef& SmallIcon() const { return smallIcon_; }
    void SetSmallIcon(const ImageRef& icon);
    bool Selected() const;
    void SetSelected(bool selected);
    void EnsureVisible();
    std::string Tag;

private:
    friend class ListView;
    friend class ListItemCollection;
    friend class ColumnHeaderCollection;
    int position() const;       // in the control, or -1
    int searchPosition() const; // the same, asked of the control (while sorting)
    ListView* view_ = nullptr;
    int index_ = 0;
    std::string key_, text_;
    std::vector<std::string> subItems_;
    ImageRef icon_, smallIcon_;
};

class ColumnHeader {
public:
    int Index() const { return index_; }
    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int Width() const; // twips
    void SetWidth(int twips);
    std::string Tag;

private:
    friend class ColumnHeaderCollection;
    ListView* view_ = nullptr;
    int index_ = 0;
    mutable int width_ = 0; // pixels
    std::string key_, text_;
};

class ListItemCollection {
public:
    explicit ListItemCollection(ListView& view) : view_(view) {}
    // index 1-based (-1 = at the end); icons by index or key of the image lists.
    ListItem& Add(int index = -1, const std::string& key = "", const std::string& text = "",
                  const ImageRef& icon = {}, const ImageRef& smallIcon = {});
    int Count() const { return static_cast<int>(items_.size()); }
    // Throws VbError 35601 (element not found) for an unknown index or key.
    ListItem& operator()(int index);
    ListItem& operator()(const std::string& key);
    void Remove(int index);
    void Remove(const std::string& key);
    void Clear();

private:
    friend class ListView;
    friend class ColumnHeaderCollection;
    void renumber();
    ListView& view_;
    std::vector<std::unique_ptr<ListItem>> items_;
};

class ColumnHeaderCollection {
public:
    explicit ColumnHeaderCollection(ListView& view) : view_(view) {}
    // width in twips (-1 = the toolkit's default); alignment 0 left, 1 right, 2 centre.
    ColumnHeader& Add(int index = -1, const std::string& key = "", const std::string& text = "", int width = -1,
                      int alignment = 0);
    int Count() const { return static_cast<int>(items_.size()); }
    ColumnHeader& operator()(int index);
    ColumnHeader& operator()(const std::string& key);
    void Clear();

private:
    friend class ListView;
    ListView& view_;
    std::vector<std::unique_ptr<ColumnHeader>> items_;
};

class ListView : public Control {
public:
    explicit ListView(Form* owner);
    void create(Window& parent, int left, int top, int width, int height, int view = lvwIcon);

    ListItemCollection ListItems{*this};
    ColumnHeaderCollection ColumnHeaders{*this};

    int View();
    void SetView(int view);
    ListItem* SelectedItem();
    void SetSelectedItem(ListItem* item);
    ImageList* Icons() const { return icons_; }
    void SetIcons(ImageList* list);
    ImageList* SmallIcons() const { return smallIcons_; }
    void SetSmallIcons(ImageList* list);
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    int SortKey() const { return sortKey_; }
    void SetSortKey(int column) { sortKey_ = column; }
    int SortOrder() const { return sortOrder_; }
    void SetSortOrder(int order) { sortOrder_ = order; }
    bool HotTracking();
    void SetHotTracking(bool on);
    bool HoverSelection();
    void SetHoverSelection(bool on);
    void SetBackColor(OleColor color) override;
    void SetForeColor(OleColor color) override;
    // The item at x, y (twips in the control), or null.
    ListItem* HitTest(float x, float y);
    void Arrange();
    // Off: the list neither paints nor lays out its items while they change.
    // On again: the items are laid out once and the whole list paints anew.
    void SetRedraw(bool on);

    std::function<void(ListItem& Item)> ItemClick;
    std::function<void(ColumnHeader& Column)> ColumnClick;
    // The left button was held down on an item and the pointer moved: the
    // owner may start an OLE drag of the selected item.
    std::function<void()> OLEStartDrag;

    bool onNotify(NMHDR* header, LRESULT& result) override;
    bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void reset() override;

private:
    friend class ListItem;
    friend class ListItemCollection;
    friend class ColumnHeader;
    friend class ColumnHeaderCollection;
    void sort();
    void setExStyle(DWORD mask, bool on);
    int imageOf(const ListItem& item);
    void setImageList(ImageList*& held, ImageList* list, int which);

    ImageList* icons_ = nullptr;
    ImageList* smallIcons_ = nullptr;
    bool sorted_ = false;
    int sortKey_ = 0;
    int sortOrder_ = lvwAscending;
    bool selectingFromCode_ = false;
    bool itemClickRaised_ = true; // by the present press of the left button
};

} // namespace vm
