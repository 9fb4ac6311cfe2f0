// Animated cursor and icon files (.ani, RIFF "ACON"): header, timing, sequence and frames.
#pragma once

#include <cstdint>
#include <vector>

#include "formats/Bytes.h"
#include "formats/IconFile.h"
#include "formats/Result.h"

namespace formats {

inline constexpr std::uint32_t kAniFramesAreIcons = 1;  // header flag: frames are icon or cursor files
inline constexpr std::uint32_t kAniHasSequence = 2;     // header flag: a "seq " chunk orders the steps

struct AniHeader {
    std::uint32_t frames = 0;  // frame count
    std::uint32_t steps = 0;   // step count
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint32_t bitCount = 0;
    std::uint32_t planes = 0;
    std::uint32_t displayRate = 0;  // default time per step, in 1/60 s
    std::uint32_t flags = 0;
};

struct AniFrame {
    std::size_t offset = 0;  // the frame's icon or cursor file inside the .ani file
    std::size_t size = 0;
    IconDirectory directory;
};

struct AniFile {
    AniHeader header;
    std::vector<AniFrame> frames;      // exactly header.frames of them
    std::vector<std::uint32_t> sequence;  // frame index of each step (0, 1, 2... without "seq ")
    std::vector<std::uint32_t> rates;     // time of each step in 1/60 s (displayRate without "rate")
};

// Reads the file. The frame count comes from the header and must be matched by the frames the
// file holds (extra frames are ignored); a zero count, a count the file cannot hold, chunks that
// run past the end, sequence entries naming missing frames and frames that are not valid icon or
// cursor files are refused with a message.
Result<AniFile> ReadAni(ByteSpan file);

// The bytes of a frame: an icon or cursor file of its own.
ByteSpan AniFrameBytes(ByteSpan file, const AniFrame& frame);

}  // namespace formats
