// Animated cursors for tests and benchmarks, made by the program's own writer: frame `step` of
// animation `seed` is a picture of one colour (FrameColour) with a clear border of three pixels and
// one white pixel at (4, 4).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/ResultEntry.h"
#include "core/Files.h"
#include "formats/FileBytes.h"
#include "formats/IconEncode.h"

// 0x00BBGGRR, different for every step below 4096 and every seed below 16.
inline uint32_t FrameColour(int seed, int step) {
    return static_cast<uint32_t>(step & 0xFF) | static_cast<uint32_t>((step >> 8) | seed << 4) << 8 | 0x800000u;
}

inline bool FrameIsClear(int x, int y) { return x < 3 || y < 3 || x >= 29 || y >= 29; }

inline formats::IconPicture FramePicture(int seed, int step) {
    formats::IconPicture picture;
    picture.width = picture.height = 32;
    const uint32_t c = FrameColour(seed, step);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool clear = FrameIsClear(x, y), white = x == 4 && y == 4;
            formats::Pixel p{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c), 255};
            if (clear) p = {0, 0, 0, 255};
            else if (white) p = {255, 255, 255, 255};
            picture.color.push_back(p);
            picture.mask.push_back(clear ? 1 : 0);
        }
    return picture;
}

// Writes an .ani of `frames` frames (high colour, stored at 24 bits); false when it cannot.
inline bool WriteAniFile(const std::string& path, int seed, int frames) {
    std::vector<std::vector<uint8_t>> files;
    for (int step = 0; step < frames; ++step) {
        auto file = formats::EncodeIconFile(FramePicture(seed, step), 16, formats::IconKind::Icon);
        if (!file) return false;
        files.push_back(std::move(*file));
    }
    std::vector<formats::ByteSpan> spans(files.begin(), files.end());
    auto ani = formats::EncodeAni(spans, std::vector<uint32_t>(files.size(), 6));
    return ani && static_cast<bool>(formats::WriteFileBytes(WidePath(path), *ani));
}

// The result entries of an animated file's `frames` frames, as its listing makes them ("frame 1" on).
inline std::vector<std::string> AniRunEntries(const std::string& file, int frames, char typeCode = 'a') {
    std::vector<std::string> run;
    for (int step = 0; step < frames; ++step)
        run.push_back(OpenEntry(file, step, "frame " + std::to_string(step + 1), typeCode));
    return run;
}
