// The bytes of still and animated icon and cursor files for the listing tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "FormatsTestSupport.h"
#include "formats/AniFile.h"

// An icon (type 1) or cursor (type 2) of one picture, padded with zeros to padTo bytes.
inline Bytes StillFile(int type, int width, int bits, size_t padTo = 0) {
    Bytes b = IconFileBytes(type, {{DibImage(width, width, bits), width, width, type == 1 ? 1 : 0, type == 1 ? bits : 0}});
    if (b.size() < padTo) b.resize(padTo, 0);
    return b;
}

// An animated cursor of `frames` pictures shown in `sequence` (plain order when it is empty).
inline Bytes AniFile(uint32_t frames, const std::vector<uint32_t>& sequence = {}) {
    std::vector<Bytes> icons;
    for (uint32_t i = 0; i < frames; ++i) icons.push_back(Chunk("icon", StillFile(2, 32, 4)));
    const uint32_t steps = sequence.empty() ? frames : static_cast<uint32_t>(sequence.size());
    std::vector<Bytes> chunks = {Chunk("anih", AniHeaderBody(frames, steps, formats::kAniFramesAreIcons |
                                                                            (sequence.empty() ? 0 : formats::kAniHasSequence)))};
    if (!sequence.empty()) chunks.push_back(Chunk("seq ", U32s(sequence)));
    chunks.push_back(List("fram", icons));
    return Riff("ACON", chunks);
}
