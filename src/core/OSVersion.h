// Start-up probes: the Windows version and whether the shell can show folder icons.
#pragma once

#include <string>

#include "ui/Win.h"

// "95", "98", "NT3" or "NT4"; empty for any other version.
extern std::string gOSCode;
// Display name followed by the version in parentheses, for the about window.
extern std::string gOSName;
// Folders can show their own icons through desktop.ini; only ever set to True.
extern bool gFolderIconSupport;

struct OSVersion {
    DWORD platformId = 0;
    DWORD major = 0;
    DWORD minor = 0;
};

// Where GetOSVersion learns the version; the tests replace it.
using OSVersionSource = OSVersion (*)();
extern OSVersionSource gOSVersionSource;
OSVersion SystemOSVersion();

// Applies the version table to code and name (both left unchanged for an unknown minor or major).
void ClassifyOSVersion(const OSVersion& v, std::string& code, std::string& name);

// Sets gOSCode and gOSName from the running Windows.
void GetOSVersion();

// Reads the default value of HKEY_CLASSES_ROOT\<classKey>, takes the file it names (before any ",",
// or Internet Explorer when missing) and sets gFolderIconSupport when its product version is 4 or more.
void procCheckShellVersion(const std::string& classKey);
