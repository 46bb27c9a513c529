#include "treeview.h"

#include "vberror.h"

#include <algorithm>
#include <cstring>

namespace vm {

namespace {
[[noreturn]] void notFound() { throw VbError(35601, "Nodes", "Element not found"); }
}

int Node::Index() const {
    const auto& items = tree_->Nodes.items_;
    for (size_t i = 0; i < items.size(); ++i)
        if (items[i].get() == this) return static_cast<int>(i) + 1;
    return 0;
}

void Node::SetText(const std::string& text) {
    text_ = text;
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = item_;
    item.pszText = const_cast<char*>(text_.c_str());
    SendMessageA(tree_->handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void Node::redraw() {
    // TVM_GETITEMRECT takes the item in the rectangle it fills.
    RECT rect{};
    memcpy(&rect, &item_, sizeof(item_));
    if (SendMessageA(tree_->handle(), TVM_GETITEMRECT, FALSE, reinterpret_cast<LPARAM>(&rect)))
        InvalidateRect(tree_->handle(), &rect, TRUE);
}

void Node::SetImage(const ImageRef& image) {
    image_ = image;
    redraw();
}

void Node::SetSelectedImage(const ImageRef& image) {
    selectedImage_ = image;
    redraw();
}

bool Node::Expanded() const {
    return SendMessageA(tree_->handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item_), TVIS_EXPANDED) &
           TVIS_EXPANDED;
}

void Node::SetExpanded(bool expanded) {
    SendMessageA(tree_->handle(), TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(item_));
}

bool Node::Selected() const { return tree_->SelectedItem() == this; }

void Node::SetSelected(bool selected) {
    if (selected) tree_->SetSelectedItem(this);
    else if (Selected()) tree_->SetSelectedItem(nullptr);
}

Node* Node::relative(UINT flag) const {
    auto found = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_->handle(), TVM_GETNEXTITEM, flag, reinterpret_cast<LPARAM>(item_)));
    return tree_->nodeOf(found);
}

Node* Node::Parent() const { return relative(TVGN_PARENT); }
Node* Node::Child() const { return relative(TVGN_CHILD); }
Node* Node::Next() const { return relative(TVGN_NEXT); }
Node* Node::Previous() const { return relative(TVGN_PREVIOUS); }

Node* Node::FirstSibling() const {
    const Node* node = this;
    while (Node* before = node->Previous()) node = before;
    return const_cast<Node*>(node);
}

Node* Node::LastSibling() const {
    const Node* node = this;
    while (Node* after = node->Next()) node = after;
    return const_cast<Node*>(node);
}

Node* Node::Root() const {
    const Node* node = this;
    while (Node* up = node->Parent()) node = up;
    return const_cast<Node*>(node)->FirstSibling();
}

int Node::Children() const {
    int count = 0;
    for (Node* child = Child(); child; child = child->Next()) ++count;
    return count;
}

std::string Node::FullPath() const {
    std::string path = text_;
    for (Node* up = Parent(); up; up = up->Parent()) path = up->text_ + tree_->PathSeparator + path;
    return path;
}

void Node::EnsureVisible() { SendMessageA(tree_->handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item_)); }

