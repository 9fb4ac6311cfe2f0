// Drag and drop in the main window: the selected result icon dragged over the tree's nodes with the
// key states that matter, its drop on a favorites folder copying or moving it, files from the shell
// over the result list, and when a moved favorite may be deleted.
#include "MainFixture.h"

#include <cstring>

#include "IconMaker.h"
#include "browsing/Favorites.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "core/Global.h"
#include "mainwindow/Selection.h"
#include "ui/DragDrop.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class DragDropTest : public MainFixture {
  protected:
    void SetUp() override {
        MainFixture::SetUp();
        fav = dir.Folder("Favorites");
        dir.Folder("Favorites\\A\\B");
        favorite = dir.File("Favorites\\A\\star.ico");
        savedFavDir = gFavDir;
        gFavDir = fav;
        frmMain.mnuFavoriteRefresh_Click();
        frmMain.pnlNav.NodeClick = nullptr;  // a favorite deleted would list its folder
        for (const char* key : {"your", "favori"}) frmMain.pnlNav.SetExpanded(key, true);
        frmMain.pnlNav.SetExpanded("favori\\A", false);

        // Items in the icon view are found at a point only with their pictures, as a page has them.
        ListView& list = frmMain.pnlResult;
        list.Clear();
        frmMain.imlResult32.Clear();
        frmMain.imlResult32.Add("", LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
        list.SetIcons(&frmMain.imlResult32);
        Row("moon.ico", "File");
        Row("star", "File Favorite");
        Row("sun", "Ornavale");
        gSelDir = fav + "\\A\\";
        gSelFile = "star.ico";
    }
    void TearDown() override {
        frmMain.pnlResult.Clear();
        frmMain.pnlResult.SetIcons(nullptr);
        frmMain.imlResult32.Clear();
        gFavDir = savedFavDir;
        gSelDir.clear();
        gSelFile.clear();
        gFavNode.clear();
        gFavFolderNode.clear();
        MainFixture::TearDown();
    }
    static void Row(const std::string& name, const std::string& origin) {
        ListItem& item = frmMain.pnlResult.Add(-1, "", name, 1);
        item.SetSubItem(1, "Icon");
        item.SetSubItem(2, origin);
    }
    // The centre of a node on the screen, scrolled into view.
    static POINT NodePoint(const std::string& key) {
        HWND tree = frmMain.pnlNav.hwnd();
        HTREEITEM handle = frmMain.pnlNav.Item(key).handle;
        SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(handle));
        RECT r{};
        std::memcpy(&r, &handle, sizeof handle);  // the item goes in where the rectangle comes out
        SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(tree, &p);
        return p;
    }
    static POINT ItemPoint(int index) {
        RECT r{};
        r.left = LVIR_LABEL;
        SendMessageA(frmMain.pnlResult.hwnd(), LVM_GETITEMRECT, static_cast<WPARAM>(index - 1),
                     reinterpret_cast<LPARAM>(&r));
        POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        ClientToScreen(frmMain.pnlResult.hwnd(), &p);
        return p;
    }
    // Enters the target with the data and moves over the point; answers the effect shown.
    static DWORD DragOver(IDropTarget* target, IDataObject* data, POINT at, DWORD keys,
                          DWORD offered = DROPEFFECT_COPY | DROPEFFECT_MOVE) {
        DWORD effect = offered;
        target->DragEnter(data, keys, POINTL{at.x, at.y}, &effect);
        effect = offered;
        target->DragOver(keys, POINTL{at.x, at.y}, &effect);
        return effect;
    }
    static std::string Highlighted() {
        const Node* n = frmMain.pnlNav.DropHighlight();
        return n ? n->key : "";
    }
    std::string fav, favorite, savedFavDir;
};

constexpr DWORD kShift = MK_LBUTTON | MK_SHIFT;
constexpr DWORD kShiftCtrl = MK_LBUTTON | MK_SHIFT | MK_CONTROL;
constexpr DWORD kNone = MK_LBUTTON;
constexpr DWORD kCopyMove = DROPEFFECT_COPY | DROPEFFECT_MOVE;

}  // namespace

