// The about window: the catalogue list, the version line, the system information tool, the tabs
// and where the links go.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "TestSupport.h"
#include "browsing/Favorites.h"
#include "core/FrmInfo.h"
#include "core/Global.h"
#include "core/OSVersion.h"
#include "core/ScopedValue.h"
#include "core/SplashPicture.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/MainShared.h"
#include "ui/App.h"

namespace {

struct Opened {
    HWND owner;
    std::string verb, file, parameters, folder;
    int show;
    bool nullVerb, nullParameters;
};
std::vector<Opened> gOpened;
std::vector<std::string> gStarted;

HINSTANCE RecordOpen(HWND owner, const char* verb, const char* file, const char* parameters, const char* folder,
                     int show) {
    gOpened.push_back({owner, verb ? verb : "", file ? file : "", parameters ? parameters : "", folder ? folder : "",
                       show, verb == nullptr, parameters == nullptr});
    return reinterpret_cast<HINSTANCE>(42);
}
DWORD RecordStart(const std::string& commandLine) {
    gStarted.push_back(commandLine);
    return 77;
}

void Touch(const std::string& path) { std::ofstream(path) << "x"; }

// The short date of a moment, as the system writes it.
std::string ShortDate(const SYSTEMTIME& st) {
    char text[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, text, sizeof text);
    return text;
}

// Gives the file a known modification time and answers its local date in the short format.
std::string SetDate(const std::string& path) {
    SYSTEMTIME st{2019, 3, 0, 14, 12, 0, 0, 0};
    FILETIME local{}, utc{};
    SystemTimeToFileTime(&st, &local);
    LocalFileTimeToFileTime(&local, &utc);
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
    return ShortDate(st);
}

void DeleteSysInfoKey() { RegDeleteKeyA(HKEY_LOCAL_MACHINE, FrmInfo::kSysInfoKey); }

class FrmInfoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitApp(GetModuleHandleA(nullptr));
        gEndWhenNoForms = false;
        gOpened.clear();
        gStarted.clear();
        DeleteSysInfoKey();
    }
    void TearDown() override {
        frmInfo.Unload(UnloadMode::AppWindows);
        DeleteSysInfoKey();
    }
    void Click(const Control& c) {
        SendMessageA(frmInfo.hwnd(), WM_COMMAND, MAKEWPARAM(c.id(), STN_CLICKED), reinterpret_cast<LPARAM>(c.hwnd()));
    }
    ScratchFolder dir_;
    std::string folder_ = dir_.path().string() + "\\";
    ScopedValue<std::string> appPath_{gAppPath, folder_};
    ScopedValue<ShellOpen> open_{gShellOpen, &RecordOpen};
    ScopedValue<ProgramStarter> start_{gStartProgram, &RecordStart};
    CleanStore clean_;
};

}  // namespace

TEST_F(FrmInfoTest, CatalogueLinesFollowTheFilesPresent) {
    struct Case {
        std::vector<std::string> files;
        bool index;
        std::vector<std::string> rest;
    } cases[] = {
        {{"icondata.dat", "Iconlib.res", "Iconlib1.res", "Iconlib3.res"},
         true,
         {"Core Library\tPresent", "IconUpdate 1\tPresent", "IconUpdate 3\tPresent"}},
        {{"Iconlib.res"}, false, {"Core Library\tPresent"}},
        {{}, false, {"Core Library\tNOT Present"}},
        {{"Iconlib10.res", "Iconlib11.res", "Iconlib0.res"}, false, {"Core Library\tNOT Present", "IconUpdate 10\tPresent"}},
    };
    for (const Case& c : cases) {
        ScratchFolder dir;
        std::string folder = dir.path().string() + "\\";
        for (const std::string& f : c.files) Touch(folder + f);
        std::vector<std::string> expected;
        if (c.index) expected.push_back("Index Version\t" + SetDate(folder + "icondata.dat"));
        expected.insert(expected.end(), c.rest.begin(), c.rest.end());
        EXPECT_EQ(CatalogueFileLines(folder), expected) << (c.files.empty() ? "none" : c.files.front());
    }
}

