// Times the disk scan window from Start to the first page on screen: a generated tree of 5,000
// icon files (icons, cursors and icon libraries in nested folders) and a copy of the system
// folder. Prints the files checked, the files kept, the icons listed and the milliseconds, then the
// walk and the listing on their own, and beside them the bare cost of opening, reading and closing
// the same files, which no listing can beat, and the scan's ratio to it.
//   bench_scan.exe [folder]   builds the trees in folder and leaves them there (scripts/bench
//                             lists the same files with icoutils afterwards); else in a temporary one.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchProgram.h"
#include "IconMaker.h"
#include "TestSupport.h"
#include "browsing/FrmScan.h"
#include "common/OpenPaths.h"
#include "core/FolderWalk.h"
#include "program/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "ui/App.h"

namespace {

void MakeFolders(const std::string& path) {
    for (size_t slash = path.find('\\', 3); slash != std::string::npos; slash = path.find('\\', slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

// 5,000 files in 50 folders of 10 sub-folders: of every ten, eight icons, one cursor, one library.
void MakeTree(const std::string& root) {
    const std::string library = TestProgramDir() + "bench_iconlib.dll";
    for (int i = 0; i < 5000; ++i) {
        const std::string folder = root + "set" + std::to_string(i / 100) + "\\part" + std::to_string(i / 10 % 10);
        if (i % 10 == 0) MakeFolders(folder);
        const std::string base = folder + "\\icon" + std::to_string(i);
        switch (i % 10) {
            case 8: WriteIconFile(base + ".cur", 0x102030u * static_cast<uint32_t>(i % 7 + 1), true); break;
            case 9: CopyFileA(library.c_str(), (base + ".dll").c_str(), FALSE); break;
            default: WriteIconFile(base + ".ico", 0x302010u * static_cast<uint32_t>(i % 5 + 1)); break;
        }
    }
}

// The files of the system folder itself (not its sub-folders).
void CopySystemFolder(const std::string& target) {
    MakeFolders(target);
    char system[MAX_PATH] = {};
    GetSystemDirectoryA(system, MAX_PATH);
    const std::string from = std::string(system) + "\\";
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((from + "*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        CopyFileA((from + found.cFileName).c_str(), (target + "\\" + found.cFileName).c_str(), FALSE);
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

// What the system itself costs: each kept file opened, its first 4 KB read and closed, on one
// thread, with nothing parsed.
double OpenReadClose(const HiddenList& files) {
    const double start = NowMs();
    for (int i = 0; i < files.ListCount(); ++i) {
        HANDLE file = CreateFileA(files.List(i).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) continue;
        char head[4096];
        DWORD got = 0;
        ReadFile(file, head, sizeof head, &got, nullptr);
        CloseHandle(file);
    }
    return NowMs() - start;
}

// The two halves of a scan on their own: the walk with the type filter, and the listing of the
// kept files up to the first page.
void Halves(const std::string& folder) {
    FrmMain& main = frmMain;
    main.lstFiles.Clear();
    double start = NowMs();
    std::string path = folder;
    int32_t files = 0, folders = 0;
    ScanFolderTree(path, "*.*", files, folders);
    KeepFiles(main.lstFiles, IsIconFileName);
    std::printf("%-34s %8d %8d %8s %10.1f\n", "  walk and filter", files, main.lstFiles.ListCount(), "",
                NowMs() - start);
    main.cmbResult.Clear();
    start = NowMs();
    main.procSetAbort(false);
    main.procSearchOpen();
    std::printf("%-34s %8s %8d %8d %10.1f\n", "  listing to the first page", "", main.lstFiles.ListCount(),
                main.cmbResult.ListCount(), NowMs() - start);

    start = NowMs();
    main.procGetPage();
    std::printf("%-34s %8s %8s %8d %10.1f\n", "  the first page again", "", "", std::min(main.cmbResult.ListCount(), 200),
                NowMs() - start);
}

double ScanOnce(const std::string& folder) {
    frmScan.Load();
    frmScan.txtDir.SetText(folder);
    frmScan.chkALL.SetValue(1);
    frmScan.chkScanSubDir.SetValue(1);
    frmMain.cmbResult.Clear();
    const double start = NowMs();
    frmScan.cmdStart_Click();
    return NowMs() - start;
}

// Timings here drift with the load of the machine: the scan runs kRuns times, each beside a run of
// the floor over the files it kept, and the middle time of each counts.
constexpr int kRuns = 5;

void Scan(const char* what, const std::string& folder) {
    std::vector<double> scans, floors;
    for (int k = 0; k < kRuns; ++k) {
        scans.push_back(ScanOnce(folder));
        floors.push_back(OpenReadClose(frmMain.lstFiles));
    }
    const int checked = gFileCount, kept = frmMain.lstFiles.ListCount(), icons = frmMain.cmbResult.ListCount();
    const double scan = Median(scans), floor = Median(floors);
    std::printf("%-34s %8d %8d %8d %10.1f\n", what, checked, kept, icons, scan);
    Halves(folder);
    std::printf("%-34s %8s %8d %8s %10.1f\n", "  open, read 4 KB, close each file", "", kept, "", floor);
    std::printf("%-34s %8s %8s %8s %10.2f\n", "  scan / open, read, close", "", "", "", floor > 0 ? scan / floor : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    StartBenchProgram();
    std::unique_ptr<TempDir> temp;
    std::string root;
    if (argc > 1) {
        root = argv[1];
        if (root.back() != '\\') root += '\\';
    } else {
        temp = std::make_unique<TempDir>();
        root = temp->path();
    }
    MakeTree(root + "tree\\");
    CopySystemFolder(root + "system");

    frmMain.Load();
    frmMain.Show();
    std::printf("%-34s %8s %8s %8s %10s\n", "scan (all types, sub-folders)", "checked", "kept", "icons", "ms");
    Scan("generated tree of 5,000 files", root + "tree");
    Scan("copy of the system folder", root + "system");
    UnloadAllFormsExcept(nullptr);
    return 0;
}
