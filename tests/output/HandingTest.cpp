// Copy, Run and Edit With on the selected result item of the loaded main window: the clipboard's
// bitmap read back, the command lines handed to the program starter, and the error boxes when a
// command fails.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "IconMaker.h"
#include "PageFixture.h"
#include "TestSupport.h"
#include "browsing/Favorites.h"
#include "common/ResultEntry.h"
#include "core/Global.h"
#include "core/ScopedValue.h"
#include "core/Settings.h"
#include "mainwindow/FrmMain.h"
#include "mainwindow/Options.h"
#include "output/SaveAs.h"
#include "ui/App.h"
#include "ui/Unique.h"

namespace {

std::vector<ShownBox>& boxes = BoxRecorder::boxes;

std::vector<std::string> started;
DWORD RecordStart(const std::string& line) {
    started.push_back(line);
    return 4321;
}
DWORD FailStart(const std::string& line) {
    started.push_back(line);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
}

// What the command line probe started from `folder` wrote; "" when it wrote nothing in 15 s.
std::string ProbedCommandLine(const std::string& folder) {
    std::string line;
    for (int tries = 0; tries < 300 && line.empty(); ++tries, Sleep(50)) {
        std::ifstream in(folder + "\\cmdline.txt", std::ios::binary);
        line.assign(std::istreambuf_iterator<char>(in), {});
    }
    return line;
}

class HandingTest : public PagesTest {
  protected:
    void SetUp() override {
        PagesTest::SetUp();
        started.clear();
    }
    // A page of one item with the given entry, selected.
    void ShowItem(const std::string& entry) {
        Fill({entry});
        ASSERT_EQ(frmMain.pnlResult.Count(), 1);
        frmMain.pnlResult.SetSelectedItem(&frmMain.pnlResult.Item(1));
    }
};

// The test programs share the clipboard: each case holds the lock of all of them.
class ClipboardTest : public HandingTest {
  protected:
    void SetUp() override {
        lock_ = CreateMutexA(nullptr, FALSE, "OrnavaleTestClipboard");
        if (lock_) WaitForSingleObject(lock_, 30000);
        HandingTest::SetUp();
        const std::string file = dir.File("copy.ico", "");
        ASSERT_TRUE(WriteIconFile(file, 0xC03090));
        ShowItem(OpenEntry(file, 0, "x", '2'));
    }
    void TearDown() override {
        HandingTest::TearDown();
        if (lock_) {
            ReleaseMutex(lock_);
            CloseHandle(lock_);
        }
    }
    static bool Open() {
        for (int tries = 0; tries < 50; ++tries, Sleep(20))
            if (OpenClipboard(nullptr)) return true;
        return false;
    }
    static void Empty() {
        ASSERT_TRUE(Open());
        EmptyClipboard();
        CloseClipboard();
    }
    // The clipboard's bitmap: its size and the pixels (0, 0), transparent in the icon, and (16, 16);
    // and the size of the device-independent form the system makes of it.
    struct Picture {
        SIZE size{}, dibSize{};
        COLORREF clear = CLR_INVALID, inside = CLR_INVALID;
    };
    static Picture Read() {
        Picture p;
        if (!Open()) return p;
        if (HBITMAP held = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP))) {
            BITMAP bm{};
            GetObjectA(held, sizeof bm, &bm);
            p.size = {bm.bmWidth, bm.bmHeight};
            UniqueMemDC dc(CreateCompatibleDC(nullptr));
            SelectInDC in(dc.get(), held);
            p.clear = GetPixel(dc.get(), 0, 0);
            p.inside = GetPixel(dc.get(), 16, 16);
        }
        if (HGLOBAL dib = GetClipboardData(CF_DIB)) {
            if (auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib))) {
                p.dibSize = {header->biWidth, std::abs(header->biHeight)};
                GlobalUnlock(dib);
            }
        }
        CloseClipboard();
        return p;
    }

  private:
    HANDLE lock_ = nullptr;
};

}  // namespace

