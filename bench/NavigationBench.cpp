// Times the fills the navigation tree starts on the generated catalogue of 17,500 cells: the
// largest class and the largest letter, beside the keyword search of the largest keyword measured
// in the same run. Each is timed until its page's first item is made and until page 1 is painted;
// page 1 alone, made again from the same result set, gives what the page's start costs, and so the
// fill's own time before its page. Prints a table in milliseconds with the ratios to the search.
#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "BenchClock.h"
#include "BenchProgram.h"
#include "CatalogueMaker.h"
#include "TestSupport.h"
#include "common/Paging.h"
#include "core/Global.h"
#include "program/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Options.h"
#include "ui/App.h"
#include "ui/Keys.h"

namespace {

constexpr int kRuns = 7;

// What one fill cost: until its page's first item was made, and until page 1 was painted.
struct Timing {
    double firstItem = 0;
    double painted = 0;
    int entries = 0;
};

// The moment the page's first item was made: the page lets events run after each item, and its
// twin list is shown only while a page fills.
double gPageBegan = -1;
void NotePageBegan() {
    if (gPageBegan < 0 && frmMain.pnlDummy.Visible()) gPageBegan = NowMs();
}

// One fill from an idle window, as a click finds it.
Timing TimeOnce(const std::function<void()>& fill) {
    for (int i = 0; i < 3; ++i) {
        DoEvents();
        Sleep(5);
    }
    gPageBegan = -1;
    gDoEventsHook = NotePageBegan;
    const double start = NowMs();
    fill();
    UpdateWindow(frmMain.pnlResult.hwnd());
    const double end = NowMs();
    gDoEventsHook = nullptr;
    return {gPageBegan < 0 ? end - start : gPageBegan - start, end - start, frmMain.cmbResult.ListCount()};
}

// The medians of several fills, after one that extracts the page's libraries.
Timing Measure(const std::function<void()>& fill) {
    TimeOnce(fill);
    std::vector<double> before, painted;
    Timing t;
    for (int i = 0; i < kRuns; ++i) {
        t = TimeOnce(fill);
        before.push_back(t.firstItem);
        painted.push_back(t.painted);
    }
    return {Median(before), Median(painted), t.entries};
}

}  // namespace

int main() {
    StartBenchProgram();
    TempDir program, temp;
    const catalogue_maker::Shape shape;
    if (!catalogue_maker::WriteIndexAndUserFiles(program.path(), shape) ||
        !catalogue_maker::WriteArchives(program.path(), shape)) {
        std::printf("cannot write the catalogue into %s\n", program.path().c_str());
        return 1;
    }
    frmMain.Load();
    frmMain.Show();
    gAppPath = program.path();
    gTempDir = temp.path();
    gIconsPerPage = 200;
    gSearchFav = false;
    frmMain.procFillSearch();

    // The largest class and letter, by the tokens filed under them.
    std::array<int, 9> perClass{};
    std::map<std::string, int> perLetter;
    int largestKeyword = -1;
    for (int i = 0; i < frmMain.cmbSearch.ListCount(); ++i) {
        const int32_t slot = frmMain.cmbSearch.ItemData(i);
        if (slot < 0 || slot >= kKeywordSlots) continue;
        if (gKeywords[static_cast<size_t>(slot)] == catalogue_maker::LargestKeyword()) largestKeyword = i;
        const std::string& refs = gRefs[static_cast<size_t>(slot)];
        for (size_t end = refs.find(';'); end != std::string::npos; end = refs.find(';', end + 1)) {
            const char code = refs[end - 1];
            if (code >= '0' && code <= '8') ++perClass[static_cast<size_t>(code - '0')];
            ++perLetter[FoldKey(gKeywords[static_cast<size_t>(slot)].substr(0, 1))];
        }
    }
    int16_t largestClass = 0;
    for (int16_t c = 1; c <= 8; ++c)
        if (perClass[static_cast<size_t>(c)] > perClass[static_cast<size_t>(largestClass)]) largestClass = c;
    std::string largestLetter;
    for (const auto& [letter, n] : perLetter)
        if (largestLetter.empty() || n > perLetter[largestLetter]) largestLetter = letter;
    if (largestKeyword < 0) {
        std::printf("the largest keyword is not in the keyword box\n");
        return 1;
    }

    std::printf("catalogue: %d cells, %d keywords, %d references; largest class %d (%d tokens), letter %s (%d tokens)\n",
                shape.libraries * shape.cellsPerLibrary, frmMain.cmbSearch.ListCount(), frmMain.cmbUser.ListCount(),
                largestClass, perClass[static_cast<size_t>(largestClass)], largestLetter.c_str(),
                perLetter[largestLetter]);
    std::printf("%-34s %8s %11s %12s %9s %8s %8s\n", "fill", "entries", "first item", "before page", "painted",
                "/ ref", "/ ref");

    frmMain.cmbSearch.SetListIndex(largestKeyword);
    auto fills = std::vector<std::pair<std::string, std::function<void()>>>{
        {"keyword search \"" + catalogue_maker::LargestKeyword() + "\" (reference)", [] { frmMain.procSearchOrnavale(); }},
        {"class " + std::to_string(largestClass), [largestClass] { frmMain.procFillBookByClass(largestClass); }},
        {"letter " + largestLetter, [&largestLetter] { frmMain.procFillBookByLetter(largestLetter); }},
    };
    double referenceBefore = 0, referencePainted = 0;
    for (const auto& [what, fill] : fills) {
        const Timing t = Measure(fill);
        // The same page made again: from its start until its first item.
        const double pageStart = Measure([] { frmMain.GoToPage(1); }).firstItem;
        const double before = t.firstItem - pageStart;
        if (referencePainted == 0) {
            referenceBefore = before;
            referencePainted = t.painted;
        }
        std::printf("%-34s %8d %11.1f %12.1f %9.1f %8.2f %8.2f\n", what.c_str(), t.entries, t.firstItem, before,
                    t.painted, before / referenceBefore, t.painted / referencePainted);
    }
    std::printf("first item: from the call until its page's first item is made; before page: that less the\n"
                "same time of page 1 made again; painted: until page 1 is on screen; / ref: before page and\n"
                "painted against the keyword search\n");
    frmMain.Unload();
    return 0;
}
