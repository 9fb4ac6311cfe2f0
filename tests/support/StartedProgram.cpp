// Ornavale.exe started from a test and driven from outside.
#include "StartedProgram.h"

#include <algorithm>

namespace {

// The first visible top-level window of the process for which `match` answers true.
HWND FindProcessWindow(DWORD pid, const std::function<bool(HWND)>& match) {
    struct Search {
        DWORD pid;
        const std::function<bool(HWND)>& match;
        HWND found = nullptr;
    } search{pid, match};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner != s->pid || !IsWindowVisible(hwnd) || !s->match(hwnd)) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindCaption(DWORD pid, const std::string& caption) {
    return FindProcessWindow(pid, [&](HWND hwnd) { return WindowText(hwnd) == caption; });
}

std::string StoredSetting(const char* name) {
    char data[256] = {};
    DWORD size = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return {};
    return data;
}

// The picture's rectangle of an item of another process's list view, in its client area, once the
// page's pictures no longer move it (they move the items as they are bound); empty when it has none.
RECT SettledItemIconRect(HANDLE process, HWND list, int index) {
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

}  // namespace

std::string ProgramPath() { return TestProgramDir() + "..\\Ornavale\\Ornavale.exe"; }

std::string ProgramExeFolder() { return ProgramPath().substr(0, ProgramPath().rfind('\\') + 1); }

bool CatalogueInstalled() { return GetFileAttributesA((ProgramExeFolder() + "Iconlib.res").c_str()) != INVALID_FILE_ATTRIBUTES; }

void StoreSetting(const char* name, const std::string& value) {
    HKEY k;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                    nullptr);
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
}

QuietStore::QuietStore() {
    StoreSetting("Tip", "0");
    StoreSetting("OrnavaleLight", "1");
}

StartedProgram::StartedProgram(const std::string& arguments, const std::string& folder) {
    std::string command = "\"" + ProgramPath() + "\"" + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.empty() ? nullptr : folder.c_str(), &si, &pi_);
}

StartedProgram::~StartedProgram() {
    if (!started_) return;
    if (main_ && !WaitForEnd(0)) Close(3000);
    // Ended before this test ends: the next test in the slot starts the program again at once, and
    // would find this one still holding its single-instance lock.
    if (!WaitForEnd(0) && TerminateProcess(pi_.hProcess, 1)) WaitForEnd(5000);
    CloseHandle(pi_.hThread);
    CloseHandle(pi_.hProcess);
}

HWND StartedProgram::Main(DWORD timeoutMs) {
    if (main_ || !started_) return main_;
    // Without a catalogue index the start first says so; without the catalogue's archives it shows
    // its notice unless the user ticked it away.
    const bool indexDue = GetFileAttributesA((ProgramExeFolder() + "Icondata.dat").c_str()) == INVALID_FILE_ATTRIBUTES;
    const bool noticeDue = !CatalogueInstalled() && StoredSetting("OrnavaleLight") != "1";
    bool indexShown = false, noticeShown = false;
    HWND main = nullptr;
    WaitUntil(timeoutMs, [&] {
        for (auto [caption, shown] : {std::pair{"Ornavale error", &indexShown}, std::pair{"Ornavale Light", &noticeShown}})
            if (HWND box = FindCaption(pi_.dwProcessId, caption)) {
                PostMessageA(box, WM_CLOSE, 0, 0);
                *shown = true;
            }
        main = FindCaption(pi_.dwProcessId, "Ornavale");
        return (main && indexShown == indexDue && noticeShown == noticeDue) || WaitForEnd(0);
    });
    if (main && indexShown == indexDue && noticeShown == noticeDue) main_ = main;
    return main_;
}

HWND StartedProgram::WaitForWindow(const std::string& caption, DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil(timeoutMs, [&] { return (found = FindCaption(pi_.dwProcessId, caption)) != nullptr; });
    return found;
}

