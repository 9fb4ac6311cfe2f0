// The loaded main window for the page tests: a fresh result set shown from page 1, the status
// panels, the menu states and the pixels of the page's pictures.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "BoxRecorder.h"
#include "TestSupport.h"
#include "common/PageMath.h"
#include "common/Paging.h"
#include "core/FolderWalk.h"
#include "mainwindow/FrmMain.h"
#include "ui/App.h"
#include "ui/Unique.h"

class PagesTest : public testing::Test {
  protected:
    void SetUp() override {
        static bool started = (InitApp(GetModuleHandleA(nullptr)), gEndWhenNoForms = false, true);
        (void)started;
        PresetQuietStart();
        frmMain.Load();
        gIconsPerPage = 200;
        gFavDir.clear();
        gFavoritesMode = false;
    }
    void TearDown() override {
        gDoEventsHook = nullptr;
        frmMain.cmbResult.Clear();
        frmMain.Unload();
    }
    // A new result set, shown from page 1 as every filler does.
    void Fill(const std::vector<std::string>& entries) {
        frmMain.cmbResult.Clear();
        for (const auto& e : entries) frmMain.cmbResult.AddItem(e);
        gPageCount = PageCountFor(frmMain.cmbResult.ListCount(), gIconsPerPage);
        gPageNr = 1;
        frmMain.procGetPage();
        frmMain.procSetPageNr();
    }
    static std::string Panel(const char* key) { return frmMain.pnlStatusbar.FindPanel(key)->Text(); }
    static bool Enabled(int id) { return frmMain.Menus().Find(id)->enabled; }
    static bool Visible(int id) {
        const MenuItem* item = frmMain.Menus().Find(id);
        return item && item->visible;
    }
    TempDir dir;
    BoxRecorder recorder;
};

// The pixels of an image of the page's image list, drawn on white.
inline std::vector<COLORREF> ImagePixels(int index) {
    MemoryBitmap picture(32, 32);
    HDC dc = picture.dc();
    RECT all{0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ImageList_Draw(frmMain.imlResult32.handle(), index, dc, 0, 0, ILD_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) pixels.push_back(GetPixel(dc, x, y));
    return pixels;
}

// What the page shows for an icon the system draws: the icon over the list's back colour, where
// that colour then shows the white below.
inline std::vector<COLORREF> SystemDrawn(HICON icon, COLORREF back) {
    MemoryBitmap strip(32, 32, MemoryBitmap::Format::Rgb24, true);
    HDC dc = strip.dc();
    UniqueBrush brush(CreateSolidBrush(back));
    RECT all{0, 0, 32, 32};
    FillRect(dc, &all, brush.get());
    DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const COLORREF p = GetPixel(dc, x, y);
            pixels.push_back(p == back ? RGB(255, 255, 255) : p);
        }
    return pixels;
}

// Pixels that differ by more than the rounding of an alpha blend.
inline int Differences(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const int dr = std::abs(GetRValue(a[i]) - GetRValue(b[i]));
        const int dg = std::abs(GetGValue(a[i]) - GetGValue(b[i]));
        const int db = std::abs(GetBValue(a[i]) - GetBValue(b[i]));
        if (dr > 2 || dg > 2 || db > 2) ++n;
    }
    return n + static_cast<int>(a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}
