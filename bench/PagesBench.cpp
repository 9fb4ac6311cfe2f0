// Times the result page: the first, a middle and the last page of 100,000 entries of mixed kinds
// (icon files, cursor files, the icons of the system's shell library), a walk through every page,
// and a page of 200 icons of the shell library alone, in the loaded main window. Prints a table in
// milliseconds.
#include <algorithm>
#include <cstdio>
#include <string>

#include "BenchClock.h"
#include "IconMaker.h"
#include "TestSupport.h"
#include "browsing/PageMath.h"
#include "browsing/Paging.h"
#include "browsing/ResultEntry.h"
#include "mainwindow/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "ui/App.h"

namespace {

double TimePage(int32_t page) {
    double start = NowMs();
    frmMain.GoToPage(page);
    return NowMs() - start;
}

}  // namespace

int main() {
    RegisterCoreHooks();
    constexpr int kEntries = 100000, kFiles = 8;
    InitApp(GetModuleHandleA(nullptr));
    gEndWhenNoForms = false;
    gMsgBoxHook = [](const std::string&, UINT, const std::string&) { return IDOK; };
    PresetQuietStart();
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

    std::printf("%-28s %10s %8s\n", "operation", "ms", "items");
    auto row = [](const char* what, double ms) {
        std::printf("%-28s %10.1f %8d\n", what, ms, frmMain.pnlResult.Count());
    };
    row("page 1", TimePage(1));
    row("middle page", TimePage(lastFull / 2));
    row("last page with icons", TimePage(lastFull));
    double start = NowMs();
    frmMain.GoToPage(1);
    for (int32_t p = 2; p <= gPageCount; ++p) frmMain.mnuGoNextPage_Click();
    double walk = NowMs() - start;
    std::printf("%-28s %10.1f %8d\n", "walk through all pages", walk, gPageCount);
    std::printf("%-28s %10.1f\n", "  per page", walk / gPageCount);

    frmMain.cmbResult.Clear();
    for (int i = 0; i < 200; ++i) frmMain.cmbResult.AddItem(OpenEntry(shell, i % std::max(shellIcons, 1), "#", 'd'));
    gPageCount = 1;
    row("a page of shell32 icons", TimePage(1));
    row("  again", TimePage(1));
    frmMain.Unload();
    return 0;
}
