// Icon, cursor and animated cursor writing: palettes by median cut, bottom-up rows, RIFF chunks.
#include "formats/IconEncode.h"

#include <algorithm>
#include <array>
#include <unordered_map>

#include "formats/Dib.h"

namespace formats {

namespace {

constexpr std::size_t kHeaderBytes = 6 + 16;  // the file header and its one directory entry
constexpr std::size_t kInfoBytes = 40;
constexpr std::int32_t kSide = kWrittenIconSide;
constexpr std::size_t kPixels = static_cast<std::size_t>(kSide) * kSide;
constexpr std::uint32_t kHotspotOfIconFrames = 16;

std::uint32_t Rgb(const Pixel& p) { return static_cast<std::uint32_t>(p.r) << 16 | p.g << 8 | p.b; }
Pixel FromRgb(std::uint32_t c) {
    return Pixel{static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c >> 16), 255};
}
int Channel(std::uint32_t c, int axis) { return static_cast<int>((c >> (16 - 8 * axis)) & 0xFF); }

struct Weighted {
    std::uint32_t rgb;
    std::uint32_t count;
};

// Median cut: the colours split again and again, the box with the widest spread first, across its
// widest channel at the median pixel, until there are `slots` boxes; each box gives its mean colour.
std::vector<std::uint32_t> MedianCut(std::vector<Weighted> colours, std::size_t slots) {
    struct Box {
        std::size_t begin, end;
        int axis = 0, spread = 0;
    };
    auto measure = [&](Box& box) {
        std::array<int, 3> lo{255, 255, 255}, hi{0, 0, 0};
        for (std::size_t i = box.begin; i < box.end; ++i)
            for (int a = 0; a < 3; ++a) {
                lo[a] = std::min(lo[a], Channel(colours[i].rgb, a));
                hi[a] = std::max(hi[a], Channel(colours[i].rgb, a));
            }
        box.spread = -1;
        for (int a = 0; a < 3; ++a)
            if (hi[a] - lo[a] > box.spread) box = Box{box.begin, box.end, a, hi[a] - lo[a]};
    };
    std::vector<Box> boxes{Box{0, colours.size()}};
    measure(boxes[0]);
    while (boxes.size() < slots) {
        auto widest = std::max_element(boxes.begin(), boxes.end(),
                                       [](const Box& a, const Box& b) { return a.spread < b.spread; });
        if (widest->spread <= 0) break;  // every box holds one colour
        Box box = *widest;
        std::sort(colours.begin() + static_cast<std::ptrdiff_t>(box.begin), colours.begin() + static_cast<std::ptrdiff_t>(box.end),
                  [axis = box.axis](const Weighted& a, const Weighted& b) { return Channel(a.rgb, axis) < Channel(b.rgb, axis); });
        std::uint64_t total = 0, half = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) total += colours[i].count;
        std::size_t cut = box.begin + 1;
        for (std::size_t i = box.begin; i + 1 < box.end; ++i) {
            half += colours[i].count;
            cut = i + 1;
            if (half * 2 >= total) break;
        }
        Box low{box.begin, cut}, high{cut, box.end};
        measure(low);
        measure(high);
        *widest = low;
        boxes.push_back(high);
    }
    std::vector<std::uint32_t> palette;
    for (const Box& box : boxes) {
        std::array<std::uint64_t, 3> sum{};
        std::uint64_t n = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            for (int a = 0; a < 3; ++a) sum[a] += static_cast<std::uint64_t>(Channel(colours[i].rgb, a)) * colours[i].count;
            n += colours[i].count;
        }
        std::uint32_t rgb = 0;
        for (int a = 0; a < 3; ++a) rgb |= static_cast<std::uint32_t>((sum[a] + n / 2) / n) << (16 - 8 * a);
        palette.push_back(rgb);
    }
    return palette;
}

// The palette entry nearest to each colour asked for, by the sum of squared channel differences.
// The entries are kept in order of red, and the search walks out from the colour's red both ways
// until the red difference alone exceeds the best distance found.
class NearestColour {
  public:
    explicit NearestColour(const std::vector<std::uint32_t>& palette) {
        for (std::size_t i = 0; i < palette.size(); ++i)
            entries_.push_back({Channel(palette[i], 0), Channel(palette[i], 1), Channel(palette[i], 2), static_cast<int>(i)});
        std::sort(entries_.begin(), entries_.end());
    }
    std::uint8_t operator()(std::uint32_t rgb) const {
        const int r = Channel(rgb, 0), g = Channel(rgb, 1), b = Channel(rgb, 2);
        const auto start = std::lower_bound(entries_.begin(), entries_.end(), std::array<int, 4>{r, -1, -1, -1});
        int best = 0, bestDistance = 1 << 30;
        auto consider = [&](const std::array<int, 4>& e) {
            const int dr = e[0] - r, dg = e[1] - g, db = e[2] - b;
            if (dr * dr >= bestDistance) return false;
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestDistance || (d == bestDistance && e[3] < best)) bestDistance = d, best = e[3];
            return true;
        };
        for (auto up = start; up != entries_.end() && consider(*up); ++up) {}
        for (auto down = start; down != entries_.begin() && consider(*(down - 1)); --down) {}
        return static_cast<std::uint8_t>(best);
    }

  private:
    std::vector<std::array<int, 4>> entries_;  // red, green, blue, palette index
};

