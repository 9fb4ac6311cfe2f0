// The icon-file writer every command that saves an icon calls: the picture in two drawing contexts
// written as an icon or cursor file, and icon files joined into an animated cursor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/Bmp.h"
#include "formats/IconEncode.h"
#include "formats/IconPicture.h"
#include "ui/Win.h"

// The 32 x 32 pixels at the top left of a drawing context, rows from the top, whatever its
// bitmap's depth: a monochrome one gives black for 0 and white for 1. Nothing when it cannot be read.
std::optional<std::vector<formats::Pixel>> ReadSurface(HDC source);
// The picture of the two work surfaces: the colours of hdcColor and, from hdcMask, 1 where a pixel
// is not black (the background shows through). Nothing when either cannot be read.
std::optional<formats::IconPicture> ReadPicture(HDC hdcColor, HDC hdcMask);
// The picture of the two work surfaces as the bytes of an icon or cursor file at bitCount 4, 8 or
// 16, with its hotspot for a cursor; the reason when the surfaces cannot be read or encoded.
formats::Result<std::vector<uint8_t>> EncodeWorkSurfaces(HDC hdcColor, HDC hdcMask, int32_t bitCount,
                                                         formats::IconKind kind, int32_t hotX = 0, int32_t hotY = 0);

// Each operation answers non-zero when the file was written whole and 0 when nothing was: a file
// goes to a temporary name beside the target first and then replaces it, so a failure leaves an
// existing file as it was. File names are ANSI.
class SaveLibrary {
  public:
    // The 32 x 32 picture at the top left of hdcColor, with its AND mask from hdcMask (a pixel that
    // is not black lets the background through), at bitCount 4 (16 colours), 8 (256 colours) or 16
    // (high colour, stored as 24 bits a pixel). Any other size or depth writes nothing.
    int16_t SaveAsIcon(HDC hdcColor, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount,
                       const std::string& fileName) const;
    // As SaveAsIcon, a cursor with its hotspot (pixels from the top left, inside the picture).
    int16_t SaveAsCursor(HDC hdcColor, HDC hdcMask, int32_t width, int32_t height, int32_t bitCount, int32_t hotX,
                         int32_t hotY, const std::string& fileName) const;
    // An animated cursor of the icon or cursor files in order, frame i shown for rates[i] / 60 s; an
    // icon frame points at its middle. Nothing is written without frames, when the rates do not
    // match them or one is negative, or when a frame file is missing or is no icon or cursor file.
    // The flag is not used. The frame files are closed again on return.
    int16_t SaveAsANI(const std::vector<std::string>& frameFiles, const std::vector<int32_t>& rates,
                      const std::string& fileName, int16_t flag) const;
};
