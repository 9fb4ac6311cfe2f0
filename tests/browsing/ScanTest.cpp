// The disk scan window: its type filter on a real tree, the status counts, its settings and
// position, the empty folder, Cancel and an abort during the walk.
#include "MainFixture.h"

#include "browsing/FrmScan.h"
#include "common/Paging.h"
#include "core/Global.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"

namespace {

class ScanTest : public MainFixture {
  protected:
    void SetUp() override {
        MainFixture::SetUp();
        for (const char* f : {"a.ico", "B.DLL", "c.cur", "d.ANI", "e.exe", "f.icl", "notes.txt", "sub\\g.ico",
                              "sub\\h.txt"})
            dir.File(std::string("Tree\\") + f);
        root = dir.path() + "Tree\\";
    }
    struct Boxes {
        int all = 0, ani = 0, cur = 0, dll = 0, exe = 0, icl = 0, ico = 0, sub = 0;
    };
    static void Tick(const Boxes& b) {
        frmScan.chkALL.SetValue(b.all);
        frmScan.chkANI.SetValue(b.ani);
        frmScan.chkCUR.SetValue(b.cur);
        frmScan.chkDLL.SetValue(b.dll);
        frmScan.chkEXE.SetValue(b.exe);
        frmScan.chkICL.SetValue(b.icl);
        frmScan.chkICO.SetValue(b.ico);
        frmScan.chkScanSubDir.SetValue(b.sub);
    }
    static void StoreText(const char* name, const char* value) {
        CreateRegKey(kSettingsKey, HKEY_CURRENT_USER);
        WriteRegValue(kSettingsKey, name, value, REG_SZ);
    }
    std::string root;
};

}  // namespace

TEST_F(ScanTest, StartKeepsTheTickedTypesInAnyCaseAndCountsWhatItChecked) {
    struct Case {
        const char* name;
        Boxes boxes;
        std::set<std::string> kept;
        const char* status;
    } cases[] = {
        {"ico and dll", {.dll = 1, .ico = 1}, {"a.ico", "B.DLL"}, "8 files checked, 2 files matched your filter."},
        {"all with sub-folders", {.all = 1, .sub = 1},
         {"a.ico", "B.DLL", "c.cur", "d.ANI", "e.exe", "f.icl", "sub\\g.ico"},
         "10 files checked, 7 files matched your filter."},
        {"no box", {}, {}, "8 files checked, 0 files matched your filter."},
    };
    static std::vector<std::string> messages;
    gDoEventsHook = [] {
        if (gPanelMessage) messages.push_back(gPanelMessage->Text());
    };
    for (const Case& c : cases) {
        messages.clear();
        frmScan.Load();
        frmScan.txtDir.SetText(root);
        Tick(c.boxes);
        frmScan.cmdStart_Click();
        EXPECT_EQ(Listed(root), c.kept) << c.name;
        EXPECT_NE(std::find(messages.begin(), messages.end(), c.status), messages.end()) << c.name;
        EXPECT_TRUE(frmScan.IsLoaded()) << c.name;  // hidden and kept for the next time
        EXPECT_FALSE(frmScan.Visible()) << c.name;
        EXPECT_EQ(gScanSubDirs, c.boxes.sub == 1) << c.name;
    }
}

