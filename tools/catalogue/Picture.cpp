// Fitting, cutting, counting and reducing the colours of the catalogue's pictures.
#include "Picture.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "formats/Catalogue.h"

namespace catalogue {

namespace {

std::uint32_t Channel(std::uint32_t c, int shift) { return (c >> shift) & 0xFF; }

// One axis of an area-average resize: for each target pixel the source pixels it covers, with weights.
struct Tap {
    int first = 0;
    std::vector<double> weights;
};

std::vector<Tap> Taps(int from, int to) {
    std::vector<Tap> taps(to);
    const double scale = static_cast<double>(from) / to;
    for (int i = 0; i < to; ++i) {
        const double lo = i * scale, hi = (i + 1) * scale;
        Tap& t = taps[i];
        t.first = static_cast<int>(std::floor(lo));
        for (int s = t.first; s < from && s < hi; ++s) {
            double w = std::min<double>(hi, s + 1) - std::max<double>(lo, s);
            if (w > 0) t.weights.push_back(w / scale);
        }
    }
    return taps;
}

Rgba Shrink(const Rgba& p, int w, int h) {
    // Premultiplied, so that transparent pixels lend no colour to their neighbours.
    std::vector<std::array<double, 4>> pre(p.px.size());
    for (std::size_t i = 0; i < p.px.size(); ++i) {
        const double a = Channel(p.px[i], 24) / 255.0;
        pre[i] = {Channel(p.px[i], 16) * a, Channel(p.px[i], 8) * a, Channel(p.px[i], 0) * a, a};
    }
    const auto tx = Taps(p.width, w), ty = Taps(p.height, h);
    std::vector<std::array<double, 4>> rows(static_cast<std::size_t>(w) * p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < w; ++x) {
            std::array<double, 4> sum{};
            for (std::size_t k = 0; k < tx[x].weights.size(); ++k) {
                const auto& s = pre[static_cast<std::size_t>(y) * p.width + tx[x].first + k];
                for (int c = 0; c < 4; ++c) sum[c] += s[c] * tx[x].weights[k];
            }
            rows[static_cast<std::size_t>(y) * w + x] = sum;
        }
    Rgba out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::array<double, 4> sum{};
            for (std::size_t k = 0; k < ty[y].weights.size(); ++k) {
                const auto& s = rows[(ty[y].first + k) * w + x];
                for (int c = 0; c < 4; ++c) sum[c] += s[c] * ty[y].weights[k];
            }
            const double a = std::clamp(sum[3], 0.0, 1.0);
            if (a <= 0) continue;
            auto channel = [&](double v) {
                return static_cast<std::uint32_t>(std::clamp(std::lround(v / a), 0L, 255L));
            };
            out.At(x, y) = static_cast<std::uint32_t>(std::lround(a * 255)) << 24 | channel(sum[0]) << 16 |
                           channel(sum[1]) << 8 | channel(sum[2]);
        }
    return out;
}

using Colour = std::array<int, 3>;

Colour Split(std::uint32_t c) {
    return {static_cast<int>(Channel(c, 16)), static_cast<int>(Channel(c, 8)), static_cast<int>(Channel(c, 0))};
}

std::uint32_t Join(const Colour& c) {
    return kOpaque | static_cast<std::uint32_t>(c[0]) << 16 | static_cast<std::uint32_t>(c[1]) << 8 |
           static_cast<std::uint32_t>(c[2]);
}

int Distance2(const Colour& a, const Colour& b) {
    const int dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return dr * dr + dg * dg + db * db;
}

double Distance2(const Colour& a, const std::array<double, 3>& b) {
    const double dr = a[0] - b[0], dg = a[1] - b[1], db = a[2] - b[2];
    return dr * dr + dg * dg + db * db;
}

struct Weighted {
    Colour colour;
    double weight;
};

// The colours of the opaque pixels with their pixel counts, in the order of their values.
std::vector<Weighted> Histogram(std::span<const CellPicture> frames) {
    std::unordered_map<std::uint32_t, double> counts;
    for (const auto& f : frames)
        for (std::uint32_t p : f)
            if (p != 0) counts[p] += 1;
    std::vector<std::pair<std::uint32_t, double>> sorted(counts.begin(), counts.end());
    std::sort(sorted.begin(), sorted.end());
    std::vector<Weighted> out;
    out.reserve(sorted.size());
    for (const auto& [c, n] : sorted) out.push_back({Split(c), n});
    return out;
}

// Median cut: boxes of colours split at the weighted median of their widest channel.
std::vector<std::array<double, 3>> MedianCut(std::vector<Weighted> colours, std::size_t k) {
    struct Box {
        std::size_t begin, end;
    };
    auto widest = [&](const Box& b, int* channel) {
        int best = -1;
        for (int c = 0; c < 3; ++c) {
            int lo = 255, hi = 0;
            for (std::size_t i = b.begin; i < b.end; ++i) {
                lo = std::min(lo, colours[i].colour[c]);
                hi = std::max(hi, colours[i].colour[c]);
            }
            if (hi - lo > best) best = hi - lo, *channel = c;
        }
        return best;
    };
    std::vector<Box> boxes{{0, colours.size()}};
    while (boxes.size() < k) {
        // The box to split: the one with the largest spread times its weight.
        std::size_t pick = boxes.size();
        double pickScore = 0;
        int pickChannel = 0;
        for (std::size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].end - boxes[b].begin < 2) continue;
            int channel = 0;
            const int spread = widest(boxes[b], &channel);
            double weight = 0;
            for (std::size_t i = boxes[b].begin; i < boxes[b].end; ++i) weight += colours[i].weight;
            const double score = spread * std::sqrt(weight);
            if (spread > 0 && score > pickScore) pick = b, pickScore = score, pickChannel = channel;
        }
        if (pick == boxes.size()) break;
        Box box = boxes[pick];
        std::stable_sort(colours.begin() + box.begin, colours.begin() + box.end,
                         [&](const Weighted& a, const Weighted& b) { return a.colour[pickChannel] < b.colour[pickChannel]; });
        double total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) total += colours[i].weight;
        double run = 0;
        std::size_t cut = box.begin + 1;
        for (std::size_t i = box.begin; i < box.end - 1; ++i) {
            run += colours[i].weight;
            cut = i + 1;
            if (run >= total / 2) break;
        }
        boxes[pick] = {box.begin, cut};
        boxes.push_back({cut, box.end});
    }
    std::vector<std::array<double, 3>> centres;
    for (const Box& b : boxes) {
        std::array<double, 3> sum{};
        double weight = 0;
        for (std::size_t i = b.begin; i < b.end; ++i) {
            for (int c = 0; c < 3; ++c) sum[c] += colours[i].colour[c] * colours[i].weight;
            weight += colours[i].weight;
        }
        for (int c = 0; c < 3; ++c) sum[c] /= weight;
        centres.push_back(sum);
    }
    return centres;
}

