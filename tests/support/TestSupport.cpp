// ANSI paths in the scratch folder and registry clean-up for the tests.
#include "TestSupport.h"

#include <atomic>
#include <cstring>
#include <system_error>
#include <utility>
#include <intrin.h>
#include <shlwapi.h>

#include "common/ReaderThreads.h"
#include "core/Global.h"
#include "core/Instance.h"

std::string TestProgramDir() {
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string p(buffer);
    return p.substr(0, p.rfind('\\') + 1);
}

namespace {

void MakeFolders(const std::string& path) {
    for (size_t i = 3; i < path.size(); ++i)
        if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace

TempDir::TempDir() {
    const std::wstring& wide = folder_.path().native();
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr,
                                      nullptr);
    path_.assign(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()), path_.data(), n, nullptr, nullptr);
    path_ += '\\';
}

std::string TempDir::Folder(const std::string& relative) const {
    std::string full = path_ + relative;
    MakeFolders(full);
    return full;
}

std::string TempDir::File(const std::string& relative, const std::string& content) const {
    std::string full = path_ + relative;
    auto slash = full.rfind('\\');
    MakeFolders(full.substr(0, slash));
    HANDLE h = CreateFileA(full.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(h);
    }
    return full;
}

void DeleteRegTree(HKEY hive, const std::string& key) { SHDeleteKeyA(hive, key.c_str()); }

void CleanStore::Wipe() { DeleteRegTree(HKEY_CURRENT_USER, "Software\\Ornavale"); }
CleanStore::CleanStore() { Wipe(); }
CleanStore::~CleanStore() { Wipe(); }

void PresetQuietStart() {
    gStartArguments = [] { return std::string(); };
    HKEY k;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Ornavale\\Settings", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExA(k, "OrnavaleLight", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    RegCloseKey(k);
    if (gAppPath.empty()) {
        static const TempDir programFolder;
        programFolder.File("Icondata.dat", "");
        gAppPath = programFolder.path();
    }
}

void TypeKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> input;
    auto add = [&](WORD vk, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        input.push_back(i);
    };
    for (WORD key : keys) {
        const bool shift = key & 0x100, control = key & 0x200, alt = key & 0x400;
        const auto vk = static_cast<WORD>(key & 0xFF);
        if (alt) add(VK_MENU, false);
        if (control) add(VK_CONTROL, false);
        if (shift) add(VK_SHIFT, false);
        add(vk, false);
        add(vk, true);
        if (shift) add(VK_SHIFT, true);
        if (control) add(VK_CONTROL, true);
        if (alt) add(VK_MENU, true);
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

std::vector<WORD> KeysOf(const std::string& text) {
    std::vector<WORD> keys;
    for (char ch : text) keys.push_back(static_cast<WORD>(VkKeyScanA(ch) & 0x1FF));
    return keys;
}

size_t GdiObjectCount() {
    if (DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return counted;
    // The process environment block names the handle table: 0x10000 cells of 24 bytes, the owning
    // process at byte 8 (Wine leaves it 0) and the object's type at byte 14 (0: a free cell).
    const auto* peb = reinterpret_cast<const BYTE*>(__readgsqword(0x60));
    const BYTE* table = nullptr;
    std::memcpy(&table, peb + 0xF8, sizeof table);
    if (!table) return 0;
    const WORD self = static_cast<WORD>(GetCurrentProcessId());
    size_t used = 0;
    for (size_t i = 0; i < 0x10000; ++i) {
        const BYTE* cell = table + i * 24;
        WORD owner = 0;
        std::memcpy(&owner, cell + 8, sizeof owner);
        if (cell[14] != 0 && (owner == self || owner == 0)) ++used;
    }
    return used;
}

ClipboardData::ClipboardData(UINT format, const std::string& bytes) {
    lock_ = CreateMutexA(nullptr, FALSE, "OrnavaleTestClipboard");
    if (lock_) WaitForSingleObject(lock_, 30000);
    for (int tries = 0; tries < 50 && !OpenClipboard(nullptr); ++tries) Sleep(20);
    EmptyClipboard();
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size())) {
        std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
        if (!SetClipboardData(format, memory)) GlobalFree(memory);
    }
    CloseClipboard();
    OleGetClipboard(&object_);
}

