// Writing one shortcut file in a single call, for the program's own Send To and desktop shortcuts.
#pragma once

#include <cstdint>
#include <string>

// Writes the shortcut LnkFile to ExeFile with its working folder, arguments, icon and show command
// through a link object of its own (ShellLinkObject::WriteLink). Failures throw RuntimeError.
void procSaveShortcut(const std::string& LnkFile, const std::string& ExeFile, const std::string& WorkDir,
                      const std::string& ExeArgs, const std::string& IconFile, int32_t IconIdx, int32_t ShowCmd);
