#include "core/IconCache.h"

#include <cstdint>
#include <optional>
#include <string>

#include "core/Global.h"
#include "core/Registry.h"
#include "ui/App.h"
#include "ui/Unique.h"

bool gCacheDirty = false;

namespace {

const char* const kMetricsKey = "Control Panel\\Desktop\\WindowMetrics";
const char* const kIconSizeValue = "Shell Icon Size";

bool SystemBroadcastSetting(UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(HWND_BROADCAST, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

bool WriteIconSize(const std::string& text) {
    CreateRegKey(kMetricsKey, HKEY_CURRENT_USER);
    return WriteRegValue(kMetricsKey, kIconSizeValue, Variant(text), REG_SZ) == ERROR_SUCCESS;
}

void BroadcastIconMetrics() {
    gBroadcastSetting(WM_SETTINGCHANGE, SPI_SETICONMETRICS, 0);
    DoEvents();
}

void ShowStepError(const char* step, DWORD code) {
    MsgBox(std::string(step) + " error==" + std::to_string(code), MsgBoxStyle::OkOnly, "Ornavale");
}

}  // namespace

SettingBroadcast gBroadcastSetting = SystemBroadcastSetting;

TokenCalls gTokenCalls = {GetCurrentProcess, OpenProcessToken, LookupPrivilegeValueA, AdjustTokenPrivileges};

void RebuildIconCache() {
    Hourglass hourglass;
    gCacheDirty = false;

    // Only a text that is a number the size and the size plus one fit 16 bits counts: anything
    // else is not a setting this program may change and put back.
    const Variant read = ReadRegValue(HKEY_CURRENT_USER, kMetricsKey, kIconSizeValue);
    const auto n = read.IsText() ? read.Number() : std::nullopt;
    if (!n || *n < INT16_MIN || *n >= INT16_MAX) {
        gResult = MsgBox("Ornavale could not retrieve your current Windows Icon Size setting. For safety reasons "
                         "Ornavale wil not rebuild your Icon Cache. Please use the Microsoft Powertools to rebuid "
                         "your Icon Cache.",
                         MsgBoxStyle::Exclamation, "Error");
        return;
    }
    const std::string original = read.Text();

    if (!WriteIconSize(std::to_string(*n + 1))) {
        gResult = MsgBox("Ornavale could not change your Windows Icon Size setting, so your Icon Cache was not "
                         "rebuilt.",
                         MsgBoxStyle::Exclamation, "Error");
        return;
    }
    BroadcastIconMetrics();

    const bool restored = WriteIconSize(original);
    BroadcastIconMetrics();
    if (!restored)
        gResult = MsgBox("Ornavale could not set your Windows Icon Size setting back to " + original +
                             ". Please set \"Shell Icon Size\" under HKEY_CURRENT_USER\\" + kMetricsKey + " to " +
                             original + ".",
                         MsgBoxStyle::Exclamation, "Error");
}

void EnableShutdownPrivilege() {
    // Each step clears the last error itself and is judged by its own result.
    SetLastError(0);
    const HANDLE process = gTokenCalls.getCurrentProcess();
    if (!process) ShowStepError("GetCurrentProcess", GetLastError());

    UniqueHandle token;
    if (process) {
        SetLastError(0);
        HANDLE opened = nullptr;
        if (gTokenCalls.openProcessToken(process, TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &opened))
            token.reset(opened);
        else
            ShowStepError("OpenProcessToken", GetLastError());
    }

    TOKEN_PRIVILEGES privileges = {};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    SetLastError(0);
    const bool found = gTokenCalls.lookupPrivilegeValue(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
    if (!found) ShowStepError("LookupPrivilegeValue", GetLastError());

    if (!token || !found) return;
    TOKEN_PRIVILEGES previous = {};
    DWORD returned = 0;
    // A success that did not assign the privilege leaves ERROR_NOT_ALL_ASSIGNED (1300).
    SetLastError(0);
    const BOOL adjusted =
        gTokenCalls.adjustTokenPrivileges(token.get(), FALSE, &privileges, sizeof previous, &previous, &returned);
    const DWORD code = GetLastError();
    if (!adjusted || code != 0) ShowStepError("AdjustTokenPrivileges", code);
}