std::size_t Nearest(const Colour& c, const std::vector<std::array<double, 3>>& centres) {
    std::size_t best = 0;
    double bestD = std::numeric_limits<double>::max();
    for (std::size_t i = 0; i < centres.size(); ++i) {
        const double d = Distance2(c, centres[i]);
        if (d < bestD) bestD = d, best = i;
    }
    return best;
}

}  // namespace

Rgba FitToCell(const Rgba& picture, Place place) {
    Rgba fitted = picture;
    if (picture.width > kSide || picture.height > kSide) {
        const double scale = static_cast<double>(kSide) / std::max(picture.width, picture.height);
        const int w = std::max(1, static_cast<int>(std::lround(picture.width * scale)));
        const int h = std::max(1, static_cast<int>(std::lround(picture.height * scale)));
        fitted = Shrink(picture, std::min(w, kSide), std::min(h, kSide));
    }
    if (fitted.width == kSide && fitted.height == kSide) return fitted;
    Rgba cell(kSide, kSide);
    const int left = place == Place::Centre ? (kSide - fitted.width) / 2 : 0;
    const int top = place == Place::Centre ? (kSide - fitted.height) / 2 : 0;
    for (int y = 0; y < fitted.height; ++y)
        for (int x = 0; x < fitted.width; ++x) cell.At(left + x, top + y) = fitted.At(x, y);
    return cell;
}

