// The shell's folder picker and the folder walker.
#include "core/FolderWalk.h"

#include <cctype>
#include <strings.h>
#include <vector>

#include "core/Files.h"
#include "ui/App.h"
#include "ui/Unique.h"

bool gFavoritesMode = false;
bool gBrowseFolderIcon = false;
bool gScanSubDirs = false;
bool gAbort = false;
std::string gFavDir;
std::string gStrTemp;
int32_t gFileCount = 0;
int32_t gDirCount = 0;
unsigned long gWalkEventsMs = 20;

FolderPicker gFolderPicker = &SHBrowseForFolderA;

namespace {

// Stands in until a window layer registers: the picker has no owner and the walk only counts.
class NoVisitor final : public FolderWalkVisitor {
  public:
    HWND PickerOwner(PickerMode) override { return nullptr; }
    void FolderChosen(PickerMode, const std::string&) override {}
    void EntryListed(const std::string&) override {}
    void FavoritesFolder(const FavoritesNodeKeys&, const std::string&) override {}
};
NoVisitor gNoVisitor;
FolderWalkVisitor* gVisitor = &gNoVisitor;

PickerMode CurrentPickerMode() {
    if (gFavoritesMode) return PickerMode::Favorites;
    if (gBrowseFolderIcon) return PickerMode::FolderIcon;
    return PickerMode::Scan;
}

constexpr const char* kFavoritesTitle =
    "Select a valid Folder. Do not select system objects like Printers, Control Panel etc.";
constexpr const char* kFolderIconTitle =
    "Select a valid Folder. The Folder icon will be replaced by the currently selected icon.";
constexpr const char* kScanTitle =
    "Select a valid Folder. Do not select system objects like Printers, Control Panel etc. Network Folders "
    "are allowed.";

// Lets window events run during a walk once gWalkEventsMs have passed since they last ran: under
// Wine each look at the message queue is a round trip to the server, as dear as a third of a
// file's opening. gAbort is tested after every entry all the same.
void LetEventsRun() {
    static DWORD ranAt = 0;
    if (GetTickCount() - ranAt < gWalkEventsMs) return;
    DoEvents();
    ranAt = GetTickCount();
}

std::string WithoutTrailingSlash(std::string s) {
    while (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

// Virtual objects (the printers, the control panel) have no file-system path; some shells still
// answer a "::{...}" text for them.
bool IsFileSystemPath(const std::string& p) {
    bool drive = p.size() >= 3 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':' && p[2] == '\\';
    bool network = p.size() > 2 && p[0] == '\\' && p[1] == '\\' && p[2] != '?' && p[2] != '.';
    return drive || network;
}

bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
    return s.size() >= prefix.size() && strncasecmp(s.c_str(), prefix.c_str(), prefix.size()) == 0;
}

}  // namespace

FolderWalkVisitor* SetFolderWalkVisitor(FolderWalkVisitor* visitor) {
    FolderWalkVisitor* before = gVisitor;
    gVisitor = visitor ? visitor : &gNoVisitor;
    return before;
}

int CALLBACK BrowseCallbackProc(HWND hwnd, UINT msg, LPARAM, LPARAM data) {
    // data is the zero-terminated start path, alive for the whole dialog.
    if (msg == BFFM_INITIALIZED && data) SendMessageA(hwnd, BFFM_SETSELECTIONA, static_cast<WPARAM>(-1), data);
    return 0;
}

std::string BrowseForFolder(const std::string& startPath) {
    const PickerMode mode = CurrentPickerMode();
    const char* title = mode == PickerMode::Favorites    ? kFavoritesTitle
                        : mode == PickerMode::FolderIcon ? kFolderIconTitle
                                                         : kScanTitle;

    std::string start = startPath;  // zero-terminated and alive for the whole dialog
    BROWSEINFOA info{};
    info.hwndOwner = gVisitor->PickerOwner(mode);
    info.pidlRoot = nullptr;
    info.lpszTitle = title;
    info.ulFlags = 0;
    info.lpfn = BrowseCallbackProc;
    info.lParam = reinterpret_cast<LPARAM>(start.c_str());

    UniqueIdList chosen(gFolderPicker(&info));
    if (!chosen) return {};  // cancelled: no target changes

    std::string result;
    char buffer[MAX_PATH + 1] = {};
    if (SHGetPathFromIDListA(chosen.get(), buffer)) {
        result = buffer;
        TrimAtNull(result);
        if (!IsFileSystemPath(result)) result.clear();
    }
    if (mode == PickerMode::FolderIcon) gStrTemp = result;
    else gVisitor->FolderChosen(mode, result);
    return result;
}

FavoritesNodeKeys FavoritesKeys(const std::string& favDir, const std::string& walkedPath, const std::string& name) {
    // The key of a folder's node is "favori" followed by "\" and its path below the favorites
    // root, whether or not the root was given with its trailing "\".
    std::string root = WithoutTrailingSlash(favDir);
    std::string walked = WithoutTrailingSlash(walkedPath);
    std::string relative;
    if (StartsWithNoCase(walked, root)) relative = walked.substr(root.size());
    else relative = "\\" + walked;
    while (relative.size() > 1 && relative[0] == '\\' && relative[1] == '\\') relative.erase(0, 1);
    if (!relative.empty() && relative[0] != '\\') relative.insert(0, "\\");
    FavoritesNodeKeys keys;
    keys.parent = "favori" + relative;
    keys.key = keys.parent + "\\" + name;
    return keys;
}

namespace {

// True for the patterns every name matches: one look at the folder then serves both passes.
bool MatchesEverything(const std::string& pattern) { return pattern == "*" || pattern == "*.*"; }

// The folder's entries, with the attributes the listing already holds (no second look per entry).
HANDLE FindEntries(const std::string& spec, WIN32_FIND_DATAA& found) {
    return FindFirstFileExA(spec.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                            FIND_FIRST_EX_LARGE_FETCH);
}

bool IsDotEntry(const char* name) { return name[0] == '.' && (!name[1] || (name[1] == '.' && !name[2])); }

}  // namespace

uint64_t ScanFolderTree(std::string& path, const std::string& pattern, int32_t& fileCount, int32_t& dirCount) {
    if (path.empty() || path.back() != '\\') path += '\\';
    uint64_t total = 0;
    std::vector<std::string> subFolders;
    const bool onePass = MatchesEverything(pattern);

    // Lists an entry the pattern matched; false once the walk is aborted.
    auto list = [&](const WIN32_FIND_DATAA& entry, const std::string& name) {
        total += (static_cast<uint64_t>(entry.nFileSizeHigh) << 32) | entry.nFileSizeLow;
        ++fileCount;
        gVisitor->EntryListed(path + name);
        LetEventsRun();
        return !gAbort;
    };

    WIN32_FIND_DATAA found;
    {
        UniqueFind find(FindEntries(path + "*", found));
        if (find) {
            do {
                if (IsDotEntry(found.cFileName)) continue;
                std::string name = found.cFileName;
                LetEventsRun();
                if (gAbort) return total;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    subFolders.push_back(name);
                    ++dirCount;
                    if (gFavoritesMode) gVisitor->FavoritesFolder(FavoritesKeys(gFavDir, path, name), name);
                }
                if (onePass && !list(found, name)) return total;
            } while (FindNextFileA(find.get(), &found));
        }
    }

    if (!onePass) {
        UniqueFind find(FindEntries(path + pattern, found));
        if (find) {
            do {
                if (IsDotEntry(found.cFileName)) continue;
                if (!list(found, found.cFileName)) return total;
            } while (FindNextFileA(find.get(), &found));
        }
    }

    if (gScanSubDirs) {
        for (const std::string& name : subFolders) {
            LetEventsRun();
            std::string sub = path + name + "\\";
            total += ScanFolderTree(sub, pattern, fileCount, dirCount);
            if (gAbort) return total;
        }
    }
    return total;
}
