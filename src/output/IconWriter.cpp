// The icon-file writer: the work surfaces read through 32-bit pictures of our own, the bytes made by
// formats, the file put in place whole.
#include "output/IconWriter.h"

#include <cstdio>
#include <optional>

#include "core/Files.h"
#include "formats/FileBytes.h"
#include "formats/IconEncode.h"
#include "ui/Unique.h"

namespace {

constexpr int kSide = formats::kWrittenIconSide;
// Frame files are the writer's own icons of a few kilobytes; anything near this is no frame.
constexpr std::uint64_t kMaxFrameBytes = 16u << 20;

// Writes the bytes to a new file of our own in the target's folder and then moves it over the
// target: the target is either replaced whole or left as it was, and no temporary file stays.
bool WriteReplacing(const std::string& fileName, formats::ByteSpan bytes) {
    std::string full(MAX_PATH, '\0');
    char* name = nullptr;
    const DWORD n = GetFullPathNameA(fileName.c_str(), static_cast<DWORD>(full.size()), full.data(), &name);
    if (n == 0 || n >= full.size() || !name || !*name) return false;
    const std::string folder = full.substr(0, static_cast<size_t>(name - full.data()));
    // Windows refuses to replace a read-only file; Wine would replace it. Neither replaces a folder.
    const DWORD attributes = GetFileAttributesA(full.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        return false;
    // A name of our own, made by us (GetTempFileNameA would open and close the file once more).
    static uint32_t counter = GetTickCount();
    std::string temp;
    UniqueFile file;
    for (int attempt = 0; attempt < 16 && !file; ++attempt) {
        char tail[40];
        std::snprintf(tail, sizeof tail, "~ornavale-%08lx-%04x.tmp", GetCurrentProcessId(), ++counter & 0xFFFF);
        temp = folder + tail;
        file.reset(CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    if (!file) return false;
    DWORD done = 0;
    bool written = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) && done == bytes.size();
    written = CloseHandle(file.release()) && written;
    if (written && MoveFileExA(temp.c_str(), full.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    DeleteFileA(temp.c_str());
    return false;
}

int16_t Save(HDC hdcColor, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount, formats::IconKind kind,
             int32_t hotX, int32_t hotY, const std::string& fileName) {
    if (width != kSide || height != kSide || formats::StoredBitCount(bitCount) == 0) return 0;
    auto bytes = EncodeWorkSurfaces(hdcColor, hdcMask, bitCount, kind, hotX, hotY);
    return bytes && WriteReplacing(fileName, *bytes) ? 1 : 0;
}

}  // namespace

std::optional<std::vector<formats::Pixel>> ReadSurface(HDC source) {
    MemoryBitmap copy(kSide, kSide, MemoryBitmap::Format::Rgb32, true);
    if (!copy || !source || !BitBlt(copy.dc(), 0, 0, kSide, kSide, source, 0, 0, SRCCOPY)) return std::nullopt;
    GdiFlush();
    std::vector<formats::Pixel> pixels(static_cast<size_t>(kSide) * kSide);
    const auto* bits = static_cast<const uint8_t*>(copy.Bits());
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = formats::Pixel{bits[4 * i], bits[4 * i + 1], bits[4 * i + 2], 255};
    return pixels;
}

std::optional<formats::IconPicture> ReadPicture(HDC hdcColor, HDC hdcMask) {
    auto color = ReadSurface(hdcColor);
    auto mask = ReadSurface(hdcMask);
    if (!color || !mask) return std::nullopt;
    formats::IconPicture picture{kSide, kSide, std::move(*color), std::vector<uint8_t>(mask->size())};
    for (size_t i = 0; i < mask->size(); ++i) {
        const formats::Pixel& p = (*mask)[i];
        picture.mask[i] = p.r || p.g || p.b ? 1 : 0;
    }
    return picture;
}

formats::Result<std::vector<uint8_t>> EncodeWorkSurfaces(HDC hdcColor, HDC hdcMask, int32_t bitCount,
                                                         formats::IconKind kind, int32_t hotX, int32_t hotY) {
    const auto picture = ReadPicture(hdcColor, hdcMask);
    if (!picture) return formats::Fail("the picture could not be read");
    return formats::EncodeIconFile(*picture, bitCount, kind, hotX, hotY);
}

int16_t SaveLibrary::SaveAsIcon(HDC hdcColor, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount,
                                const std::string& fileName) const {
    return Save(hdcColor, hdcMask, width, height, bitCount, formats::IconKind::Icon, 0, 0, fileName);
}

int16_t SaveLibrary::SaveAsCursor(HDC hdcColor, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount,
                                  int32_t hotX, int32_t hotY, const std::string& fileName) const {
    return Save(hdcColor, hdcMask, width, height, bitCount, formats::IconKind::Cursor, hotX, hotY, fileName);
}

int16_t SaveLibrary::SaveAsANI(const std::vector<std::string>& frameFiles, const std::vector<int32_t>& rates,
                               const std::string& fileName, int16_t /*flag*/) const {
    if (frameFiles.empty() || frameFiles.size() != rates.size()) return 0;
    std::vector<std::vector<uint8_t>> files;
    std::vector<formats::ByteSpan> frames;
    std::vector<uint32_t> steps;
    for (size_t i = 0; i < frameFiles.size(); ++i) {
        if (rates[i] < 0) return 0;
        auto bytes = formats::ReadFileBytes(WidePath(frameFiles[i]), kMaxFrameBytes);
        if (!bytes) return 0;
        files.push_back(std::move(bytes).value());
        steps.push_back(static_cast<uint32_t>(rates[i]));
    }
    for (const auto& file : files) frames.emplace_back(file);
    auto ani = formats::EncodeAni(frames, steps);
    return ani && WriteReplacing(fileName, *ani) ? 1 : 0;
}
