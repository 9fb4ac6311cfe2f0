// The one exit routine: runs the save step of every registered window (the view settings, the
// window positions and the user's files), then unloads the registered windows in the order they
// were registered, the main window last. Runs at most once per process.
#pragma once

#include <functional>
#include <string>
#include <vector>

class Form;

extern bool gSettingsSaved;  // the exit routine has run

// Why the program ends: the user or the program closed it, or Windows is shutting down or logging
// off, when the save asks nothing.
enum class ExitReason { User, SessionEnd };

// Saves and unloads every registered window. After a save for the end of the session it only
// unloads.
void SaveSettingsAndUnload(ExitReason reason = ExitReason::User);
// Windows asks whether the session may end: the save runs now, since the end may leave no time
// for it, but every window stays, for the session may still go on.
void SaveForSessionEnd();
// The session goes on after the save for its end: every window runs on as before it, and a later
// exit saves again.
void ResumeAfterSessionSave();
// The reason given to the exit routine that runs or ran last.
ExitReason CurrentExitReason();

// The exit's part for one window: its save step (none when empty), which runs before any window
// unloads, in the order registered; the windows unload in that order too. The layers that own the
// windows register them, the main window last. Registering a window again replaces its save step
// and keeps its place. `resume` undoes what the save step changed in the running window, for a
// session that goes on after the save for its end.
void RegisterExitStep(Form& form, std::function<void()> save = {}, std::function<void()> resume = {});

// Replaces a user file with the given lines (each ended by CR LF) without ever losing the old
// content: the new text goes to a temporary file first, the old file becomes backupPath, then the
// new one takes its place. Answers false (and leaves the old file as it was) when that fails.
bool RewriteUserFile(const std::string& path, const std::string& backupPath, const std::vector<std::string>& lines);