Node& NodeCollection::Add(Node* relative, int relationship, const std::string& key, const std::string& text,
                          const ImageRef& image, const ImageRef& selectedImage) {
    if (!tree_.hWnd()) throw VbError(91, "Nodes", "Object variable not set");
    if (exists(key)) throw VbError(35602, "Nodes", "Key is not unique in collection");
    TVINSERTSTRUCTA insert{};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    if (relative) {
        Node* parent = relative->Parent();
        HTREEITEM parentItem = parent ? parent->item_ : TVI_ROOT;
        switch (relationship) {
        case tvwChild: insert.hParent = relative->item_; break;
        case tvwFirst: insert.hParent = parentItem; insert.hInsertAfter = TVI_FIRST; break;
        case tvwNext: insert.hParent = parentItem; insert.hInsertAfter = relative->item_; break;
        case tvwPrevious: {
            insert.hParent = parentItem;
            Node* before = relative->Previous();
            insert.hInsertAfter = before ? before->item_ : TVI_FIRST;
            break;
        }
        default: insert.hParent = parentItem; break;
        }
    }
    auto node = std::make_unique<Node>();
    node->tree_ = &tree_;
    node->key_ = key;
    node->text_ = text;
    node->image_ = image;
    node->selectedImage_ = selectedImage;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(node->text_.c_str());
    insert.item.iImage = I_IMAGECALLBACK;
    insert.item.iSelectedImage = I_IMAGECALLBACK;
    insert.item.lParam = reinterpret_cast<LPARAM>(node.get());
    node->item_ = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree_.handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!node->item_) throw VbError(35600, "Nodes", "Index out of bounds");
    Node* added = node.get();
    items_.push_back(std::move(node));
    if (!key.empty()) keys_[key] = added;
    return *added;
}

Node& NodeCollection::Add(const std::string& relativeKey, int relationship, const std::string& key,
                          const std::string& text, const ImageRef& image, const ImageRef& selectedImage) {
    return Add(relativeKey.empty() ? nullptr : &(*this)(relativeKey), relationship, key, text, image, selectedImage);
}

Node& NodeCollection::operator()(int index) {
    if (index < 1 || index > Count()) notFound();
    return *items_[static_cast<size_t>(index) - 1];
}

Node& NodeCollection::operator()(const std::string& key) {
    auto found = keys_.find(key);
    if (found == keys_.end()) notFound();
    return *found->second;
}

void NodeCollection::forget(Node* node) {
    if (tree_.dropHighlight_ == node) tree_.dropHighlight_ = nullptr;
    if (!node->key_.empty()) keys_.erase(node->key_);
    items_.erase(std::remove_if(items_.begin(), items_.end(), [node](const auto& item) { return item.get() == node; }),
                 items_.end());
}

void NodeCollection::Remove(Node& node) {
    // The tree reports each deleted node (TVN_DELETEITEM), children included.
    SendMessageA(tree_.handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node.item_));
}