TEST_F(ClipboardTest, TheIconOnItsBackground) {
    const COLORREF window = GetSysColor(COLOR_WINDOW), highlight = GetSysColor(COLOR_HIGHLIGHT);
    struct Case {
        const char* what;
        bool useMask;
        uint32_t maskColor;
        std::optional<uint32_t> listColor;
        COLORREF shown;
    } cases[] = {
        {"mask colour red", true, 0x0000FF, 0x00FF00, RGB(255, 0, 0)},
        {"mask colour a system colour", true, 0x80000000 | COLOR_HIGHLIGHT, 0x00FF00, highlight},
        {"the list's colour", false, 0x0000FF, 0x00FF00, RGB(0, 255, 0)},
        {"the list's system colour", false, 0x0000FF, std::nullopt, window},
    };
    ScopedValue<bool> useMask(gUseMask, false);
    ScopedValue<uint32_t> maskColor(gMaskColor, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Empty();
        gUseMask = c.useMask;
        gMaskColor = c.maskColor;
        frmMain.pnlResult.SetBackColor(c.listColor);
        frmMain.mnuEditCopy_Click();
        const Picture p = Read();
        EXPECT_EQ(p.size.cx, 32);
        EXPECT_EQ(p.size.cy, 32);
        EXPECT_EQ(p.dibSize.cx, 32);
        EXPECT_EQ(p.dibSize.cy, 32);
        EXPECT_EQ(p.clear, c.shown);
        EXPECT_EQ(p.inside, RGB(0xC0, 0x30, 0x90));
    }
    EXPECT_TRUE(boxes.empty());
}

// The placeholder the page shows for a picture that does not read is not copied as the icon.
TEST_F(ClipboardTest, APictureThatDoesNotReadIsNotCopied) {
    const std::string file = dir.File("bad.ico", "");
    ASSERT_TRUE(WriteUnreadableIconFile(file));
    ShowItem(OpenEntry(file, 0, "x", '2'));
    Empty();
    frmMain.mnuEditCopy_Click();
    EXPECT_EQ(Read().size.cx, 0);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], (ShownBox{"An error occurred while copying.", MB_ICONEXCLAMATION, "Error"}));
}

TEST_F(ClipboardTest, AClipboardHeldElsewhereGivesTheErrorBox) {
    Empty();
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread holder([&] {
        const bool held = Open();
        SetEvent(opened);
        WaitForSingleObject(done, 30000);
        if (held) CloseClipboard();
    });
    WaitForSingleObject(opened, 30000);
    frmMain.mnuEditCopy_Click();
    SetEvent(done);
    holder.join();
    CloseHandle(opened);
    CloseHandle(done);

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error");
    EXPECT_EQ(boxes[0].text.rfind("Error Nr. ", 0), 0u) << boxes[0].text;
    EXPECT_NE(boxes[0].text.find(" in Copy"), std::string::npos) << boxes[0].text;
    EXPECT_EQ(Read().size.cx, 0);  // nothing was put there
    // The program goes on: with the clipboard free again the copy works.
    frmMain.mnuEditCopy_Click();
    EXPECT_EQ(Read().size.cx, 32);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(HandingTest, RunStartsTheThirdFieldAsOnePath) {
    ScopedValue<ProgramStarter> start(gStartProgram, &RecordStart);
    ShowItem(ShortcutEntry("C:\\a.ico", 0, "C:\\Programs\\tool.exe"));
    struct Case {
        std::string tag;
        std::string started;  // "" when nothing may start
    } cases[] = {
        {"C:\\a.ico;0;C:\\Programs\\tool.exe;sshor", "\"C:\\Programs\\tool.exe\""},
        {ShortcutEntry("C:\\a.ico", 0, "C:\\Program Files\\Tool\\tool.exe"), "\"C:\\Program Files\\Tool\\tool.exe\""},
        {"C:\\a;b.ico;3;C:\\x.exe;sshor", "\"C:\\x.exe\""},
        {"C:\\a.ico;0;sshor", ""},
        {"C:\\a.ico;0;;sshor", ""},
        {"C:\\a.ico;0; ;sshor", ""},
        {"C:\\a.ico;0;C:\\x.exe\" /evil;sshor", ""},
        {BookEntry("3:12:ab01"), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tag);
        started.clear();
        boxes.clear();
        gResult = Variant();
        frmMain.pnlResult.Item(1).Tag = c.tag;
        frmMain.mnuFileRun_Click();
        if (c.started.empty()) {
            EXPECT_TRUE(started.empty());
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].title, "Error");
            EXPECT_NE(boxes[0].text.find(" in Run"), std::string::npos) << boxes[0].text;
        } else {
            EXPECT_EQ(started, std::vector<std::string>{c.started});
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(gResult, Variant(int32_t{4321}));
        }
    }
}

