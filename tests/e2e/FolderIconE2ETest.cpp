// Tools > Change Any Folder Icon, then Default Folder Icon, in the running program on a test folder
// with a hidden desktop.ini of its own, by the real keyboard: the picker is found from outside,
// pointed at the folder and confirmed; desktop.ini, the attributes and the Windows folder's icon
// copy are read back. (The picker lists no hidden folder: the unit tests cover those.)
#include <gtest/gtest.h>

#include <string>

#include "StartedProgram.h"

namespace {

// Selects the folder in the picker of another process as its own start does, until the tree's
// selection carries the folder's name (the picker may still be filling its tree at first); answers
// the text of the selected item.
std::string SelectInPicker(HANDLE process, HWND picker, const std::string& folder) {
    RemoteMemory remote(process, folder.size() + 1);
    remote.Write(folder.c_str(), folder.size() + 1);
    HWND tree = FindChildOfClass(picker, WC_TREEVIEWA);
    const std::string name = folder.substr(folder.rfind('\\') + 1);
    std::string text;
    WaitUntil(10000, [&] {
        SendMessageA(picker, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote.at()));
        auto caret = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
        text = caret ? TreeItemText(process, tree, caret) : std::string();
        return text == name;
    });
    return text;
}

std::string IconEntry(const std::string& ini, const char* key) {
    char text[1024] = {};
    GetPrivateProfileStringA(".ShellClassInfo", key, "<none>", text, sizeof text, ini.c_str());
    return text;
}

DWORD HiddenAndSystem(const std::string& path) {
    return GetFileAttributesA(path.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
}

// Starts the program in the folder, selects the first current cursor, runs Tools and the command's
// key, answers the picker with the folder and waits until desktop.ini's "IconFile" is no longer
// `before` ("<none>": missing). Then closes the program, answering its question about the icon cache
// with No.
void RunCommand(char key, const std::string& folder, const std::string& before) {
    const std::string ini = folder + "\\desktop.ini";
    StartedProgram program("", folder);
    HWND window = program.Main();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(program.ShowCurrentCursors());
    ASSERT_NE(program.SelectListItem(0), nullptr);

    TypeKeys({VK_MENU, 'T', static_cast<WORD>(key)});
    // The shell's folder picker, by its caption.
    HWND picker = program.WaitForWindow("Browse for Folder", 10000);
    ASSERT_NE(picker, nullptr);
    ASSERT_NE(FindChildOfClass(picker, WC_TREEVIEWA), nullptr);
    // OK only on the test folder: any other would get the change.
    const bool selected = SelectInPicker(program.process(), picker, folder) == folder.substr(folder.rfind('\\') + 1);
    EXPECT_TRUE(selected) << "the picker did not reach " << folder;
    const int button = selected ? IDOK : IDCANCEL;
    PostMessageA(picker, WM_COMMAND, button, reinterpret_cast<LPARAM>(GetDlgItem(picker, button)));
    if (selected) WaitUntil(10000, [&] { return IconEntry(ini, "IconFile") != before; });

    // The change may still be telling the shell when the close arrives, which takes seconds while
    // other tests run beside this one.
    PostMessageA(window, WM_CLOSE, 0, 0);
    HWND question = program.WaitForWindow("Rebuild Windows Icon Cache", 30000);
    if (selected) {
        EXPECT_NE(question, nullptr) << "the change left the icon cache to be rebuilt";
    }
    if (question) PostMessageA(question, WM_COMMAND, IDNO, 0);
    EXPECT_TRUE(program.WaitForEnd());
}

}  // namespace

TEST(FolderIcon, ChangeAnyFolderThenDefaultFolder) {
    QuietStore store;
    StoreSetting("FolderCache", "1");
    TempDir dir;
    const std::string folder = dir.Folder("Holiday Photos");
    const std::string ini = folder + "\\desktop.ini";
    ASSERT_TRUE(SetFileAttributesA(dir.File("Holiday Photos\\desktop.ini", "[ViewState]\r\nMode=4\r\n").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN));
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string icons = std::string(windows) + "\\Icons\\";

    RunCommand('F', folder, "<none>");
    EXPECT_EQ(HiddenAndSystem(folder), static_cast<DWORD>(FILE_ATTRIBUTE_SYSTEM));
    const std::string copy = IconEntry(ini, "IconFile");
    ASSERT_EQ(copy.substr(0, icons.size()), icons);
    EXPECT_EQ(copy.substr(copy.size() - 4), ".ico");
    EXPECT_EQ(IconEntry(ini, "IconIndex"), "0");
    EXPECT_NE(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES);

    RunCommand('D', folder, copy);
    EXPECT_EQ(IconEntry(ini, "IconFile"), "");
    EXPECT_EQ(IconEntry(ini, "IconIndex"), "");
    EXPECT_EQ(GetFileAttributesA(copy.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(HiddenAndSystem(folder), 0u);
    EXPECT_EQ(HiddenAndSystem(ini), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    char mode[8] = {};
    GetPrivateProfileStringA("ViewState", "Mode", "", mode, sizeof mode, ini.c_str());
    EXPECT_STREQ(mode, "4");
}
