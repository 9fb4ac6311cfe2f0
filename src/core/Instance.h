// Single instance: the mutex, the marked main window and the hand-over of a second start's
// command line to the running instance.
#pragma once

#include <string>
#include <vector>

#include "ui/Win.h"

inline constexpr const char* kMutexName = "Ornavale_APPLICATION_MUTEX";
inline constexpr const char* kAppWindowProp = "Ornavale_APPLICATION";
inline constexpr UINT kHandoverTimeoutMs = 5000;

// The single-instance mutex of the first instance; nullptr when none is held.
extern HANDLE gMutex;
// The running instance's main window, found by a second instance; nullptr when none was found.
extern HWND gPrevWnd;

// Creates the named mutex; true when this process is the first to hold the name (also when the
// mutex cannot be created for another reason).
bool IsFirstInstance(const std::string& name);
// Finds the first top-level window marked with the instance property; leaves it in gPrevWnd.
void FindPrevInstance();
BOOL CALLBACK EnumWindowsProc(HWND hwnd, LPARAM lParam);
bool IsAppWindow(HWND hwnd);
void SetAppWindowProp(HWND hwnd);
// Restores a minimised window and brings it to the front, leaving every window's always-on-top as
// it was; while it is disabled by a modal window of its program (a form, a message box, a file
// dialog), that window comes up over it.
void RestoreAppWindow(HWND hwnd);
void ReleaseInstanceMutex();

// The bytes a second start hands over: the arguments, or one zero byte when there are none.
std::vector<char> HandoverBytes(const std::string& arguments);
// The command line without the program's own path (quoted or not) and the blanks after it.
std::string ArgumentsOf(const std::string& commandLine);
// The arguments this program was started with, which the main window opens as paths; test
// programs replace it, so that their own switches are not opened.
extern std::string (*gStartArguments)();

// The program's entry procedure: the first instance shows the splash and answers true (the
// message loop runs next); a second instance hands over or raises the first and answers false.
bool Main();
