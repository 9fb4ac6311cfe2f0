// Animated cursor reading: a bounded walk over RIFF chunks, then the header checked against them.
#include "formats/AniFile.h"

#include <optional>

namespace formats {

namespace {

constexpr std::size_t kChunkHeader = 8;
constexpr std::uint32_t kAnihSize = 36;

struct Chunk {
    std::size_t id;    // where its four-letter id is
    std::size_t body;  // where its data starts
    std::uint32_t size;
};

// Walks the chunks in [begin, end) and calls `visit` for each. Every step moves on by at least
// eight bytes, so the walk ends. Returns an error for a chunk that runs past `end`.
template <class Visit>
Result<void> WalkChunks(ByteSpan f, std::size_t begin, std::size_t end, Visit visit) {
    std::size_t at = begin;
    // Fewer than eight bytes left cannot hold a chunk: trailing padding, ignored.
    while (at <= end && end - at >= kChunkHeader) {
        std::uint32_t size = *ReadU32(f, at + 4);
        if (!InRange(at + kChunkHeader, size, end)) {
            std::string id(reinterpret_cast<const char*>(f.data() + at), 4);
            return Fail("the chunk \"" + id + "\" runs past the end of the file");
        }
        auto r = visit(Chunk{at, at + kChunkHeader, size});
        if (!r) return r;
        std::size_t next = at + kChunkHeader + static_cast<std::size_t>(size);
        // Odd chunks are followed by a pad byte; the last one may lack it.
        if (size % 2 == 1 && next < end) ++next;
        at = next;
    }
    return {};
}

// `count` 32-bit values from a chunk that must hold at least that many.
std::optional<std::vector<std::uint32_t>> ReadTable(ByteSpan f, const Chunk& c, std::uint32_t count) {
    if (static_cast<std::uint64_t>(count) * 4 > c.size) return std::nullopt;
    std::vector<std::uint32_t> values(count);
    for (std::uint32_t i = 0; i < count; ++i) values[i] = *ReadU32(f, c.body + i * 4ull);
    return values;
}

}  // namespace

Result<AniFile> ReadAni(ByteSpan f) {
    if (!HasTag(f, 0, "RIFF") || !HasTag(f, 8, "ACON")) return Fail("not an animated cursor (no RIFF ACON header)");
    // Many writers get the RIFF size wrong; what the file really holds is what counts.
    std::uint64_t riffEnd = kChunkHeader + static_cast<std::uint64_t>(*ReadU32(f, 4));
    const std::size_t end = riffEnd < f.size() ? static_cast<std::size_t>(riffEnd) : f.size();

    std::optional<Chunk> anih, rate, seq, fram;
    auto top = WalkChunks(f, 12, end, [&](const Chunk& c) -> Result<void> {
        if (HasTag(f, c.id, "anih") && !anih) anih = c;
        else if (HasTag(f, c.id, "rate") && !rate) rate = c;
        else if (HasTag(f, c.id, "seq ") && !seq) seq = c;
        else if (HasTag(f, c.id, "LIST") && c.size >= 4 && HasTag(f, c.body, "fram") && !fram) fram = c;
        return {};
    });
    if (!top) return Error{top.error()};
    if (!anih) return Fail("the \"anih\" header is missing");
    if (anih->size < kAnihSize) return Fail("the \"anih\" header is cut short");

    AniFile ani;
    AniHeader& h = ani.header;
    std::size_t a = anih->body;
    h.frames = *ReadU32(f, a + 4);
    h.steps = *ReadU32(f, a + 8);
    h.width = *ReadU32(f, a + 12);
    h.height = *ReadU32(f, a + 16);
    h.bitCount = *ReadU32(f, a + 20);
    h.planes = *ReadU32(f, a + 24);
    h.displayRate = *ReadU32(f, a + 28);
    h.flags = *ReadU32(f, a + 32);
    if (h.frames == 0) return Fail("the header counts no frames");
    if (h.steps == 0) return Fail("the header counts no steps");
    if (!(h.flags & kAniFramesAreIcons)) return Fail("frames stored as raw bitmaps are not supported");
    if (!fram) return Fail("the frame list is missing");

    // Collect frames only up to the header's count, so a huge count costs nothing.
    std::size_t present = 0;
    auto frames = WalkChunks(f, fram->body + 4, fram->body + fram->size, [&](const Chunk& c) -> Result<void> {
        if (!HasTag(f, c.id, "icon")) return {};
        ++present;
        if (ani.frames.size() == h.frames) return {};
        AniFrame frame{c.body, c.size, {}};
        auto dir = ReadIconDirectory(f.subspan(c.body, c.size));
        if (!dir) return Fail("frame " + std::to_string(present) + ": " + dir.error());
        frame.directory = std::move(dir).value();
        ani.frames.push_back(std::move(frame));
        return {};
    });
    if (!frames) return Error{frames.error()};
    if (present < h.frames)
        return Fail("the header counts " + std::to_string(h.frames) + " frames, the file holds " +
                    std::to_string(present));

    if (seq) {
        auto table = ReadTable(f, *seq, h.steps);
        if (!table) return Fail("the \"seq \" chunk is shorter than the step count");
        for (std::uint32_t index : *table)
            if (index >= h.frames) return Fail("the sequence names frame " + std::to_string(index) + ", which is missing");
        ani.sequence = std::move(*table);
    } else {
        if (h.steps > h.frames) return Fail("more steps than frames and no sequence");
        for (std::uint32_t i = 0; i < h.steps; ++i) ani.sequence.push_back(i);
    }
    if (rate) {
        auto table = ReadTable(f, *rate, h.steps);
        if (!table) return Fail("the \"rate\" chunk is shorter than the step count");
        ani.rates = std::move(*table);
    } else {
        ani.rates.assign(h.steps, h.displayRate);
    }
    return ani;
}

ByteSpan AniFrameBytes(ByteSpan file, const AniFrame& frame) {
    if (!InRange(frame.offset, frame.size, file.size())) return {};
    return file.subspan(frame.offset, frame.size);
}

}  // namespace formats