TEST_F(DragDropTest, DraggingOverTheTreeLimitsTheEffectByOriginAndShift) {
    ASSERT_EQ(frmMain.pnlNavDrop.RegisteredWindow(), frmMain.pnlNav.hwnd());
    IDropTarget* tree = &frmMain.pnlNavDrop;
    struct Case {
        const char* name;
        int item;         // selected result item, 0 for none
        std::string text;  // dragged text; "" drags a file list
        std::string node;  // "" is right of "favori\A", beside the nodes
        DWORD keys;
        DWORD effect;
        std::string highlight;
    } cases[] = {
        {"a File item gets copy", 1, "moon.ico", "favori\\A", kNone, DROPEFFECT_COPY, "favori\\A"},
        {"a File item with Shift still copy", 1, "moon.ico", "favori\\A", kShift, DROPEFFECT_COPY, "favori\\A"},
        {"a favorite with Shift alone moves", 2, "star", "favori\\A", kShift, DROPEFFECT_MOVE, "favori\\A"},
        {"a favorite with Shift and Ctrl as offered", 2, "star", "favori", kShiftCtrl, kCopyMove, "favori"},
        {"a favorite without keys as offered", 2, "star", "favori\\A", kNone, kCopyMove, "favori\\A"},
        {"a favorite offered copy only", 2, "star", "favori\\A", kShift, DROPEFFECT_NONE, "favori\\A"},
        {"not a favorites folder", 2, "star", "your", kShift, DROPEFFECT_NONE, "your"},
        {"another text", 2, "moon.ico", "favori\\A", kNone, DROPEFFECT_NONE, ""},
        {"a file list", 2, "", "favori\\A", kNone, DROPEFFECT_NONE, ""},
        {"no item selected", 0, "", "favori\\A", kNone, DROPEFFECT_NONE, ""},
        {"beside the nodes", 1, "moon.ico", "", kNone, DROPEFFECT_NONE, ""},
    };
    for (const Case& c : cases) {
        frmMain.pnlNav.SetExpanded("favori\\A", false);
        frmMain.pnlNav.SetSelectedItem("reference");
        frmMain.pnlNav.SetDropHighlight(&frmMain.pnlNav.Item("favori\\A\\B"));
        frmMain.pnlResult.SetSelectedItem(c.item ? &frmMain.pnlResult.Item(c.item) : nullptr);
        ClipboardData data = c.text.empty() && c.item != 0 ? ClipboardData::Files({favorite})
                                                            : ClipboardData::Text(c.text);
        POINT at = NodePoint(c.node.empty() ? "favori\\A" : c.node);
        if (c.node.empty()) {
            RECT client;
            GetClientRect(frmMain.pnlNav.hwnd(), &client);
            POINT right{client.right - 3, 0};
            ClientToScreen(frmMain.pnlNav.hwnd(), &right);
            at.x = right.x;
        }
        const DWORD offered = std::string(c.name).find("copy only") != std::string::npos ? DROPEFFECT_COPY : kCopyMove;
        EXPECT_EQ(DragOver(tree, data.object(), at, c.keys, offered), c.effect) << c.name;
        EXPECT_EQ(Highlighted(), c.highlight) << c.name;
        const bool folder = c.highlight.rfind("favori", 0) == 0;
        EXPECT_EQ(frmMain.pnlNav.SelectedItem()->key, folder ? c.highlight : "reference") << c.name;
        if (c.highlight == "favori\\A") {
            EXPECT_TRUE(frmMain.pnlNav.Item("favori\\A").expanded) << c.name;
        }
        tree->DragLeave();
        EXPECT_EQ(Highlighted(), "") << c.name;
    }
}

TEST_F(DragDropTest, ADropOnAFavoritesFolderKeepsTheFavoriteWhenNothingWasSaved) {
    IDropTarget* tree = &frmMain.pnlNavDrop;
    frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(2));
    // A favorite of that name is in the target folder already, and the user cancels.
    frmMain.pnlResult.Tag = "star";
    const std::string taken = dir.File("Favorites\\A\\B\\star.ico", "taken");
    for (DWORD keys : {kShift, kShiftCtrl, kNone}) {
        boxAnswers.assign({IDCANCEL});
        ClipboardData data = ClipboardData::Text("star");
        const POINT at = NodePoint("favori\\A\\B");
        DragOver(tree, data.object(), at, keys);
        ASSERT_EQ(frmMain.pnlNav.SelectedItem()->key, "favori\\A\\B");
        DWORD effect = kCopyMove;
        tree->Drop(data.object(), keys & ~MK_LBUTTON, POINTL{at.x, at.y}, &effect);
        // Save As wrote nothing, so the favorite stays where it was.
        EXPECT_TRUE(Exists(favorite)) << keys;
        EXPECT_FALSE(gAddByDrag) << keys;
        EXPECT_EQ(Highlighted(), "") << keys;
    }
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].title, "Add to Favorites");
    EXPECT_TRUE(Exists(taken));
}

