// Ornavale.exe started from a test: the process, its windows as they show, and the messages of a
// first start closed on the way to the main window.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "TestSupport.h"

inline std::string ProgramPath() { return TestProgramDir() + "..\\Ornavale\\Ornavale.exe"; }

struct Process {
    PROCESS_INFORMATION pi{};
    bool started = false;
    explicit Process(const std::string& arguments) {
        std::string command = "\"" + ProgramPath() + "\"" + (arguments.empty() ? "" : " " + arguments);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    }
    ~Process() {
        if (!started) return;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 1);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
};

inline HWND WaitForWindow(DWORD processId, const char* title, DWORD timeoutMs) {
    struct Search {
        DWORD pid;
        const char* title;
        HWND found;
    } search{processId, title, nullptr};
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        EnumWindows(
            [](HWND hwnd, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                DWORD pid = 0;
                GetWindowThreadProcessId(hwnd, &pid);
                char text[256] = {};
                GetWindowTextA(hwnd, text, sizeof text);
                if (pid == s->pid && IsWindowVisible(hwnd) && std::string(text) == s->title) {
                    s->found = hwnd;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        Sleep(100);
    }
    return nullptr;
}

// Without a catalogue index in the program folder the start first says so in a message box; closes
// it. Answers false when the box was due but did not come.
inline bool PastMissingIndexMessage(const Process& p) {
    const std::string index = ProgramPath().substr(0, ProgramPath().rfind('\\') + 1) + "Icondata.dat";
    if (GetFileAttributesA(index.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    HWND box = WaitForWindow(p.pi.dwProcessId, "Ornavale error", 20000);
    if (!box) return false;
    PostMessageA(box, WM_CLOSE, 0, 0);
    return true;
}

// True when the program folder holds the catalogue's first archive (scripts/catalogue puts it there).
inline bool CatalogueInstalled() {
    const std::string program = ProgramPath();
    const std::string archive = program.substr(0, program.rfind('\\') + 1) + "Iconlib.res";
    return GetFileAttributesA(archive.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Closes the start's messages (the missing index, the catalogue notice) as they show, then answers
// the main window (nullptr if one of them does not come). With the catalogue's archives in place
// there is no notice.
inline HWND MainWindowAfterNotice(const Process& p) {
    if (!PastMissingIndexMessage(p)) return nullptr;
    if (!CatalogueInstalled()) {
        HWND notice = WaitForWindow(p.pi.dwProcessId, "Ornavale Light", 20000);
        if (!notice) return nullptr;
        PostMessageA(notice, WM_CLOSE, 0, 0);
    }
    return WaitForWindow(p.pi.dwProcessId, "Ornavale", 20000);
}

// Stores a setting of the program as the options window would.
inline void StoreSetting(const char* name, const std::string& value) {
    HKEY k;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                    nullptr);
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

// The first visible child window of `parent` of the window class, at any depth; nullptr when none.
inline HWND FindChildOfClass(HWND parent, const char* className) {
    struct Search {
        const char* className;
        HWND found;
    } search{className, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (lstrcmpiA(name, s->className) != 0 || !IsWindowVisible(child)) return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The items of the shown result list (the page's list view; its twin is hidden); -1 when the
// window does not answer within `timeoutMs`.
inline int ShownItems(HWND main, DWORD timeoutMs) {
    struct Search {
        DWORD timeoutMs;
        int items = 0;
        bool answered = true;
    } search{timeoutMs};
    EnumChildWindows(
        main,
        [](HWND child, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (std::string(name) != WC_LISTVIEWA || !IsWindowVisible(child)) return TRUE;
            DWORD_PTR n = 0;
            if (!SendMessageTimeoutA(child, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, s->timeoutMs, &n))
                s->answered = false;
            s->items = std::max(s->items, static_cast<int>(n));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.answered ? search.items : -1;
}

// Memory in another process, for the control messages that pass a structure by address.
class RemoteMemory {
  public:
    RemoteMemory(HANDLE process, size_t size)
        : process_(process), at_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
    ~RemoteMemory() {
        if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
    }
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    char* at(size_t offset = 0) const { return static_cast<char*>(at_) + offset; }
    bool Write(const void* data, size_t size, size_t offset = 0) const {
        return WriteProcessMemory(process_, at(offset), data, size, nullptr);
    }
    bool Read(void* data, size_t size, size_t offset = 0) const {
        return ReadProcessMemory(process_, at(offset), data, size, nullptr);
    }

  private:
    HANDLE process_;
    void* at_;
};

// The text of a tree view item of another process.
inline std::string TreeItemText(HANDLE process, HWND tree, HTREEITEM item) {
    RemoteMemory remote(process, sizeof(TVITEMA) + 512);
    TVITEMA tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = item;
    tv.pszText = remote.at(sizeof tv);
    tv.cchTextMax = 512;
    remote.Write(&tv, sizeof tv);
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(remote.at()))) return {};
    char text[512] = {};
    remote.Read(text, sizeof text - 1, sizeof tv);
    return text;
}

// The tree item reached by the texts of `path`, root first, each found among the children of the
// one before (expanding it); nullptr when one is missing.
inline HTREEITEM FindTreeItem(HANDLE process, HWND tree, std::initializer_list<const char*> path) {
    HTREEITEM parent = TVI_ROOT;
    for (const char* text : path) {
        if (parent != TVI_ROOT) SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(parent));
        HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageA(
            tree, TVM_GETNEXTITEM, parent == TVI_ROOT ? TVGN_ROOT : TVGN_CHILD, reinterpret_cast<LPARAM>(parent)));
        while (item && TreeItemText(process, tree, item) != text)
            item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
        if (!item) return nullptr;
        parent = item;
    }
    return parent;
}

// Moves the real mouse to a point of the screen and clicks a button there (the left by default).
inline void ClickAt(POINT screen, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP) {
    SetCursorPos(screen.x, screen.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = down;
    input[1].mi.dwFlags = up;
    SendInput(2, input, sizeof(INPUT));
}

// Clicks the text of a tree item of another process with the real mouse, scrolled into view first.
inline bool ClickTreeItem(HANDLE process, HWND tree, HTREEITEM item) {
    SendMessageA(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RemoteMemory remote(process, sizeof(RECT));
    // The message takes the item in the rectangle's first bytes.
    remote.Write(&item, sizeof item);
    RECT rect{};
    if (!SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(remote.at()))) return false;
    remote.Read(&rect, sizeof rect);
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(tree, &centre);
    SetForegroundWindow(GetAncestor(tree, GA_ROOT));
    ClickAt(centre);
    return true;
}

// The picture's rectangle of an item of another process's list view, in its client area, once the
// page's pictures no longer move it (they move the items as they are bound); empty when it has none.
inline RECT SettledItemIconRect(HANDLE process, HWND list, int index) {
    RECT rect{}, before{-1, -1, -1, -1};
    for (int i = 0; i < 50 && !EqualRect(&rect, &before); ++i) {
        before = rect;
        Sleep(100);
        RemoteMemory remote(process, sizeof(RECT));
        RECT asked{LVIR_ICON, 0, 0, 0};
        remote.Write(&asked, sizeof asked);
        if (!SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote.at())))
            return {};
        remote.Read(&rect, sizeof rect);
    }
    return EqualRect(&rect, &before) ? rect : RECT{};
}

// Gives the running program's keyword box the keyboard, as a user's click would, and types `text`
// into it with real keys. False when the box is missing or does not take the focus.
inline bool TypeIntoKeywordBox(HWND main, const std::string& text) {
    HWND combo = FindChildOfClass(main, "ComboBox");
    HWND edit = combo ? FindChildOfClass(combo, "Edit") : nullptr;
    if (!edit) return false;
    const DWORD programThread = GetWindowThreadProcessId(main, nullptr);
    if (!AttachThreadInput(GetCurrentThreadId(), programThread, TRUE)) return false;
    SetForegroundWindow(main);
    SetFocus(edit);
    const bool focused = GetFocus() == edit;
    AttachThreadInput(GetCurrentThreadId(), programThread, FALSE);
    if (focused) TypeKeys(KeysOf(text));
    return focused;
}

// Waits until the shown result list holds `items` items; answers the last count seen.
inline int WaitForShownItems(HWND main, int items, DWORD timeoutMs) {
    int seen = -1;
    for (DWORD waited = 0; waited <= timeoutMs; waited += 100) {
        seen = ShownItems(main, 5000);
        if (seen == items) return seen;
        Sleep(100);
    }
    return seen;
}

// No tip window and no notice in the way of a test.
inline void QuietProgramStart() {
    StoreSetting("Tip", "0");
    StoreSetting("OrnavaleLight", "1");
}

// Clicks the picture of item `index` of the running program's result list with the real mouse (the
// left button by default), once the page's pictures have settled; answers the list, nullptr when
// there is no list or the item has no picture.
inline HWND ClickListItem(HANDLE process, HWND main, int index, DWORD down = MOUSEEVENTF_LEFTDOWN,
                          DWORD up = MOUSEEVENTF_LEFTUP) {
    HWND list = FindChildOfClass(main, WC_LISTVIEWA);
    if (!list) return nullptr;
    const RECT rect = SettledItemIconRect(process, list, index);
    if (IsRectEmpty(&rect)) return nullptr;
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &centre);
    SetForegroundWindow(main);
    ClickAt(centre, down, up);
    return list;
}

// Clicks Your Icons > Cursors > Current in the running program's tree and waits for its 14 items.
inline bool ShowCurrentCursors(HANDLE process, HWND main) {
    HWND tree = FindChildOfClass(main, WC_TREEVIEWA);
    HTREEITEM current = tree ? FindTreeItem(process, tree, {"Your Icons", "Cursors", "Current"}) : nullptr;
    return current && ClickTreeItem(process, tree, current) && WaitForShownItems(main, 14, 15000) == 14;
}

// A bitmap read back from the clipboard: its size and its pixels, top row first, as 0x00RRGGBB.
struct ClipboardPicture {
    LONG width = 0, height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)] & 0xFFFFFF; }
};

// Does `act` on an empty clipboard and reads the bitmap it puts there; an empty picture when none
// comes within the time. The test programs share the clipboard: their common lock is held meanwhile.
inline ClipboardPicture PictureCopiedBy(const std::function<void()>& act, DWORD timeoutMs) {
    HANDLE lock = CreateMutexA(nullptr, FALSE, "OrnavaleTestClipboard");
    if (!lock) return {};
    WaitForSingleObject(lock, 60000);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    act();
    ClipboardPicture picture;
    for (DWORD waited = 0; waited < timeoutMs && !picture.width; waited += 100, Sleep(100)) {
        if (!IsClipboardFormatAvailable(CF_BITMAP) || !OpenClipboard(nullptr)) continue;
        BITMAP bm{};
        if (HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
            bitmap && GetObjectA(bitmap, sizeof bm, &bm)) {
            BITMAPINFO info{};
            info.bmiHeader.biSize = sizeof info.bmiHeader;
            info.bmiHeader.biWidth = bm.bmWidth;
            info.bmiHeader.biHeight = -bm.bmHeight;  // top-down
            info.bmiHeader.biPlanes = 1;
            info.bmiHeader.biBitCount = 32;
            picture.pixels.resize(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
            HDC screen = GetDC(nullptr);
            if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(bm.bmHeight), picture.pixels.data(), &info,
                          DIB_RGB_COLORS)) {
                picture.width = bm.bmWidth;
                picture.height = bm.bmHeight;
            }
            ReleaseDC(nullptr, screen);
        }
        CloseClipboard();
    }
    ReleaseMutex(lock);
    CloseHandle(lock);
    return picture;
}
