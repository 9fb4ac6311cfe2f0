// Times the result page: the first, a middle and the last page of 100,000 entries of mixed kinds
// (icon files, cursor files, the icons of the system's shell library), a walk through every page,
// a page of 200 icons of the shell library alone, and 50 items of the Windows sources (shortcuts,
// file types, system icons, current and scheme cursors) beside 50 icons of files, in the loaded
// main window. Prints a table in milliseconds, each page beside its floor: the pictures of page 1
// put into a bare list view and painted, timed in turn with the page.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchProgram.h"
#include "IconMaker.h"
#include "TestSupport.h"
#include "common/PageMath.h"
#include "common/PageProfile.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "core/ShellFolders.h"
#include "program/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "ui/App.h"

namespace {

// A page made and painted once, and where its time went.
struct PageTime {
    double ms = 0;
    double paint = 0;  // Wine's painting of the page after it was made
    PageProfile parts;
    double floor = 0;  // the floor, timed beside the page
};

PageTime TimePageOnce(int32_t page) {
    PageTime t;
    double start = NowMs();
    frmMain.GoToPage(page);
    const double made = NowMs();
    UpdateWindow(frmMain.pnlResult.hwnd());
    t.ms = NowMs() - start;
    t.paint = t.ms - (made - start);
    t.parts = gPageProfile;
    return t;
}

// The pictures of the floor: page 1's, drawn once into a strip.
struct FloorPictures {
    HBITMAP strip = nullptr;
    int count = 0;
};

FloorPictures TakeFloorPictures() {
    FloorPictures f;
    f.count = frmMain.imlResult32.Count();
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 32 * f.count, 32, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    f.strip = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, f.strip);
    for (int i = 0; i < f.count; ++i) ImageList_Draw(frmMain.imlResult32.handle(), i, dc, 32 * i, 0, ILD_NORMAL);
    SelectObject(dc, old);
    DeleteDC(dc);
    return f;
}

// The floor under a page: the pictures put into a bare list view of the result list's size (no
// program logic) and painted once.
double TimeBareListOnce(const FloorPictures& pictures) {
    const int n = pictures.count;
    RECT r;
    GetWindowRect(frmMain.pnlResult.hwnd(), &r);
    HWND list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | WS_VISIBLE | LVS_ICON, r.left, r.top,
                                r.right - r.left, r.bottom - r.top, frmMain.hwnd(), nullptr, nullptr, nullptr);

    double start = NowMs();
    HIMAGELIST images = ImageList_Create(32, 32, ILC_COLOR32 | ILC_MASK, n, 16);
    ImageList_AddMasked(images, pictures.strip, GetSysColor(COLOR_WINDOW));
    ListView_SetImageList(list, images, LVSIL_NORMAL);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < n; ++i) {
        std::string text = "item " + std::to_string(i);
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        item.pszText = text.data();
        item.iImage = i;
        ListView_InsertItem(list, &item);
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    UpdateWindow(list);
    const double ms = NowMs() - start;

    DestroyWindow(list);
    ImageList_Destroy(images);
    // What the bare list covered is painted again now, not inside the page timed next.
    RedrawWindow(frmMain.hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    return ms;
}

// Timings here drift with the load of the machine: a page is made kRuns times, each beside a
// making of the floor, and the middle time of each counts.
constexpr int kRuns = 5;

PageTime TimePage(int32_t page, const FloorPictures& pictures) {
    std::vector<PageTime> runs;
    std::vector<double> floors;
    for (int k = 0; k < kRuns; ++k) {
        floors.push_back(TimeBareListOnce(pictures));
        runs.push_back(TimePageOnce(page));
    }
    std::sort(runs.begin(), runs.end(), [](const PageTime& a, const PageTime& b) { return a.ms < b.ms; });
    PageTime middle = runs[runs.size() / 2];
    middle.floor = Median(floors);
    return middle;
}

}  // namespace

