// The save on exit.
#include "core/SaveOnExit.h"

#include <cstdio>

#include "core/Global.h"
#include "ui/Form.h"

bool gSettingsSaved = false;

namespace {

struct ExitStep {
    Form* form;
    std::function<void()> save;
    std::function<void()> resume;
};
std::vector<ExitStep>& ExitSteps() {
    static std::vector<ExitStep> steps;
    return steps;
}

void DeleteExtractedLibraries() {
    const std::string folder = ExtractedLibraryFolder();
    WIN32_FIND_DATAA found;
    HANDLE h = FindFirstFileA((folder + "*.lib").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(h, &found));
    FindClose(h);
}

}  // namespace

bool RewriteUserFile(const std::string& path, const std::string& backupPath, const std::vector<std::string>& lines) {
    const std::string temp = path + ".new";
    FILE* f = std::fopen(temp.c_str(), "wb");
    if (!f) return false;
    bool ok = true;
    for (const std::string& line : lines) {
        ok = ok && std::fwrite(line.data(), 1, line.size(), f) == line.size() && std::fwrite("\r\n", 1, 2, f) == 2;
    }
    ok = std::fclose(f) == 0 && ok;
    if (!ok) {
        DeleteFileA(temp.c_str());
        return false;
    }
    bool backedUp = false;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        DeleteFileA(backupPath.c_str());
        backedUp = MoveFileA(path.c_str(), backupPath.c_str()) != FALSE;
        if (!backedUp) {
            // No backup possible: the new content still replaces the old rather than adding to it.
            if (!MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
                DeleteFileA(temp.c_str());
                return false;
            }
            return true;
        }
    }
    if (!MoveFileA(temp.c_str(), path.c_str())) {
        // Put the old file back where it was; an older backup found here is not the old file.
        if (backedUp) MoveFileA(backupPath.c_str(), path.c_str());
        DeleteFileA(temp.c_str());
        return false;
    }
    return true;
}

void RegisterExitStep(Form& form, std::function<void()> save, std::function<void()> resume) {
    for (ExitStep& step : ExitSteps()) {
        if (step.form == &form) {
            step.save = std::move(save);
            step.resume = std::move(resume);
            return;
        }
    }
    ExitSteps().push_back({&form, std::move(save), std::move(resume)});
}

namespace {

ExitReason gExitReason = ExitReason::User;
// The save ran for the end of the session, and nothing has unloaded yet.
bool gSavedForSession = false;

void Save(ExitReason reason) {
    gSettingsSaved = true;
    gSavedForSession = false;
    gExitReason = reason;
    // A copy: a step may register or unload windows.
    const std::vector<ExitStep> steps = ExitSteps();
    for (const ExitStep& step : steps)
        if (step.save) step.save();
    DeleteExtractedLibraries();
}

}  // namespace

ExitReason CurrentExitReason() { return gExitReason; }

void SaveSettingsAndUnload(ExitReason reason) {
    if (gSettingsSaved && !gSavedForSession) return;
    if (!gSettingsSaved) Save(reason);
    gSavedForSession = false;
    const std::vector<ExitStep> steps = ExitSteps();
    for (const ExitStep& step : steps) step.form->Unload(UnloadMode::FormCode);
}

void SaveForSessionEnd() {
    if (gSettingsSaved) return;
    Save(ExitReason::SessionEnd);
    gSavedForSession = true;
}

void ResumeAfterSessionSave() {
    if (!gSavedForSession) return;
    gSavedForSession = false;
    gSettingsSaved = false;
    gExitReason = ExitReason::User;
    const std::vector<ExitStep> steps = ExitSteps();
    for (const ExitStep& step : steps)
        if (step.resume) step.resume();
}
