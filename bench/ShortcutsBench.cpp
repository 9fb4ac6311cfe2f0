// Times the shortcut listing: 500 links in 20 folders under the Start Menu, made once from a few
// links written by the shell-link component and copied; the walk alone, the reading of every link,
// the shell's own loading of them for comparison, and the whole listing to page 1 on screen.
// Prints a table in milliseconds (the median of three runs).
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchProgram.h"
#include "TestSupport.h"
#include "common/ShellLink.h"
#include "core/Files.h"
#include "core/FolderWalk.h"
#include "core/ShellFolders.h"
#include "program/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "ui/App.h"
#include "ui/Unique.h"

namespace {

constexpr int kFolders = 20, kLinks = 500;

double MedianOf3(const std::function<void()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < 3; ++i) {
        const double start = NowMs();
        run();
        ms.push_back(NowMs() - start);
    }
    return Median(ms);
}

// The shell's link object loading each file, and nothing else.
void ShellLoadAll(const std::vector<std::string>& links) {
    for (const std::string& lnk : links) {
        UniqueCom<IShellLinkA> link;
        UniqueCom<IPersistFile> file;
        if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(link.put()))) &&
            SUCCEEDED(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))))
            file.get()->Load(WidePath(lnk).wstring().c_str(), STGM_READ);
    }
}

}  // namespace

int main() {
    StartBenchProgram();
    TempDir dir;

    // A few kinds of link, as a Start Menu holds them; one of five gives no icon.
    const std::string app = dir.path() + "app.exe";
    struct Kind {
        const char* icon;
        std::string target;
    };
    const Kind kinds[] = {{"", app}, {"shell32.dll", app}, {"%SystemRoot%\\system32\\shell32.dll", app},
                          {"C:\\icons\\a.ico", app}, {"", dir.path() + "readme.txt"}};
    std::vector<std::string> models;
    for (const Kind& k : kinds) {
        models.push_back(dir.path() + "model" + std::to_string(models.size()) + ".lnk");
        ShellLinkObject().WriteLink(models.back(), k.target, dir.path(), "-x", k.icon, 1, 1);
    }
    const std::string root = GetSpecialFolder(CSIDL_STARTMENU) + "Ornavale bench\\";
    std::vector<std::string> links;
    for (int i = 0; i < kLinks; ++i) {
        const std::string folder = root + "Folder " + std::to_string(i % kFolders) + "\\";
        std::filesystem::create_directories(WidePath(folder));
        links.push_back(folder + "Program " + std::to_string(i) + ".lnk");
        std::filesystem::copy_file(WidePath(models[static_cast<size_t>(i) % models.size()]), WidePath(links.back()),
                                   std::filesystem::copy_options::overwrite_existing);
    }

    frmMain.Load();
    frmMain.Show();
    std::printf("%-34s %10s %8s\n", "operation", "ms", "count");
    const double walk = MedianOf3([&] {
        frmMain.lstFiles.Clear();
        gScanSubDirs = true;
        std::string path = root;
        ScanFolderTree(path, "*.lnk", gFileCount, gDirCount);
        gScanSubDirs = false;
    });
    std::printf("%-34s %10.1f %8d\n", "walk of the 20 folders", walk, frmMain.lstFiles.ListCount());
    const double shell = MedianOf3([&] { ShellLoadAll(links); });
    std::printf("%-34s %10.1f %8d\n", "the shell's Load of each link", shell, kLinks);
    const double read = MedianOf3([&] {
        for (const std::string& lnk : links) {
            std::string exe, workDir, args, icon;
            int32_t index = 0, show = 0;
            ShellLinkObject().ReadLink(lnk, exe, workDir, args, icon, index, show);
        }
    });
    std::printf("%-34s %10.1f %8d\n", "ReadLink of each link", read, kLinks);
    const double listing = MedianOf3([&] {
        frmMain.procSearchShortcuts("Start Menu");
        UpdateWindow(frmMain.pnlResult.hwnd());
    });
    std::printf("%-34s %10.1f %8d\n", "listing to page 1 on screen", listing, frmMain.cmbResult.ListCount());
    std::printf("%-34s %10.2f\n", "  ReadLink / the shell's Load", read / shell);

    frmMain.Unload();
    std::error_code ignored;
    std::filesystem::remove_all(WidePath(root), ignored);
    return 0;
}
