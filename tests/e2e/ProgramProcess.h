// Ornavale.exe started from a test: the process, its windows as they show, and the messages of a
// first start closed on the way to the main window.
#pragma once

#include <algorithm>
#include <string>

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

inline void StoreSetting(const char* name, const std::string& value) {
    HKEY k;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                    nullptr);
    RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(k);
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

// No tip window and no notice in the way of a test.
inline void QuietProgramStart() {
    StoreSetting("Tip", "0");
    StoreSetting("OrnavaleLight", "1");
}
