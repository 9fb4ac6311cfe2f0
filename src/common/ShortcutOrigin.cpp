// Where a shortcut's item says it lies. Pure text, built into the catalogue tool too.
#include "common/ShortcutOrigin.h"

#include <algorithm>

namespace {

std::string_view WithoutTrailingSlashes(std::string_view path) {
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    return path;
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether `folder` is `base` or lies below it, letter case aside; both without a trailing "\".
bool AtOrBelow(std::string_view folder, std::string_view base) {
    if (base.empty() || folder.size() < base.size()) return false;
    if (folder.size() > base.size() && folder[base.size()] != '\\') return false;
    return std::equal(base.begin(), base.end(), folder.begin(),
                      [](char a, char b) { return FoldAscii(a) == FoldAscii(b); });
}

}  // namespace

std::string ShortcutOrigin(std::string_view link, std::span<const std::string> shellFolders,
                           std::string_view winDir) {
    const size_t slash = link.rfind('\\');
    if (slash == std::string_view::npos) return {};
    const std::string_view folder = link.substr(0, slash);
    for (const std::string& shellFolder : shellFolders) {
        const std::string_view shell = WithoutTrailingSlashes(shellFolder);
        if (!AtOrBelow(folder, shell)) continue;
        const size_t parent = shell.rfind('\\');
        return std::string(parent == std::string_view::npos ? folder : folder.substr(parent + 1));
    }
    const std::string_view windows = WithoutTrailingSlashes(winDir);
    if (AtOrBelow(folder, windows))
        return folder.size() == windows.size() ? std::string() : std::string(folder.substr(windows.size() + 1));
    return std::string(folder);
}
