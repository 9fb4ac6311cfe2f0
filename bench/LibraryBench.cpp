// Times the catalogue's library pictures over 17,500 cells in 175 libraries spread over their
// archives as the program ships them: the first extraction of a library, a library already
// extracted loaded again, the same library asked for twice, and a page of 200 catalogue cells from
// ten libraries, first with every library still in its archive and then again. Prints a table in
// milliseconds.
#include <cstdio>
#include <string>

#include "BenchClock.h"
#include "BenchProgram.h"
#include "CatalogueMaker.h"
#include "TestSupport.h"
#include "browsing/Library.h"
#include "common/PageMath.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "core/Global.h"
#include "program/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "ui/App.h"

namespace {

template <typename Work>
double Time(Work work) {
    const double start = NowMs();
    work();
    return NowMs() - start;
}

}  // namespace

int main() {
    StartBenchProgram();
    constexpr int kLibraries = 175, kColumns = 10, kRows = 10;
    frmMain.Load();
    frmMain.Show();
    TempDir program, temp;
    gAppPath = program.path();
    gTempDir = temp.path();

    catalogue_maker::Shape shape;
    shape.libraries = kLibraries;
    shape.columns = kColumns;
    shape.cellsPerLibrary = kColumns * kRows;
    if (!catalogue_maker::WriteArchives(program.path(), shape)) {
        std::fprintf(stderr, "could not write the archives into %s\n", program.path().c_str());
        return 1;
    }

    std::printf("%-40s %10s\n", "operation", "ms");
    auto row = [](const char* what, double ms) { std::printf("%-40s %10.2f\n", what, ms); };
    row("first extraction (library 90)", Time([] { frmMain.procExtractLibrary("90"); }));
    row("first extraction (library 170)", Time([] { frmMain.procExtractLibrary("170"); }));
    row("extracted library loaded again (90)", Time([] { frmMain.procExtractLibrary("90"); }));
    row("same library asked again (90)", Time([] { frmMain.procExtractLibrary("90"); }));

    // A keyword's page: 20 cells from each of ten libraries, as the index lists them.
    gKeywords[0] = "bench";
    auto fillPage = [](int firstLib) {
        frmMain.cmbResult.Clear();
        for (int lib = firstLib; lib < firstLib + 10; ++lib)
            for (int cell = 0; cell < 20; ++cell)
                frmMain.cmbResult.AddItem(BookEntry(std::to_string(lib) + ":" + std::to_string(cell) + ":" +
                                                    std::string(1, static_cast<char>('0' + lib % 10)) + "2"),
                                          0);
        gIconsPerPage = 200;
        gPageNr = 1;
        gPageCount = PageCountFor(frmMain.cmbResult.ListCount(), gIconsPerPage);
    };
    fillPage(100);
    row("page of 200 cells from 10 new libraries", Time([] { frmMain.procGetPage(); }));
    row("the same page again, libraries extracted", Time([] { frmMain.procGetPage(); }));
    frmMain.Unload();
    return 0;
}
