// The pictures of the catalogue's cells: 32×32 pixels, each transparent or of one opaque colour;
// how a theme's picture is brought to that size, its colour class and the mask colour it is cut with.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace catalogue {

inline constexpr int kSide = 32;
inline constexpr int kCellPixels = kSide * kSide;

// A picture of any size with straight (not premultiplied) alpha: 0xAARRGGBB, rows from the top.
struct Rgba {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> px;

    Rgba() = default;
    Rgba(int w, int h) : width(w), height(h), px(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0) {}
    std::uint32_t& At(int x, int y) { return px[static_cast<std::size_t>(y) * width + x]; }
    std::uint32_t At(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x]; }
};

// A cell's picture, rows from the top: 0 is transparent, any other value 0xFF000000 | 0xRRGGBB.
using CellPicture = std::array<std::uint32_t, kCellPixels>;
inline constexpr std::uint32_t kOpaque = 0xFF000000u;

// Icons sit in the middle of their cell; cursors keep their top left corner, where hotspots are.
enum class Place { Centre, TopLeft };

// The picture on a transparent 32×32 canvas: a larger one shrunk to fit (area average over
// premultiplied colour, keeping its proportions), a smaller one as it is.
Rgba FitToCell(const Rgba& picture, Place place);

// The square frames of side `frame` of a strip, row by row; empty when the strip is no whole grid.
std::vector<Rgba> SplitFrames(const Rgba& strip, int frame);

// Alpha from which a pixel is kept: half opaque, the edge a mask of its own would draw; or, for
// drawings made mostly of faint pixels (spinners of grey dots), a quarter of that, so that they
// stay visible. One threshold serves all frames of an animation.
inline constexpr int kSolidAlpha = 128;
inline constexpr int kFaintAlpha = 32;
int AlphaThreshold(std::span<const Rgba> fitted);

// The cell of a fitted 32×32 picture: alpha from `threshold` up is opaque, its colour laid over
// white (the result list's background); lower alpha is transparent.
CellPicture ToCell(const Rgba& fitted, int threshold = kSolidAlpha);

// True when the cell's outer ring of pixels has a transparent one, where the mask colour shows.
bool HasBackground(const CellPicture& cell);

int OpaqueCount(const CellPicture& cell);

// How many distinct colours the opaque pixels of all frames have.
std::size_t ColourCount(std::span<const CellPicture> frames);

// Colour classes, in the order of the type code digits: digit = class + 3 × shape.
enum class ColourClass { Colours16 = 0, Colours256 = 1, HiColour = 2 };

struct Reduction {
    std::vector<CellPicture> frames;
    double psnr = 0;      // dB over the opaque pixels; infinite when nothing changed
    double maxError = 0;  // largest distance in RGB of one pixel from its old colour
};

// The frames with at most `colours` colours of one palette of their own: median cut, refined
// by a few rounds of k-means, every pixel then taking its nearest palette colour. Deterministic.
Reduction Reduce(std::span<const CellPicture> frames, std::size_t colours);

// How close a reduction must stay to the picture to keep it recognisable: a class is only
// reached through a reduction at least this good.
struct Keep {
    double minPsnr;
    double maxError;
};
inline constexpr Keep kKeep16{38.0, 24.0};
inline constexpr Keep kKeep256{58.0, 3.0};

struct Classified {
    ColourClass colourClass = ColourClass::HiColour;
    std::vector<CellPicture> frames;
    bool reduced = false;
};

// The class by real colour count: up to 16 colours, up to 256, or more. A picture with more is
// reduced to the smaller palette when the reduction passes Keep, and then stored reduced.
Classified Classify(std::vector<CellPicture> frames);

// A mask digit whose colour no frame uses, in a fixed order of preference. When the frames use
// all ten, the pixels of the least used one move by one step of blue, so that the colour is free.
char ChooseMaskDigit(std::vector<CellPicture>& frames);

// A hash of the picture for finding the same picture twice (compare the pixels too).
std::uint64_t PictureHash(const CellPicture& cell);

}  // namespace catalogue
