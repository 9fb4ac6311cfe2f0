// Cutting 32x32 icon cells out of a catalogue library picture, with a mask from a colour key.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "formats/Bmp.h"

namespace formats {

inline constexpr std::int32_t kCellSize = 32;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

struct Cell {
    // Row by row from the top. Transparent pixels are black with alpha 0, the rest keep their
    // colour with alpha 255.
    std::array<Pixel, kCellSize * kCellSize> pixels{};
    // True where the picture held exactly the mask colour.
    std::array<bool, kCellSize * kCellSize> transparent{};
};

// How many whole cells the picture holds: (width / 32) columns by (height / 32) rows.
std::int32_t CellCount(const Image& picture);

// Cell n, numbered from 0 row by row; nullopt when n lies outside the grid of whole cells.
std::optional<Cell> CutCell(const Image& picture, std::int32_t n, Rgb maskColor);

}  // namespace formats
