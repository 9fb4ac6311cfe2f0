// Icon copies: free number, write, check, move, point, remove the earlier copy.
#include "changing/IconCopies.h"

#include <vector>

#include "core/ErrorBox.h"
#include "core/Files.h"
#include "core/Global.h"
#include "formats/AniFile.h"
#include "formats/FileBytes.h"
#include "formats/IconFile.h"
#include "ui/App.h"
#include "ui/Unique.h"

std::function<bool(CopyStep step)> gIconCopyFault;

namespace {

// The name only this program writes in the copy folder; no number names it.
constexpr const char* kTemporaryName = "~Ornavale new copy.tmp";
// More than any icon, cursor or animation of at most the frames the program writes can hold.
constexpr uint64_t kMaxReadBack = 16u << 20;

bool Faulty(CopyStep step) { return gIconCopyFault && gIconCopyFault(step); }

void Tell(const std::string& what) {
    gResult = MsgBox(what + "\r\rThe Windows setting and the icon it used before are left as they were.",
                     MsgBoxStyle::Exclamation, "Error");
}

std::string SystemText(DWORD code) { return SystemErrorText(code) + " (" + std::to_string(code) + ")"; }

// Creates or replaces the file with the bytes; the system's error code on failure, else 0.
DWORD WriteWhole(const std::string& path, const std::vector<uint8_t>& bytes) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return GetLastError();
    const bool fault = Faulty(CopyStep::Write);
    const DWORD size = static_cast<DWORD>(fault ? bytes.size() / 2 : bytes.size());
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), size, &written, nullptr)) return GetLastError();
    if (fault) return ERROR_DISK_FULL;
    return written == size ? 0 : ERROR_WRITE_FAULT;
}

bool IsWrittenSize(const formats::IconImage& image) {
    return image.width == 32 && image.height == 32;
}

// What is wrong with the file's bytes for the check; "" when nothing is.
std::string CheckBytes(const std::vector<uint8_t>& bytes, const CopyCheck& check) {
    const formats::ByteSpan span(bytes);
    if (check.kind == CopyKind::Animation) {
        const auto ani = formats::ReadAni(span);
        if (!ani) return ani.error();
        if (ani->frames.size() != check.frames)
            return "it holds " + std::to_string(ani->frames.size()) + " frames, not " + std::to_string(check.frames);
        for (const formats::AniFrame& frame : ani->frames)
            if (!IsWrittenSize(frame.directory.images.front())) return "a frame is not 32 x 32 pixels";
        return {};
    }
    const auto directory = formats::ReadIconDirectory(span);
    if (!directory) return directory.error();
    const formats::IconKind kind = check.kind == CopyKind::Cursor ? formats::IconKind::Cursor : formats::IconKind::Icon;
    if (directory->kind != kind) return check.kind == CopyKind::Cursor ? "it is no cursor" : "it is no icon";
    if (!IsWrittenSize(directory->images.front())) return "it is not 32 x 32 pixels";
    return {};
}

}  // namespace

std::string IconCopyFolder() { return gWinDir + "\\Icons\\"; }

int FirstFreeCopyNumber(const std::string& folder, const std::string& extension) {
    std::vector<bool> taken(kMaxIconCopyNumber + 1, false);
    WIN32_FIND_DATAA found;
    UniqueFind find(FindFirstFileA((folder + "*").c_str(), &found));
    if (find) {
        do {
            taken[static_cast<size_t>(IconCopyNumber(found.cFileName, extension))] = true;
        } while (FindNextFileA(find.get(), &found));
    }
    for (int n = 1; n <= kMaxIconCopyNumber; ++n)
        if (!taken[static_cast<size_t>(n)]) return n;
    return 0;
}

std::optional<std::string> MakeIconCopy(const std::string& extension, const std::vector<uint8_t>& bytes,
                                        const CopyCheck& check, const std::string& currentPath,
                                        const std::function<bool(const std::string& copyPath)>& pointSetting) {
    const std::string folder = IconCopyFolder();
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            Tell("Ornavale could not make the folder " + folder + " for the new icon: " + SystemText(GetLastError()));
            return std::nullopt;
        }
    } else if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Tell("Ornavale could not make the folder " + folder + " for the new icon: a file of that name is in the way.");
        return std::nullopt;
    }

    int number = FirstFreeCopyNumber(folder, extension);
    if (number == 0) {
        Tell("The folder " + folder + " holds icon copies 1" + extension + " to " + std::to_string(kMaxIconCopyNumber) +
             extension + ": Ornavale has no name left for a new one. Remove copies that no setting uses.");
        return std::nullopt;
    }

    const std::string temporary = folder + kTemporaryName;
    if (const DWORD code = WriteWhole(temporary, bytes)) {
        DeleteFileA(temporary.c_str());
        Tell("Ornavale could not write the new icon into " + folder + ": " + SystemText(code));
        return std::nullopt;
    }

    auto readBack = formats::ReadFileBytes(WidePath(temporary), kMaxReadBack);
    if (readBack && Faulty(CopyStep::Check)) readBack->resize(readBack->size() / 2);
    const std::string wrong = readBack ? CheckBytes(*readBack, check) : readBack.error();
    if (!wrong.empty()) {
        DeleteFileA(temporary.c_str());
        Tell("The new icon written into " + folder + " did not read back as it should: " + wrong + ".");
        return std::nullopt;
    }

    // A name another program made since the listing is skipped, never replaced.
    std::string copy;
    DWORD code = ERROR_ACCESS_DENIED;
    bool moved = false;
    if (!Faulty(CopyStep::Move)) {
        for (; !moved && number <= kMaxIconCopyNumber; ++number) {
            copy = folder + std::to_string(number) + extension;
            moved = MoveFileExA(temporary.c_str(), copy.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
            code = moved ? 0 : GetLastError();
            if (!moved && code != ERROR_ALREADY_EXISTS && code != ERROR_FILE_EXISTS) break;
        }
    }
    if (!moved) {
        DeleteFileA(temporary.c_str());
        Tell("Ornavale could not give the new icon a name in " + folder + ": " + SystemText(code));
        return std::nullopt;
    }

    if (Faulty(CopyStep::Setting) || !pointSetting || !pointSetting(copy)) {
        DeleteFileA(copy.c_str());
        Tell("Windows could not be pointed at the new icon " + copy + ", so it was removed again.");
        return std::nullopt;
    }
    // A target whose copy was gone gets the new one under that very name when its number is the
    // lowest free one: that file is now the setting's, not an earlier copy.
    if (!SameFile(currentPath, copy)) DeleteWinIconsFile(currentPath);
    return copy;
}
