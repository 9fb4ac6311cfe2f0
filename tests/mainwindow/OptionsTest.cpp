// The options dialog: what it shows from the settings, what Apply stores and puts into effect, the
// external editor's questions, the mask colour and the program's own shortcuts.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <deque>
#include <string>
#include <vector>

#include "MainWindowFixture.h"
#include "RegistryFixture.h"
#include "TestSupport.h"
#include "common/Paging.h"
#include "common/ResultEntry.h"
#include "core/FolderWalk.h"
#include "core/Global.h"
#include "core/Registry.h"
#include "core/ScopedValue.h"
#include "core/Files.h"
#include "core/Settings.h"
#include "formats/FileBytes.h"
#include "formats/LinkFile.h"
#include "IconMaker.h"
#include "mainwindow/FrmOptions.h"
#include "mainwindow/MainShared.h"
#include "mainwindow/Options.h"
#include "ui/App.h"
#include "ui/CommonDialog.h"
#include "ui/Unique.h"

namespace {

// The answers the next message boxes give, in order; IDOK once they run out.
std::deque<int>& gAnswers = BoxRecorder::answers;
// "title|text" of each box.
std::vector<std::string> Asked() {
    std::vector<std::string> asked;
    for (const ShownBox& box : BoxRecorder::boxes) asked.push_back(box.title + "|" + box.text);
    return asked;
}
// The file the next open dialogs choose, in order; "" cancels.
std::deque<std::string> gChosen;

// A text as a REGEDIT4 string holds it.
std::string Reg(std::string text) {
    for (size_t at = 0; (at = text.find('\\', at)) != std::string::npos; at += 2) text.insert(at, "\\");
    return text;
}

// A stored setting as "sz:text" or "dword:n"; "" when missing.
std::string Stored(const char* name) {
    UniqueKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return "";
    char data[1024] = {};
    DWORD size = sizeof data, type = 0;
    if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
        return "";
    if (type == REG_DWORD) return "dword:" + std::to_string(*reinterpret_cast<DWORD*>(data));
    return (type == REG_SZ ? "sz:" : "type" + std::to_string(type) + ":") + std::string(data);
}

class OptionsTest : public MainWindowTest {
  protected:
    OptionsTest() : registry_(testing::UnitTest::GetInstance()->current_test_info()->name()) {}

    void SetUp() override {
        MainWindowTest::SetUp();
        gChosen.clear();
        savedDialog_ = gOpenFileDialog;
        gOpenFileDialog = [](OPENFILENAMEA& ofn) {
            std::string file = gChosen.empty() ? "" : gChosen.front();
            if (!gChosen.empty()) gChosen.pop_front();
            if (file.empty()) return false;
            lstrcpynA(ofn.lpstrFile, file.c_str(), static_cast<int>(ofn.nMaxFile));
            return true;
        };
        savedApp_ = gAppPath;
        gAppPath = dir_.path();
        dir_.File("Ornavale.exe");
        registry_.Map(HKEY_CLASSES_ROOT);
        gDCAction = "None";
        gDCZoom = 4;
        gUseMask = false;
        gIconsPerPage = 200;
        gFavDir = dir_.Folder("Favorites") + "\\";
        frmMain.cmbResult.Clear();
    }
    void TearDown() override {
        frmOptions.Unload();
        frmMain.cmbResult.Clear();
        gOpenFileDialog = savedDialog_;
        gAppPath = savedApp_;
        const std::string sendTo = SendToShortcutPath(), desktop = DesktopShortcutPath();
        DeleteFileA(sendTo.c_str());
        DeleteFileA(desktop.c_str());
        MainWindowTest::TearDown();
    }
    // The settings key holding only these REGEDIT4 value lines.
    void Settings(const std::string& values) {
        registry_.Replace(kSettingsKey);
        DeleteRegTree(HKEY_CURRENT_USER, kSettingsKey);
        registry_.Load("REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Ornavale\\Settings]\n\"ExtEditMessage\"=\"1\"\n" +
                       values);
    }
    std::string SelectedOption() {
        const std::pair<const char*, OptionButton*> options[] = {
            {"None", &frmOptions.optNone}, {"Copy", &frmOptions.optCopy}, {"Save", &frmOptions.optSave},
            {"Zoom", &frmOptions.optZoom}, {"Prop", &frmOptions.optProp}, {"EditWith", &frmOptions.optEditWith}};
        std::string selected;
        for (auto [name, option] : options)
            if (option->Value()) selected += name;
        return selected;
    }

