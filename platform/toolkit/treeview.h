#pragma once
// The tree view: Nodes (1-based in the order added, also by key) placed
// relative to another node, with text, tag and images from the tree's image
// list by index or key. NodeClick comes from a person's click or keyboard
// move, also a click on the node already selected; setting SelectedItem from
// code raises nothing.
#include "control.h"
#include "imagelist.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace vm {

enum TreeRelationship : int { tvwFirst = 0, tvwLast = 1, tvwNext = 2, tvwPrevious = 3, tvwChild = 4 };

class TreeView;

class Node {
public:
    int Index() const;
    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    const ImageRef& Image() const { return image_; }
    void SetImage(const ImageRef& image);
    const ImageRef& SelectedImage() const { return selectedImage_; }
    void SetSelectedImage(const ImageRef& image);
    bool Expanded() const;
    void SetExpanded(bool expanded);
    bool Selected() const;
    void SetSelected(bool selected);
    // Relatives; null where there is none.
    Node* Parent() const;
    Node* Child() const;
    Node* Next() const;
    Node* Previous() const;
    Node* FirstSibling() const;
    Node* LastSibling() const;
    Node* Root() const;
    int Children() const;
    // The texts from the root down to this node, joined by the tree's PathSeparator.
    std::string FullPath() const;
    void EnsureVisible();
    std::string Tag;

    HTREEITEM handle() const { return item_; }

private:
    friend class NodeCollection;
    friend class TreeView;
    Node* relative(UINT flag) const;
    void redraw();
    TreeView* tree_ = nullptr;
    HTREEITEM item_ = nullptr;
    std::string key_, text_;
    ImageRef image_, selectedImage_;
};

class NodeCollection {
public:
    explicit NodeCollection(TreeView& tree) : tree_(tree) {}
    // A node placed relative to another (none = a root node at the end).
    Node& Add(Node* relative = nullptr, int relationship = tvwLast, const std::string& key = "",
              const std::string& text = "", const ImageRef& image = {}, const ImageRef& selectedImage = {});
    Node& Add(const std::string& relativeKey, int relationship, const std::string& key = "",
              const std::string& text = "", const ImageRef& image = {}, const ImageRef& selectedImage = {});
    int Count() const { return static_cast<int>(items_.size()); }
    bool exists(const std::string& key) const { return !key.empty() && keys_.count(key) != 0; }
    // Throws VbError 35601 (element not found) for an unknown index or key.
    Node& operator()(int index);
    Node& operator()(const std::string& key);
    // Removes the node with all its children.
    void Remove(Node& node);
    void Remove(const std::string& key) { Remove((*this)(key)); }
    void Clear();

private:
    friend class TreeView;
    friend class Node;
    void forget(Node* node);
    TreeView& tree_;
    std::vector<std::unique_ptr<Node>> items_;
    std::map<std::string, Node*> keys_;
};

class TreeView : public Control {
public:
    explicit TreeView(Form* owner);
    void create(Window& parent, int left, int top, int width, int height);

    NodeCollection Nodes{*this};
    Node* SelectedItem();
    void SetSelectedItem(Node* node);
    ImageList* GetImageList() const { return imageList_; }
    void SetImageList(ImageList* list);
    std::string PathSeparator = "\\";
    // The node at x, y (twips in the control), or null.
    Node* HitTest(float x, float y);
    // The node drawn as the target of a drag (null: none).
    Node* DropHighlight();
    void SetDropHighlight(Node* node);
    void SetBackColor(OleColor color) override;

    std::function<void(Node& node)> NodeClick, Expand, Collapse;

    bool onNotify(NMHDR* header, LRESULT& result) override;
    bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
    void reset() override;

private:
    friend class Node;
    friend class NodeCollection;
    Node* nodeOf(HTREEITEM item) const;
    ImageList* imageList_ = nullptr;
    Node* dropHighlight_ = nullptr;
    bool nodeClickRaised_ = true; // by the present press of the left button
};

} // namespace vm
