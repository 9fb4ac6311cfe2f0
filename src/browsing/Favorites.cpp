// The favorites folders: their paths, name checks and removal.
#include "browsing/Favorites.h"

#include <string_view>
#include <vector>

#include "common/OpenPaths.h"
#include "ui/TreeView.h"
#include "ui/Unique.h"

std::string gFavNode;
std::string gFavFolderNode;
bool gAddByDrag = false;
std::string gAddByDragFile;

namespace {

DWORD SystemStartProgram(const std::string& commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    std::string line = commandLine;  // CreateProcessA may write into it
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 0;
    // The program runs on its own; we never wait for it.
    UniqueHandle process(pi.hProcess), thread(pi.hThread);
    return pi.dwProcessId;
}

std::string WithoutTrailingSlash(std::string s) {
    while (!s.empty() && s.back() == '\\') s.pop_back();
    return s;
}

// The full long form of a path, in lower case, without a closing "\".
std::string ComparablePath(const std::string& path) {
    char full[MAX_PATH * 4];
    DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    std::string result = n > 0 && n < std::size(full) ? std::string(full, n) : path;
    char longer[MAX_PATH * 4];
    n = GetLongPathNameA(result.c_str(), longer, static_cast<DWORD>(std::size(longer)));
    if (n > 0 && n < std::size(longer)) result.assign(longer, n);
    return LowerAnsi(WithoutTrailingSlash(result));
}

}  // namespace

ProgramStarter gStartProgram = SystemStartProgram;

std::string FavoritesFolderOf(const std::string& favDir, const std::string& nodeKey) {
    const std::string relative = nodeKey.size() > 6 ? nodeKey.substr(6) : std::string();
    return WithoutTrailingSlash(favDir) + relative;
}

std::string FavoritesAddFolder(const std::string& favDir, const Node* selected) {
    const bool favorites = selected && selected->key.compare(0, 6, "favori") == 0;
    return FavoritesFolderOf(favDir, favorites ? selected->key : "favori");
}

bool IsInsideFolder(const std::string& path, const std::string& folder) {
    if (path.empty() || folder.empty()) return false;
    const std::string p = ComparablePath(path), f = ComparablePath(folder) + "\\";
    return p.size() > f.size() && p.compare(0, f.size(), f) == 0;
}

bool MovedFavoriteMayGo(const std::string& saved, const std::string& source) {
    const DWORD a = saved.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(saved.c_str());
    if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_DIRECTORY)) return false;
    return ComparablePath(saved) != ComparablePath(source);
}

bool IsValidFolderName(const std::string& name) {
    if (name.empty() || name.back() == '.' || name.back() == ' ') return false;
    for (unsigned char c : name)
        if (c < 32 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    return true;
}

namespace {

// Windows removes no folder that is a process's current folder, or holds it: when ours lies in
// `folder`, it moves to the folder's parent, the nearest one that stays.
void LeaveFolder(const std::string& folder) {
    char current[MAX_PATH * 4];
    const DWORD n = GetCurrentDirectoryA(static_cast<DWORD>(std::size(current)), current);
    if (n == 0 || n >= std::size(current)) return;
    const std::string here = ComparablePath(std::string(current, n)), gone = ComparablePath(folder);
    if (here != gone && here.compare(0, gone.size() + 1, gone + "\\") != 0) return;
    char parent[MAX_PATH * 4];
    const DWORD m = GetFullPathNameA((folder + "\\..").c_str(), static_cast<DWORD>(std::size(parent)), parent, nullptr);
    if (m > 0 && m < std::size(parent)) SetCurrentDirectoryA(parent);
}

DWORD DeleteTree(const std::string& folder) {
    const std::string base = WithoutTrailingSlash(folder);
    DWORD first = 0;
    auto note = [&first](BOOL ok) {
        if (!ok && first == 0) first = GetLastError();
    };
    const DWORD own = GetFileAttributesA(base.c_str());
    if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT)) {
        note(RemoveDirectoryA(base.c_str()));
        return first;
    }

    // Listed first and removed afterwards, so that the search never runs over removed entries.
    struct Entry {
        std::string path;
        DWORD attributes;
    };
    std::vector<Entry> entries;
    WIN32_FIND_DATAA found;
    {
        UniqueFind find(FindFirstFileA((base + "\\*").c_str(), &found));
        if (find) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") continue;
                entries.push_back({base + "\\" + name, found.dwFileAttributes});
            } while (FindNextFileA(find.get(), &found));
        }
    }
    for (const Entry& e : entries) {
        if (e.attributes & FILE_ATTRIBUTE_READONLY)
            SetFileAttributesA(e.path.c_str(), e.attributes & ~FILE_ATTRIBUTE_READONLY);
        if (!(e.attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            note(DeleteFileA(e.path.c_str()));
        } else if (e.attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            note(RemoveDirectoryA(e.path.c_str()));  // the link only, not what it points to
        } else if (DWORD error = DeleteTree(e.path); error && first == 0) {
            first = error;
        }
    }
    if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(base.c_str(), own & ~FILE_ATTRIBUTE_READONLY);
    note(RemoveDirectoryA(base.c_str()));
    return first;
}

}  // namespace

DWORD DeleteFolderTree(const std::string& folder) {
    LeaveFolder(WithoutTrailingSlash(folder));
    return DeleteTree(folder);
}
