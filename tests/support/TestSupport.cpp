// Temporary folders and registry clean-up for the tests.
#include "TestSupport.h"

#include <atomic>
#include <cstring>
#include <intrin.h>
#include <shlwapi.h>

#include "core/Global.h"
#include "core/Instance.h"

std::string TestProgramDir() {
    char buffer[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string p(buffer);
    return p.substr(0, p.rfind('\\') + 1);
}

namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = folder + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full + "\\");
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(h, &fd));
        FindClose(h);
    }
    RemoveDirectoryA(folder.c_str());
}

void MakeFolders(const std::string& path) {
    for (size_t i = 3; i < path.size(); ++i)
        if (path[i] == '\\') CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
    CreateDirectoryA(path.c_str(), nullptr);
}

}  // namespace

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + "ornavale-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(counter++) + "\\";
    MakeFolders(path_.substr(0, path_.size() - 1));
}

TempDir::~TempDir() {
    // A folder that is the current directory cannot be removed: the main window's start makes its
    // favorites folder the current directory.
    char current[MAX_PATH] = {};
    const DWORD n = GetCurrentDirectoryA(MAX_PATH, current);
    const std::string folder = path_.substr(0, path_.size() - 1);
    if (n > 0 && n < MAX_PATH && _strnicmp(current, folder.c_str(), folder.size()) == 0) {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        SetCurrentDirectoryA(temp);
    }
    RemoveTree(path_);
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
