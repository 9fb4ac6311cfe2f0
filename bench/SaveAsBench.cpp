// Times Save As as the user runs it, the dialog answered at once: the 200 icons of a page (100
// catalogue cells and 100 high-colour .ico files) saved one after another as icons at 4, 8 and 16
// bits and as cursors, and animations of 61 and 300 frames saved as an animated cursor and as
// separate icons (collection, frame icons and the result). Prints a table in milliseconds (the
// median of three runs).
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "AniMaker.h"
#include "BenchClock.h"
#include "BenchProgram.h"
#include "LibraryMaker.h"
#include "TestSupport.h"
#include "common/PageMath.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "core/Global.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "ui/CommonDialog.h"

namespace {

std::string gAnswer;
int gAnswerIndex = 1;

bool Answer(OPENFILENAMEA& ofn) {
    lstrcpynA(ofn.lpstrFile, gAnswer.c_str(), static_cast<int>(ofn.nMaxFile));
    ofn.nFilterIndex = static_cast<DWORD>(gAnswerIndex);
    return true;
}

double MedianOf3(const std::function<double()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < 3; ++i) ms.push_back(run());
    return Median(ms);
}

void ShowPage(const std::vector<std::string>& entries) {
    frmMain.cmbResult.Clear();
    for (const std::string& e : entries) frmMain.cmbResult.AddItem(e);
    gPageCount = PageCountFor(frmMain.cmbResult.ListCount(), gIconsPerPage);
    gPageNr = 1;
    frmMain.procGetPage();
}

void Select(int item) {
    frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(item));
    frmMain.procItemSelected();
}

// Save As of `item` into `file` with the filter; only the command is timed.
double SaveAs(int item, const std::string& file, int filterIndex) {
    Select(item);
    gAnswer = file;
    gAnswerIndex = filterIndex;
    const double start = NowMs();
    frmMain.mnuFileSaveAs_Click();
    return NowMs() - start;
}

bool Exists(const std::string& file) { return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main() {
    StartBenchProgram();
    gMsgBoxHook = [](const std::string& text, UINT, const std::string&) {
        std::printf("message: %s\n", text.c_str());
        return IDOK;
    };
    gSaveFileDialog = Answer;
    frmMain.Load();
    TempDir program, temp, dir, out;
    gAppPath = program.path();
    gTempDir = temp.path();
    gIconsPerPage = 200;

    if (!WriteLibraryArchive(program.path() + "Iconlib.res",
                             {{"12", LibraryPicture(10, 10, '2', [](int n) { return static_cast<uint32_t>(n * 0x030507); })}})) {
        std::fprintf(stderr, "could not write the library archive\n");
        return 1;
    }
    std::vector<std::string> files;
    for (int i = 0; i < 100; ++i) {
        files.push_back(dir.path() + "icon" + std::to_string(i) + ".ico");
        auto bytes = formats::EncodeIconFile(FramePicture(i % 16, i), 16, formats::IconKind::Icon);
        if (!bytes || !formats::WriteFileBytes(WidePath(files.back()), *bytes)) {
            std::fprintf(stderr, "could not write %s\n", files.back().c_str());
            return 1;
        }
    }
    // A page of the type code's icons: the type decides the depth they are written at.
    auto page = [&](char typeCode) {
        std::vector<std::string> entries;
        for (int i = 0; i < 100; ++i) entries.push_back(BookEntry("12:" + std::to_string(i) + ":2" + typeCode));
        for (const std::string& f : files) entries.push_back(OpenEntry(f, 0, "x", typeCode));
        ShowPage(entries);
    };
    auto pageOfSaves = [&](const char* ext, int filterIndex) {
        return MedianOf3([&] {
            double ms = 0;
            for (int item = 1; item <= frmMain.pnlResult.Count(); ++item)
                ms += SaveAs(item, out.path() + std::to_string(item) + ext, filterIndex);
            return ms;
        });
    };

    std::printf("%-44s %10s\n", "Save As (dialog answered at once)", "ms");
    const struct {
        char type;
        const char* what;
    } depths[] = {{'0', "200 icons of a page at 4 bits"}, {'1', "200 icons of a page at 8 bits"},
                  {'2', "200 icons of a page at 16 bits"}};
    for (const auto& d : depths) {
        page(d.type);
        std::printf("%-44s %10.1f\n", d.what, pageOfSaves(".ico", 1));
    }
    page('2');
    {
        // Each cursor waits for its hotspot: the reminder is off and the picker answered at once.
        WriteSetting(setting::NoCursorChange, std::string("1"));
        HotSpotClicker clicker(160, 160);
        std::printf("%-44s %10.1f\n", "200 cursors of a page at 16 bits, picker", pageOfSaves(".cur", 2));
    }

    for (int n : {61, 300}) {
        const std::string file = dir.path() + "run" + std::to_string(n) + ".ani";
        if (!WriteAniFile(file, 1, n)) {
            std::fprintf(stderr, "could not write %s\n", file.c_str());
            return 1;
        }
        const std::vector<std::string> run = AniRunEntries(file, n);
        ShowPage(run);
        const std::string ani = out.path() + "run" + std::to_string(n) + ".ani";
        const double asAni = MedianOf3([&] { return SaveAs(1, ani, 4); });
        if (!Exists(ani)) std::printf("%s not written\n", ani.c_str());
        const std::string separate = out.path() + "sep" + std::to_string(n) + ".ico";
        const double asIcons = MedianOf3([&] { return SaveAs(1, separate, 5); });
        if (!Exists(out.path() + "sep" + std::to_string(n) + std::to_string(n) + ".ico")) std::printf("separate icons not written\n");
        std::printf("%-44s %10.1f\n", (std::to_string(n) + "-frame .ani as .ani").c_str(), asAni);
        std::printf("%-44s %10.1f\n", (std::to_string(n) + "-frame .ani as separate icons").c_str(), asIcons);
    }
    frmMain.cmbResult.Clear();
    return 0;
}
