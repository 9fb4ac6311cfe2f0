// Writes catalogue library archives for tests: pictures of 32 x 32 cells, each on a background of
// its mask colour, as "<library>.lib" entries of an encrypted archive.
#pragma once

#include <map>
#include <string>

#include "core/Files.h"
#include "formats/Bmp.h"
#include "formats/Catalogue.h"
#include "formats/FileBytes.h"
#include "formats/ZipWriter.h"

// A library picture of `columns` x `rows` cells: every pixel the mask colour of `maskDigit`, and in
// the middle of cell n a 16 x 16 square of colour `square(n)` (0x00BBGGRR).
template <typename Square>
formats::Image LibraryPicture(int columns, int rows, char maskDigit, Square square) {
    const uint32_t mask = *formats::MaskColor(maskDigit);
    auto pixel = [](uint32_t c) {
        return formats::Pixel{static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c), 255};
    };
    formats::Image picture(columns * 32, rows * 32, pixel(mask));
    for (int n = 0; n < columns * rows; ++n)
        for (int y = 8; y < 24; ++y)
            for (int x = 8; x < 24; ++x) picture.At(n % columns * 32 + x, n / columns * 32 + y) = pixel(square(n));
    return picture;
}

// An archive of library pictures by library text; false when it could not be written.
inline bool WriteLibraryArchive(const std::string& path, const std::map<std::string, formats::Image>& libraries,
                                std::string_view password = formats::kLibraryPassword) {
    formats::ZipWriter zip;
    for (const auto& [library, picture] : libraries) {
        auto bmp = formats::WriteBmp24(picture);
        if (!bmp || !zip.Add(formats::LibraryEntryName(library), *bmp, formats::ZipMethod::Deflated, password)) return false;
    }
    return static_cast<bool>(zip.WriteTo(WidePath(path)));
}
