// Times the Windows icon changes' own steps: the name of a new icon copy with 0, 1,000 and 4,999
// copies present, found from one listing of the copy folder, beside one open per number as a
// reference; a file type's Apply in the change window with 1,000 copies present, beside the
// copy name alone measured in the same run; and an animated cursor change of 61 frames through
// the change window (Apply alone, after a real drop), beside Save As of the same 61 frames as an
// animated cursor. Prints tables in milliseconds (the median of five runs) with the ratio of each
// pair.
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "AniMaker.h"
#include "BenchClock.h"
#include "BenchProgram.h"
#include "RegistryFixture.h"
#include "TestSupport.h"
#include "common/PageMath.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "changing/FrmChange.h"
#include "changing/IconCopies.h"
#include "core/Files.h"
#include "core/Global.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "ui/CommonDialog.h"
#include "ui/Unique.h"

namespace {

double MedianOf5(const std::function<void()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < 5; ++i) {
        const double start = NowMs();
        run();
        ms.push_back(NowMs() - start);
    }
    return Median(ms);
}

// The reference: each number tried by opening its file, until one does not open.
int FirstFreeByOpening(const std::string& folder, const std::string& extension) {
    for (int n = 1; n <= kMaxIconCopyNumber; ++n)
        if (!FileExists(folder + std::to_string(n) + extension)) return n;
    return 0;
}

void Row(const std::string& what, double ms, double referenceMs) {
    std::printf("%-40s %10.2f %14.2f %8.1fx\n", what.c_str(), ms, referenceMs, referenceMs / ms);
}

std::string gSaveAnswer;

bool AnswerSave(OPENFILENAMEA& ofn) {
    lstrcpynA(ofn.lpstrFile, gSaveAnswer.c_str(), static_cast<int>(ofn.nMaxFile));
    ofn.nFilterIndex = 4;  // animated cursor
    return true;
}

bool SelectEntry(const std::string& entry) {
    ListView& list = frmMain.pnlResult;
    for (int i = 1; i <= list.Count(); ++i)
        if (list.Item(i).Tag == entry) {
            list.SetSelectedItem(&list.Item(i));
            frmMain.procItemSelected();
            return true;
        }
    return false;
}

// The selected item dragged onto the change window's "New".
void DropSelected() {
    ClipboardData data = ClipboardData::Text(frmMain.pnlResult.SelectedItem()->Text());
    DWORD effect = DROPEFFECT_COPY;
    frmChange.picIconDrop.DragEnter(data.object(), MK_LBUTTON, POINTL{0, 0}, &effect);
    frmChange.picIconDrop.Drop(data.object(), 0, POINTL{0, 0}, &effect);
}

// The change of the current cursor Wait to an animation of 61 frames, Apply alone timed, beside
// Save As of the same frames; the user's cursor value is kept aside and comes back.
int AnimatedCursorChange(const std::string& windows, const std::string& files) {
    constexpr int kFrames = 61;
    RegistryFixture registry("ChangeBench");
    registry.Replace("Control Panel\\Cursors");
    WriteSetting(setting::SysCursorRestart, std::string("1"));
    WriteSetting(setting::SysCache, std::string("1"));
    const ScopedValue<std::string> winDir(gWinDir, windows.substr(0, windows.size() - 1));
    gSaveFileDialog = AnswerSave;
    frmMain.Load();
    const std::string ani = files + "run61.ani";
    if (!WriteAniFile(ani, 1, kFrames)) {
        std::fprintf(stderr, "could not write %s\n", ani.c_str());
        return 1;
    }
    const std::string target = DefaultCursorEntry(32514);
    std::vector<std::string> entries = AniRunEntries(ani, kFrames);
    entries.push_back(target);
    frmMain.cmbResult.Clear();
    for (const std::string& e : entries) frmMain.cmbResult.AddItem(e);
    gIconsPerPage = 200;
    gPageCount = PageCountFor(frmMain.cmbResult.ListCount(), gIconsPerPage);
    gPageNr = 1;
    frmMain.procGetPage();

    std::vector<double> change, saveAs;
    int copies = 0;
    for (int run = 0; run < 5; ++run) {
        SelectEntry(target);
        frmMain.mnuFileChange_Click();
        SelectEntry(entries.front());
        DropSelected();
        double start = NowMs();
        frmChange.mnuFileApply_Click();
        change.push_back(NowMs() - start);
        copies = FileExists(IconCopyFolder() + "1.ani") + FileExists(IconCopyFolder() + "2.ani");

        SelectEntry(entries.front());
        gSaveAnswer = files + "saved" + std::to_string(run) + ".ani";
        start = NowMs();
        frmMain.mnuFileSaveAs_Click();
        saveAs.push_back(NowMs() - start);
        if (!FileExists(gSaveAnswer)) std::printf("%s not written\n", gSaveAnswer.c_str());
    }
    if (copies != 1) std::printf("%d animated cursor copies, not 1\n", copies);
    std::printf("\n%-64s %10s %14s %9s\n", "Cursor change (goal under 300 ms)", "ms", "Save As ms", "ratio");
    const double ms = Median(change);
    std::printf("%-64s %10.2f %14.2f %8.2fx\n", "animated cursor change of 61 frames (hotspot and reminders off)", ms,
                Median(saveAs), Median(saveAs) / ms);
    frmChange.Unload();
    frmMain.cmbResult.Clear();
    frmMain.Unload();
    return 0;
}

