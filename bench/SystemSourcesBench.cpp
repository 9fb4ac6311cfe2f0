// Times the file-type listing of 1,000 extension keys in a registry of its own (HKEY_CLASSES_ROOT
// mapped onto a private key): the three registry passes alone, and the listing through to page 1
// shown in the loaded main window. Beside them, the floor: one plain read of each extension's
// class. Prints a table in milliseconds, the median of a few runs.
#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchProgram.h"
#include "RegistryFixture.h"
#include "TestSupport.h"
#include "common/PageMath.h"
#include "common/Paging.h"
#include "core/Folders.h"
#include "core/Registry.h"
#include "program/CoreHooks.h"
#include "mainwindow/FrmMain.h"
#include "ui/App.h"

namespace {

constexpr int kTypes = 1000;
constexpr int kRuns = 5;

// Of ten types: eight with an icon and an open command, one whose icon is "%1", one without a class.
std::string Registry() {
    const std::string shell = SystemFolder() + "\\shell32.dll";
    std::string text = "REGEDIT4\n";
    char name[16];
    for (int i = 0; i < kTypes; ++i) {
        std::snprintf(name, sizeof name, "%04d", i);
        const std::string ext = std::string(".e") + name, cls = std::string("class") + name;
        if (i % 10 == 9) {
            text += "[HKEY_CLASSES_ROOT\\" + ext + "]\n\"Content Type\"=\"text/plain\"\n";
            continue;
        }
        text += "[HKEY_CLASSES_ROOT\\" + ext + "]\n@=\"" + cls + "\"\n";
        text += "[HKEY_CLASSES_ROOT\\" + cls + "]\n@=\"Type " + name + "\"\n";
        std::string icon = i % 10 == 8 ? "%1" : shell + "," + std::to_string(i % 40);
        for (size_t at = 0; (at = icon.find('\\', at)) != std::string::npos; at += 2) icon.insert(at, "\\");
        text += "[HKEY_CLASSES_ROOT\\" + cls + "\\DefaultIcon]\n@=\"" + icon + "\"\n";
        text += "[HKEY_CLASSES_ROOT\\" + cls + "\\shell\\open\\command]\n@=\"notepad.exe %1\"\n";
    }
    return text;
}

double Listing(bool page) {
    frmMain.cmbResult.Clear();
    frmMain.lstChange.Clear();
    const double start = NowMs();
    frmMain.procGetFileTypes(HKEY_CLASSES_ROOT, "");
    if (page) {
        gPageNr = 1;
        gPageCount = PageCountFor(frmMain.cmbResult.ListCount(), gIconsPerPage);
        frmMain.procGetPage();
        UpdateWindow(frmMain.pnlResult.hwnd());
    }
    return NowMs() - start;
}

double PlainReads() {
    char name[16];
    const double start = NowMs();
    for (int i = 0; i < kTypes; ++i) {
        std::snprintf(name, sizeof name, ".e%04d", i);
        ReadRegValue(HKEY_CLASSES_ROOT, name, "");
    }
    return NowMs() - start;
}

}  // namespace

int main() {
    StartBenchProgram();
    RegistryFixture registry("SystemSourcesBench");
    double start = NowMs();
    registry.Load(Registry());
    const double written = NowMs() - start;
    frmMain.Load();
    frmMain.Show();
    gIconsPerPage = 200;

    std::vector<double> floor, passes, page;
    for (int run = 0; run < kRuns; ++run) {
        floor.push_back(PlainReads());
        passes.push_back(Listing(false));
        page.push_back(Listing(true));
    }
    std::printf("%-40s %10s %8s %8s\n", "file types of 1,000 extension keys", "ms", "entries", "lines");
    std::printf("%-40s %10.1f\n", "(writing the registry, once)", written);
    std::printf("%-40s %10.1f %8d\n", "floor: one read per extension", Median(floor), kTypes);
    std::printf("%-40s %10.1f %8d %8d\n", "registry passes (procGetFileTypes)", Median(passes),
                frmMain.cmbResult.ListCount(), frmMain.lstChange.ListCount());
    std::printf("%-40s %10.1f %8d\n", "to page 1 on screen", Median(page), frmMain.pnlResult.Count());
    frmMain.Unload();
    return 0;
}
