// List view: view codes, sorting that keeps every Tag with its row, keys and positions, selection
// events, column widths in twips, pictures per view, the grid of icons, and the speed of a page fill.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "UiTest.h"
#include "ui/Control.h"
#include "ui/ImageList.h"
#include "ui/ListView.h"
#include "ui/Units.h"
#include "ui/Unique.h"

namespace {

struct ListForm : TestForm {
    ListView list{*this, 1001};
    ListForm() {
        build = [this] {
            list.Create({0, 0, 8000, 5000});
            list.AddColumn("Name", 1500);
            list.AddColumn("Type", 1500);
            list.AddColumn("Origin", 1500);
        };
    }
};

std::string ItemText(HWND list, int index, int subItem = 0) {
    char text[256] = {};
    LVITEMA it{};
    it.iSubItem = subItem;
    it.pszText = text;
    it.cchTextMax = static_cast<int>(std::size(text));
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&it));
    return text;
}

std::vector<std::string> WindowTexts(HWND list) {
    std::vector<std::string> texts;
    int n = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) texts.push_back(ItemText(list, i));
    return texts;
}

std::vector<std::string> ModelTexts(ListView& list) {
    std::vector<std::string> texts;
    for (int i = 1; i <= list.Count(); ++i) texts.push_back(list.Item(i).Text());
    return texts;
}

void AddRow(ListView& list, const std::string& text, const std::string& type, const std::string& origin) {
    ListItem& item = list.Add(-1, "", text);
    item.SetSubItem(1, type);
    item.SetSubItem(2, origin);
    item.Tag = "tag of " + text;
}

}  // namespace

TEST(ListView, ViewCodesMapToWindowStyles) {
    struct Case {
        int code;
        DWORD style;
    };
    for (Case c : {Case{lvwIcon, LVS_ICON}, Case{lvwSmallIcon, LVS_SMALLICON}, Case{lvwList, LVS_LIST},
                   Case{lvwReport, LVS_REPORT}, Case{4, LVS_ICON}, Case{-1, LVS_ICON}})
        EXPECT_EQ(ListViewStyleForView(c.code), c.style) << c.code;
}

TEST(ListView, SortingMovesWholeRowsInModelAndWindowAlike) {
    ListForm form;
    ListView& l = form.list;
    form.Load();
    AddRow(l, "delta", "Icon", "File");
    AddRow(l, "Alpha", "cursor", "Windows Default");
    AddRow(l, "charlie", "Icon", "Ornavale");
    AddRow(l, "bravo", "Cursor", "File");
    AddRow(l, "echo", "icon", "Reference");

    struct Case {
        int key;
        int order;
        std::vector<std::string> texts;
    };
    const Case cases[] = {
        {0, lvwAscending, {"Alpha", "bravo", "charlie", "delta", "echo"}},
        {0, lvwDescending, {"echo", "delta", "charlie", "bravo", "Alpha"}},
        // Equal texts (without regard to case) keep the order they had.
        {1, lvwAscending, {"bravo", "Alpha", "echo", "delta", "charlie"}},
        {2, lvwDescending, {"Alpha", "echo", "charlie", "bravo", "delta"}},
    };
    l.SetSorted(true);
    for (const Case& c : cases) {
        l.SetSortKey(c.key);
        l.SetSortOrder(c.order);
        l.SetSorted(true);
        EXPECT_EQ(ModelTexts(l), c.texts) << c.key << "/" << c.order;
        EXPECT_EQ(WindowTexts(l.hwnd()), c.texts) << c.key << "/" << c.order;
        for (int i = 1; i <= l.Count(); ++i) {
            ListItem& item = l.Item(i);
            EXPECT_EQ(item.Tag, "tag of " + item.Text());
            EXPECT_EQ(ItemText(l.hwnd(), i - 1, 2), item.SubItem(2));
            EXPECT_EQ(item.Index(), i);
        }
    }
    form.Unload();
}

