// Asking Windows to draw its icons anew, and the right to restart Windows.
#pragma once

#include "ui/Win.h"

// System icons were changed since the last rebuild of the icon cache.
extern bool gCacheDirty;

// Rebuilds the shell's icon cache by changing "Shell Icon Size" by one and back, telling every
// window in between; tells the user why not when the setting cannot be read. The text read is what
// is written back, also when a broadcast fails; a failed first write stops before any broadcast,
// a failed write back is reported. Clears gCacheDirty in every outcome.
void RebuildIconCache();

// Sends a setting change to every top-level window without waiting on a hung one; answers whether
// the send succeeded. Tests replace it.
using SettingBroadcast = bool (*)(UINT message, WPARAM wParam, LPARAM lParam);
extern SettingBroadcast gBroadcastSetting;

// Enables "SeShutdownPrivilege" for this process; reports each failing step and goes on with the
// steps that do not need what failed. Closes the token.
void EnableShutdownPrivilege();

// The system calls behind EnableShutdownPrivilege; tests replace one to make its step fail.
struct TokenCalls {
    HANDLE(WINAPI* getCurrentProcess)();
    BOOL(WINAPI* openProcessToken)(HANDLE process, DWORD access, PHANDLE token);
    BOOL(WINAPI* lookupPrivilegeValue)(LPCSTR system, LPCSTR name, PLUID luid);
    BOOL(WINAPI* adjustTokenPrivileges)(HANDLE token, BOOL disableAll, PTOKEN_PRIVILEGES newState, DWORD length,
                                        PTOKEN_PRIVILEGES previousState, PDWORD returnLength);
};
extern TokenCalls gTokenCalls;
