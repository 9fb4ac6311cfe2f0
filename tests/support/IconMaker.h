// Small icon and cursor files for tests and benchmarks: one 32 x 32 true-colour picture each.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// Writes an .ico (cursor false) or a .cur (cursor true) whose picture is one colour (0xRRGGBB)
// with a transparent frame of two pixels.
inline bool WriteIconFile(const std::string& path, uint32_t rgb, bool cursor = false) {
    std::vector<uint8_t> b;
    auto u16 = [&b](uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    const uint32_t xorBytes = 32 * 32 * 4, andBytes = 32 * 4, imageBytes = 40 + xorBytes + andBytes;
    u16(0); u16(cursor ? 2 : 1); u16(1);                       // directory
    b.push_back(32); b.push_back(32); b.push_back(0); b.push_back(0);
    u16(cursor ? 16 : 1); u16(cursor ? 16 : 32);               // planes and bits, or the hot spot
    u32(imageBytes); u32(22);
    u32(40); u32(32); u32(64); u16(1); u16(32); u32(0); u32(xorBytes + andBytes); u32(0); u32(0); u32(0); u32(0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            bool inside = x >= 2 && x < 30 && y >= 2 && y < 30;
            b.push_back(rgb & 0xFF); b.push_back((rgb >> 8) & 0xFF); b.push_back((rgb >> 16) & 0xFF);
            b.push_back(inside ? 0xFF : 0);
        }
    for (int y = 0; y < 32; ++y) {
        uint32_t row = 0;
        for (int x = 0; x < 32; ++x)
            if (!(x >= 2 && x < 30 && y >= 2 && y < 30)) row |= 0x80000000u >> x;
        b.push_back(row >> 24); b.push_back((row >> 16) & 0xFF); b.push_back((row >> 8) & 0xFF); b.push_back(row & 0xFF);
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return static_cast<bool>(out);
}

// Writes an .ico that lists as one 32 x 32 icon whose picture does not read: its bitmap header
// claims 60000 x 240000 pixels, or with `png` its image is a PNG cut short after its header.
inline bool WriteUnreadableIconFile(const std::string& path, bool png = false) {
    if (!WriteIconFile(path, 0x2080C0)) return false;
    std::fstream file(path, std::ios::binary | std::ios::in | std::ios::out);
    const std::vector<uint8_t> header =
        png ? std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'}
            : std::vector<uint8_t>{40, 0, 0, 0, 0x60, 0xEA, 0, 0, 0x80, 0xA9, 0x03, 0};
    file.seekp(22);
    file.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
    return static_cast<bool>(file);
}

// Writes a 24-bit .ico, white and opaque but for its top row, which its AND mask makes transparent
// (black beneath), and one red pixel at (5, 5): a white that must stay white on a white list.
inline bool WriteWhiteIconFile(const std::string& path) {
    std::vector<uint8_t> b;
    auto u16 = [&b](uint32_t v) { b.push_back(v & 0xFF); b.push_back((v >> 8) & 0xFF); };
    auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
    const uint32_t xorBytes = 32 * 32 * 3, andBytes = 32 * 4, imageBytes = 40 + xorBytes + andBytes;
    u16(0); u16(1); u16(1);
    b.push_back(32); b.push_back(32); b.push_back(0); b.push_back(0);
    u16(1); u16(24); u32(imageBytes); u32(22);
    u32(40); u32(32); u32(64); u16(1); u16(24); u32(0); u32(xorBytes + andBytes); u32(0); u32(0); u32(0); u32(0);
    for (int row = 31; row >= 0; --row)  // bottom-up
        for (int x = 0; x < 32; ++x) {
            const bool red = x == 5 && row == 5, clear = row == 0;
            b.push_back(clear || red ? 0 : 0xFF); b.push_back(clear || red ? 0 : 0xFF); b.push_back(clear ? 0 : 0xFF);
        }
    for (int row = 31; row >= 0; --row)
        for (int i = 0; i < 4; ++i) b.push_back(row == 0 ? 0xFF : 0);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return static_cast<bool>(out);
}