    RegistryFixture registry_;
    TempDir dir_;
    FileDialog savedDialog_ = nullptr;
    std::string savedApp_;
};

}  // namespace

TEST_F(OptionsTest, LoadShowsTheStoredOptions) {
    const std::string editor = dir_.File("Tools\\IconEdit.exe");
    struct Case {
        const char* what;
        std::string values;
        int32_t perPage;
        const char* action;
        int32_t zoom;
        int pageRow;
        int restart, rebuild, ico, dll;
        const char* option;
        int zoomRow;
    };
    const Case cases[] = {
        {"nothing stored", "", 150, "None", 4, 7, 0, 0, 0, 0, "None", 4},
        {"one of each reminder", "\"SysCursorRestart\"=\"1\"\n\"SysCache\"=\"1\"\n\"AsoICO\"=\"1\"\n", 123, "Copy", 0,
         -1, 2, 2, 1, 0, "Copy", 0},
        {"two rebuild reminders, stored as numbers with a sign",
         "\"SysCursorRestart\"=\"-1\"\n\"SysFileTypeRestart\"=\"1\"\n\"SysCache\"=\"1\"\n\"FolderCache\"=\"1\"\n"
         "\"AsoDLL\"=\"1\"\n",
         10, "Save", 2, 0, 1, 2, 0, 1, "Save", 2},
        {"all reminders", "\"ShortcutCache\"=\"1\"\n\"SysCache\"=\"1\"\n\"FolderCache\"=\"1\"\n", 200, "Zoom", 7, 8, 0,
         1, 0, 0, "Zoom", -1},
        {"properties", "", 200, "Prop", 1, 8, 0, 0, 0, 0, "Prop", 1},
        {"an editor that is there",
         "\"ExtEditFile\"=\"IconEdit.exe\"\n\"ExtEditFolder\"=\"" + Reg(dir_.path() + "Tools\\") + "\"\n",
         200, "EditWith", 3, 8, 0, 0, 0, 0, "EditWith", 3},
        {"an action the dialog does not know", "", 200, "Explode", 4, 8, 0, 0, 0, 0, "", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Settings(c.values);
        gIconsPerPage = c.perPage;
        gDCAction = c.action;
        gDCZoom = c.zoom;
        frmOptions.Load();
        EXPECT_EQ(frmOptions.cmbIconsPerPage.ListIndex(), c.pageRow);
        EXPECT_EQ(frmOptions.chkRestart.Value(), c.restart);
        EXPECT_EQ(frmOptions.chkRebuild.Value(), c.rebuild);
        EXPECT_EQ(frmOptions.chkAsoICO.Value(), c.ico);
        EXPECT_EQ(frmOptions.chkAsoDLL.Value(), c.dll);
        EXPECT_EQ(SelectedOption(), c.option);
        EXPECT_EQ(frmOptions.lstZoom.ListIndex(), c.zoomRow);
        // Loading chooses nothing: the action stays as it was.
        EXPECT_EQ(gDCAction, c.action);
        EXPECT_EQ(frmOptions.optEditWith.Enabled(), std::string(c.action) == "EditWith");
        EXPECT_TRUE(Asked().empty());
        frmOptions.Unload();
    }
    (void)editor;
}

TEST_F(OptionsTest, SendToBoxFollowsTheShortcutFile) {
    Settings("");
    const std::string link = SendToShortcutPath();
    ASSERT_FALSE(link.empty());
    DeleteFileA(link.c_str());
    frmOptions.Load();
    EXPECT_EQ(frmOptions.chkSendTo.Value(), 0);
    frmOptions.Unload();
    dir_.File("any");
    ASSERT_TRUE(CopyFileA((dir_.path() + "any").c_str(), link.c_str(), FALSE));
    frmOptions.Load();
    EXPECT_EQ(frmOptions.chkSendTo.Value(), 1);
}

TEST_F(OptionsTest, ApplyStoresEachValueWithItsType) {
    struct Case {
        const char* what;
        int box;  // the value given to every box
        std::vector<std::pair<const char*, std::string>> expected;
    };
    const Case cases[] = {
        {"checked", 1,
         {{"DCAction", "sz:Copy"}, {"DCZoom", "dword:1"}, {"DCPlay", "sz:1"}, {"DCRef", "sz:1"}, {"DCRun", "sz:1"},
          {"DCChange", "sz:1"}, {"SearchFav", "sz:1"}, {"UseMask", "sz:False"}, {"MaskColor", "sz:-2147483647"},
          {"SysCursorRestart", "sz:1"}, {"SysFileTypeRestart", "sz:1"}, {"SysCache", "sz:1"},
          {"ShortcutCache", "sz:1"}, {"FolderCache", "sz:1"}, {"AsoICO", "sz:1"}, {"AsoDLL", "sz:1"},
          {"AsoANI", "sz:1"}, {"AsoCUR", "sz:1"}, {"AsoICL", "sz:1"}, {"ExtEditFile", ""}, {"FavDir", ""},
          {"IconsPerPage", ""}}},
        {"grey reminders write nothing", 2,
         {{"SysCursorRestart", ""}, {"SysFileTypeRestart", ""}, {"SysCache", ""}, {"ShortcutCache", ""},
          {"FolderCache", ""}}},
        {"unchecked", 0,
         {{"DCPlay", "sz:0"}, {"SearchFav", "sz:0"}, {"UseMask", "sz:True"}, {"MaskColor", "sz:-2147483647"},
          {"SysCursorRestart", "sz:0"}, {"FolderCache", "sz:0"}, {"AsoICO", "sz:0"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Settings("");
        gMaskColor = 0x80000001;
        frmOptions.Load();
        frmOptions.optCopy.SetValue(true);
        frmOptions.lstZoom.SetListIndex(1);
        frmOptions.optCopy.SetValue(true);
        for (CheckBox* box : {&frmOptions.chkPlay, &frmOptions.chkRef, &frmOptions.chkRun, &frmOptions.chkChange,
                              &frmOptions.chkSearchFav, &frmOptions.chkRestart, &frmOptions.chkRebuild,
                              &frmOptions.chkAsoICO, &frmOptions.chkAsoDLL, &frmOptions.chkAsoANI,
                              &frmOptions.chkAsoCUR, &frmOptions.chkAsoICL, &frmOptions.chkMaskUseBackground})
            box->SetValue(c.box);
        frmOptions.cmdApply_Click();
        for (const auto& [name, value] : c.expected) EXPECT_EQ(Stored(name), value) << name;
        EXPECT_EQ(gDCZoom, 1);
        EXPECT_EQ(gDCPlay, c.box != 0);
        EXPECT_EQ(gSearchFav, c.box != 0);
        EXPECT_EQ(gUseMask, c.box == 0);
        EXPECT_TRUE(Asked().empty());
        frmOptions.Unload();
    }
}

// Each box the user ticks and closes the dialog with is ticked at the next opening.
TEST_F(OptionsTest, BoxesTickedAndClosedAreTickedAtTheNextOpening) {
    Settings("");
    gSearchFav = gDCPlay = gDCRef = gDCRun = gDCChange = false;
    frmMain.pnlResult.SetHotTracking(false);
    CheckBox FrmOptions::*boxes[] = {&FrmOptions::chkSearchFav, &FrmOptions::chkHoverSelection, &FrmOptions::chkPlay,
                                     &FrmOptions::chkRef,       &FrmOptions::chkRun,            &FrmOptions::chkChange,
                                     &FrmOptions::chkAsoICO,    &FrmOptions::chkSendTo,         &FrmOptions::chkRestart,
                                     &FrmOptions::chkRebuild};
    frmOptions.Load();
    for (auto box : boxes) {
        CheckBox& b = frmOptions.*box;
        ASSERT_EQ(b.Value(), 0);
        SendMessageA(frmOptions.hwnd(), WM_COMMAND, MAKEWPARAM(b.id(), BN_CLICKED), reinterpret_cast<LPARAM>(b.hwnd()));
    }
    frmOptions.cmdOK_Click();
    EXPECT_EQ(Stored("SearchFav"), "sz:1");
    frmOptions.Load();
    for (auto box : boxes) EXPECT_EQ((frmOptions.*box).Value(), 1) << (frmOptions.*box).id();
    gSearchFav = gDCPlay = gDCRef = gDCRun = gDCChange = false;
    frmMain.pnlResult.SetHotTracking(false);
}

TEST_F(OptionsTest, ApplyKeepsAZoomTheListCannotShow) {
    Settings("\"DCZoom\"=dword:00000007\n");
    gDCZoom = 7;
    frmOptions.Load();
    frmOptions.cmdApply_Click();
    EXPECT_EQ(gDCZoom, 7);
    EXPECT_EQ(Stored("DCZoom"), "dword:7");
}

TEST_F(OptionsTest, NewPageSizeRepagesTheResultSet) {
    Settings("");
    const std::string icon = dir_.path() + "a.ico";
    ASSERT_TRUE(WriteIconFile(icon, 0xFF0000));
    for (int i = 0; i < 450; ++i) frmMain.cmbResult.AddItem(OpenEntry(icon, 0, "x", '2'));
    gIconsPerPage = 20;
    gPageCount = 23;
    gPageNr = 5;
    frmOptions.Load();
    frmOptions.cmbIconsPerPage.SetListIndex(8);  // 200
    frmOptions.cmdApply_Click();
    EXPECT_EQ(gIconsPerPage, 200);
    EXPECT_EQ(gPageCount, 3);
    EXPECT_EQ(gPageNr, 3);
    EXPECT_EQ(frmMain.pnlResult.Count(), 50);

    // With no result set only the size is taken over.
    frmMain.cmbResult.Clear();
    gPageCount = 7;
    gPageNr = 6;
    frmOptions.cmbIconsPerPage.SetListIndex(0);
    frmOptions.cmdApply_Click();
    EXPECT_EQ(gIconsPerPage, 10);
    EXPECT_EQ(gPageCount, 7);
    EXPECT_EQ(gPageNr, 6);
    EXPECT_EQ(Stored("IconsPerPage"), "");
}

TEST_F(OptionsTest, ChangedFavoritesFolderRebuildsTheBranch) {
    Settings("");
    const std::string other = dir_.Folder("Other");
    dir_.Folder("Other\\Weather");
    frmOptions.Load();
    // Unchanged: the branch stays as it is, marker included.
    frmMain.pnlNav.Add("favori", tvwChild, "favori\\marker", "marker", "bookfav");
    frmOptions.cmdApply_Click();
    EXPECT_TRUE(frmMain.pnlNav.Exists("favori\\marker"));
    EXPECT_EQ(Stored("FavDir"), "");

    frmOptions.txtFavHomeDir.SetText(other);
    frmOptions.cmdApply_Click();
    EXPECT_EQ(gFavDir, other + "\\");
    EXPECT_EQ(Stored("FavDir"), "sz:" + other + "\\");
    EXPECT_FALSE(frmMain.pnlNav.Exists("favori\\marker"));
    EXPECT_TRUE(frmMain.pnlNav.Exists("favori\\Weather"));
    EXPECT_EQ(frmMain.pnlNav.Find("favori")->text, gFavoritesName);
}

TEST_F(OptionsTest, EditWithQuestionsDropTheEditorOnlyOnTheirOwnNo) {
    const std::string editor = dir_.File("Edit\\IconEdit.exe");
    const std::string question = "Browse for External Icon Editor|The current selected External Icon Editor is not "
                                 "valid.\nDo you want to select another External Icon Editor?";
    struct Case {
        const char* what;
        std::vector<int> answers;
        std::vector<std::string> chosen;
        bool editorThere;
        int32_t staleResult;
        const char* action;    // gDCAction afterwards
        const char* option;    // the option selected afterwards
        bool editWithEnabled;
        const char* text;      // txtEdit afterwards
        size_t questions;
    };
    const Case cases[] = {
        {"No clears the editor", {IDNO}, {}, false, 0, "None", "None", false, "", 1},
        {"Yes, then the browse cancelled", {IDYES}, {""}, false, 0, "EditWith", "", false, "Gone.exe", 1},
        {"an editor that is there, with a No left over from before", {}, {}, true, IDNO, "EditWith", "EditWith", true,
         "IconEdit.exe", 0},
        {"Yes, then a missing file and No", {IDYES, IDNO}, {dir_.path() + "Nothing.exe"}, false, 0, "None", "None",
         false, "", 2},
        {"Yes, then a missing file, Yes and an editor", {IDYES, IDYES}, {dir_.path() + "Nothing.exe", editor}, false,
         IDNO, "EditWith", "EditWith", true, "IconEdit.exe", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.editorThere)
            Settings("\"ExtEditFile\"=\"IconEdit.exe\"\n\"ExtEditFolder\"=\"" + Reg(dir_.path() + "Edit\\") + "\"\n");
        else
            Settings("\"ExtEditFile\"=\"Gone.exe\"\n\"ExtEditFolder\"=\"C:\\\\Nowhere\\\\\"\n");
        frmOptions.Load();
        frmOptions.optNone.SetValue(true);
        gAnswers.assign(c.answers.begin(), c.answers.end());
        gChosen.assign(c.chosen.begin(), c.chosen.end());
        BoxRecorder::boxes.clear();
        gResult = c.staleResult;
        frmOptions.optEditWith.SetValue(true);
        EXPECT_EQ(gDCAction, c.action);
        EXPECT_EQ(SelectedOption(), c.option);
        EXPECT_EQ(frmOptions.optEditWith.Enabled(), c.editWithEnabled);
        EXPECT_EQ(frmOptions.txtEdit.Text(), c.text);
        ASSERT_EQ(Asked().size(), c.questions);
        if (c.questions) {
            EXPECT_EQ(Asked()[0], question);
        }
        EXPECT_FALSE(frmOptions.mEditWithBrowse);
        frmOptions.Unload();
    }
}

TEST_F(OptionsTest, ALaterCancelledBrowseKeepsTheEditor) {
    const std::string editor = dir_.File("Edit\\IconEdit.exe");
    Settings("\"ExtEditFile\"=\"Gone.exe\"\n");
    frmOptions.Load();
    gAnswers = {IDYES};
    gChosen = {editor};
    frmOptions.optEditWith.SetValue(true);
    ASSERT_TRUE(frmOptions.optEditWith.Enabled());
    gChosen = {""};
    frmOptions.cmdBrowseEdit_Click();
    EXPECT_TRUE(frmOptions.optEditWith.Enabled());
    EXPECT_TRUE(frmOptions.optEditWith.Value());
    EXPECT_EQ(frmOptions.txtEdit.Tag + frmOptions.txtEdit.Text(), editor);
    frmOptions.cmdApply_Click();
    EXPECT_EQ(Stored("ExtEditFile"), "sz:IconEdit.exe");
    EXPECT_EQ(Stored("ExtEditFolder"), "sz:" + dir_.path() + "Edit\\");
}

TEST_F(OptionsTest, CancelKeepsTheNewActionAndStoresNothing) {
    Settings("");
    frmOptions.Load();
    frmOptions.optCopy.SetValue(true);
    frmOptions.chkSearchFav.SetValue(1);
    SendMessageA(frmOptions.hwnd(), WM_COMMAND, MAKEWPARAM(frmOptions.cmdCancel.id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(frmOptions.cmdCancel.hwnd()));
    EXPECT_FALSE(frmOptions.IsLoaded());
    EXPECT_EQ(gDCAction, "Copy");
    EXPECT_EQ(Stored("DCAction"), "");
    EXPECT_EQ(Stored("SearchFav"), "");
    EXPECT_FALSE(gSearchFav);
}

TEST_F(OptionsTest, CustomColourTakesEffectAtOnce) {
    Settings("");
    ColorPicker saved = gColorPicker;
    gUseMask = true;
    gMaskColor = 0x80000005;
    frmOptions.Load();
    EXPECT_TRUE(frmOptions.cmdMaskCustom.Enabled());
    frmOptions.cmbMaskSystemColor.SetListIndex(7);
    EXPECT_EQ(frmOptions.shpMaskColor.BackColor(), 0x8000000Du);
    gColorPicker = [](CHOOSECOLORA& c) {
        EXPECT_TRUE(c.Flags & CC_FULLOPEN);
        c.rgbResult = RGB(1, 2, 3);
        return true;
    };
    frmOptions.cmdMaskCustom_Click();
    EXPECT_EQ(gMaskColor, static_cast<uint32_t>(RGB(1, 2, 3)));
    EXPECT_EQ(frmOptions.shpMaskColor.BackColor(), static_cast<uint32_t>(RGB(1, 2, 3)));
    EXPECT_EQ(frmOptions.cmbMaskSystemColor.ListIndex(), 0);
    gColorPicker = [](CHOOSECOLORA&) { return false; };
    frmOptions.cmdMaskCustom_Click();
    EXPECT_EQ(gMaskColor, static_cast<uint32_t>(RGB(1, 2, 3)));
    gColorPicker = saved;
    frmOptions.cmdApply_Click();
    EXPECT_EQ(Stored("MaskColor"), "sz:" + std::to_string(RGB(1, 2, 3)));
    EXPECT_EQ(Stored("UseMask"), "sz:True");
}

TEST_F(OptionsTest, ShortcutsPointAtTheProgram) {
    Settings("");
    frmOptions.Load();
    frmOptions.chkSendTo.SetValue(1);
    frmOptions.cmdApply_Click();
    frmOptions.cmdDesktop_Click();
    EXPECT_TRUE(Asked().empty());
    const std::string links[] = {SendToShortcutPath(), DesktopShortcutPath()};
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    for (const std::string& lnk : links) {
        SCOPED_TRACE(lnk);
        UniqueCom<IShellLinkA> link;
        ASSERT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(link.put())),
                  S_OK);
        UniqueCom<IPersistFile> file;
        ASSERT_EQ(link.get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())), S_OK);
        ASSERT_EQ(file.get()->Load(WidePath(lnk).wstring().c_str(), STGM_READ), S_OK);
        char text[1024] = {};
        int index = -1;
        link.get()->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH);
        EXPECT_EQ(std::string(text), dir_.path() + "Ornavale.exe");
        link.get()->GetWorkingDirectory(text, sizeof text);
        EXPECT_EQ(std::string(text), dir_.path());
        link.get()->GetArguments(text, sizeof text);
        EXPECT_EQ(std::string(text), "");
        link.get()->GetIconLocation(text, sizeof text, &index);
        EXPECT_EQ(std::string(text), dir_.path() + "Ornavale.exe");
        EXPECT_EQ(index, 0);
        auto bytes = formats::ReadFileBytes(WidePath(lnk), 1 << 20);
        ASSERT_TRUE(bytes);
        auto header = formats::CheckLinkFile(*bytes);
        ASSERT_TRUE(header) << header.error();
        EXPECT_EQ(header->showCommand, 1u);
    }

    // Unchecked, the next Apply takes the Send To shortcut away, and once it is gone that is no failure.
    frmOptions.chkSendTo.SetValue(0);
    frmOptions.cmdApply_Click();
    frmOptions.cmdApply_Click();
    EXPECT_FALSE(FileExists(links[0]));
    EXPECT_TRUE(Asked().empty());
}

