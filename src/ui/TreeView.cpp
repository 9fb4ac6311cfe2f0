// The tree view over its node records.
#include "ui/TreeView.h"

#include <algorithm>
#include <unordered_set>

#include "ui/ImageList.h"

namespace {

int CALLBACK ByRank(LPARAM a, LPARAM b, LPARAM ranks) {
    const auto& rank = *reinterpret_cast<const std::unordered_map<const Node*, int>*>(ranks);
    auto rankOf = [&](LPARAM node) {  // nothing may throw back into the control
        auto found = rank.find(reinterpret_cast<const Node*>(node));
        return found != rank.end() ? found->second : 0;
    };
    return rankOf(a) - rankOf(b);
}

bool TextBefore(const Node* a, const Node* b) { return CompareTextNoCase(a->text, b->text) < 0; }

}  // namespace

void TreeView::Create(Bounds bounds) {
    Define(WC_TREEVIEWA, WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
           WS_EX_CLIENTEDGE, bounds);
}

void TreeView::SetImageList(ImageList* list) {
    images_ = list;
    if (hwnd()) Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(list ? list->handle() : nullptr));
}

std::string TreeView::SlotOf(const Node* node) const {
    if (!node->key.empty()) return FoldKey(node->key);
    for (const auto& [slot, n] : nodes_)
        if (&n == node) return slot;
    return {};
}

bool TreeView::Exists(const std::string& key) const { return !key.empty() && nodes_.count(FoldKey(key)) > 0; }

Node* TreeView::Find(const std::string& key) {
    if (key.empty()) return nullptr;
    auto it = nodes_.find(FoldKey(key));
    return it == nodes_.end() ? nullptr : &it->second;
}

Node& TreeView::Item(const std::string& key) {
    if (Node* n = Find(key)) return *n;
    throw KeyError("Element not found: " + key);
}

Node* TreeView::NodeOf(HTREEITEM item) const {
    if (!item || !hwnd()) return nullptr;
    TVITEMA it{};
    it.mask = TVIF_PARAM | TVIF_HANDLE;
    it.hItem = item;
    if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return nullptr;
    return reinterpret_cast<Node*>(it.lParam);
}

void TreeView::InsertItem(Node* node, HTREEITEM after) {
    TVINSERTSTRUCTA is{};
    is.hParent = node->parent ? node->parent->handle : TVI_ROOT;
    is.hInsertAfter = after;
    is.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    is.item.pszText = const_cast<char*>(node->text.c_str());
    // Pictures are looked up by key when drawn, so a picture added to the list later still shows.
    is.item.iImage = I_IMAGECALLBACK;
    is.item.iSelectedImage = I_IMAGECALLBACK;
    is.item.lParam = reinterpret_cast<LPARAM>(node);
    node->handle = reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&is)));
}

Node& TreeView::Add(const std::string& relative, int relationship, const std::string& key, const std::string& text,
                    const std::string& image, const std::string& selectedImage) {
    if (Exists(key)) throw KeyError("Key is not unique in collection: " + key);
    Node* rel = nullptr;
    if (!relative.empty()) {
        rel = Find(relative);
        if (!rel) throw KeyError("Element not found: " + relative);
    }
    if (relationship < tvwFirst || relationship > tvwChild) throw std::invalid_argument("Invalid relationship");

    Node* parent = nullptr;
    size_t pos = 0;
    if (!rel) {
        pos = relationship == tvwFirst ? 0 : roots_.size();
    } else if (relationship == tvwChild) {
        parent = rel;
        pos = rel->children.size();
    } else {
        parent = rel->parent;
        auto& siblings = SiblingsOf(parent);
        size_t at = static_cast<size_t>(std::find(siblings.begin(), siblings.end(), rel) - siblings.begin());
        pos = relationship == tvwFirst ? 0 : relationship == tvwLast ? siblings.size()
                                         : relationship == tvwNext   ? at + 1
                                                                     : at;
    }

    std::string slot = key.empty() ? std::string("\x01#", 2) + std::to_string(++keyless_) : FoldKey(key);
    Node& node = nodes_[slot];
    node.key = key;
    node.text = text;
    node.image = image;
    node.selectedImage = selectedImage;
    node.parent = parent;

    auto& siblings = SiblingsOf(parent);
    if (parent && parent->sorted) {
        pos = static_cast<size_t>(std::upper_bound(siblings.begin(), siblings.end(), &node, TextBefore) -
                                  siblings.begin());
    }
    siblings.insert(siblings.begin() + static_cast<std::ptrdiff_t>(pos), &node);

    if (hwnd() && (!parent || parent->handle)) {
        InsertItem(&node, pos == 0 ? TVI_FIRST : siblings[pos - 1]->handle);
        // A node expanded before it had children opens once it has one.
        if (parent && parent->expanded && parent->children.size() == 1)
            Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent->handle));
    }
    return node;
}

