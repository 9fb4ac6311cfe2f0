// The call that asks Windows to restart; tests replace it, so that no test ever reaches it.
#pragma once

#include "ui/Win.h"

using ExitWindowsCall = BOOL(WINAPI*)(UINT flags, DWORD reason);
extern ExitWindowsCall gExitWindows;