TEST_F(OptionsTest, FailuresAreToldOnceAndNoAssociationIsStoredAsMade) {
    Settings("\"AsoICO\"=\"0\"\n");
    // Below a volatile key no lasting key can be made: every association fails.
    const std::string path =
        std::string("Software\\OrnavaleTest\\") + testing::UnitTest::GetInstance()->current_test_info()->name();
    UniqueKey locked;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, (path + "\\locked").c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, locked.put(), nullptr),
              ERROR_SUCCESS);
    ASSERT_EQ(RegOverridePredefKey(HKEY_CLASSES_ROOT, locked.get()), ERROR_SUCCESS);
    // Nor can a shortcut replace a folder of its name.
    const std::string sendTo = SendToShortcutPath();
    ASSERT_TRUE(CreateDirectoryA(sendTo.c_str(), nullptr));
    frmOptions.Load();
    // Checked boxes write; unchecked ones find nothing of the program's to take back.
    frmOptions.chkAsoICO.SetValue(1);
    frmOptions.chkAsoANI.SetValue(1);
    frmOptions.chkSendTo.SetValue(1);
    frmOptions.cmdApply_Click();
    RemoveDirectoryA(sendTo.c_str());
    ASSERT_EQ(Asked().size(), 1u);
    EXPECT_NE(Asked()[0].find("the Send To shortcut"), std::string::npos) << Asked()[0];
    for (const char* extension : {".ani", ".ico"})
        EXPECT_NE(Asked()[0].find(std::string("file association of ") + extension), std::string::npos) << Asked()[0];
    EXPECT_EQ(Asked()[0].find("file association of .cur"), std::string::npos) << Asked()[0];
    EXPECT_EQ(Stored("AsoICO"), "sz:0");
    EXPECT_EQ(Stored("AsoANI"), "");
    EXPECT_EQ(Stored("AsoCUR"), "sz:0");
    // The other values are stored all the same.
    EXPECT_EQ(Stored("DCAction"), "sz:None");
    registry_.Map(HKEY_CLASSES_ROOT);
    DeleteRegTree(HKEY_CURRENT_USER, path + "\\locked");
}

