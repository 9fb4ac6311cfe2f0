// Tools > Change Any Folder Icon and Default Folder Icon in the loaded main window, on folders of
// the test's own with the picker answered by a stand-in: what desktop.ini, the folder's attributes
// and the Icons folder of a private Windows folder hold afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "IconMaker.h"
#include "PageFixture.h"
#include "TestSupport.h"
#include "ScratchFolder.h"
#include "common/ResultEntry.h"
#include "changing/DesktopIni.h"
#include "core/Files.h"
#include "BoxRecorder.h"
#include "core/FolderWalk.h"
#include "core/FrmMessage.h"
#include "core/Global.h"
#include "core/IconCache.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "formats/FileBytes.h"
#include "ui/Unique.h"

namespace {

constexpr DWORD kHidden = FILE_ATTRIBUTE_HIDDEN, kSystem = FILE_ATTRIBUTE_SYSTEM;

std::string gPickPath;  // "" cancels the picker
std::vector<ShownBox>& gBoxes = BoxRecorder::boxes;

PIDLIST_ABSOLUTE FakePicker(BROWSEINFOA*) { return gPickPath.empty() ? nullptr : ILCreateFromPathA(gPickPath.c_str()); }

std::string Bytes(const std::string& path) {
    auto bytes = formats::ReadFileBytes(WidePath(path), 1 << 20);
    return bytes ? std::string(bytes->begin(), bytes->end()) : "<none>";
}

DWORD Attributes(const std::string& path) {
    const DWORD a = GetFileAttributesA(path.c_str());
    return a == INVALID_FILE_ATTRIBUTES ? a : a & (kHidden | kSystem);
}

std::vector<std::string> Names(const std::string& folder) { return NamesIn(WidePath(folder)); }

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class FolderIconTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        gFolderPicker = &FakePicker;
        WriteSetting(setting::FolderCache, "1");
        gCacheDirty = false;
        // A page of one icon file, its item selected: the icon every change writes.
        const std::string icon = dir.File("selected.ico", "");
        ASSERT_TRUE(WriteIconFile(icon, 0xC03090));
        Fill({OpenEntry(icon, 0, "x", '2')});
        ASSERT_EQ(frmMain.pnlResult.Count(), 1);
        frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(1));
        folder = dir.Folder("Target Folder");
        gPickPath = folder;
        ini = folder + "\\desktop.ini";
    }
    void TearDown() override {
        gFolderPicker = &SHBrowseForFolderA;
        gCacheDirty = false;
        PagesTest::TearDown();
    }
    std::string Icons() const { return win.path() + "Icons\\"; }
    std::string IconFile() const { return ReadProfileText(ini, kShellClassInfo, "IconFile"); }
    std::string IconIndex() const { return ReadProfileText(ini, kShellClassInfo, "IconIndex"); }
    static void SetAttributes(const std::string& path, DWORD attributes) {
        ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL));
    }

    CleanStore store;
    TempDir win;
    const ScopedValue<std::string> winDir{gWinDir, win.path().substr(0, win.path().size() - 1)};
    std::string folder, ini;
};

}  // namespace