ClipboardData::ClipboardData(ClipboardData&& other) noexcept
    : lock_(std::exchange(other.lock_, nullptr)), object_(std::exchange(other.object_, nullptr)) {}

ClipboardData::~ClipboardData() {
    if (object_) object_->Release();
    if (!lock_) return;
    ReleaseMutex(lock_);
    CloseHandle(lock_);
}

ClipboardData ClipboardData::Text(const std::string& text) { return ClipboardData(CF_TEXT, text + '\0'); }

ClipboardData ClipboardData::Files(const std::vector<std::string>& files, bool wide) {
    DROPFILES header{};
    header.pFiles = sizeof header;
    header.fWide = wide;
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    for (const std::string& f : files) {
        if (wide) {
            const std::wstring w(f.begin(), f.end());
            bytes.append(reinterpret_cast<const char*>(w.c_str()), (w.size() + 1) * sizeof(wchar_t));
        } else {
            bytes.append(f.c_str(), f.size() + 1);
        }
    }
    bytes.append(wide ? sizeof(wchar_t) : 1, '\0');
    return ClipboardData(CF_HDROP, bytes);
}

namespace {

struct HotSpotAnswer {
    int x = 0, y = 0;
    int clicks = 0;
    UINT_PTR timer = 0;
} gHotSpotAnswer;

BOOL CALLBACK FindPicker(HWND window, LPARAM found) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char title[64] = {};
    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
        GetWindowTextA(window, title, sizeof title) && std::string(title) == "Set the Cursor's Hotspot") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerPicker(HWND, UINT, UINT_PTR, DWORD) {
    HWND picker = nullptr;
    EnumWindows(FindPicker, reinterpret_cast<LPARAM>(&picker));
    // A window once answered is marked, so that each picker gets one click.
    constexpr const char* kAnswered = "OrnavaleTestAnswered";
    if (!picker || GetPropA(picker, kAnswered)) return;
    HWND picture = FindWindowExA(picker, nullptr, "OrnavalePicture", nullptr);
    if (!picture) return;
    SetPropA(picker, kAnswered, reinterpret_cast<HANDLE>(1));
    ++gHotSpotAnswer.clicks;
    const LPARAM at = MAKELPARAM(gHotSpotAnswer.x, gHotSpotAnswer.y);
    PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(picture, WM_LBUTTONUP, 0, at);
}

}  // namespace

HotSpotClicker::HotSpotClicker(int x, int y) {
    gHotSpotAnswer = {x, y, 0, SetTimer(nullptr, 0, USER_TIMER_MINIMUM, AnswerPicker)};
}

HotSpotClicker::~HotSpotClicker() {
    KillTimer(nullptr, gHotSpotAnswer.timer);
    gHotSpotAnswer.timer = 0;
}

int HotSpotClicker::Clicks() { return gHotSpotAnswer.clicks; }

namespace {

std::atomic<int> gThreadStartsLeft{0};
ReaderThreadStarter gSystemThreadStarter = nullptr;

std::thread LimitedThreadStart(std::function<void()> work) {
    if (gThreadStartsLeft-- <= 0) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    return gSystemThreadStarter(std::move(work));
}

}  // namespace

ReaderThreadStarts::ReaderThreadStarts(int starts) {
    gThreadStartsLeft = starts;
    gSystemThreadStarter = gStartReaderThread;
    gStartReaderThread = LimitedThreadStart;
}

ReaderThreadStarts::~ReaderThreadStarts() { gStartReaderThread = gSystemThreadStarter; }
