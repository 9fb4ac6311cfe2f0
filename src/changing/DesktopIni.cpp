// desktop.ini: read whole, rewritten through a copy beside it.
#include "changing/DesktopIni.h"

#include <cstdint>

#include "core/ErrorBox.h"
#include "core/Files.h"
#include "formats/FileBytes.h"
#include "ui/Unique.h"
#include "ui/Win.h"

namespace {

// A profile file is a few lines; a larger one is not ours to rewrite.
constexpr uint64_t kMaxProfileBytes = 16u << 20;
// The attributes the copy takes over from the file it replaces.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

std::string Failed(const std::string& what, DWORD code) {
    return what + ": " + SystemErrorText(code) + " (" + std::to_string(code) + ")";
}

// Creates the file new with the bytes; the system's error code on failure, else 0.
DWORD WriteNew(const std::string& path, const std::vector<uint8_t>& bytes) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    DWORD written = 0;
    if (!bytes.empty() && !WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return GetLastError();
    if (written != bytes.size()) return ERROR_WRITE_FAULT;
    return CloseHandle(file.release()) ? 0 : GetLastError();
}

void RemoveCopy(const std::string& copy) {
    SetFileAttributesA(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(copy.c_str());
}

}  // namespace

std::string DesktopIniOf(const std::string& folder) {
    std::string path = folder;
    if (path.empty() || path.back() != '\\') path += '\\';
    return path + "desktop.ini";
}

std::string ReadProfileText(const std::string& file, const std::string& section, const std::string& key) {
    // A value that fills the buffer may have been cut: read again with twice the room.
    for (DWORD size = MAX_PATH;; size *= 2) {
        std::string text(size, '\0');
        const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", text.data(), size, file.c_str());
        if (n + 1 < size || size >= kMaxProfileBytes) {
            text.resize(n < size ? n : size);
            return text;
        }
    }
}

std::string RewriteProfile(const std::string& file, const std::string& section,
                           const std::vector<std::pair<std::string, std::string>>& keys) {
    const size_t slash = file.find_last_of('\\');
    const std::string copy = file.substr(0, slash + 1) + "~Ornavale " + file.substr(slash + 1) + ".tmp";

    const DWORD attributes = GetFileAttributesA(file.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return file + " is a folder";
    std::vector<uint8_t> bytes;
    if (exists) {
        auto read = formats::ReadFileBytes(WidePath(file), kMaxProfileBytes);
        if (!read) return file + " could not be read: " + read.error();
        bytes = std::move(read).value();
    }

    // A copy an earlier run left behind is ours.
    RemoveCopy(copy);
    if (const DWORD code = WriteNew(copy, bytes)) {
        RemoveCopy(copy);
        return Failed("Ornavale could not write " + copy, code);
    }
    DWORD code = 0;
    for (const auto& [key, value] : keys) {
        if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), copy.c_str())) {
            code = GetLastError();
            break;
        }
    }
    // The system keeps no cached text of a file that is about to move or go.
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, copy.c_str());
    if (code != 0) {
        RemoveCopy(copy);
        return Failed("Ornavale could not write into " + copy, code);
    }
    if (exists && !SetFileAttributesA(copy.c_str(), (attributes & kKeptAttributes) ? attributes & kKeptAttributes
                                                                                  : FILE_ATTRIBUTE_NORMAL)) {
        code = GetLastError();
        RemoveCopy(copy);
        return Failed("Ornavale could not give " + copy + " the attributes of " + file, code);
    }
    if (!MoveFileExA(copy.c_str(), file.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        code = GetLastError();
        RemoveCopy(copy);
        return Failed("Ornavale could not replace " + file, code);
    }
    return {};
}