std::vector<Rgba> SplitFrames(const Rgba& strip, int frame) {
    std::vector<Rgba> frames;
    if (frame <= 0 || strip.width % frame != 0 || strip.height % frame != 0) return frames;
    for (int top = 0; top < strip.height; top += frame)
        for (int left = 0; left < strip.width; left += frame) {
            Rgba f(frame, frame);
            for (int y = 0; y < frame; ++y)
                for (int x = 0; x < frame; ++x) f.At(x, y) = strip.At(left + x, top + y);
            frames.push_back(std::move(f));
        }
    return frames;
}

int AlphaThreshold(std::span<const Rgba> fitted) {
    double all = 0, faint = 0;
    for (const Rgba& f : fitted)
        for (std::uint32_t p : f.px) {
            const std::uint32_t a = Channel(p, 24);
            all += a;
            if (a < kSolidAlpha) faint += a;
        }
    return faint > all / 4 ? kFaintAlpha : kSolidAlpha;
}

bool HasBackground(const CellPicture& cell) {
    for (int i = 0; i < kSide; ++i)
        if (cell[i] == 0 || cell[(kSide - 1) * kSide + i] == 0 || cell[i * kSide] == 0 || cell[i * kSide + kSide - 1] == 0)
            return true;
    return false;
}

CellPicture ToCell(const Rgba& fitted, int threshold) {
    CellPicture cell{};
    for (int i = 0; i < kCellPixels; ++i) {
        const std::uint32_t p = fitted.px[i];
        const std::uint32_t a = Channel(p, 24);
        if (a < static_cast<std::uint32_t>(threshold)) continue;
        auto over = [&](int shift) { return (Channel(p, shift) * a + 255 * (255 - a) + 127) / 255; };
        cell[i] = kOpaque | over(16) << 16 | over(8) << 8 | over(0);
    }
    return cell;
}

int OpaqueCount(const CellPicture& cell) {
    return static_cast<int>(std::count_if(cell.begin(), cell.end(), [](std::uint32_t p) { return p != 0; }));
}

std::size_t ColourCount(std::span<const CellPicture> frames) {
    std::unordered_set<std::uint32_t> colours;
    for (const auto& f : frames)
        for (std::uint32_t p : f)
            if (p != 0) colours.insert(p);
    return colours.size();
}

Reduction Reduce(std::span<const CellPicture> frames, std::size_t colours) {
    Reduction r;
    r.frames.assign(frames.begin(), frames.end());
    r.psnr = std::numeric_limits<double>::infinity();
    const auto histogram = Histogram(frames);
    if (histogram.size() <= colours) return r;

    auto centres = MedianCut(histogram, colours);
    for (int round = 0; round < 6; ++round) {
        std::vector<std::array<double, 4>> sums(centres.size(), {0, 0, 0, 0});
        for (const Weighted& w : histogram) {
            auto& s = sums[Nearest(w.colour, centres)];
            for (int c = 0; c < 3; ++c) s[c] += w.colour[c] * w.weight;
            s[3] += w.weight;
        }
        for (std::size_t i = 0; i < centres.size(); ++i)
            if (sums[i][3] > 0)
                for (int c = 0; c < 3; ++c) centres[i][c] = sums[i][c] / sums[i][3];
    }
    std::vector<std::array<double, 3>> palette;
    for (const auto& c : centres) palette.push_back({std::round(c[0]), std::round(c[1]), std::round(c[2])});

    std::unordered_map<std::uint32_t, std::uint32_t> map;
    double squared = 0, count = 0;
    for (const Weighted& w : histogram) {
        const auto& p = palette[Nearest(w.colour, palette)];
        const Colour to{static_cast<int>(p[0]), static_cast<int>(p[1]), static_cast<int>(p[2])};
        const int d2 = Distance2(w.colour, to);
        squared += d2 * w.weight;
        count += w.weight;
        r.maxError = std::max(r.maxError, std::sqrt(static_cast<double>(d2)));
        map[Join(w.colour)] = Join(to);
    }
    for (auto& f : r.frames)
        for (std::uint32_t& p : f)
            if (p != 0) p = map[p];
    const double mse = squared / (3 * count);
    r.psnr = mse > 0 ? 10 * std::log10(255.0 * 255.0 / mse) : std::numeric_limits<double>::infinity();
    return r;
}

