// Tree view: node order by relationship and sorting, keys, removal of subtrees, realisation in the
// window, and which changes raise NodeClick.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "UiTest.h"
#include "ui/TreeView.h"

namespace {

struct TreeForm : TestForm {
    TreeView tree{*this, 1001};
    TreeForm() {
        build = [this] { tree.Create({0, 0, 4000, 5000}); };
    }
};

std::vector<std::string> Keys(const std::vector<Node*>& nodes) {
    std::vector<std::string> keys;
    for (const Node* n : nodes) keys.push_back(n->key);
    return keys;
}

std::string ItemText(HWND tree, HTREEITEM item) {
    char text[256] = {};
    TVITEMA it{};
    it.mask = TVIF_TEXT | TVIF_HANDLE;
    it.hItem = item;
    it.pszText = text;
    it.cchTextMax = static_cast<int>(std::size(text));
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    return text;
}

// The texts the window shows under an item (nullptr: the roots), in order.
std::vector<std::string> WindowChildren(HWND tree, HTREEITEM parent) {
    std::vector<std::string> texts;
    auto item = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, parent ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(parent)));
    for (; item; item = reinterpret_cast<HTREEITEM>(
                     SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))))
        texts.push_back(ItemText(tree, item));
    return texts;
}

// Roots a, b; a has a1, a2.
void BaseTree(TreeView& tree) {
    tree.Add("", tvwLast, "a", "A");
    tree.Add("", tvwLast, "b", "B");
    tree.Add("a", tvwChild, "a1", "A1");
    tree.Add("a", tvwChild, "a2", "A2");
}

}  // namespace

TEST(TreeView, RelationshipsPlaceTheNewNode) {
    struct Case {
        const char* relative;
        int relationship;
        const char* parent;  // whose children to read ("" roots)
        std::vector<std::string> order;
    };
    const Case cases[] = {
        {"", tvwFirst, "", {"new", "a", "b"}},
        {"", tvwLast, "", {"a", "b", "new"}},
        {"", tvwNext, "", {"a", "b", "new"}},
        {"a", tvwChild, "a", {"a1", "a2", "new"}},
        {"a1", tvwFirst, "a", {"new", "a1", "a2"}},
        {"a1", tvwLast, "a", {"a1", "a2", "new"}},
        {"a1", tvwNext, "a", {"a1", "new", "a2"}},
        {"a2", tvwPrevious, "a", {"a1", "new", "a2"}},
        {"A2", tvwNext, "a", {"a1", "a2", "new"}},
        {"b", tvwPrevious, "", {"a", "new", "b"}},
    };
    for (const Case& c : cases) {
        TreeForm form;
        BaseTree(form.tree);
        Node& added = form.tree.Add(c.relative, c.relationship, "new", "New");
        EXPECT_EQ(Keys(form.tree.Children(c.parent)), c.order) << c.relative << " " << c.relationship;
        EXPECT_EQ(added.parent, *c.parent ? form.tree.Find(c.parent) : nullptr);
    }
}