TEST_F(FrmInfoTest, VersionLineTakesFirstSecondAndFourthNumbers) {
    const std::string here = TestProgramDir();
    struct Case {
        std::string module;
        std::string line;
    } cases[] = {
        {here + "ver4.dll", "Ornavale version 4.1.1"},  // 4,1,7,1
        {here + "ver5.dll", "Ornavale version 5.0.0"},  // 5,0,2920,0
        {here + "nover.dll", ""},
        {here + "missing.dll", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ProgramVersionLine(c.module), c.line) << c.module;
}

TEST_F(FrmInfoTest, LoadListsTheCatalogueWithTheFirstLineSelected) {
    Touch(folder_ + "Iconlib.res");
    Touch(folder_ + "Iconlib2.res");
    frmInfo.Load();
    EXPECT_EQ(frmInfo.Caption(), "About Ornavale");
    ASSERT_EQ(frmInfo.txtIconUpdate.ListCount(), 2);
    EXPECT_EQ(frmInfo.txtIconUpdate.List(0), "Core Library\tPresent");
    EXPECT_EQ(frmInfo.txtIconUpdate.List(1), "IconUpdate 2\tPresent");
    EXPECT_EQ(frmInfo.txtIconUpdate.ListIndex(), 0);
    EXPECT_EQ(frmInfo.lblWinVer.Text(), gOSName);
    // The test program has no version resource: the designed caption stays.
    EXPECT_EQ(frmInfo.lblBuild.Text(), "Ornavale version");
    // Both version lines end on the logo's right edge.
    EXPECT_EQ(frmInfo.lblWinVer.Left() + frmInfo.lblWinVer.Width(), frmInfo.picLogo.Left() + frmInfo.picLogo.Width());
}

TEST_F(FrmInfoTest, LogoFillsItsBoxWhenTheMainWindowHoldsTheSplashPicture) {
    // As the splash hands it over: a picture of the splash's size, not the box's.
    frmMain.picLogo.SetPicture(MakeSplashPicture(256, 187));
    frmInfo.Load();
    frmMain.picLogo.SetPicture(nullptr);
    BITMAP shown{};
    ASSERT_TRUE(GetObjectA(frmInfo.picLogo.Picture(), sizeof shown, &shown));
    EXPECT_EQ(shown.bmWidth, TwipsToPxX(frmInfo.picLogo.Width()));
    EXPECT_EQ(shown.bmHeight, TwipsToPxY(frmInfo.picLogo.Height()));
    EXPECT_EQ(frmInfo.lblWinVer.Left() + frmInfo.lblWinVer.Width(), frmInfo.picLogo.Left() + frmInfo.picLogo.Width());
}

TEST_F(FrmInfoTest, SystemInfoOnlyWhenRegistered) {
    frmInfo.Load();
    EXPECT_FALSE(frmInfo.cmdSysInfo.Visible());
    frmInfo.Unload();

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, FrmInfo::kSysInfoKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    const std::string tool = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
    RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(tool.c_str()),
                   static_cast<DWORD>(tool.size() + 1));
    RegCloseKey(key);
    frmInfo.Load();
    EXPECT_TRUE(frmInfo.cmdSysInfo.Visible());
    EXPECT_EQ(frmInfo.cmdSysInfo.Tag, tool);
    SendMessageA(frmInfo.cmdSysInfo.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(gStarted, std::vector<std::string>{"\"" + tool + "\""});
    EXPECT_EQ(gResult.Number(), 77);
}

TEST_F(FrmInfoTest, TabsSwitchTheirFrames) {
    frmInfo.Load();
    const TabStrip& tabs = frmInfo.tabStrip;
    ASSERT_EQ(tabs.TabCount(), 4);
    struct Tab {
        const char *caption, *key, *toolTip;
    } expected[] = {{"Version", "version", ""},
                    {"Disclaimer", "disclaimer", "Disclaimer"},
                    {"Icon Resources", "libraries", "Active Ornavale Icon Libraries"},
                    {"Contact", "contact", "Contact Me"}};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(tabs.TabCaption(i), expected[i - 1].caption);
        EXPECT_EQ(tabs.TabKey(i), expected[i - 1].key);
        EXPECT_EQ(tabs.TabToolTip(i), expected[i - 1].toolTip);
    }
    EXPECT_EQ(SendMessageA(tabs.hwnd(), TCM_GETITEMCOUNT, 0, 0), 4);
    const Control* onFrame[] = {&frmInfo.picLogo, &frmInfo.lblHelp, &frmInfo.txtIconUpdate, &frmInfo.txtURL};
    auto shown = [&] {
        std::vector<int> v;
        for (int i = 0; i < 4; ++i) {
            bool control = IsWindowVisible(onFrame[i]->hwnd()) != FALSE;
            EXPECT_EQ(control, IsWindowVisible(frmInfo.fraInfo[static_cast<size_t>(i)].hwnd()) != FALSE) << i + 1;
            if (control) v.push_back(i + 1);
        }
        return v;
    };
    frmInfo.Show();
    EXPECT_EQ(frmInfo.mCurFrame, 1);
    EXPECT_EQ(shown(), std::vector<int>{1});
    for (int n : {3, 3, 4, 2, 1}) {
        frmInfo.tabStrip.SetSelectedIndex(n);
        EXPECT_EQ(frmInfo.mCurFrame, n);
        EXPECT_EQ(shown(), std::vector<int>{n});
    }
    // A reload starts on the first tab again.
    frmInfo.tabStrip.SetSelectedIndex(4);
    frmInfo.Unload();
    frmInfo.Load();
    EXPECT_EQ(frmInfo.mCurFrame, 1);
    EXPECT_EQ(frmInfo.tabStrip.SelectedIndex(), 1);
}

TEST_F(FrmInfoTest, LinksOpenThroughTheShell) {
    frmInfo.Load();
    Click(frmInfo.txtURL);
    Click(frmInfo.txtMail);
    ASSERT_EQ(gOpened.size(), 2u);
    EXPECT_EQ(gOpened[0].file, FrmInfo::kHomePage);
    EXPECT_EQ(gOpened[1].file, std::string("mailto:") + FrmInfo::kMailAddress);
    for (const Opened& o : gOpened) {
        EXPECT_EQ(o.owner, nullptr);
        EXPECT_TRUE(o.nullVerb);
        EXPECT_TRUE(o.nullParameters);
        EXPECT_EQ(o.folder, "c:\\");
        EXPECT_EQ(o.show, 1);
    }
    EXPECT_EQ(gResult.Number(), 42);
}

TEST_F(FrmInfoTest, CloseUnloads) {
    frmInfo.Load();
    SendMessageA(frmInfo.cmdOK.hwnd(), BM_CLICK, 0, 0);
    EXPECT_FALSE(frmInfo.IsLoaded());
}
