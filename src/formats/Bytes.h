// Bounds-checked little-endian reads from a byte span; every read outside the span fails softly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace formats {

using ByteSpan = std::span<const std::uint8_t>;

// True when [offset, offset + size) lies inside a buffer of `total` bytes; safe against overflow.
constexpr bool InRange(std::uint64_t offset, std::uint64_t size, std::uint64_t total) {
    return offset <= total && size <= total - offset;
}

inline std::optional<std::uint16_t> ReadU16(ByteSpan b, std::size_t at) {
    if (!InRange(at, 2, b.size())) return std::nullopt;
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

inline std::optional<std::uint32_t> ReadU32(ByteSpan b, std::size_t at) {
    if (!InRange(at, 4, b.size())) return std::nullopt;
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

inline std::optional<std::int32_t> ReadI32(ByteSpan b, std::size_t at) {
    auto v = ReadU32(b, at);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

// True when the four bytes at `at` spell `tag` (RIFF chunk ids, signatures).
inline bool HasTag(ByteSpan b, std::size_t at, std::string_view tag) {
    if (!InRange(at, tag.size(), b.size())) return false;
    for (std::size_t i = 0; i < tag.size(); ++i)
        if (b[at + i] != static_cast<std::uint8_t>(tag[i])) return false;
    return true;
}

// Little-endian appends for the writers.
template <class Bytes>
void PutU16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

template <class Bytes>
void PutU32(Bytes& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

}  // namespace formats