TEST_F(FolderIconTest, ChangeThenDefault) {
    const std::string longName = std::string(200 - Icons().size() - 4, 'n') + ".ico";
    struct Case {
        const char* what;
        DWORD folderAttributes;
        std::string iniText;  // "" for no desktop.ini
        DWORD iniAttributes;
        std::string current;  // the icon desktop.ini names before; a name alone lies in the Icons folder
        bool currentKept;     // the change leaves that file
    } cases[] = {
        {"no desktop.ini", 0, "", 0, "", false},
        {"a hidden folder", kHidden, "", 0, "", false},
        {"a hidden, system desktop.ini with other sections", 0,
         "[ViewState]\r\nMode=\r\nVid=\r\nFolderType=Pictures\r\n[.ShellClassInfo]\r\nInfoTip=Mine\r\n", kHidden | kSystem,
         "", false},
        {"an earlier copy", kSystem, "", 0, "3.ico", false},
        // Read whole past the profile's usual 128 characters; not a copy's name, so it stays.
        {"a 200-character icon of the user's in the Icons folder", 0, "", 0, longName, true},
        {"the user's own icon", 0, "", 0, dir.File("own.ico"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(WidePath(Icons()));
        std::filesystem::remove(WidePath(ini));
        std::string current;
        if (!c.current.empty()) {
            current = c.current.find('\\') != std::string::npos ? c.current : win.File("Icons\\" + c.current);
            ASSERT_EQ(current.size() == 200, c.current == longName);
        }
        std::string text = c.iniText;
        if (!current.empty()) text += "[.ShellClassInfo]\r\nIconFile=" + current + "\r\nIconIndex=0\r\n";
        if (!text.empty()) {
            dir.File("Target Folder\\desktop.ini", text);
            SetAttributes(ini, c.iniAttributes);
        }
        SetAttributes(folder, c.folderAttributes);
        ASSERT_EQ(IconFile(), current);

        gCacheDirty = false;
        frmMain.mnuToolsChangeFolder_Click();
        EXPECT_TRUE(gBoxes.empty());
        const std::string copy = Icons() + "1.ico";
        EXPECT_EQ(IconFile(), copy);
        EXPECT_EQ(IconIndex(), "0");
        EXPECT_TRUE(Exists(copy));
        EXPECT_EQ(Exists(current), c.currentKept);
        EXPECT_EQ(Attributes(folder), c.folderAttributes | kSystem);
        EXPECT_EQ(Attributes(ini), text.empty() ? 0 : c.iniAttributes);
        EXPECT_TRUE(gCacheDirty);
        if (!c.iniText.empty()) {
            EXPECT_EQ(Bytes(ini), c.iniText + "IconFile=" + copy + "\r\nIconIndex=0\r\n");
        }

        gCacheDirty = false;
        frmMain.mnuToolsDefaultFolder_Click();
        EXPECT_TRUE(gBoxes.empty());
        EXPECT_EQ(IconFile(), "");
        EXPECT_EQ(IconIndex(), "");
        EXPECT_NE(Bytes(ini).find("IconFile=\r\nIconIndex=\r\n"), std::string::npos);
        EXPECT_FALSE(Exists(copy));
        EXPECT_EQ(Exists(current), c.currentKept);
        EXPECT_EQ(Attributes(folder), c.folderAttributes & ~kSystem);
        EXPECT_EQ(Attributes(ini), text.empty() ? 0 : c.iniAttributes);
        EXPECT_TRUE(gCacheDirty);
        if (!c.iniText.empty()) {
            EXPECT_EQ(Bytes(ini), c.iniText + "IconFile=\r\nIconIndex=\r\n");
        }
        // Nothing of the program's is left there; a file of the user's is.
        EXPECT_EQ(Names(Icons()), c.currentKept && current.rfind(Icons(), 0) == 0 ? std::vector<std::string>{c.current}
                                                                                  : std::vector<std::string>{});
    }
}

// The selected item's picture no longer reads from its file: the folder keeps its icon.
TEST_F(FolderIconTest, APictureThatDoesNotReadChangesNothing) {
    ASSERT_TRUE(DeleteFileA((dir.path() + "selected.ico").c_str()));
    frmMain.mnuToolsChangeFolder_Click();
    EXPECT_FALSE(Exists(ini));
    EXPECT_FALSE(Exists(Icons()));
    EXPECT_EQ(Attributes(folder), 0u);
    ASSERT_EQ(gBoxes.size(), 1u);
    EXPECT_NE(gBoxes[0].text.find("could not read"), std::string::npos) << gBoxes[0];
}

TEST_F(FolderIconTest, CancelledPickerChangesNothing) {
    gPickPath.clear();
    for (auto command : {&FrmMain::mnuToolsChangeFolder_Click, &FrmMain::mnuToolsDefaultFolder_Click}) {
        (frmMain.*command)();
        EXPECT_FALSE(Exists(ini));
        EXPECT_FALSE(Exists(Icons()));
        EXPECT_EQ(Attributes(folder), 0u);
        EXPECT_FALSE(gCacheDirty);
        EXPECT_TRUE(gBoxes.empty());
        EXPECT_FALSE(gBrowseFolderIcon);
    }
}

// desktop.ini cannot be rewritten: the old file, the copy it names and the folder stay as they were,
// with one box and no file left behind.
TEST_F(FolderIconTest, FailedRewriteLeavesTheOldFile) {
    const std::string earlier = win.File("Icons\\1.ico");
    const std::string text = "[.ShellClassInfo]\r\nIconFile=" + earlier + "\r\nIconIndex=0\r\n";
    UniqueFile held;
    struct Case {
        const char* what;
        const char* told;  // in Default Folder's box
        std::function<void()> block;
        std::function<void()> unblock;
    } cases[] = {
        {"the copy's name is taken by a folder", "could not write", [&] { dir.Folder("Target Folder\\~Ornavale desktop.ini.tmp"); },
         [&] { RemoveDirectoryA((folder + "\\~Ornavale desktop.ini.tmp").c_str()); }},
        // Readable, but it cannot be replaced while another program holds it.
        {"desktop.ini is held open", "could not replace", [&] {
             held.reset(CreateFileA(ini.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
             ASSERT_TRUE(held);
         },
         [&] { held.reset(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        dir.File("Target Folder\\desktop.ini", text);
        SetAttributes(ini, kHidden);
        SetAttributes(folder, kSystem);
        c.block();
        const std::vector<std::string> before = Names(folder);
        for (auto command : {&FrmMain::mnuToolsChangeFolder_Click, &FrmMain::mnuToolsDefaultFolder_Click}) {
            gBoxes.clear();
            gCacheDirty = false;
            (frmMain.*command)();
            ASSERT_EQ(gBoxes.size(), 1u);
            if (command == &FrmMain::mnuToolsDefaultFolder_Click) {
                EXPECT_NE(gBoxes[0].text.find(c.told), std::string::npos) << gBoxes[0];
            }
            EXPECT_EQ(Bytes(ini), text);
            EXPECT_EQ(Names(Icons()), std::vector<std::string>{"1.ico"});
            EXPECT_EQ(Names(folder), before);
            EXPECT_EQ(Attributes(folder), kSystem);
            EXPECT_FALSE(gCacheDirty);
        }
        c.unblock();
    }
}

TEST_F(FolderIconTest, RebuildReminder) {
    // The rebuild reaches no other window.
    const ScopedValue<SettingBroadcast> broadcast(gBroadcastSetting, [](UINT, WPARAM, LPARAM) { return true; });
    struct Case {
        const char* what;
        const char* stored;
        std::optional<bool> rebuild;  // nothing: no reminder shows
    } cases[] = {
        {"switched off", "1", std::nullopt},
        {"closed", "0", false},
        {"rebuild now", "0", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteSetting(setting::FolderCache, c.stored);
        for (auto command : {&FrmMain::mnuToolsChangeFolder_Click, &FrmMain::mnuToolsDefaultFolder_Click}) {
            std::vector<std::string> shown;
            {
                BoxRecorder::MessageWindow answering(c.rebuild.value_or(false));
                (frmMain.*command)();
                for (const auto& m : answering.messages) shown = {m.caption, m.valueName, m.button};
            }
            if (c.rebuild) {
                EXPECT_EQ(shown, (std::vector<std::string>{"Change Any Folder", "FolderCache", "Rebuild Icon Cache Now!"}));
            } else {
                EXPECT_TRUE(shown.empty());
            }
            // A rebuild leaves the cache clean.
            EXPECT_EQ(gCacheDirty, c.rebuild != true);
            gCacheDirty = false;
        }
    }
}
