// Times the catalogue load at start-up: the index of 17,500 cells in 175 libraries under about
// 2,700 keywords, with the user's keywords and references, in the loaded main window. Prints a
// table in milliseconds.
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchProgram.h"
#include "CatalogueMaker.h"
#include "TestSupport.h"
#include "browsing/FrmAdd.h"
#include "browsing/FrmKey.h"
#include "core/Global.h"
#include "formats/KeywordFiles.h"
#include "program/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "ui/App.h"

namespace {

// One load as at start-up: an empty keyword box, the reference window and the keyword editor not
// made yet.
double TimeStartupLoad() {
    frmAdd.Unload();
    frmKey.Unload();
    frmMain.cmbSearch.Clear();
    double start = NowMs();
    frmMain.procFillSearch();
    return NowMs() - start;
}

// The two windows made on first use, each filling its keyword list.
double TimeWindowsLoad() {
    frmAdd.Unload();
    frmKey.Unload();
    double start = NowMs();
    frmAdd.Load();
    frmKey.Load();
    return NowMs() - start;
}

}  // namespace

int main() {
    StartBenchProgram();
    constexpr int kRuns = 9;
    TempDir empty, dir;
    const catalogue_maker::Shape shape;
    if (!catalogue_maker::WriteIndexAndUserFiles(dir.path(), shape)) {
        std::printf("cannot write the catalogue into %s\n", dir.path().c_str());
        return 1;
    }
    // The main window starts without a catalogue; the loads below are timed on their own.
    gAppPath = empty.path();
    frmMain.Load();
    gAppPath = dir.path();

    std::vector<double> startup, windows, again, parse;
    for (int run = 0; run < kRuns; ++run) startup.push_back(TimeStartupLoad());
    for (int run = 0; run < kRuns; ++run) windows.push_back(TimeWindowsLoad());
    for (int run = 0; run < kRuns; ++run) {
        double start = NowMs();
        frmMain.procFillSearch();
        again.push_back(NowMs() - start);
    }
    const std::string index = catalogue_maker::IndexText(shape);
    for (int run = 0; run < kRuns; ++run) {
        double start = NowMs();
        auto table = formats::ReadKeywordFiles(index, {}, {}, 3001);
        parse.push_back(NowMs() - start);
        if (table.keywords.empty()) return 1;
    }

    std::printf("catalogue: %d libraries, %d cells, %d + %d keywords, %d references, index %zu bytes\n",
                shape.libraries, shape.libraries * shape.cellsPerLibrary, shape.keywords, shape.userKeywords,
                shape.userReferences, index.size());
    std::printf("%-42s %10s %10s\n", "operation", "first ms", "median ms");
    auto row = [](const char* what, const std::vector<double>& ms) {
        std::printf("%-42s %10.1f %10.1f\n", what, ms.front(), Median(ms));
    };
    row("catalogue load at start-up", startup);
    row("reference and keyword windows made", windows);
    row("catalogue load again, both windows there", again);
    row("  of it: index text into keyword slots", parse);
    std::printf("keyword box %d items, reference window %d, keyword editor %d, references %d\n",
                frmMain.cmbSearch.ListCount(), frmAdd.cmbSearch.ListCount(), frmKey.lstKey.ListCount(),
                frmMain.lstUser.ListCount());
    frmMain.Unload();
    return 0;
}
