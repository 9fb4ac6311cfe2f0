// Helpers for the format tests: scratch folders, host tools, and builders of icon, cursor and RIFF bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ScratchFolder.h"

using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(std::string_view s);

// Whether zip, unzip and python3 can be run (never under Wine: they are Linux programs).
bool HostToolsAvailable();
// Runs a shell command; its exit status, or nullopt when it could not run.
std::optional<int> RunCommand(const std::string& command);
// Runs a shell command and returns what it printed, or nullopt when it failed.
std::optional<std::string> RunOutput(const std::string& command);
std::string Quote(const std::filesystem::path& p);

// A minimal icon image: bitmap header with doubled height, XOR bits and AND mask.
Bytes DibImage(int width, int height, int bitCount);

struct IconEntry {
    Bytes data;
    int width = 32, height = 32;  // 256 is written as 0
    int field4 = 1, field6 = 32;  // planes and bit count, or the hotspot of a cursor
};
// An icon (type 1) or cursor (type 2) file of the entries, data in order after the directory.
Bytes IconFileBytes(int type, const std::vector<IconEntry>& entries);

// RIFF building blocks: a chunk (padded to even length), a LIST, and the RIFF file itself.
Bytes Chunk(std::string_view id, const Bytes& body);
Bytes List(std::string_view type, const std::vector<Bytes>& chunks);
Bytes Riff(std::string_view form, const std::vector<Bytes>& chunks);
Bytes U32s(const std::vector<std::uint32_t>& values);
// An "anih" chunk body with the fields in file order.
Bytes AniHeaderBody(std::uint32_t frames, std::uint32_t steps, std::uint32_t flags, std::uint32_t rate = 10);

// Sets a 16- or 32-bit little-endian field in place.
void Poke16(Bytes& b, std::size_t at, std::uint16_t v);
void Poke32(Bytes& b, std::size_t at, std::uint32_t v);