struct Indexed {
    std::vector<std::uint32_t> palette;  // at most the table's size
    std::vector<std::uint8_t> index;     // a palette index a pixel, rows from the top
};

Indexed ToPalette(const IconPicture& picture, std::size_t slots) {
    std::unordered_map<std::uint32_t, std::uint32_t> counts;
    bool clearBlack = false;  // a transparent black pixel: it must stay black or it tints the background
    for (std::size_t i = 0; i < kPixels; ++i) {
        const std::uint32_t rgb = Rgb(picture.color[i]);
        if (picture.mask[i] && rgb == 0) clearBlack = true;
        ++counts[rgb];
    }
    Indexed out;
    if (counts.size() <= slots) {
        for (const auto& [rgb, count] : counts) out.palette.push_back(rgb);
        std::sort(out.palette.begin(), out.palette.end());
    } else {
        std::vector<Weighted> colours;
        for (const auto& [rgb, count] : counts)
            if (!(clearBlack && rgb == 0)) colours.push_back({rgb, count});
        // Sorted first, so that the same picture always gives the same palette.
        std::sort(colours.begin(), colours.end(), [](const Weighted& a, const Weighted& b) { return a.rgb < b.rgb; });
        if (clearBlack) out.palette.push_back(0);
        for (std::uint32_t rgb : MedianCut(std::move(colours), slots - out.palette.size())) out.palette.push_back(rgb);
    }
    const NearestColour nearest(out.palette);
    std::unordered_map<std::uint32_t, std::uint8_t> chosen;
    out.index.resize(kPixels);
    for (std::size_t i = 0; i < kPixels; ++i) {
        const std::uint32_t rgb = Rgb(picture.color[i]);
        auto found = chosen.find(rgb);
        if (found == chosen.end()) found = chosen.emplace(rgb, nearest(rgb)).first;
        out.index[i] = found->second;
    }
    return out;
}

void PutBytes(std::vector<std::uint8_t>& out, ByteSpan bytes) { out.insert(out.end(), bytes.begin(), bytes.end()); }