void TreeView::Collect(Node* node, std::vector<Node*>& out) {
    out.push_back(node);
    for (Node* child : node->children) Collect(child, out);
}

void TreeView::Remove(const std::string& key) {
    Node& node = Item(key);
    std::vector<Node*> doomed;
    Collect(&node, doomed);
    // The window goes first: while it deletes its items (and notifies about them) every record
    // they point to still exists.
    if (hwnd() && node.handle) {
        bool wasQuiet = std::exchange(quiet_, true);
        Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(node.handle));
        quiet_ = wasQuiet;
    }
    auto& siblings = SiblingsOf(node.parent);
    siblings.erase(std::remove(siblings.begin(), siblings.end(), &node), siblings.end());

    std::unordered_set<std::string> slots;
    for (Node* n : doomed) slots.insert(SlotOf(n));
    if (std::find(doomed.begin(), doomed.end(), selected_) != doomed.end()) selected_ = nullptr;
    if (hwnd()) selected_ = NodeOf(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_CARET, 0)));
    for (auto it = pendingClicks_.begin(); it != pendingClicks_.end();)
        it = slots.count(it->second) ? pendingClicks_.erase(it) : std::next(it);
    for (const auto& slot : slots) nodes_.erase(slot);
}

void TreeView::Clear() {
    if (hwnd()) {
        bool wasQuiet = std::exchange(quiet_, true);
        Send(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        quiet_ = wasQuiet;
    }
    roots_.clear();
    selected_ = nullptr;
    pendingClicks_.clear();
    nodes_.clear();
}

std::vector<Node*> TreeView::Children(const std::string& key) {
    return key.empty() ? roots_ : Item(key).children;
}

void TreeView::SortChildren(Node* parent) {
    std::stable_sort(parent->children.begin(), parent->children.end(), TextBefore);
    if (!hwnd() || !parent->handle) return;
    // The window sorts by the model's order, so both agree on equal texts too.
    std::unordered_map<const Node*, int> rank;
    for (size_t i = 0; i < parent->children.size(); ++i) rank[parent->children[i]] = static_cast<int>(i);
    TVSORTCB sort{};
    sort.hParent = parent->handle;
    sort.lpfnCompare = ByRank;
    sort.lParam = reinterpret_cast<LPARAM>(&rank);
    Send(TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
}

void TreeView::SetSorted(const std::string& key, bool sorted) {
    Node& node = Item(key);
    node.sorted = sorted;
    if (sorted) SortChildren(&node);
}

void TreeView::SetExpanded(const std::string& key, bool expanded) {
    Node& node = Item(key);
    node.expanded = expanded;
    if (hwnd() && node.handle)
        Send(TVM_EXPAND, expanded ? TVE_EXPAND : TVE_COLLAPSE, reinterpret_cast<LPARAM>(node.handle));
}

void TreeView::SetText(const std::string& key, const std::string& text) {
    Node& node = Item(key);
    node.text = text;
    if (hwnd() && node.handle) {
        TVITEMA it{};
        it.mask = TVIF_TEXT | TVIF_HANDLE;
        it.hItem = node.handle;
        it.pszText = const_cast<char*>(node.text.c_str());
        Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    }
    if (node.parent && node.parent->sorted) SortChildren(node.parent);
}

void TreeView::SetSelectedItem(const std::string& key) {
    Node* node = key.empty() ? nullptr : &Item(key);
    selected_ = node;
    if (!hwnd()) return;
    bool wasQuiet = std::exchange(quiet_, true);
    Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(node ? node->handle : nullptr));
    quiet_ = wasQuiet;
}

Node* TreeView::HitTestScreen(POINT screen) {
    if (!hwnd()) return nullptr;
    TVHITTESTINFO hit{};
    hit.pt = screen;
    ScreenToClient(hwnd(), &hit.pt);
    Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    return (hit.flags & TVHT_ONITEM) ? NodeOf(hit.hItem) : nullptr;
}

Node* TreeView::DropHighlight() {
    if (!hwnd()) return nullptr;
    return NodeOf(reinterpret_cast<HTREEITEM>(Send(TVM_GETNEXTITEM, TVGN_DROPHILITE, 0)));
}

void TreeView::SetDropHighlight(Node* node) {
    if (!hwnd()) return;
    Send(TVM_SELECTITEM, TVGN_DROPHILITE, reinterpret_cast<LPARAM>(node ? node->handle : nullptr));
}

std::optional<LRESULT> TreeView::OnNotify(NMHDR* header) {
    if (closing_) return std::nullopt;
    switch (header->code) {
        case TVN_SELCHANGEDA:
        case TVN_SELCHANGEDW: {
            auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
            Node* node = NodeOf(nm->itemNew.hItem);
            selected_ = node;
            // Mouse clicks are raised from NM_CLICK, which also comes for the node already selected.
            if (!quiet_ && node && nm->action == TVC_BYKEYBOARD) PostNodeClick(node);
            return 0;
        }
        case NM_CLICK: {
            DWORD pos = GetMessagePos();
            TVHITTESTINFO hit{};
            hit.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
            ScreenToClient(hwnd(), &hit.pt);
            Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (!quiet_ && (hit.flags & TVHT_ONITEM))
                if (Node* node = NodeOf(hit.hItem)) PostNodeClick(node);
            // Zero lets the tree select the node.
            return std::nullopt;
        }
        case TVN_ITEMEXPANDEDA:
        case TVN_ITEMEXPANDEDW: {
            auto* nm = reinterpret_cast<NMTREEVIEWA*>(header);
            Node* node = NodeOf(nm->itemNew.hItem);
            if (!node) return 0;
            if (nm->action & TVE_EXPAND) {
                node->expanded = true;
                if (!quiet_ && Expand) Expand(*node);
            } else if (nm->action & TVE_COLLAPSE) {
                node->expanded = false;
                if (!quiet_ && Collapse) Collapse(*node);
            }
            return 0;
        }
        case TVN_GETDISPINFOA:
        case TVN_GETDISPINFOW: {
            auto* di = reinterpret_cast<NMTVDISPINFOA*>(header);
            auto* node = reinterpret_cast<Node*>(di->item.lParam);
            if (!node) return 0;
            auto picture = [this](const std::string& key) { return images_ ? images_->ImageIndex(key) : -1; };
            if (di->item.mask & TVIF_IMAGE) di->item.iImage = picture(node->image);
            if (di->item.mask & TVIF_SELECTEDIMAGE)
                di->item.iSelectedImage = picture(node->selectedImage.empty() ? node->image : node->selectedImage);
            return 0;
        }
        default:
            return std::nullopt;
    }
}

void TreeView::PostNodeClick(Node* node) {
    int serial = ++nextClick_;
    pendingClicks_[serial] = SlotOf(node);
    PostEvent(serial);
}

void TreeView::OnPostedEvent(LPARAM data) {
    auto pending = pendingClicks_.find(static_cast<int>(data));
    if (pending == pendingClicks_.end()) return;
    std::string slot = pending->second;
    pendingClicks_.erase(pending);
    auto it = nodes_.find(slot);
    if (it != nodes_.end() && NodeClick) NodeClick(it->second);
}

void TreeView::InsertSubtree(Node* node) {
    InsertItem(node, TVI_LAST);
    for (Node* child : node->children) InsertSubtree(child);
}

void TreeView::ExpandSubtree(Node* node) {
    if (node->expanded && !node->children.empty())
        Send(TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(node->handle));
    for (Node* child : node->children) ExpandSubtree(child);
}

void TreeView::AfterCreate() {
    closing_ = false;
    PaintOffScreen(hwnd());
    bool wasQuiet = std::exchange(quiet_, true);
    for (auto& [slot, node] : nodes_) node.handle = nullptr;
    if (images_) Send(TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(images_->handle()));
    Send(WM_SETREDRAW, FALSE);
    for (Node* root : roots_) InsertSubtree(root);
    for (Node* root : roots_) ExpandSubtree(root);
    if (selected_) Send(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected_->handle));
    Send(WM_SETREDRAW, TRUE);
    InvalidateRect(hwnd(), nullptr, TRUE);
    quiet_ = wasQuiet;
}

void TreeView::BeforeDestroy() {
    // The window deletes its items as it goes; the records and the selection stay as they are.
    closing_ = true;
}

void TreeView::Destroyed() {
    Control::Destroyed();
    for (auto& [slot, node] : nodes_) node.handle = nullptr;
    pendingClicks_.clear();
    closing_ = false;
    quiet_ = false;
}

void TreeView::OnKeyPress(int& keyAscii) {
    if (KeyPress) KeyPress(keyAscii);
}
