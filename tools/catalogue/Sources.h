// Reading the themes' picture files: PNG through libpng, SVG through librsvg, X cursors through
// libXcursor. Every reader answers nullopt (or nothing) for a file it cannot read.
#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "Picture.h"

namespace catalogue {

std::optional<Rgba> ReadPng(const std::filesystem::path& file);

// The drawing fitted into a width × height viewport (keeping its proportions).
std::optional<Rgba> RenderSvg(const std::filesystem::path& file, int width, int height);

// The drawing at its own size in pixels; nullopt when it has none or it exceeds `maxSide`.
std::optional<Rgba> RenderSvgNatural(const std::filesystem::path& file, int maxSide);

struct CursorImage {
    int nominal = 0;  // the size the image is meant for
    Rgba image;
    unsigned delay = 0;  // ms to the next frame
};

// Every image of an X cursor file, in file order.
std::vector<CursorImage> ReadXcursor(const std::filesystem::path& file);

// The frames of the cursor at the size that suits a 32×32 cell: nominal 32 when there is one,
// else the smallest larger one, else the largest smaller one.
std::vector<Rgba> CursorFrames(const std::vector<CursorImage>& images);

}  // namespace catalogue
