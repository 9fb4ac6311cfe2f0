// Path lists, the open dialog's answer and the listed file types.
#include "common/OpenPaths.h"

#include <algorithm>
#include <cctype>

#include "core/Global.h"
#include "ui/Win.h"

std::string ExtensionOf(const std::string& path) {
    if (path.size() < 4) return {};
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

bool IsIconFileName(const std::string& path) {
    const std::string ext = ExtensionOf(path);
    return std::any_of(std::begin(kIconExtensions), std::end(kIconExtensions),
                       [&](const char* e) { return ext == e; });
}

bool FileTypeFilter::Keeps(const std::string& path) const {
    const std::string ext = ExtensionOf(path);
    if (all) return IsIconFileName(path);
    return (ani && ext == ".ani") || (cur && ext == ".cur") || (dll && ext == ".dll") || (exe && ext == ".exe") ||
           (icl && ext == ".icl") || (ico && ext == ".ico");
}

void KeepFiles(HiddenList& files, const std::function<bool(const std::string&)>& keep) {
    // Built anew rather than removed one by one, which would move the rest of a long list each time.
    HiddenList kept;
    kept.Reserve(static_cast<size_t>(files.ListCount()));
    for (int i = 0; i < files.ListCount(); ++i)
        if (keep(files.List(i))) kept.AddItem(files.List(i), files.ItemData(i));
    files = std::move(kept);
}

std::vector<std::string> SplitPathList(const std::string& list, char separator) {
    std::vector<std::string> parts;
    std::string part;
    bool quoted = false;
    for (char c : list) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == separator && !quoted) {
            if (!part.empty()) parts.push_back(std::move(part));
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty()) parts.push_back(std::move(part));
    return parts;
}

OpenSelection ParseOpenSelection(const std::string& fileName) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < fileName.size()) {
        size_t zero = fileName.find('\0', start);
        if (zero == std::string::npos) zero = fileName.size();
        if (zero > start) parts.push_back(fileName.substr(start, zero - start));
        start = zero + 1;
    }
    OpenSelection selection;
    if (parts.empty()) return selection;
    if (parts.size() == 1) {
        const size_t slash = parts[0].rfind('\\');
        selection.folder = slash == std::string::npos ? std::string() : parts[0].substr(0, slash + 1);
        selection.files.push_back(parts[0]);
        return selection;
    }
    selection.folder = parts[0];
    // A drive's root comes back with its "\" already.
    const std::string prefix = parts[0].back() == '\\' ? parts[0] : parts[0] + "\\";
    for (size_t i = 1; i < parts.size(); ++i) selection.files.push_back(prefix + parts[i]);
    return selection;
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH * 4];
    const DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(std::size(full)), full, nullptr);
    return n > 0 && n < std::size(full) ? std::string(full, n) : path;
}

std::string LowerAnsi(std::string text) {
    if (!text.empty()) CharLowerBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::optional<bool> procIsFolder(const std::string& sPath) {
    if (sPath == "." || sPath == ".." || sPath.empty()) return std::nullopt;
    const DWORD attributes = GetFileAttributesA(sPath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    gResult = folder;
    return folder;
}

std::string OnSearchPath(const std::string& file) {
    if (file.find_first_of("\\/:") != std::string::npos) return file;
    char found[MAX_PATH];
    const DWORD length = SearchPathA(nullptr, file.c_str(), nullptr, MAX_PATH, found, nullptr);
    return length > 0 && length < MAX_PATH ? std::string(found, length) : file;
}
