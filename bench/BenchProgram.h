// The program as a benchmark runs it: its hooks and window classes, no start-up questions, and
// every message box answered OK.
#pragma once

#include <string>

#include "TestSupport.h"
#include "program/CoreHooks.h"
#include "ui/App.h"

inline void StartBenchProgram() {
    RegisterCoreHooks();
    InitApp(GetModuleHandleA(nullptr));
    gEndWhenNoForms = false;
    gMsgBoxHook = [](const std::string&, UINT, const std::string&) { return IDOK; };
    PresetQuietStart();
}