// One Apply of a file type as the user makes it: the class handed over by File > Change, a picture
// on "New", Apply with its reminders switched off. Answers the time of the Apply alone.
double FileTypeApply() {
    frmChange.picIcon.SetIcon(CopyIcon(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION))));
    const double start = NowMs();
    frmChange.mnuFileApply_Click();
    return NowMs() - start;
}

// A file type's Apply and the copy name alone, medians in milliseconds, with the copies in
// `folder`, the Windows folder's copy folder.
std::pair<double, double> FileTypeApplyAndName(const std::string& folder) {
    CleanStore store;
    PresetQuietStart();
    RegistryFixture registry("ChangeBench");
    registry.Load("REGEDIT4\n[HKEY_CLASSES_ROOT\\.ornvtest]\n@=\"ornvtest.file\"\n"
                  "[HKEY_CLASSES_ROOT\\ornvtest.file\\DefaultIcon]\n@=\"shell32.dll,3\"\n");
    WriteSetting(setting::SysFileTypeRestart, "1");
    WriteSetting(setting::SysCache, "1");
    frmMain.Load();
    frmMain.imlResult32.Add("", LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
    frmMain.pnlResult.SetIcons(&frmMain.imlResult32);
    ListItem& item = frmMain.pnlResult.Add(-1, "", "Ornavale Test (*.ornvtest)", 1);
    item.SetSubItem(1, "File Type Icon");
    item.Tag = FileTypeEntry("shell32.dll", "3", "Ornavale Test", ".ornvtest");
    frmMain.pnlResult.SetSelectedItem(&item);
    frmMain.lstChange.AddItem(".ornvtest:ornvtest.file;shell32.dll,3;Ornavale Test;");
    frmMain.mnuFileChange_Click();

    std::vector<double> applies, names;
    for (int i = 0; i < 5; ++i) {
        applies.push_back(FileTypeApply());
        const double start = NowMs();
        FirstFreeCopyNumber(folder, ".ico");
        names.push_back(NowMs() - start);
    }
    const std::string icon = ReadRegValue(HKEY_CLASSES_ROOT, "ornvtest.file\\DefaultIcon", "").Text();
    if (icon.compare(0, folder.size(), folder) != 0) std::printf("the class names %s, no copy\n", icon.c_str());
    // The copy in use goes, so that the folder holds the copies 1 to 1,000 again.
    DeleteFileA(icon.substr(0, icon.rfind(',')).c_str());
    UnloadAllFormsExcept(nullptr);
    return {Median(applies), Median(names)};
}

}  // namespace

int main() {
    StartBenchProgram();
    {
        // The cursor change first: it loads the main window on a store of its own.
        TempDir windows, files, temp;
        const ScopedValue<std::string> tempDir(gTempDir, temp.path());
        if (const int failed = AnimatedCursorChange(windows.path(), files.path())) return failed;
    }
    TempDir dir;
    const std::string folder = dir.Folder("Icons") + "\\";

    std::printf("%-40s %10s %14s %9s\n", "Icon copy name", "ms", "open each ms", "ratio");
    int present = 0;
    std::pair<double, double> fileType;
    for (int copies : {0, 1000, 4999}) {
        for (; present < copies; ++present) {
            UniqueFile f(CreateFileA((folder + std::to_string(present + 1) + ".ico").c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!f) {
                std::fprintf(stderr, "could not make copy %d\n", present + 1);
                return 1;
            }
        }
        int listed = 0, opened = 0;
        const double ms = MedianOf5([&] { listed = FirstFreeCopyNumber(folder, ".ico"); });
        const double reference = MedianOf5([&] { opened = FirstFreeByOpening(folder, ".ico"); });
        if (listed != copies + 1 || opened != copies + 1)
            std::printf("found %d and %d, not %d\n", listed, opened, copies + 1);
        Row(std::to_string(copies) + " copies present", ms, reference);
        if (copies == 1000) {
            const ScopedValue<std::string> winDir(gWinDir, dir.path().substr(0, dir.path().size() - 1));
            fileType = FileTypeApplyAndName(folder);
        }
    }
    std::printf("\n%-40s %10s %14s %9s\n", "Change", "ms", "copy name ms", "ratio");
    Row("file-type Apply with 1,000 copies present", fileType.first, fileType.second);
    return 0;
}