HWND StartedProgram::WaitForPopupMenu(DWORD timeoutMs) const {
    HWND found = nullptr;
    WaitUntil(timeoutMs, [&] {
        found = FindProcessWindow(pi_.dwProcessId, [](HWND hwnd) {
            char name[16] = {};
            GetClassNameA(hwnd, name, sizeof name);
            return std::string(name) == "#32768";
        });
        return found != nullptr;
    });
    return found;
}

bool StartedProgram::ShowsWindowOtherThan(HWND except) const {
    return FindProcessWindow(pi_.dwProcessId, [except](HWND hwnd) { return hwnd != except; }) != nullptr;
}

bool StartedProgram::WaitForEnd(DWORD timeoutMs) const {
    return started_ && WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool StartedProgram::EndsWithoutWindow(DWORD timeoutMs, bool* showed, HWND except) const {
    return WaitUntil(timeoutMs, [&] {
        if (ShowsWindowOtherThan(except)) *showed = true;
        return WaitForEnd(0);
    });
}

DWORD StartedProgram::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(pi_.hProcess, &code);
    return code;
}

bool StartedProgram::Close(DWORD timeoutMs) {
    if (main_) PostMessageA(main_, WM_CLOSE, 0, 0);
    return WaitForEnd(timeoutMs);
}

