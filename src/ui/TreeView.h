// A tree view whose nodes are records addressed by key; the window shows them.
#pragma once

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "ui/Control.h"
#include "ui/Keys.h"

class ImageList;

enum TreeRelationship { tvwFirst = 0, tvwLast = 1, tvwNext = 2, tvwPrevious = 3, tvwChild = 4 };

struct Node {
    std::string key;                                   // fixed once added
    std::string text, tag, image, selectedImage;       // image keys name pictures of the tree's image list
    bool expanded = false;
    bool sorted = false;                               // children kept in text order, without regard to case
    Node* parent = nullptr;                            // nullptr for a root
    std::vector<Node*> children;                       // in display order
    HTREEITEM handle = nullptr;                        // the window's item while the window exists
};

// Works without a window: the records are the tree, and when the window is created it shows every
// node in order, with its expanded state and the selection. Create() keeps the nodes. Keys are
// compared without regard to case. A node's address stays valid until the node is removed.
class TreeView : public Control {
  public:
    using Control::Control;
    // Geometry in twips.
    void Create(Bounds bounds);
    // The pictures of the nodes (not owned; it must outlive the window).
    void SetImageList(ImageList* list);

    // relative "" adds a root node (first or last among the roots, by relationship). Throws
    // KeyError for a duplicate key or a missing relative. A node whose parent is sorted goes to its
    // place in text order whatever the relationship says. An empty key adds a node without a key.
    Node& Add(const std::string& relative, int relationship, const std::string& key, const std::string& text,
              const std::string& image = {}, const std::string& selectedImage = {});
    bool Exists(const std::string& key) const;
    Node& Item(const std::string& key);  // throws KeyError when missing
    Node* Find(const std::string& key);  // nullptr when missing
    // Removes the node with all its children. Throws KeyError when missing.
    void Remove(const std::string& key);
    void Clear();
    int Count() const { return static_cast<int>(nodes_.size()); }
    // The children of a node in display order; "" gives the roots. Throws KeyError when missing.
    std::vector<Node*> Children(const std::string& key);
    // Keeps that node's children sorted (sorts them now when turned on).
    void SetSorted(const std::string& key, bool sorted);
    void SetExpanded(const std::string& key, bool expanded);
    void SetText(const std::string& key, const std::string& text);
    Node* SelectedItem() { return selected_; }
    // Selects from code; raises no NodeClick. "" selects nothing; a missing key throws KeyError.
    void SetSelectedItem(const std::string& key);

    // A node the user clicked (also the one already selected) or selected with the keyboard. It is
    // raised once the tree has finished handling that input, so the handler may remove nodes,
    // disable the tree or pump.
    std::function<void(Node&)> NodeClick;
    // The user opened or closed a node (not raised by SetExpanded).
    std::function<void(Node&)> Expand, Collapse;
    // A character typed while the tree has the focus (Esc 27 too); 0 swallows it.
    std::function<void(int& keyAscii)> KeyPress;

    // ---- drop targets (ui/DragDrop.h)
    // The node at a point of the screen in pixels; nullptr for none.
    Node* HitTestScreen(POINT screen);
    // The node shown as the target of a drop; nullptr for none (setting it removes the highlight).
    Node* DropHighlight();
    void SetDropHighlight(Node* node);

    std::optional<LRESULT> OnNotify(NMHDR* header) override;
    void OnPostedEvent(LPARAM data) override;
    void OnKeyPress(int& keyAscii) override;
    void Destroyed() override;

  protected:
    void AfterCreate() override;
    void BeforeDestroy() override;

  private:
    std::string SlotOf(const Node* node) const;
    std::vector<Node*>& SiblingsOf(Node* parent) { return parent ? parent->children : roots_; }
    void InsertItem(Node* node, HTREEITEM after);
    void InsertSubtree(Node* node);
    void ExpandSubtree(Node* node);
    void SortChildren(Node* parent);
    Node* NodeOf(HTREEITEM item) const;
    void PostNodeClick(Node* node);
    void Collect(Node* node, std::vector<Node*>& out);

    std::unordered_map<std::string, Node> nodes_;  // slot (folded key) -> record; addresses stay put
    std::vector<Node*> roots_;
    Node* selected_ = nullptr;
    ImageList* images_ = nullptr;
    int keyless_ = 0;
    bool quiet_ = false;    // changes made from code: no events
    bool closing_ = false;  // the window is being destroyed: notifications change nothing
    std::unordered_map<int, std::string> pendingClicks_;  // posted NodeClick -> slot of its node
    int nextClick_ = 0;
};