int main() {
    StartBenchProgram();
    constexpr int kEntries = 100000, kFiles = 8;
    TempDir dir;
    std::string files[kFiles];
    for (int f = 0; f < kFiles; ++f) {
        files[f] = dir.path() + "icon" + std::to_string(f) + ".ico";
        WriteIconFile(files[f], 0x203040u * static_cast<uint32_t>(f + 1));
    }
    frmMain.Load();
    frmMain.Show();
    const std::string cursor = dir.path() + "arrow.cur";
    WriteIconFile(cursor, 0x00FF00, true);
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string shell = std::string(system) + "\\shell32.dll";
    const int shellIcons = static_cast<int>(reinterpret_cast<INT_PTR>(ExtractIconA(nullptr, shell.c_str(), UINT(-1))));
    frmMain.cmbResult.Reserve(kEntries);
    // Of ten entries: five icon files, one cursor file, four icons of the library.
    for (int i = 0; i < kEntries; ++i) {
        const int k = i % 10;
        if (k < 5) frmMain.cmbResult.AddItem(OpenEntry(files[i % kFiles], 0, "x", '2'));
        else if (k == 5) frmMain.cmbResult.AddItem(OpenEntry(cursor, 0, "x", '8'));
        else frmMain.cmbResult.AddItem(OpenEntry(shell, i / 10 % std::max(shellIcons, 1), "#", 'd'));
    }
    gIconsPerPage = 200;
    gPageCount = PageCountFor(kEntries, gIconsPerPage);
    const int32_t lastFull = (kEntries + gIconsPerPage - 1) / gIconsPerPage;

    std::printf("%-28s %10s %8s %8s %8s   %s\n", "operation (made and painted)", "ms", "items", "floor", "/ floor",
                "parts: clear entries pictures strip images items swap panels events paint other");
    frmMain.GoToPage(1);
    const FloorPictures pictures = TakeFloorPictures();
    auto paged = [&](const char* what, int32_t page) {
        const PageTime t = TimePage(page, pictures);
        const PageProfile& p = t.parts;
        const double other = t.ms - t.paint - p.clear - p.entries - p.pictures - p.strip - p.images - p.items -
                             p.swap - p.panels - p.events;
        std::printf("%-28s %10.1f %8d %8.1f %8.2f   %.1f %.1f %.1f %.1f %.1f %.1f %.1f %.1f %.1f %.1f %.1f\n", what,
                    t.ms, frmMain.pnlResult.Count(), t.floor, t.ms / t.floor, p.clear, p.entries, p.pictures, p.strip, p.images,
                    p.items, p.swap, p.panels, p.events, t.paint, other);
    };
    paged("page 1", 1);
    paged("middle page", lastFull / 2);
    paged("last page with icons", lastFull);
    double start = NowMs();
    frmMain.GoToPage(1);
    for (int32_t p = 2; p <= gPageCount; ++p) frmMain.mnuGoNextPage_Click();
    double walk = NowMs() - start;
    std::printf("%-28s %10.1f %8d\n", "walk through all pages", walk, gPageCount);
    std::printf("%-28s %10.1f\n", "  per page", walk / gPageCount);

    frmMain.cmbResult.Clear();
    for (int i = 0; i < 200; ++i) frmMain.cmbResult.AddItem(OpenEntry(shell, i % std::max(shellIcons, 1), "#", 'd'));
    gPageCount = 1;
    paged("a page of shell32 icons", 1);
    paged("  again", 1);

    frmMain.cmbResult.Clear();
    frmMain.lstFiles.Clear();
    frmMain.lstFiles.AddItem(GetSpecialFolder(CSIDL_DESKTOPDIRECTORY) + "Notes.lnk");
    for (int i = 0; i < 50; ++i) {
        const std::string index = std::to_string(i % std::max(shellIcons, 1));
        switch (i % 5) {
            case 0: frmMain.cmbResult.AddItem(ShortcutEntry(shell, i, "C:\\x.exe"), 0); break;
            case 1: frmMain.cmbResult.AddItem(FileTypeEntry(shell, index, "Type", ".t")); break;
            case 2: frmMain.cmbResult.AddItem(SystemIconEntry(shell, index, "Row")); break;
            case 3: frmMain.cmbResult.AddItem(DefaultCursorEntry(32512 + i % 5)); break;
            default: frmMain.cmbResult.AddItem(SchemeCursorEntry(i % 2 ? cursor : "", 0, "S", 1 + i % 14, false));
        }
    }
    paged("50 items of Windows sources", 1);
    paged("  again", 1);
    frmMain.cmbResult.Clear();
    for (int i = 0; i < 50; ++i)
        frmMain.cmbResult.AddItem(i % 2 ? OpenEntry(files[i % kFiles], 0, "x", '2')
                                        : OpenEntry(shell, i % std::max(shellIcons, 1), "#", 'd'));
    paged("50 icons of files", 1);
    paged("  again", 1);
    DeleteObject(pictures.strip);
    frmMain.Unload();
    return 0;
}