TEST_F(HandingTest, AProgramThatCannotStartGivesTheErrorBox) {
    ScopedValue<ProgramStarter> start(gStartProgram, &FailStart);
    ShowItem(ShortcutEntry("C:\\a.ico", 0, "C:\\gone\\tool.exe"));
    frmMain.mnuFileRun_Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error");
    EXPECT_EQ(boxes[0].text.rfind("Error Nr. 2 in Run", 0), 0u) << boxes[0].text;
}

TEST_F(HandingTest, RunReallyStartsAProgramInAFolderWithABlank) {
    const std::string folder = dir.Folder("Program Files\\Probe Tool");
    const std::string probe = folder + "\\probe.exe";
    ASSERT_TRUE(CopyFileA((TestProgramDir() + "cmdline_probe.exe").c_str(), probe.c_str(), FALSE));
    ShowItem(ShortcutEntry("C:\\a.ico", 0, probe));
    frmMain.mnuFileRun_Click();
    EXPECT_TRUE(boxes.empty());
    EXPECT_NE(gResult, Variant(int32_t{0}));
    EXPECT_EQ(ProbedCommandLine(folder), "\"" + probe + "\"");

    // The same path with the program gone.
    bool deleted = false;  // the probe may still be ending
    for (int tries = 0; tries < 100 && !deleted; ++tries, Sleep(50)) deleted = DeleteFileA(probe.c_str());
    ASSERT_TRUE(deleted);
    boxes.clear();
    frmMain.mnuFileRun_Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Error");
    EXPECT_NE(boxes[0].text.find(" in Run"), std::string::npos) << boxes[0].text;
}

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

const std::string kNoEditor =
    "Please specify an External Icon Editor:\r\rselect Options from the main menu.\rselect the Double Click Icon "
    "tab\rselect an Icon Editor executable with the Browse button.";
const std::string kNoValidEditor =
    "Please specify a valid External Icon Editor:\r\rselect Options from the main menu.\rselect the Double Click "
    "Icon tab\rselect an Icon Editor executable with the Browse button.";

DWORD DenyStart(const std::string& line) {
    started.push_back(line);
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

void ForgetEditor() {
    for (const char* value : {"ExtEditFile", "ExtEditFolder"})
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, value);
}

class EditWithTest : public HandingTest {
  protected:
    void SetUp() override {
        HandingTest::SetUp();
        ForgetEditor();
        const std::string file = dir.File("edit.ico", "");
        ASSERT_TRUE(WriteIconFile(file, 0xC03090));
        ShowItem(OpenEntry(file, 0, "x", '2'));
    }
    void TearDown() override {
        ForgetEditor();
        HandingTest::TearDown();
    }
    static void SetEditor(const std::string& folder, const std::string& file) {
        WriteSetting(setting::ExtEditFolder, folder);
        WriteSetting(setting::ExtEditFile, file);
    }
    std::string Temp() const { return tempDir_ + "ORTemp.ico"; }

    // The temporary folder with a blank, as the user's usually has.
    std::string tempDir_ = dir.Folder("Local Temp") + "\\";
    ScopedValue<std::string> temp_{gTempDir, tempDir_};
};

}  // namespace

