// The program, Windows, system and temporary folders.
#include "core/Folders.h"

#include "core/Registry.h"
#include "core/Settings.h"
#include "ui/Win.h"

std::string ProgramFolder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD n = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.rfind('\\') + 1);
}

std::string WindowsFolder() {
    char buffer[MAX_PATH + 1] = {};
    UINT n = GetWindowsDirectoryA(buffer, MAX_PATH);
    return n > 0 && n <= MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string SystemFolder() {
    char buffer[MAX_PATH + 1] = {};
    UINT n = GetSystemDirectoryA(buffer, MAX_PATH);
    return n > 0 && n <= MAX_PATH ? std::string(buffer, n) : std::string();
}

std::string NormalizeTempFolder(std::string raw) {
    while (!raw.empty() && raw.back() == '\\') raw.pop_back();
    if (!raw.empty()) CharLowerBuffA(raw.data(), static_cast<DWORD>(raw.size()));
    return raw + "\\";
}

std::string TempFolder() {
    char buffer[MAX_PATH + 1] = {};
    DWORD n = GetTempPathA(MAX_PATH, buffer);
    return NormalizeTempFolder(n > 0 && n <= MAX_PATH ? std::string(buffer, n) : std::string());
}

void PublishProgramFolder(const std::string& appPath) {
    Variant stored = ReadSetting(setting::Path);
    if (stored.IsEmpty() || stored.Text() != appPath) WriteSetting(setting::Path, appPath);
}

bool TipWanted(const Variant& tipSetting) {
    if (tipSetting.IsBlank()) return true;
    auto n = tipSetting.Number();
    return n && *n == 1;
}