Classified Classify(std::vector<CellPicture> frames) {
    Classified c;
    const std::size_t n = ColourCount(frames);
    auto keeps = [](const Reduction& r, const Keep& k) { return r.psnr >= k.minPsnr && r.maxError <= k.maxError; };
    if (n <= 16) {
        c.colourClass = ColourClass::Colours16;
    } else if (Reduction r = Reduce(frames, 16); keeps(r, kKeep16)) {
        c.colourClass = ColourClass::Colours16;
        frames = std::move(r.frames);
        c.reduced = true;
    } else if (n <= 256) {
        c.colourClass = ColourClass::Colours256;
    } else if (Reduction r = Reduce(frames, 256); keeps(r, kKeep256)) {
        c.colourClass = ColourClass::Colours256;
        frames = std::move(r.frames);
        c.reduced = true;
    } else {
        c.colourClass = ColourClass::HiColour;
    }
    c.frames = std::move(frames);
    return c;
}

char ChooseMaskDigit(std::vector<CellPicture>& frames) {
    // Magenta first, the classic mask colour; white last, since so many pictures use it.
    static constexpr char kPreference[] = "4215893760";
    auto rgbOf = [](char digit) {
        const std::uint32_t bgr = *formats::MaskColor(digit);
        return kOpaque | (bgr & 0xFF) << 16 | (bgr & 0xFF00) | (bgr >> 16 & 0xFF);
    };
    std::unordered_map<std::uint32_t, std::size_t> uses;
    for (const auto& f : frames)
        for (std::uint32_t p : f)
            if (p != 0) ++uses[p];
    char least = kPreference[0];
    for (const char* d = kPreference; *d; ++d) {
        auto it = uses.find(rgbOf(*d));
        if (it == uses.end()) return *d;
        if (it->second < uses[rgbOf(least)]) least = *d;
    }
    // Every mask colour is taken: move the least used one to a free neighbour.
    const std::uint32_t from = rgbOf(least);
    std::uint32_t to = from;
    for (int step = 1; step < 256 && to == from; ++step) {
        for (int sign : {1, -1}) {
            const int blue = static_cast<int>(from & 0xFF) + sign * step;
            const std::uint32_t candidate = (from & 0xFFFFFF00u) | static_cast<std::uint32_t>(blue & 0xFF);
            if (blue >= 0 && blue <= 255 && !uses.count(candidate)) {
                to = candidate;
                break;
            }
        }
    }
    for (auto& f : frames)
        for (std::uint32_t& p : f)
            if (p == from) p = to;
    return least;
}

std::uint64_t PictureHash(const CellPicture& cell) {
    std::uint64_t h = 1469598103934665603ull;
    for (std::uint32_t p : cell)
        for (int b = 0; b < 4; ++b) h = (h ^ ((p >> (8 * b)) & 0xFF)) * 1099511628211ull;
    return h;
}

}  // namespace catalogue