int StartedProgram::ShownItems() const {
    // The page's list view; its twin is hidden.
    struct Search {
        int items = 0;
        bool answered = true;
    } search;
    if (!main_) return -1;
    EnumChildWindows(
        main_,
        [](HWND child, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            char name[64] = {};
            GetClassNameA(child, name, sizeof name);
            if (std::string(name) != WC_LISTVIEWA || !IsWindowVisible(child)) return TRUE;
            DWORD_PTR n = 0;
            if (!SendMessageTimeoutA(child, LVM_GETITEMCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &n)) s->answered = false;
            s->items = std::max(s->items, static_cast<int>(n));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.answered ? search.items : -1;
}

int StartedProgram::WaitForShownItems(int items, DWORD timeoutMs) const {
    int seen = -1;
    WaitUntil(timeoutMs, [&] { return (seen = ShownItems()) == items; });
    return seen;
}

HWND StartedProgram::ClickListItem(int index, DWORD down, DWORD up) const {
    HWND list = FindChildOfClass(main_, WC_LISTVIEWA);
    if (!list) return nullptr;
    const RECT rect = SettledItemIconRect(pi_.hProcess, list, index);
    if (IsRectEmpty(&rect)) return nullptr;
    POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(list, &centre);
    SetForegroundWindow(main_);
    ClickAt(centre, down, up);
    return list;
}

HWND StartedProgram::SelectListItem(int index) const {
    // A list still being filled may drop the click's selection: the click comes again, slower than a
    // double-click.
    HWND list = nullptr;
    const bool selected = WaitUntil(10000, [&] {
        list = ClickListItem(index);
        return list && WaitUntil(1500, [&] {
            return SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == index;
        });
    });
    return selected ? list : nullptr;
}

bool StartedProgram::ClickTreeItem(std::initializer_list<const char*> path) const {
    HWND tree = FindChildOfClass(main_, WC_TREEVIEWA);
    HTREEITEM item = tree ? FindTreeItem(pi_.hProcess, tree, path) : nullptr;
    return item && ::ClickTreeItem(pi_.hProcess, tree, item);
}

bool StartedProgram::ShowCurrentCursors() const {
    return ClickTreeItem({"Your Icons", "Cursors", "Current"}) && WaitForShownItems(14, 15000) == 14;
}

bool StartedProgram::TypeIntoKeywordBox(const std::string& text) const {
    HWND combo = FindChildOfClass(main_, "ComboBox");
    HWND edit = combo ? FindChildOfClass(combo, "Edit") : nullptr;
    if (!edit) return false;
    const DWORD programThread = GetWindowThreadProcessId(main_, nullptr);
    if (!AttachThreadInput(GetCurrentThreadId(), programThread, TRUE)) return false;
    SetForegroundWindow(main_);
    SetFocus(edit);
    const bool focused = GetFocus() == edit;
    AttachThreadInput(GetCurrentThreadId(), programThread, FALSE);
    if (focused) TypeKeys(KeysOf(text));
    return focused;
}

bool BringToFront(HWND window, DWORD timeoutMs) {
    SetForegroundWindow(window);
    return WaitUntil(timeoutMs, [&] { return GetForegroundWindow() == window; });
}

bool WaitForFocus(HWND window, const char* className, DWORD timeoutMs) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    return WaitUntil(timeoutMs, [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        char name[64] = {};
        return GetGUIThreadInfo(thread, &info) && info.hwndFocus && IsChild(window, info.hwndFocus) &&
               GetClassNameA(info.hwndFocus, name, sizeof name) && lstrcmpiA(name, className) == 0;
    });
}

bool WaitUntilGone(HWND window, DWORD timeoutMs) {
    return WaitUntil(timeoutMs, [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

bool WaitForFile(const std::string& path, DWORD timeoutMs, const std::function<bool(const std::string&)>& complete) {
    return WaitUntil(timeoutMs, [&] {
        // Shared for reading only: it does not open while the writer still holds the file.
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        std::string bytes(GetFileSize(file, nullptr), '\0');
        DWORD read = 0;
        const bool whole = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) &&
                           read == bytes.size();
        CloseHandle(file);
        return whole && (!complete || complete(bytes));
    });
}

bool IsAbove(HWND upper, HWND lower) {
    for (HWND w = GetWindow(lower, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV))
        if (w == upper) return true;
    return false;
}

HWND FindChildOfClass(HWND parent, const char* className) {
    struct Search {
        const char* className;
        HWND found;
    } search{className, nullptr};
    if (!parent) return nullptr;
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

std::string WindowText(HWND window) {
    char text[1024] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

RemoteMemory::RemoteMemory(HANDLE process, size_t size)
    : process_(process), at_(VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}

RemoteMemory::~RemoteMemory() {
    if (at_) VirtualFreeEx(process_, at_, 0, MEM_RELEASE);
}

bool RemoteMemory::Write(const void* data, size_t size, size_t offset) const {
    return WriteProcessMemory(process_, at(offset), data, size, nullptr);
}

bool RemoteMemory::Read(void* data, size_t size, size_t offset) const {
    return ReadProcessMemory(process_, at(offset), data, size, nullptr);
}

std::string TreeItemText(HANDLE process, HWND tree, HTREEITEM item) {
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

HTREEITEM FindTreeItem(HANDLE process, HWND tree, std::initializer_list<const char*> path) {
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

bool ClickTreeItem(HANDLE process, HWND tree, HTREEITEM item) {
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

std::string ListItemText(HANDLE process, HWND list, int index, int column) {
    RemoteMemory remote(process, sizeof(LVITEMA) + 512);
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = remote.at(sizeof item);
    item.cchTextMax = 512;
    remote.Write(&item, sizeof item);
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(remote.at()));
    char text[512] = {};
    remote.Read(text, sizeof text - 1, sizeof item);
    return text;
}

void ClickAt(POINT screen, DWORD down, DWORD up) {
    SetCursorPos(screen.x, screen.y);
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = down;
    input[1].mi.dwFlags = up;
    SendInput(2, input, sizeof(INPUT));
}

ClipboardPicture PictureCopiedBy(const std::function<void()>& act, DWORD timeoutMs) {
    HANDLE lock = CreateMutexA(nullptr, FALSE, "OrnavaleTestClipboard");
    if (!lock) return {};
    WaitForSingleObject(lock, 60000);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    act();
    ClipboardPicture picture;
    WaitUntil(timeoutMs, [&] {
        if (!IsClipboardFormatAvailable(CF_BITMAP) || !OpenClipboard(nullptr)) return false;
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
        return picture.width != 0;
    });
    ReleaseMutex(lock);
    CloseHandle(lock);
    return picture;
}