TEST_F(EditWithTest, TheEditorOnTheTemporaryIcon) {
    struct Case {
        const char* what;
        std::optional<std::string> folder, file;  // nothing: not stored
        ProgramStarter starter;
        std::string box;      // "" for none
        bool written;
        std::string started;  // "" when nothing may start
    } cases[] = {
        {"no editor", std::nullopt, std::nullopt, &RecordStart, kNoEditor, false, ""},
        {"an editor", "C:\\Tools\\", "ed.exe", &RecordStart, "", true, "\"C:\\Tools\\ed.exe\" \"<temp>\""},
        {"blanks", "C:\\Icon Tools\\", "my ed.exe", &RecordStart, "", true, "\"C:\\Icon Tools\\my ed.exe\" \"<temp>\""},
        {"an empty file name", "C:\\Tools\\", "", &RecordStart, kNoValidEditor, true, ""},
        {"a missing editor", "C:\\Tools\\", "ed.exe", &FailStart, kNoValidEditor, true,
         "\"C:\\Tools\\ed.exe\" \"<temp>\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ForgetEditor();
        DeleteFileA(Temp().c_str());
        boxes.clear();
        started.clear();
        if (c.folder) WriteSetting(setting::ExtEditFolder, *c.folder);
        if (c.file) WriteSetting(setting::ExtEditFile, *c.file);
        ScopedValue<ProgramStarter> start(gStartProgram, c.starter);
        frmMain.mnuFileEditWith_Click();
        EXPECT_EQ(Exists(Temp()), c.written);
        if (c.started.empty()) {
            EXPECT_TRUE(started.empty());
        } else {
            std::string line = c.started;
            line.replace(line.find("<temp>"), 6, Temp());
            EXPECT_EQ(started, std::vector<std::string>{line});
        }
        if (c.box.empty()) {
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(gResult, Variant(int32_t{4321}));
        } else {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].text, c.box);
            EXPECT_EQ(boxes[0].title, "Edit With Error");
        }
        EXPECT_FALSE(gEditWithMode);
    }
}

TEST_F(EditWithTest, AnotherStartFailureGivesTheErrorText) {
    SetEditor("C:\\Tools\\", "ed.exe");
    ScopedValue<ProgramStarter> start(gStartProgram, &DenyStart);
    frmMain.mnuFileEditWith_Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Edit With Error");
    EXPECT_EQ(boxes[0].text.rfind("Error Nr. 5 in Edit With", 0), 0u) << boxes[0].text;
}

TEST_F(EditWithTest, AFailedSaveStartsNothing) {
    SetEditor("C:\\Tools\\", "ed.exe");
    ScopedValue<ProgramStarter> start(gStartProgram, &RecordStart);
    // A folder in the temporary file's place: the icon cannot be written there.
    ASSERT_TRUE(CreateDirectoryA(Temp().c_str(), nullptr));
    frmMain.mnuFileEditWith_Click();
    EXPECT_TRUE(started.empty());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "An error occured while saving.");
    EXPECT_FALSE(gEditWithMode);
}

TEST_F(EditWithTest, TheEditorReallyStartsFromAFolderWithABlankOrIsMissing) {
    const std::string tools = dir.Folder("Icon Tools"), folder = tools + "\\";
    ASSERT_TRUE(CopyFileA((TestProgramDir() + "cmdline_probe.exe").c_str(), (folder + "probe.exe").c_str(), FALSE));
    SetEditor(folder, "probe.exe");
    frmMain.mnuFileEditWith_Click();
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(Exists(Temp()));
    EXPECT_EQ(ProbedCommandLine(tools), "\"" + folder + "probe.exe\" \"" + Temp() + "\"");

    // An editor that is not there, as the system reports it.
    SetEditor(folder, "gone.exe");
    frmMain.mnuFileEditWith_Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, kNoValidEditor);
}
