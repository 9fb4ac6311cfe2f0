// The folders the program records at start.
#pragma once

#include <string>

// The folder of the program file, with a trailing "\".
std::string ProgramFolder();
std::string WindowsFolder();  // no trailing "\"
std::string SystemFolder();   // no trailing "\"
// The temporary folder as the program keeps it: lower case, exactly one trailing "\".
std::string TempFolder();
std::string NormalizeTempFolder(std::string raw);

// Writes the "Path" setting when it is missing or differs from appPath.
void PublishProgramFolder(const std::string& appPath);

// Whether the tip window opens at start for this "Tip" setting: missing, empty or 1.
class Variant;
bool TipWanted(const Variant& tipSetting);
