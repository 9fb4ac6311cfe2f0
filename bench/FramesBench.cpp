// Times Play collecting the frames of an animation into the frame store: animated cursors of 61 and
// 300 frames (the file read once for all its frames, as after selecting an item) and a catalogue
// animation of 61 cells. Prints a table in milliseconds (the median of five runs).
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "AniMaker.h"
#include "BenchClock.h"
#include "BenchProgram.h"
#include "LibraryMaker.h"
#include "TestSupport.h"
#include "common/FileIconReader.h"
#include "common/PagePictures.h"
#include "common/ResultEntry.h"
#include "core/Global.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Selection.h"
#include "output/AnimationFrames.h"

namespace {

double MedianOf5(const std::function<double()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < 5; ++i) ms.push_back(run());
    return Median(ms);
}

}  // namespace

int main() {
    StartBenchProgram();
    frmMain.Load();
    TempDir program, temp, dir;
    gAppPath = program.path();
    gTempDir = temp.path();
    gFilmMode = true;  // no player: only the collection is timed

    // The run's entries in the result set, its middle one the source; `frames` expected of it.
    auto collect = [](const std::vector<std::string>& run, const char* sep, int16_t step, int16_t skip, int frames) {
        frmMain.cmbResult.Clear();
        for (const std::string& e : run) frmMain.cmbResult.AddItem(e);
        return MedianOf5([&] {
            ReleaseAniIcon();
            ForgetKeptFileBytes();
            const double start = NowMs();
            const int32_t n = frmMain.CollectAniFrames(run[run.size() / 2], sep, step, skip, false);
            const double ms = NowMs() - start;
            if (n != frames) std::printf("collected %d frames of %d\n", n, frames);
            return ms;
        });
    };

    std::printf("%-44s %10s\n", "Play collecting", "ms");
    for (int n : {61, 300}) {
        const std::string file = dir.path() + "run" + std::to_string(n) + ".ani";
        if (!WriteAniFile(file, 1, n)) {
            std::fprintf(stderr, "could not write %s\n", file.c_str());
            return 1;
        }
        const std::vector<std::string> run = AniRunEntries(file, n);
        std::printf("%-44s %10.1f\n", (std::to_string(n) + " frames of an .ani").c_str(), collect(run, ";", -1, 4, n));
    }

    if (!WriteLibraryArchive(program.path() + "Iconlib.res",
                             {{"12", LibraryPicture(10, 7, '2', [](int n) { return static_cast<uint32_t>(n * 3); })}})) {
        std::fprintf(stderr, "could not write the library archive\n");
        return 1;
    }
    frmMain.procExtractLibrary("12");  // extracted and loaded once, as the page has done before Play
    std::vector<std::string> cells;
    for (int cell = 0; cell < 61; ++cell) cells.push_back(BookEntry("12:" + std::to_string(cell) + ":24"));
    std::printf("%-44s %10.1f\n", "61 frames of a catalogue animation", collect(cells, ":", 1, 0, 61));
    gFilmMode = false;
    return 0;
}
