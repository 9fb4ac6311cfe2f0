// Cell cutting over a loaded library picture.
#include "formats/Cells.h"

namespace formats {

std::int32_t CellCount(const Image& picture) {
    if (picture.width <= 0 || picture.height <= 0) return 0;
    return (picture.width / kCellSize) * (picture.height / kCellSize);
}

std::optional<Cell> CutCell(const Image& picture, std::int32_t n, Rgb maskColor) {
    if (n < 0 || n >= CellCount(picture)) return std::nullopt;
    if (picture.pixels.size() != static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height))
        return std::nullopt;
    const std::int32_t columns = picture.width / kCellSize;
    const std::int32_t left = n % columns * kCellSize;
    const std::int32_t top = n / columns * kCellSize;

    Cell cell;
    for (std::int32_t y = 0; y < kCellSize; ++y) {
        for (std::int32_t x = 0; x < kCellSize; ++x) {
            Pixel p = picture.At(left + x, top + y);
            std::size_t i = static_cast<std::size_t>(y) * kCellSize + x;
            cell.transparent[i] = p.r == maskColor.r && p.g == maskColor.g && p.b == maskColor.b;
            cell.pixels[i] = cell.transparent[i] ? Pixel{0, 0, 0, 0} : Pixel{p.b, p.g, p.r, 255};
        }
    }
    return cell;
}

}  // namespace formats