TEST_F(ScanTest, SettingsAndPlaceComeBackAndTheSubFolderBoxReadsAsTextOrNumber) {
    frmScan.Load();
    EXPECT_EQ(frmScan.txtDir.Text(), "");
    EXPECT_FALSE(frmScan.cmdStart.Enabled());
    frmScan.txtDir.SetText(root);
    Tick({.all = 1, .ico = 1, .sub = 1});
    EXPECT_FALSE(frmScan.chkICO.Enabled());
    EXPECT_EQ(frmScan.chkICO.Value(), 1);  // greyed, still ticked
    frmScan.cmdStart_Click();

    struct Stored {
        const char* name;
        const char* value;
    } stored[] = {{"ScanAll", "1"}, {"ScanICO", "1"}, {"ScanANI", "0"}, {"ScanCUR", "0"}, {"ScanDLL", "0"},
                  {"ScanEXE", "0"}, {"ScanICL", "0"}, {"ScanSubDir", "1"}};
    for (const Stored& s : stored) {
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kSettingsKey, s.name), Variant(s.value)) << s.name;
        EXPECT_EQ(gRegType, static_cast<DWORD>(REG_SZ)) << s.name;
    }
    EXPECT_EQ(ReadStoredSetting(setting::ScanDirectory).Text(), root);

    frmScan.Move(1500, 1200);
    frmScan.Unload();
    EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, kSettingsKey, "ScanSubDir"), Variant(1));  // a number now
    EXPECT_EQ(ReadStoredSetting(setting::ScanTop), Variant(1200));
    EXPECT_EQ(ReadStoredSetting(setting::ScanLeft), Variant(1500));

    gScanSubDirs = false;
    frmScan.Load();
    EXPECT_EQ(frmScan.txtDir.Text(), root);
    EXPECT_TRUE(frmScan.cmdStart.Enabled());
    EXPECT_EQ(frmScan.chkALL.Value(), 1);
    EXPECT_EQ(frmScan.chkICO.Value(), 1);
    EXPECT_FALSE(frmScan.chkICO.Enabled());
    EXPECT_EQ(frmScan.chkScanSubDir.Value(), 1);
    EXPECT_TRUE(gScanSubDirs);
    EXPECT_EQ(frmScan.Left(), 1500);
    EXPECT_EQ(frmScan.Top(), 1200);
    frmScan.Unload();

    struct Form {
        DWORD type;
        const char* text;
        DWORD number;
        bool sub;
    } forms[] = {{REG_SZ, "1", 0, true},    {REG_SZ, "0", 0, false},  {REG_DWORD, nullptr, 1, true},
                 {REG_DWORD, nullptr, 0, false}, {REG_SZ, "True", 0, true}, {REG_NONE, nullptr, 0, false}};
    for (const Form& f : forms) {
        HKEY k;
        RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
        RegDeleteValueA(k, "ScanSubDir");
        if (f.type == REG_SZ)
            RegSetValueExA(k, "ScanSubDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(f.text),
                           static_cast<DWORD>(strlen(f.text) + 1));
        if (f.type == REG_DWORD)
            RegSetValueExA(k, "ScanSubDir", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&f.number), sizeof f.number);
        RegCloseKey(k);
        gScanSubDirs = !f.sub;
        frmScan.Load();
        EXPECT_EQ(gScanSubDirs, f.sub) << f.type << " " << (f.text ? f.text : "") << f.number;
        EXPECT_EQ(frmScan.chkScanSubDir.Value(), f.sub ? 1 : 0);
        frmScan.Unload();
    }
}

TEST_F(ScanTest, AnEmptyFolderIsRefusedWithTheSettingsSaved) {
    frmScan.Load();
    frmScan.cmdStart.SetEnabled(true);
    Tick({.ico = 1});
    frmScan.cmdStart_Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Select a valid path!");
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(boxes[0].title, "Open by Folder");
    EXPECT_FALSE(frmScan.cmdStart.Enabled());
    EXPECT_EQ(ReadStoredSetting(setting::ScanICO), Variant("1"));
    EXPECT_TRUE(MenuEnabled(ID_mnuFile));  // nothing started
}

TEST_F(ScanTest, CancelKeepsOnlyTheSubFolderBox) {
    StoreText("ScanDirectory", "C:\\Stored");
    StoreText("ScanICO", "1");
    frmScan.Load();
    frmScan.txtDir.SetText("C:\\Typed");
    frmScan.chkICO.SetValue(0);
    frmScan.chkScanSubDir.SetValue(1);
    frmScan.cmdCancel_Click();
    EXPECT_FALSE(frmScan.IsLoaded());

    frmScan.Load();
    EXPECT_EQ(frmScan.txtDir.Text(), "C:\\Stored");
    EXPECT_EQ(frmScan.chkICO.Value(), 1);
    EXPECT_EQ(frmScan.chkScanSubDir.Value(), 1);
}

TEST_F(ScanTest, AbortDuringTheWalkShowsThePreviousResultAgain) {
    for (int i = 0; i < 200; ++i) dir.File("Big\\icon" + std::to_string(i) + ".ico");
    for (int i = 0; i < 3; ++i) frmMain.cmbResult.AddItem("C:\\before\\a" + std::to_string(i) + ".ico;0;x;2open");
    const ScopedValue<int32_t> twoPerPage(gIconsPerPage, 2);
    gPageNr = 2;
    gPageCount = 2;
    ScanAbortedDuringTheWalk(dir.path() + "Big");

    EXPECT_FALSE(frmScan.IsLoaded());
    EXPECT_FALSE(gAbort);
    EXPECT_EQ(frmMain.cmbResult.ListCount(), 3);
    EXPECT_EQ(frmMain.pnlResult.Count(), 2);
    EXPECT_EQ(Panel("area"), "Page 1 of 2");
    EXPECT_FALSE(frmMain.tmrLed.TimerEnabled()) << "the page light is for a new result";
    EXPECT_TRUE(MenuEnabled(ID_mnuFile));
    EXPECT_TRUE(frmMain.pnlNav.Enabled());
}