void PutTag(std::vector<std::uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

int StoredBitCount(int bitCount) {
    switch (bitCount) {
        case 4: return 4;
        case 8: return 8;
        case 16: return 24;
        default: return 0;
    }
}

Result<std::vector<std::uint8_t>> EncodeIconFile(const IconPicture& picture, int bitCount, IconKind kind,
                                                 std::int32_t hotX, std::int32_t hotY) {
    if (picture.width != kSide || picture.height != kSide) return Fail("icons are written at 32 x 32 pixels only");
    if (picture.color.size() != kPixels || picture.mask.size() != kPixels) return Fail("the picture's pixels do not match its size");
    const int bits = StoredBitCount(bitCount);
    if (bits == 0) return Fail("icons are written at 4, 8 or 16 bits only");
    if (kind == IconKind::Cursor && (hotX < 0 || hotY < 0 || hotX >= kSide || hotY >= kSide))
        return Fail("the hotspot lies outside the cursor");

    const std::size_t tableEntries = bits <= 8 ? std::size_t{1} << bits : 0;
    const std::size_t colourBytes = DibStride(kSide, bits) * kSide;
    const std::size_t maskBytes = DibStride(kSide, 1) * kSide;
    const std::size_t imageBytes = kInfoBytes + tableEntries * 4 + colourBytes + maskBytes;

    std::vector<std::uint8_t> out;
    out.reserve(kHeaderBytes + imageBytes);
    PutU16(out, 0);
    PutU16(out, static_cast<std::uint16_t>(kind));
    PutU16(out, 1);
    out.push_back(kSide);
    out.push_back(kSide);
    out.push_back(bits == 4 ? 16 : 0);
    out.push_back(0);
    if (kind == IconKind::Cursor) {
        PutU16(out, static_cast<std::uint32_t>(hotX));
        PutU16(out, static_cast<std::uint32_t>(hotY));
    } else {
        PutU16(out, 1);
        PutU16(out, static_cast<std::uint32_t>(bits));
    }
    PutU32(out, static_cast<std::uint32_t>(imageBytes));
    PutU32(out, kHeaderBytes);

    PutU32(out, kInfoBytes);
    PutU32(out, kSide);
    PutU32(out, kSide * 2);  // colour rows and mask rows
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint32_t>(bits));
    PutU32(out, 0);  // BI_RGB
    PutU32(out, static_cast<std::uint32_t>(colourBytes + maskBytes));
    for (int i = 0; i < 4; ++i) PutU32(out, 0);

    std::vector<std::uint8_t> rows(colourBytes, 0);
    const std::size_t stride = DibStride(kSide, bits);
    if (tableEntries) {
        const Indexed indexed = ToPalette(picture, tableEntries);
        for (std::size_t i = 0; i < tableEntries; ++i) {
            const std::uint32_t rgb = i < indexed.palette.size() ? indexed.palette[i] : 0;
            const Pixel p = FromRgb(rgb);
            out.insert(out.end(), {p.b, p.g, p.r, 0});
        }
        for (std::int32_t y = 0; y < kSide; ++y) {
            std::uint8_t* row = rows.data() + static_cast<std::size_t>(kSide - 1 - y) * stride;
            for (std::int32_t x = 0; x < kSide; ++x) {
                const std::uint8_t v = indexed.index[static_cast<std::size_t>(y) * kSide + x];
                if (bits == 8) row[x] = v;
                else row[x / 2] |= static_cast<std::uint8_t>(x % 2 ? v : v << 4);
            }
        }
    } else {
        for (std::int32_t y = 0; y < kSide; ++y) {
            std::uint8_t* row = rows.data() + static_cast<std::size_t>(kSide - 1 - y) * stride;
            for (std::int32_t x = 0; x < kSide; ++x) {
                const Pixel& p = picture.color[static_cast<std::size_t>(y) * kSide + x];
                row[x * 3] = p.b, row[x * 3 + 1] = p.g, row[x * 3 + 2] = p.r;
            }
        }
    }
    PutBytes(out, rows);

    std::vector<std::uint8_t> mask(maskBytes, 0);
    const std::size_t maskStride = DibStride(kSide, 1);
    for (std::int32_t y = 0; y < kSide; ++y)
        for (std::int32_t x = 0; x < kSide; ++x)
            if (picture.mask[static_cast<std::size_t>(y) * kSide + x])
                mask[static_cast<std::size_t>(kSide - 1 - y) * maskStride + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    PutBytes(out, mask);
    return out;
}

Result<std::vector<std::uint8_t>> EncodeAni(const std::vector<ByteSpan>& frames, const std::vector<std::uint32_t>& rates) {
    if (frames.empty()) return Fail("an animated cursor needs at least one frame");
    if (frames.size() != rates.size()) return Fail("the rates do not match the frames");
    std::vector<IconDirectory> directories;
    std::uint64_t framesBytes = 0;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        auto directory = ReadIconDirectory(frames[i]);
        if (!directory) return Fail("frame " + std::to_string(i + 1) + ": " + directory.error());
        framesBytes += 8 + frames[i].size() + frames[i].size() % 2;
        directories.push_back(std::move(directory).value());
    }
    const std::uint64_t listBytes = 4 + framesBytes;
    const std::uint64_t riffBytes = 4 + (8 + 36) + (8 + 4 * rates.size()) + (8 + listBytes);
    if (riffBytes > 0xFFFFFFF0u) return Fail("the frames are too large for one file");
    const auto count = static_cast<std::uint32_t>(frames.size());

    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(riffBytes) + 8);
    PutTag(out, "RIFF");
    PutU32(out, static_cast<std::uint32_t>(riffBytes));
    PutTag(out, "ACON");

    PutTag(out, "anih");
    PutU32(out, 36);
    PutU32(out, 36);
    PutU32(out, count);  // frames
    PutU32(out, count);  // steps, one a frame in order
    PutU32(out, kSide);
    PutU32(out, kSide);
    PutU32(out, static_cast<std::uint32_t>(directories[0].images[0].dibBitCount));
    PutU32(out, 1);
    PutU32(out, rates[0]);
    PutU32(out, 1);  // frames are icon or cursor files; no sequence

    PutTag(out, "rate");
    PutU32(out, 4 * count);
    for (std::uint32_t rate : rates) PutU32(out, rate);

    PutTag(out, "LIST");
    PutU32(out, static_cast<std::uint32_t>(listBytes));
    PutTag(out, "fram");
    for (std::size_t i = 0; i < frames.size(); ++i) {
        PutTag(out, "icon");
        PutU32(out, static_cast<std::uint32_t>(frames[i].size()));
        const std::size_t start = out.size();
        PutBytes(out, frames[i]);
        // Animated cursors are made of cursors: an icon entry's planes and bit count would be read as
        // its hotspot, so an icon becomes a cursor pointing at its middle.
        if (directories[i].kind == IconKind::Icon) {
            out[start + 2] = static_cast<std::uint8_t>(IconKind::Cursor);
            for (std::size_t e = 0; e < directories[i].images.size(); ++e) {
                const std::size_t entry = start + 6 + 16 * e;
                out[entry + 4] = kHotspotOfIconFrames, out[entry + 5] = 0;
                out[entry + 6] = kHotspotOfIconFrames, out[entry + 7] = 0;
            }
        }
        if (frames[i].size() % 2) out.push_back(0);
    }
    return out;
}

}  // namespace formats