TEST_F(DragDropTest, ADropOnAFavoritesFolderCopiesTheIconAndAShiftDropMovesIt) {
    IDropTarget* tree = &frmMain.pnlNavDrop;
    const std::string copy = fav + "\\A\\B\\star.ico";
    struct Case {
        const char* name;
        DWORD keys;
        bool moved;
    } const cases[] = {
        {"a drop copies", kNone, false},
        {"Shift and Ctrl copy", kShiftCtrl, false},
        {"Shift alone moves", kShift, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(WriteIconFile(favorite, 0x3366CC));
        DeleteFileA(copy.c_str());
        // The favorite on a page of its own, selected as every page selects its first item.
        frmMain.cmbResult.Clear();
        frmMain.cmbResult.AddItem(OpenEntry(favorite, 0, "x", '2'));
        gPageCount = gPageNr = 1;
        frmMain.procGetPage();
        const ListItem* item = frmMain.pnlResult.SelectedItem();
        ASSERT_NE(item, nullptr);
        ASSERT_EQ(item->SubItem(2), "File Favorite");

        ClipboardData data = ClipboardData::Text(item->Text());
        const POINT at = NodePoint("favori\\A\\B");
        DragOver(tree, data.object(), at, c.keys);
        DWORD effect = kCopyMove;
        tree->Drop(data.object(), c.keys & ~MK_LBUTTON, POINTL{at.x, at.y}, &effect);
        // Save As wrote the selected icon, in its colours, into the folder dropped on.
        WIN32_FILE_ATTRIBUTE_DATA written{};
        ASSERT_TRUE(GetFileAttributesExA(copy.c_str(), GetFileExInfoStandard, &written));
        EXPECT_EQ(written.nFileSizeLow, 3262u);
        EXPECT_EQ(Exists(favorite), !c.moved);
        EXPECT_TRUE(boxes.empty());
    }
}

TEST_F(DragDropTest, WhileBusyTheTreeTakesNothing) {
    IDropTarget* tree = &frmMain.pnlNavDrop;
    frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(2));
    frmMain.pnlNav.SetSelectedItem("reference");
    frmMain.procSetAbort(false);
    ClipboardData data = ClipboardData::Text("star");
    EXPECT_EQ(DragOver(tree, data.object(), NodePoint("favori\\A"), kShift), static_cast<DWORD>(DROPEFFECT_NONE));
    EXPECT_EQ(Highlighted(), "");
    EXPECT_EQ(frmMain.pnlNav.SelectedItem()->key, "reference");
    frmMain.procSetAbort(true);
}

TEST_F(DragDropTest, FilesOverTheResultListAreCopiedAndSelectTheItemUnderThePointer) {
    IDropTarget* list = &frmMain.pnlResultDrop;
    struct Case {
        const char* name;
        bool files;
        int over;  // item under the pointer, 0 beside the items
        DWORD offered, effect;
        int selected;
    } cases[] = {
        {"files over the third item", true, 3, kCopyMove, DROPEFFECT_COPY, 3},
        {"files over the first item", true, 1, DROPEFFECT_MOVE, DROPEFFECT_NONE, 1},
        {"files beside the items", true, 0, kCopyMove, DROPEFFECT_COPY, 0},
        {"text", false, 2, kCopyMove, DROPEFFECT_NONE, 1},
    };
    for (const Case& c : cases) {
        frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(1));
        ClipboardData data = c.files ? ClipboardData::Files({favorite}) : ClipboardData::Text("star");
        POINT at = c.over ? ItemPoint(c.over) : POINT{};
        if (!c.over) {
            RECT client;
            GetClientRect(frmMain.pnlResult.hwnd(), &client);
            at = {client.right - 5, client.bottom - 5};
            ClientToScreen(frmMain.pnlResult.hwnd(), &at);
        }
        EXPECT_EQ(DragOver(list, data.object(), at, kNone, c.offered), c.effect) << c.name;
        const ListItem* selected = frmMain.pnlResult.SelectedItem();
        EXPECT_EQ(selected ? selected->Index() : 0, c.selected) << c.name;
        list->DragLeave();
    }
}

TEST(MovedFavorite, IsDeletedOnlyForACopyInAnotherFileThatExists) {
    TempDir dir;
    const std::string source = dir.File("Favorites\\A\\star.ico");
    const std::string copy = dir.File("Favorites\\B\\star.ico");
    dir.Folder("Favorites\\C");
    char shortName[MAX_PATH] = {};
    GetShortPathNameA(source.c_str(), shortName, MAX_PATH);
    std::string upper = source;
    for (char& ch : upper) ch = static_cast<char>(toupper(static_cast<unsigned char>(ch)));
    struct Case {
        const char* name;
        std::string saved;
        bool mayGo;
    } cases[] = {
        {"nothing saved", "", false},
        {"saved file missing", dir.path() + "Favorites\\B\\gone.ico", false},
        {"a folder", dir.path() + "Favorites\\C", false},
        {"onto itself", source, false},
        {"onto itself in other case", upper, false},
        {"onto itself by a way round", dir.path() + "Favorites\\B\\..\\A\\star.ico", false},
        {"onto itself by its short name", shortName, false},
        {"a copy elsewhere", copy, true},
    };
    for (const Case& c : cases) EXPECT_EQ(MovedFavoriteMayGo(c.saved, source), c.mayGo) << c.name;
}