TEST(TreeView, SortedParentKeepsChildrenInTextOrderWithoutRegardToCase) {
    TreeForm form;
    TreeView& t = form.tree;
    t.Add("", tvwLast, "p", "P");
    t.Add("p", tvwChild, "d", "delta");
    t.Add("p", tvwChild, "b", "Bravo");
    t.SetSorted("p", true);
    EXPECT_EQ(Keys(t.Children("p")), (std::vector<std::string>{"b", "d"}));
    // Whatever the relationship says, a sorted parent places the node by its text.
    t.Add("b", tvwFirst, "e", "echo");
    t.Add("d", tvwNext, "a", "alpha");
    t.Add("p", tvwChild, "c", "CHARLIE");
    EXPECT_EQ(Keys(t.Children("p")), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    t.SetText("a", "zulu");
    EXPECT_EQ(Keys(t.Children("p")), (std::vector<std::string>{"b", "c", "d", "e", "a"}));
}

TEST(TreeView, BadKeysThrowAndChangeNothing) {
    TreeForm form;
    TreeView& t = form.tree;
    BaseTree(t);
    EXPECT_THROW(t.Add("", tvwLast, "A1", "dup"), KeyError);  // keys differ only by case
    EXPECT_THROW(t.Add("missing", tvwChild, "x", "X"), KeyError);
    EXPECT_THROW(t.Item("x"), KeyError);
    EXPECT_THROW(t.Remove("x"), KeyError);
    EXPECT_THROW(t.SetSelectedItem("x"), KeyError);
    EXPECT_EQ(t.Find("x"), nullptr);
    EXPECT_EQ(t.Count(), 4);
    EXPECT_TRUE(t.Exists("a1"));
    EXPECT_EQ(&t.Item("A1"), t.Find("a1"));
}

TEST(TreeView, RemoveTakesTheWholeSubtreeAndItsSelection) {
    TreeForm form;
    TreeView& t = form.tree;
    BaseTree(t);
    t.Add("a1", tvwChild, "a1x", "deep");
    Node* b = t.Find("b");
    t.SetSelectedItem("a1x");
    t.Remove("a1");
    EXPECT_FALSE(t.Exists("a1"));
    EXPECT_FALSE(t.Exists("a1x"));
    EXPECT_EQ(t.Count(), 3);
    EXPECT_EQ(t.SelectedItem(), nullptr);
    EXPECT_EQ(Keys(t.Children("a")), (std::vector<std::string>{"a2"}));
    EXPECT_EQ(t.Find("b"), b);
    // The key is free again.
    t.Add("a", tvwChild, "a1x", "again");
    EXPECT_TRUE(t.Children("a1x").empty());
}

TEST(TreeView, NodesKeepTheirAddressesWhileOthersAreAdded) {
    TreeForm form;
    Node& first = form.tree.Add("", tvwLast, "first", "First");
    for (int i = 0; i < 3000; ++i) form.tree.Add("first", tvwChild, "n" + std::to_string(i), "x");
    EXPECT_EQ(&form.tree.Item("first"), &first);
    EXPECT_EQ(first.children.size(), 3000u);
}

TEST(TreeView, WindowShowsTheModelMadeBeforeLoad) {
    TreeForm form;
    TreeView& t = form.tree;
    BaseTree(t);
    t.Add("a", tvwChild, "a0", "A0");
    t.SetSorted("a", true);
    t.SetExpanded("a", true);
    t.SetSelectedItem("a2");
    form.Load();
    HWND h = t.hwnd();
    ASSERT_NE(h, nullptr);
    EXPECT_EQ(SendMessageA(h, TVM_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(WindowChildren(h, nullptr), (std::vector<std::string>{"A", "B"}));
    Node& a = t.Item("a");
    EXPECT_EQ(WindowChildren(h, a.handle), (std::vector<std::string>{"A0", "A1", "A2"}));
    EXPECT_TRUE(SendMessageA(h, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(a.handle), TVIS_EXPANDED) & TVIS_EXPANDED);
    auto caret = reinterpret_cast<HTREEITEM>(SendMessageA(h, TVM_GETNEXTITEM, TVGN_CARET, 0));
    EXPECT_EQ(ItemText(h, caret), "A2");

    // Changes while shown reach the window.
    t.Add("a2", tvwPrevious, "a15", "A15");
    t.Remove("b");
    t.SetText("a1", "A1!");
    EXPECT_EQ(SendMessageA(h, TVM_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(WindowChildren(h, nullptr), (std::vector<std::string>{"A"}));
    EXPECT_EQ(WindowChildren(h, a.handle), (std::vector<std::string>{"A0", "A1!", "A15", "A2"}));

    // Unloaded, the model stays; loaded again, the window shows it again.
    form.Unload();
    EXPECT_EQ(t.Count(), 5);
    EXPECT_EQ(t.Item("a").handle, nullptr);
    EXPECT_EQ(t.SelectedItem(), t.Find("a2"));
    form.Load();
    EXPECT_EQ(SendMessageA(t.hwnd(), TVM_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(WindowChildren(t.hwnd(), t.Item("a").handle), (std::vector<std::string>{"A0", "A1!", "A15", "A2"}));
    form.Unload();
}

TEST(TreeView, OnlyTheUsersSelectionRaisesNodeClick) {
    TreeForm form;
    TreeView& t = form.tree;
    BaseTree(t);
    std::vector<std::string> clicked;
    t.NodeClick = [&](Node& n) { clicked.push_back(n.key); };
    form.Load();
    t.SetSelectedItem("a");
    Pump();
    EXPECT_TRUE(clicked.empty());
    SendMessageA(t.hwnd(), WM_KEYDOWN, VK_DOWN, 0);  // a -> b (a is collapsed)
    Pump();
    EXPECT_EQ(clicked, (std::vector<std::string>{"b"}));
    EXPECT_EQ(t.SelectedItem(), t.Find("b"));

    // Mouse clicks on a node, also on the one already selected; not on its button.
    RECT a{};
    HTREEITEM item = t.Item("a").handle;
    memcpy(&a, &item, sizeof item);
    SendMessageA(t.hwnd(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&a));
    ClickAt(t.hwnd(), (a.left + a.right) / 2, (a.top + a.bottom) / 2);
    ClickAt(t.hwnd(), (a.left + a.right) / 2, (a.top + a.bottom) / 2);
    EXPECT_EQ(clicked, (std::vector<std::string>{"b", "a", "a"}));
    EXPECT_EQ(t.SelectedItem(), t.Find("a"));
    int indent = static_cast<int>(SendMessageA(t.hwnd(), TVM_GETINDENT, 0, 0));
    ClickAt(t.hwnd(), indent / 2, (a.top + a.bottom) / 2);  // the +/- button of a root opens it
    EXPECT_EQ(clicked.size(), 3u);
    EXPECT_TRUE(t.Item("a").expanded);
    form.Unload();
}

TEST(TreeView, NodeClickMayRemoveTheClickedNode) {
    TreeForm form;
    TreeView& t = form.tree;
    BaseTree(t);
    t.SetExpanded("a", true);
    int clicks = 0;
    t.NodeClick = [&](Node& n) {
        ++clicks;
        t.Remove(n.key);
    };
    form.Load();
    t.SetSelectedItem("a1");
    SendMessageA(t.hwnd(), WM_KEYDOWN, VK_DOWN, 0);  // a1 -> a2, which the handler removes
    Pump();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(t.Exists("a2"));
    EXPECT_EQ(SendMessageA(t.hwnd(), TVM_GETCOUNT, 0, 0), 3);
    Node* selected = t.SelectedItem();
    ASSERT_NE(selected, nullptr);
    EXPECT_TRUE(t.Exists(selected->key));
    form.Unload();
}

TEST(TreeView, UserExpandAndCollapseRaiseEventsAndKeepTheState) {
    TreeForm form;
    TreeView& t = form.tree;
    BaseTree(t);
    std::vector<std::string> events;
    t.Expand = [&](Node& n) { events.push_back("+" + n.key); };
    t.Collapse = [&](Node& n) { events.push_back("-" + n.key); };
    form.Load();
    t.SetSelectedItem("a");
    t.SetExpanded("b", true);  // from code: no event
    SendMessageA(t.hwnd(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_TRUE(t.Item("a").expanded);
    SendMessageA(t.hwnd(), WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_FALSE(t.Item("a").expanded);
    EXPECT_EQ(events, (std::vector<std::string>{"+a", "-a"}));
    form.Unload();
}
