// File existence, path forms, file versions and the property sheet.
#include "core/Files.h"

#include <vector>

#include "core/Global.h"
#include "ui/Keys.h"
#include "ui/Unique.h"

std::filesystem::path WidePath(const std::string& path) {
    if (path.empty()) return {};
    const int n = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), n);
    return std::filesystem::path(wide);
}

bool FileExists(const std::string& path) {
    // Opened the way a text read opens it: other readers and writers are welcome, an exclusive
    // holder is not. A folder does not open without backup semantics, so it answers False.
    UniqueFile f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    bool exists = static_cast<bool>(f);
    if (exists) {
        DWORD attributes = GetFileAttributesA(path.c_str());
        exists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    gResult = exists;
    return exists;
}

std::string& TrimAtNull(std::string& s) {
    auto zero = s.find('\0');
    if (zero != std::string::npos) s.erase(zero);
    return s;
}

std::string GetShortPath(const std::string& path) {
    std::string buffer(165, '\0');
    DWORD n = GetShortPathNameA(path.c_str(), buffer.data(), 164);
    if (n >= 164) {  // longer than the usual buffer: ask again with room enough
        buffer.assign(n + 1, '\0');
        n = GetShortPathNameA(path.c_str(), buffer.data(), n + 1);
        if (n >= buffer.size()) return {};
    }
    buffer.resize(n);
    return buffer;
}

std::string GetLongPath(const std::string& path) {
    if (path.rfind("\\\\", 0) == 0) return path;
    const std::string work = path + "\\";
    std::string result;
    size_t slash = work.size() > 3 ? work.find('\\', 3) : std::string::npos;
    while (slash != std::string::npos) {
        std::string prefix = work.substr(0, slash);
        // A wildcard would let the search answer for some other entry.
        if (prefix.find_first_of("*?", 2) != std::string::npos) return {};
        WIN32_FIND_DATAA found;
        UniqueFind find(FindFirstFileA(prefix.c_str(), &found));
        if (!find) return {};
        result += "\\";
        result += found.cFileName;
        slash = work.find('\\', slash + 1);
    }
    return work.substr(0, 2) + result;
}

std::optional<VS_FIXEDFILEINFO> GetFixedFileInfo(const std::string& file) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size < 1) return std::nullopt;
    std::vector<BYTE> info(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, info.data())) return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    if (!VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
        fixedSize < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    return *fixed;
}

std::string GetFileMajorVersion(const std::string& file) {
    auto fixed = GetFixedFileInfo(file);
    return fixed ? std::to_string(HIWORD(fixed->dwProductVersionMS)) : std::string();
}

void ShowFileProperties(const std::string& file, HWND owner) {
    SHELLEXECUTEINFOA sei{};
    sei.cbSize = sizeof sei;
    sei.fMask = SEE_MASK_INVOKEIDLIST | SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    sei.hwnd = owner;
    sei.lpVerb = "properties";
    sei.lpFile = file.c_str();
    sei.lpParameters = "";
    sei.lpDirectory = "";
    sei.nShow = SW_HIDE;
    ShellExecuteExA(&sei);
    // The shell may hand back a process; we never wait for it, so its handle is ours to close.
    UniqueHandle process(sei.hProcess);
}

namespace {

// The path with its relative parts resolved against the current folder and, where it exists, each
// part in its long form: "C:\WINDOWS\ICONS~1\1.ico" and "c:\windows\icons\1.ico" then differ only
// in letter case.
std::string FullLongPath(const std::string& path) {
    std::string full(MAX_PATH, '\0');
    DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (n >= full.size()) {
        full.assign(n, '\0');
        n = GetFullPathNameA(path.c_str(), n, full.data(), nullptr);
        if (n >= full.size()) return path;
    }
    if (n == 0) return path;
    full.resize(n);
    const std::string longer = GetLongPath(full);
    return longer.empty() ? full : longer;
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    return FoldKey(FullLongPath(a)) == FoldKey(FullLongPath(b));
}

int IconCopyNumber(const std::string& name, const std::string& extension) {
    int n = 0;
    size_t i = 0;
    for (; i < name.size() && name[i] >= '0' && name[i] <= '9'; ++i) {
        if (i == 0 && name[i] == '0') return 0;
        n = n * 10 + (name[i] - '0');
        if (n > kMaxIconCopyNumber) return 0;
    }
    if (i == 0 || name.size() - i != extension.size()) return 0;
    for (char e : extension)
        if (LowerAscii(name[i++]) != LowerAscii(e)) return 0;
    return n;
}

bool IsIconCopyPath(const std::string& path) {
    auto slash = path.rfind('\\');
    if (slash == std::string::npos) return false;
    if (path.compare(0, slash + 1, gWinDir + "\\Icons\\") != 0) return false;
    const std::string name = path.substr(slash + 1);
    return IconCopyNumber(name, ".ico") || IconCopyNumber(name, ".cur") || IconCopyNumber(name, ".ani");
}

void DeleteWinIconsFile(const std::string& path) {
    if (IsIconCopyPath(path) && FileExists(path)) DeleteFileA(path.c_str());
}
