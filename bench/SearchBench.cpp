// Times the keyword search of a large keyword (2,000 catalogue icons and user references, with and
// without the favorites pass) and the listing of 1,000 icon files, in the loaded main window. The
// fill of the result set is timed apart from the drawing of its first page. Prints a table in ms.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchProgram.h"
#include "FormatsTestSupport.h"
#include "IconMaker.h"
#include "TestSupport.h"
#include "browsing/KeywordHits.h"
#include "common/Paging.h"
#include "core/FolderWalk.h"
#include "formats/AniFile.h"
#include "program/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Options.h"
#include "ui/App.h"

namespace {

// An idle window, as a person's click finds it: what earlier runs left to paint is painted.
void Settle() {
    for (int i = 0; i < 3; ++i) {
        DoEvents();
        Sleep(5);
    }
}

template <class F>
double Time(F run) {
    Settle();
    double start = NowMs();
    run();
    return NowMs() - start;
}

// The median of a few measurements, after one that pays for files and code not cached yet.
template <class F>
double Median(int runs, F measure) {
    measure();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(measure());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

Bytes AniBytes(int frames) {
    std::vector<Bytes> icons;
    for (int i = 0; i < frames; ++i)
        icons.push_back(Chunk("icon", IconFileBytes(2, {{DibImage(32, 32, 4), 32, 32, 0, 0}})));
    return Riff("ACON", {Chunk("anih", AniHeaderBody(static_cast<uint32_t>(frames), static_cast<uint32_t>(frames),
                                                      formats::kAniFramesAreIcons)),
                         List("fram", icons)});
}

// Moments of one run, noted where it lets events run: its first event pass, its last one before
// the page fill, and the page fill's first entry (its twin list is shown only while a page fills).
struct Moments {
    double start = 0, firstPass = -1, lastPass = -1, pageBegan = -1;
};
Moments gMoments;
void NoteMoment() {
    const double now = NowMs();
    if (frmMain.pnlDummy.Visible()) {
        if (gMoments.pageBegan < 0) gMoments.pageBegan = now;
        return;
    }
    if (gMoments.firstPass < 0) gMoments.firstPass = now;
    gMoments.lastPass = now;
}

// The moments of `run`, from an empty page and an idle window.
template <class F>
Moments MomentsOf(F run) {
    frmMain.procClearResult();
    Settle();
    gMoments = Moments{};
    gDoEventsHook = NoteMoment;
    gMoments.start = NowMs();
    run();
    gDoEventsHook = nullptr;
    return gMoments;
}

void Row(const char* what, double ms, int entries) { std::printf("%-44s %10.1f %8d\n", what, ms, entries); }

}  // namespace

int main() {
    StartBenchProgram();
    constexpr int kTokens = 2000, kUserRefs = 3000, kSlot = 10;
    constexpr int kFiles = 1000, kLibraries = 10;
    TempDir dir;
    frmMain.Load();
    frmMain.Show();
    gIconsPerPage = 200;

    // ---- a keyword with 2,000 catalogue icons; 3,000 user references, one in a hundred filed under it
    std::string refs;
    for (int i = 0; i < kTokens; ++i) refs += std::to_string(1 + i / 100) + ":" + std::to_string(i % 100) + ":x02;";
    gKeywords[kSlot] = "arrow";
    gRefs[kSlot] = refs;
    for (int i = 0; i < kUserRefs; ++i) {
        frmMain.lstUser.AddItem(i % 100 == 0 ? "arrow" : "other" + std::to_string(i), i);
        frmMain.cmbUser.AddItem("C:\\icons\\u" + std::to_string(i) + ".ico;0;x;2user", i);
    }
    frmMain.cmbSearch.Clear();
    frmMain.cmbSearch.AddItem("arrow");
    frmMain.cmbSearch.SetItemData(0, kSlot);
    frmMain.cmbSearch.SetListIndex(0);
    // A favorites folder of 300 files, three of them named after the keyword.
    gFavDir = dir.Folder("Favorites");
    for (int i = 0; i < 300; ++i) WriteIconFile(gFavDir + "\\fav" + std::to_string(i) + ".ico", 0x304050);
    const Bytes ani = AniBytes(4);
    WriteIconFile(gFavDir + "\\arrow.ico", 0x405060);
    WriteIconFile(gFavDir + "\\arrow.cur", 0x405060, true);
    dir.File("Favorites\\arrow.ani", std::string(ani.begin(), ani.end()));

    std::printf("%-44s %10s %8s\n", "operation", "ms", "entries");
    for (bool favorites : {false, true}) {
        gSearchFav = favorites;
        const double whole = Median(5, [] { return Time([] { frmMain.procSearchOrnavale(); }); });
        const int entries = frmMain.cmbResult.ListCount();
        const double page = Median(5, [] { return Time([] { frmMain.GoToPage(1); }); });
        auto search = [] { frmMain.procSearchOrnavale(); };
        const double status = Median(9, [&] { Moments m = MomentsOf(search); return m.firstPass - m.start; });
        const double walk = Median(9, [&] { Moments m = MomentsOf(search); return m.lastPass - m.firstPass; });
        const double untilPage = Median(9, [&] { Moments m = MomentsOf(search); return m.pageBegan - m.start; });
        const double pageStart =
            Median(9, [] { Moments m = MomentsOf([] { frmMain.GoToPage(1); }); return m.pageBegan - m.start; });
        Row(favorites ? "keyword search with favorites, whole" : "keyword search, whole", whole, entries);
        Row("  status text", status, 0);
        if (favorites) Row("  favorites walk and their files", walk, entries - kTokens - kUserRefs / 100);
        Row("  until its page's first item", untilPage, entries);
        Row("  the page's start until its first item", pageStart, 0);
        Row("  its first page drawn", page, frmMain.pnlResult.Count());
    }
    {
        const double hits = Median(9, [] {
            return Time([] {
                frmMain.cmbResult.Clear();
                AppendKeywordHits(frmMain.cmbResult, kSlot, gRefs[kSlot], frmMain.lstUser, frmMain.cmbUser, "arrow");
            });
        });
        Row("catalogue and reference entries alone", hits, frmMain.cmbResult.ListCount());
    }
    gSearchFav = false;

    // ---- 1,000 files: icons, cursors, animated cursors of four frames, and a few libraries
    std::vector<std::string> files;
    const std::string library = TestProgramDir() + "..\\tests\\icons12.dll";
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    for (int i = 0; i < kFiles - kLibraries; ++i) {
        const std::string base = dir.path() + "f" + std::to_string(i);
        switch (i % 3) {
            case 0: files.push_back(base + ".ico"); WriteIconFile(files.back(), 0x102030); break;
            case 1: files.push_back(base + ".cur"); WriteIconFile(files.back(), 0x203040, true); break;
            default: files.push_back(dir.File("f" + std::to_string(i) + ".ani", std::string(ani.begin(), ani.end())));
        }
    }
    for (int i = 0; i < kLibraries; ++i) files.push_back(i % 2 ? library : std::string(system) + "\\shell32.dll");
    auto listAll = [&files] {
        frmMain.cmbResult.Clear();
        frmMain.lstFiles.Clear();
        for (const auto& f : files) frmMain.lstFiles.AddItem(f);
        frmMain.procSearchOpen();
    };
    const double listing = Median(3, [&] { return Time(listAll); });
    const int entries = frmMain.cmbResult.ListCount();
    const double page = Median(3, [] { return Time([] { frmMain.GoToPage(1); }); });
    const double listed = Median(3, [&] { Moments m = MomentsOf(listAll); return m.lastPass - m.start; });
    Row("listing of 1,000 files, whole", listing, entries);
    Row("  until its last event pass before the page", listed, entries);
    Row("  per file", listed / kFiles, 0);
    Row("  its first page drawn", page, frmMain.pnlResult.Count());
    frmMain.Unload();
    return 0;
}