TEST(ListView, HotTrackingUnderlinesActivatesAndSelectsOnHover) {
    constexpr DWORD kHot = LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT | LVS_EX_TRACKSELECT;
    auto styles = [](ListView& l) {
        return static_cast<DWORD>(SendMessageA(l.hwnd(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0)) & kHot;
    };
    ListForm form;
    ListView& l = form.list;
    // Set before the window exists, it applies when the window is made; later, at once.
    l.SetHotTracking(true);
    form.Load();
    EXPECT_EQ(styles(l), kHot);
    l.SetHotTracking(false);
    EXPECT_EQ(styles(l), 0u);
    l.SetHotTracking(true);
    EXPECT_EQ(styles(l), kHot);
    form.Unload();
}

TEST(ListView, PositionsAndKeys) {
    ListForm form;
    ListView& l = form.list;
    l.Add(-1, "k1", "one").SetSubItem(2, "origin of one");
    l.Add(-1, "k3", "three");
    l.Add(2, "K2", "two");
    l.Add(1, "", "zero");
    l.Add(99, "", "four");
    EXPECT_EQ(ModelTexts(l), (std::vector<std::string>{"zero", "one", "two", "three", "four"}));
    EXPECT_EQ(l.Item("k2").Text(), "two");
    EXPECT_EQ(l.Find("missing"), nullptr);
    EXPECT_THROW(l.Add(-1, "K1", "dup"), KeyError);
    EXPECT_THROW(l.Item("missing"), KeyError);
    EXPECT_THROW(l.Item(0), std::out_of_range);
    EXPECT_THROW(l.Item(6), std::out_of_range);
    EXPECT_EQ(l.Count(), 5);
    form.Load();
    EXPECT_EQ(WindowTexts(l.hwnd()), ModelTexts(l));
    // Sub-items made before the window and its columns show once the columns are there.
    EXPECT_EQ(ItemText(l.hwnd(), 1, 2), "origin of one");
    l.Add(3, "", "between");
    l.Item("k3").SetText("THREE");
    EXPECT_EQ(WindowTexts(l.hwnd()), ModelTexts(l));
    // Removing the selected item selects nothing and frees its key; keys move between items.
    l.SetSelectedItem(&l.Item("k2"));
    l.Remove(l.Item("k2").Index());
    EXPECT_EQ(ModelTexts(l), (std::vector<std::string>{"zero", "one", "between", "THREE", "four"}));
    EXPECT_EQ(WindowTexts(l.hwnd()), ModelTexts(l));
    EXPECT_EQ(l.SelectedItem(), nullptr);
    EXPECT_THROW(l.Remove(6), std::out_of_range);
    EXPECT_THROW(l.Item("k3").SetKey("K1"), KeyError);
    l.Item("k3").SetKey("k2");
    EXPECT_EQ(l.Find("k3"), nullptr);
    EXPECT_EQ(l.Item("K2").Text(), "THREE");
    l.Item(1).SetKey("k3");
    EXPECT_EQ(l.Item("k3").Text(), "zero");
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(SendMessageA(l.hwnd(), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(l.Find("k1"), nullptr);
    form.Unload();
}

TEST(ListView, OnlyTheUsersSelectionRaisesItemClick) {
    ListForm form;
    ListView& l = form.list;
    l.SetView(lvwReport);
    for (const char* t : {"a", "b", "c"}) l.Add(-1, t, t);
    std::vector<std::string> clicked;
    l.ItemClick = [&](ListItem& it) { clicked.push_back(it.Key()); };
    form.Load();
    EXPECT_EQ(l.SelectedItem(), nullptr);
    l.SetSelectedItem(&l.Item("b"));
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(l.SelectedItem(), &l.Item("b"));
    EXPECT_TRUE(l.Item("b").Selected());
    SendMessageA(l.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_EQ(clicked, (std::vector<std::string>{"c"}));
    EXPECT_EQ(l.SelectedItem(), &l.Item("c"));

    // A click with the mouse selects and reports where it was released.
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(l.hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r));
    std::vector<int> buttons;
    l.MouseUp = [&](int button, int, int) { buttons.push_back(button); };
    ClickAt(l.hwnd(), (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_EQ(clicked.back(), "a");
    EXPECT_EQ(buttons, (std::vector<int>{1}));

    // The selection survives the window.
    form.Unload();
    EXPECT_EQ(l.SelectedItem(), &l.Item("a"));
    form.Load();
    EXPECT_EQ(SendMessageA(l.hwnd(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
    l.Clear();
    EXPECT_EQ(l.SelectedItem(), nullptr);
    form.Unload();
}

TEST(ListView, HitTestFindsTheItemUnderAPointInTwips) {
    ListForm form;
    ListView& l = form.list;
    l.SetView(lvwReport);
    l.Add(-1, "first", "first");
    l.Add(-1, "second", "second");
    form.Load();
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageA(l.hwnd(), LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(l.HitTest(PxToTwipsX((r.left + r.right) / 2), PxToTwipsY((r.top + r.bottom) / 2)), &l.Item("second"));
    EXPECT_EQ(l.HitTest(PxToTwipsX(r.left + 5), PxToTwipsY(r.bottom + 60)), nullptr);
    form.Unload();
}

TEST(ListView, ColumnWidthsInTwipsSurviveTheWindow) {
    ListForm form;
    ListView& l = form.list;
    form.Load();
    EXPECT_EQ(l.ColumnWidth(1), 1500);
    l.SetColumnWidth(2, 3000);
    l.SetView(lvwReport);
    EXPECT_EQ(SendMessageA(l.hwnd(), LVM_GETCOLUMNWIDTH, 1, 0), TwipsToPxX(3000));
    // As if the user dragged the divider.
    SendMessageA(l.hwnd(), LVM_SETCOLUMNWIDTH, 2, TwipsToPxX(2400));
    l.SetView(lvwIcon);
    EXPECT_EQ(l.ColumnWidth(3), 2400);
    EXPECT_THROW(l.ColumnWidth(4), std::out_of_range);
    form.Unload();
    EXPECT_EQ(l.ColumnWidth(3), 2400);
}

TEST(ListView, EachViewShowsItsOwnPicture) {
    ListForm form;
    ListView& l = form.list;
    ImageList large(32, 32), small(16, 16);
    l.SetIcons(&large);
    l.SetSmallIcons(&small);
    l.Add(-1, "", "pictured", 3, 5);
    l.Add(-1, "", "plain");
    form.Load();
    auto image = [&](int index) {
        LVITEMA it{};
        it.mask = LVIF_IMAGE;
        it.iItem = index;
        SendMessageA(l.hwnd(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
        return it.iImage;
    };
    EXPECT_EQ(image(0), 2);
    EXPECT_EQ(image(1), I_IMAGENONE);
    l.SetView(lvwReport);
    EXPECT_EQ(image(0), 4);
    l.Item(1).SetSmallIcon(1);
    EXPECT_EQ(image(0), 0);
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(l.hwnd(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0)), large.handle());
    form.Unload();
}

// The list paints in a bitmap of its own: its back colour still fills what no item covers, its
// header keeps its own face, and printed into somebody else's DC it draws its background there too.
TEST(ListView, PaintsOffTheScreenWithBackgroundAndHeader) {
    constexpr COLORREF kRed = RGB(255, 0, 0);
    ListForm form;
    ListView& l = form.list;
    l.SetView(lvwReport);
    l.SetBackColor(kRed);
    l.Add(-1, "", "one");
    form.Show();
    RedrawWindow(l.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client, header;
    GetClientRect(l.hwnd(), &client);
    HWND headerWindow = ListView_GetHeader(l.hwnd());
    GetWindowRect(headerWindow, &header);
    MapWindowPoints(nullptr, l.hwnd(), reinterpret_cast<POINT*>(&header), 2);
    ASSERT_GT(header.bottom, header.top);
    const POINT empty{client.right - 5, client.bottom - 5};
    const POINT onHeader{header.right - 5, (header.top + header.bottom) / 2};

    HDC screen = GetDC(l.hwnd());
    EXPECT_EQ(GetPixel(screen, empty.x, empty.y), kRed);
    EXPECT_NE(GetPixel(screen, onHeader.x, onHeader.y), kRed);
    ReleaseDC(l.hwnd(), screen);

    MemoryBitmap printed(client.right, client.bottom);
    SendMessageA(l.hwnd(), WM_PRINT, reinterpret_cast<WPARAM>(printed.dc()), PRF_CLIENT | PRF_ERASEBKGND);
    EXPECT_EQ(GetPixel(printed.dc(), empty.x, empty.y), kRed);
    form.Unload();
}

namespace {

int gOffScreenMakings = 0;

// The system gives no bitmap the first time one is asked for, and every time after.
std::unique_ptr<MemoryBitmap> FirstMakingFails(int width, int height) {
    if (++gOffScreenMakings == 1) return std::make_unique<MemoryBitmap>(0, 0);
    return std::make_unique<MemoryBitmap>(width, height, MemoryBitmap::Format::Rgb32, true);
}

LRESULT CALLBACK SaysWhenItsOwnProcedureEnds(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY) std::fputs("its own procedure saw the end\n", stderr);
    return DefWindowProcA(window, msg, wParam, lParam);
}

}  // namespace

// Without a bitmap to paint in, the list paints straight on the screen, and off it again at a
// later paint once the system gives one.
TEST(ListView, PaintsOnTheScreenUntilABitmapIsGiven) {
    constexpr COLORREF kRed = RGB(255, 0, 0);
    ListForm form;
    ListView& l = form.list;
    l.SetBackColor(kRed);
    gOffScreenMakings = 0;
    const OffScreenBitmapMaker system = gMakeOffScreenBitmap;
    gMakeOffScreenBitmap = FirstMakingFails;
    form.Show();
    for (int paint = 1; paint <= 2; ++paint) {
        RedrawWindow(l.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RECT client;
        GetClientRect(l.hwnd(), &client);
        HDC screen = GetDC(l.hwnd());
        EXPECT_EQ(GetPixel(screen, client.right - 5, client.bottom - 5), kRed) << paint;
        ReleaseDC(l.hwnd(), screen);
    }
    EXPECT_EQ(gOffScreenMakings, 2);
    gMakeOffScreenBitmap = system;
    form.Unload();
}

// A form still loaded when the program ends is destroyed after everything made later: a control
// that paints off the screen still gets its last messages through its own procedure.
TEST(ListView, AControlOfAFormLeftLoadedAtTheEndEndsThroughItsOwnProcedure) {
    EXPECT_EXIT(
        {
            static TestForm late;  // made before anything paints off the screen in this process
            WNDCLASSA wc{};
            wc.lpfnWndProc = SaysWhenItsOwnProcedureEnds;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "OrnavaleEndsLate";
            RegisterClassA(&wc);
            late.build = [] {
                PaintOffScreen(CreateWindowExA(0, "OrnavaleEndsLate", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50,
                                               late.hwnd(), nullptr, GetModuleHandleA(nullptr), nullptr));
            };
            late.Load();
            std::exit(0);
        },
        testing::ExitedWithCode(0), "its own procedure saw the end");
}

// A page is filled with its image list unbound and gets its pictures last.
TEST(ListView, IconsKeepTheSystemGridWhenThePicturesComeLast) {
    ListForm form;
    ListView& l = form.list;
    ImageList images;
    l.SetIcons(&images);
    form.Show();
    l.SetIcons(nullptr);
    l.BeginUpdate();
    for (int i = 0; i < 200; ++i) l.Add(-1, "", "x");
    l.EndUpdate();
    l.SetIcons(&images);
    POINT first{}, second{};
    SendMessageA(l.hwnd(), LVM_GETITEMPOSITION, 0, reinterpret_cast<LPARAM>(&first));
    SendMessageA(l.hwnd(), LVM_GETITEMPOSITION, 1, reinterpret_cast<LPARAM>(&second));
    EXPECT_EQ(second.x - first.x, GetSystemMetrics(SM_CXICONSPACING));
    EXPECT_FALSE(GetWindowLongA(l.hwnd(), GWL_STYLE) & WS_HSCROLL);
    form.Unload();
}

TEST(ListView, APageOf200FillsQuickly) {
    ListForm form;
    ListView& l = form.list;
    form.Load();  // loaded hidden, as the page fill's twin list is
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    // The best of three fills: the other test programs running beside this one can stall any one.
    double ms = 1e9;
    for (int run = 0; run < 3; ++run) {
        l.Clear();
        QueryPerformanceCounter(&start);
        l.BeginUpdate();
        l.Reserve(200);
        for (int i = 0; i < 200; ++i) {
            ListItem& it = l.Add(-1, "", "Icon " + std::to_string(i), i + 1, i + 1);
            it.SetSubItem(1, "256 Color Icon");
            it.SetSubItem(2, "Ornavale");
            it.Tag = std::to_string(i);
        }
        l.EndUpdate();
        QueryPerformanceCounter(&end);
        ms = std::min(ms, 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(freq.QuadPart));
    }
    EXPECT_LT(ms, 100.0);
    EXPECT_EQ(SendMessageA(l.hwnd(), LVM_GETITEMCOUNT, 0, 0), 200);
    EXPECT_EQ(ItemText(l.hwnd(), 199, 1), "256 Color Icon");
    form.Unload();
}