void NodeCollection::Clear() {
    if (tree_.created()) SendMessageA(tree_.handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    items_.clear();
    keys_.clear();
    tree_.dropHighlight_ = nullptr;
}

TreeView::TreeView(Form* owner) : Control(owner) {
    backColor_ = vbWindowBackground;
    foreColor_ = vbWindowText;
}

void TreeView::create(Window& parent, int left, int top, int width, int height) {
    createWindow(parent, WC_TREEVIEWA, WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_LINESATROOT | TVS_HASBUTTONS |
                                           TVS_SHOWSELALWAYS,
                 WS_EX_CLIENTEDGE, "", left, top, width, height);
}

Node* TreeView::nodeOf(HTREEITEM item) const {
    if (!item || !created()) return nullptr;
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    SendMessageA(handle(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    return reinterpret_cast<Node*>(info.lParam);
}

Node* TreeView::SelectedItem() {
    if (!created()) return nullptr;
    return nodeOf(reinterpret_cast<HTREEITEM>(SendMessageA(handle(), TVM_GETNEXTITEM, TVGN_CARET, 0)));
}

void TreeView::SetSelectedItem(Node* node) {
    if (hWnd()) SendMessageA(handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
}

void TreeView::SetImageList(ImageList* list) {
    imageList_ = list;
    if (hWnd()) SendMessageA(handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list ? list->hImageList() : nullptr));
}

Node* TreeView::HitTest(float x, float y) {
    if (!hWnd()) return nullptr;
    TVHITTESTINFO hit{};
    hit.pt = POINT{twipsToPixelsX(static_cast<int>(x)), twipsToPixelsY(static_cast<int>(y))};
    SendMessageA(handle(), TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return (hit.flags & TVHT_ONITEM) ? nodeOf(hit.hItem) : nullptr;
}

Node* TreeView::DropHighlight() { return created() ? dropHighlight_ : nullptr; }

void TreeView::SetDropHighlight(Node* node) {
    if (!hWnd()) return;
    SendMessageA(handle(), TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(node ? node->item_ : nullptr));
    // Some tree controls ignore "none" while no node is selected: the mark goes by hand.
    if (!node && dropHighlight_) {
        TVITEMA item{};
        item.mask = TVIF_STATE;
        item.hItem = dropHighlight_->item_;
        item.stateMask = TVIS_DROPHILITED;
        SendMessageA(handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    dropHighlight_ = node;
}

void TreeView::SetBackColor(OleColor color) {
    backColor_ = color;
    if (hWnd()) SendMessageA(handle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(resolveColor(color)));
}

bool TreeView::onNotify(NMHDR* header, LRESULT& result) {
    if (header->hwndFrom != handle()) return false;
    auto* tv = reinterpret_cast<NMTREEVIEWA*>(header);
    switch (header->code) {
    case TVN_GETDISPINFOA:
    case TVN_GETDISPINFOW: {
        // Only the images are asked back; both layouts agree on them.
        auto* info = reinterpret_cast<NMTVDISPINFOA*>(header);
        auto* node = reinterpret_cast<Node*>(info->item.lParam);
        if (!node) return true;
        int image = imageList_ ? imageList_->ListImages.find(node->image_) : -1;
        int selected = imageList_ && !node->selectedImage_.empty() ? imageList_->ListImages.find(node->selectedImage_)
                                                                    : image;
        if (info->item.mask & TVIF_IMAGE) info->item.iImage = image;
        if (info->item.mask & TVIF_SELECTEDIMAGE) info->item.iSelectedImage = selected;
        return true;
    }
    case TVN_SELCHANGEDA:
    case TVN_SELCHANGEDW:
        if (tv->action == TVC_BYMOUSE || tv->action == TVC_BYKEYBOARD) {
            if (tv->action == TVC_BYMOUSE) nodeClickRaised_ = true;
            if (Node* node = reinterpret_cast<Node*>(tv->itemNew.lParam); node && NodeClick) NodeClick(*node);
        }
        return true;
    case TVN_ITEMEXPANDEDA:
    case TVN_ITEMEXPANDEDW: {
        Node* node = reinterpret_cast<Node*>(tv->itemNew.lParam);
        auto& handler = tv->action & TVE_EXPAND ? Expand : Collapse;
        if (node && handler) handler(*node);
        return true;
    }
    case TVN_DELETEITEMA:
    case TVN_DELETEITEMW:
        if (Node* node = reinterpret_cast<Node*>(tv->itemOld.lParam)) Nodes.forget(node);
        return true;
    case NM_CLICK:
    case NM_RCLICK: {
        bool right = header->code == NM_RCLICK;
        POINT at{};
        GetCursorPos(&at);
        ScreenToClient(handle(), &at);
        // A click on the node that was already selected is a node click too. Some
        // trees tell the click before the selection it makes, so the press counts:
        // whichever comes first, one press raises one NodeClick.
        if (!right && !nodeClickRaised_) {
            Node* hit = HitTest(scaleX(at.x), scaleY(at.y));
            if (hit && hit == SelectedItem()) {
                nodeClickRaised_ = true;
                if (NodeClick) NodeClick(*hit);
            }
        }
        raiseMouseUp(right ? vbRightButton : vbLeftButton, scaleX(at.x), scaleY(at.y));
        if (!right && Click) Click();
        result = 0;
        return true;
    }
    case NM_DBLCLK:
        if (DblClick) DblClick();
        return true;
    default: return false;
    }
}

bool TreeView::onMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_LBUTTONDOWN) nodeClickRaised_ = false;
    return false;
}

void TreeView::reset() {
    Control::reset();
    Nodes.items_.clear();
    Nodes.keys_.clear();
    imageList_ = nullptr;
    dropHighlight_ = nullptr;
}

} // namespace vm
