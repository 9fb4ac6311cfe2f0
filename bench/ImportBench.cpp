// Times the import window on large pictures, from the command to the preview drawn: a 4000 x 3000
// bitmap (24-bit), JPEG and GIF opened through File > Open with the dialog answered at once, and a
// 4000 x 3000 bitmap pasted from the clipboard. The files are made beforehand in the folder given
// (scripts/bench-import). Prints a table in milliseconds (the median of three runs).
//   bench_import DATA-FOLDER
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchProgram.h"
#include "mainwindow/FrmMain.h"
#include "output/FrmImport.h"
#include "ui/CommonDialog.h"
#include "ui/Unique.h"

namespace {

std::string gAnswer;

bool Answer(OPENFILENAMEA& ofn) {
    lstrcpynA(ofn.lpstrFile, gAnswer.c_str(), static_cast<int>(ofn.nMaxFile));
    return true;
}

double MedianOf3(const std::function<double()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < 3; ++i) ms.push_back(run());
    return Median(ms);
}

// Runs the command and waits for the preview to be painted.
double Timed(void (FrmImport::*command)()) {
    frmImport.picIcon.SetPicture(nullptr);
    const double start = NowMs();
    (frmImport.*command)();
    UpdateWindow(frmImport.picIcon.hwnd());
    const double ms = NowMs() - start;
    return frmImport.picIcon.HasPicture() ? ms : -1.0;
}

bool PutBigBitmap() {
    MemoryBitmap picture(4000, 3000);
    if (!picture) return false;
    for (int band = 0; band < 30; ++band) {
        RECT rows{0, band * 100, 4000, band * 100 + 100};
        UniqueBrush brush(CreateSolidBrush(RGB(band * 8, 255 - band * 8, 128)));
        FillRect(picture.dc(), &rows, brush.get());
    }
    UniqueBitmap bitmap(picture.Release());
    if (!OpenClipboard(frmImport.hwnd())) return false;
    EmptyClipboard();
    // The clipboard owns the bitmap once it took it.
    const bool put = SetClipboardData(CF_BITMAP, bitmap.get()) != nullptr;
    if (put) bitmap.release();
    CloseClipboard();
    return put;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_import DATA-FOLDER\n");
        return 2;
    }
    StartBenchProgram();
    const std::string data = std::string(argv[1]) + "\\";
    gOpenFileDialog = Answer;
    frmMain.Load();
    frmImport.Show();

    std::printf("%-44s %10s\n", "Import, command to preview (4000 x 3000)", "ms");
    const struct {
        const char* row;
        const char* file;
    } opens[] = {{"open BMP", "p.bmp"}, {"open JPEG", "p.jpg"}, {"open GIF", "p.gif"}};
    for (const auto& o : opens) {
        gAnswer = data + o.file;
        std::printf("%-44s %10.1f\n", o.row, MedianOf3([] { return Timed(&FrmImport::mnuFileOpen_Click); }));
    }
    if (PutBigBitmap())
        std::printf("%-44s %10.1f\n", "paste bitmap", MedianOf3([] { return Timed(&FrmImport::mnuEditPaste_Click); }));
    else
        std::printf("paste bitmap: the clipboard took no bitmap\n");
    frmImport.Unload();
    frmMain.Unload();
    return 0;
}
