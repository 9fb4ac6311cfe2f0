// The picture a catalogue library is cut from: one loaded picture of 32 x 32 cells, numbered from 0
// row by row.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "formats/Bmp.h"
#include "formats/Cells.h"

class PictureClip {
  public:
    // Loads a picture file; false, with the previous picture kept, when it cannot be read.
    bool LoadPicture(const std::string& path);
    void Clear() { picture_ = {}; }
    bool HasPicture() const { return picture_.width > 0; }
    int32_t CellCount() const { return formats::CellCount(picture_); }

    // Cell n with the pixels of `maskColor` (0x00BBGGRR) transparent; nullopt for a cell outside
    // the grid or without a picture.
    std::optional<formats::Cell> GraphicCell(int32_t n, uint32_t maskColor) const;

  private:
    formats::Image picture_;
};