TEST_F(OptionsTest, DesktopShortcutFailureIsShown) {
    Settings("");
    // A folder where the shortcut should go cannot be replaced by it.
    const std::string link = DesktopShortcutPath();
    ASSERT_TRUE(CreateDirectoryA(link.c_str(), nullptr));
    frmOptions.Load();
    frmOptions.cmdDesktop_Click();
    RemoveDirectoryA(link.c_str());
    ASSERT_EQ(Asked().size(), 1u);
    EXPECT_EQ(Asked()[0].rfind("Add Desktop Icon|The Desktop Icon could not be added.", 0), 0u) << Asked()[0];
}

TEST_F(OptionsTest, TabsShowTheirOwnPage) {
    Settings("");
    frmOptions.Load();
    ASSERT_EQ(frmOptions.tbsOptions.TabCount(), 4);
    EXPECT_EQ(frmOptions.tbsOptions.TabCaption(4), gFavoritesName.empty() ? "Favorites" : gFavoritesName);
    const Control* onPage[] = {&frmOptions.cmbIconsPerPage, &frmOptions.chkAsoICO, &frmOptions.optNone,
                               &frmOptions.txtFavHomeDir};
    for (int tab : {3, 3, 2, 4, 1}) {
        frmOptions.tbsOptions.SetSelectedIndex(tab);
        EXPECT_EQ(frmOptions.mCurrentTab, tab);
        for (int page = 1; page <= 4; ++page) EXPECT_EQ(onPage[page - 1]->Visible(), page == tab) << tab << page;
    }
}
