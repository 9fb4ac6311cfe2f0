// The one exit routine: saves the view settings, the window positions and the user's files,
// then unloads every window, the main window last. Runs at most once per process.
#pragma once

#include <string>
#include <vector>

void SaveSettingsAndUnload();

// Replaces a user file with the given lines (each ended by CR LF) without ever losing the old
// content: the new text goes to a temporary file first, the old file becomes backupPath, then the
// new one takes its place. Answers false (and leaves the old file as it was) when that fails.
bool RewriteUserFile(const std::string& path, const std::string& backupPath, const std::vector<std::string>& lines);
