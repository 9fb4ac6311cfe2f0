// Ornavale.exe started from a test in the test prefix, driven and read from outside: its windows as
// they show, the controls of its main window, real keys and clicks, and every wait a poll of the
// awaited state with a deadline.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "TestSupport.h"

// Polls `done` every 20 ms until it answers true or `timeoutMs` have passed; answers its last answer.
template <class Done>
bool WaitUntil(DWORD timeoutMs, const Done& done) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
        if (done()) return true;
    return done();
}

std::string ProgramPath();
// The program's folder, with a trailing "\".
std::string ProgramExeFolder();
// True when the program folder holds the catalogue's first archive (scripts/catalogue puts it there).
bool CatalogueInstalled();

// Stores a setting of the program as the options window would.
void StoreSetting(const char* name, const std::string& value);
// The program's store removed for the test and again after it, with no tip window and no catalogue
// notice in the way of its start.
class QuietStore : public CleanStore {
  public:
    QuietStore();
};

// The program started with `arguments` (its current folder `folder`, or the test's). Each wait polls
// with a deadline; whatever still runs at the end is closed, and killed when it does not end.
class StartedProgram {
  public:
    explicit StartedProgram(const std::string& arguments = "", const std::string& folder = "");
    ~StartedProgram();
    StartedProgram(const StartedProgram&) = delete;
    StartedProgram& operator=(const StartedProgram&) = delete;

    bool started() const { return started_; }
    HANDLE process() const { return pi_.hProcess; }
    DWORD id() const { return pi_.dwProcessId; }

    // The main window once it shows, the start's messages (the missing catalogue index, the
    // catalogue notice) closed on the way; nullptr when it or a message that is due does not come.
    HWND Main(DWORD timeoutMs = 20000);
    // A visible window of the program with the caption; nullptr when none shows in time.
    HWND WaitForWindow(const std::string& caption, DWORD timeoutMs = 10000) const;
    // A shown popup menu of the program; nullptr when none shows in time.
    HWND WaitForPopupMenu(DWORD timeoutMs) const;
    // Any visible window of the program other than `except`.
    bool ShowsWindowOtherThan(HWND except) const;
    bool WaitForEnd(DWORD timeoutMs = 20000) const;
    // Waits for the end, noting in `showed` any window other than `except` shown meanwhile.
    bool EndsWithoutWindow(DWORD timeoutMs, bool* showed, HWND except = nullptr) const;
    DWORD ExitCode() const;
    // Closes the main window and waits for the end.
    bool Close(DWORD timeoutMs = 20000);

    // The items of the shown result list; -1 when it does not answer.
    int ShownItems() const;
    // Waits until the shown result list holds `items` items; answers the last count seen.
    int WaitForShownItems(int items, DWORD timeoutMs) const;
    // Clicks the picture of item `index` of the result list with the real mouse (the left button by
    // default), once the page's pictures have settled; answers the list, nullptr when there is none
    // or the item has no picture.
    HWND ClickListItem(int index, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) const;
    // Clicks item `index` until it is the selected one; answers the list, nullptr when it is not.
    HWND SelectListItem(int index) const;
    // Clicks the tree item reached by `path`, root first (each parent expanded).
    bool ClickTreeItem(std::initializer_list<const char*> path) const;
    // Clicks Your Icons > Cursors > Current and waits for its 14 items.
    bool ShowCurrentCursors() const;
    // Gives the keyword box the keyboard as a user's click would and types `text` into it with real
    // keys. False when the box is missing or does not take the focus.
    bool TypeIntoKeywordBox(const std::string& text) const;

  private:
    PROCESS_INFORMATION pi_{};
    bool started_ = false;
    HWND main_ = nullptr;
};

// Brings the window to the front and waits until it is the foreground window, so that real keys
// reach it.
bool BringToFront(HWND window, DWORD timeoutMs = 5000);
// Waits until the keyboard focus of the window's thread is a control of the class inside it.
bool WaitForFocus(HWND window, const char* className, DWORD timeoutMs);
// Waits until the window is destroyed or hidden.
bool WaitUntilGone(HWND window, DWORD timeoutMs);
// Waits until the file is there, no longer held by a writer and whole as `complete` judges its bytes.
bool WaitForFile(const std::string& path, DWORD timeoutMs,
                 const std::function<bool(const std::string& bytes)>& complete = nullptr);

// True when `upper` lies above `lower` in the order of the top-level windows.
bool IsAbove(HWND upper, HWND lower);

// The first visible child window of `parent` of the window class, at any depth; nullptr when none.
HWND FindChildOfClass(HWND parent, const char* className);
std::string WindowText(HWND window);

// Memory in another process, for the control messages that pass a structure by address.
class RemoteMemory {
  public:
    RemoteMemory(HANDLE process, size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    char* at(size_t offset = 0) const { return static_cast<char*>(at_) + offset; }
    bool Write(const void* data, size_t size, size_t offset = 0) const;
    bool Read(void* data, size_t size, size_t offset = 0) const;

  private:
    HANDLE process_;
    void* at_;
};

// The text of a tree view item of another process.
std::string TreeItemText(HANDLE process, HWND tree, HTREEITEM item);
// The tree item reached by the texts of `path`, root first, each found among the children of the one
// before (expanding it); nullptr when one is missing.
HTREEITEM FindTreeItem(HANDLE process, HWND tree, std::initializer_list<const char*> path);
// Clicks the text of a tree item of another process with the real mouse, scrolled into view first.
bool ClickTreeItem(HANDLE process, HWND tree, HTREEITEM item);
// The text of a column of an item of another process's list view.
std::string ListItemText(HANDLE process, HWND list, int index, int column);
// Moves the real mouse to a point of the screen and clicks a button there (the left by default).
void ClickAt(POINT screen, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP);

// A bitmap read back from the clipboard: its size and its pixels, top row first, as 0x00RRGGBB.
struct ClipboardPicture {
    LONG width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)] & 0xFFFFFF; }
};

// Does `act` on an empty clipboard and reads the bitmap it puts there; an empty picture when none
// comes within the time. The test programs share the clipboard: their common lock is held meanwhile.
ClipboardPicture PictureCopiedBy(const std::function<void()>& act, DWORD timeoutMs);
