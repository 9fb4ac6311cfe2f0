// Times the icon-file writer itself: 200 different 32 x 32 pictures of many colours, each drawn into
// the work surfaces and written as an icon at 4, 8 and 16 bits and as a cursor, and animated cursors
// of 61 and 300 frames (the frame icons, then the .ani). Prints a table in milliseconds (the median
// of three runs). With a folder argument it also leaves the 200 pictures there as bitmap files, for
// icotool to make the same icons natively beside it (scripts/bench-icotool).
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchProgram.h"
#include "TestSupport.h"
#include "core/Files.h"
#include "formats/Bmp.h"
#include "formats/FileBytes.h"
#include "output/IconWriter.h"
#include "ui/Unique.h"

namespace {

constexpr int kSide = 32, kIcons = 200;

struct Picture {
    std::vector<uint32_t> color, mask;  // 0x00RRGGBB, rows from the top
};

// Smooth shades with a little noise and a round mask: hundreds of colours, as a drawn icon has.
Picture Make(int n) {
    Picture p{std::vector<uint32_t>(kSide * kSide), std::vector<uint32_t>(kSide * kSide)};
    unsigned seed = 12345u + static_cast<unsigned>(n) * 7919u;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int i = y * kSide + x, dx = x - 16, dy = y - 16;
            if (dx * dx + dy * dy > 15 * 15) {
                p.mask[i] = 0xFFFFFF;
                continue;
            }
            const unsigned noise = (seed >> 16) & 15;
            p.color[i] = ((x * 7 + n) & 0xFF) << 16 | ((y * 7 + n * 3) & 0xFF) << 8 | (((x + y) * 4 + noise) & 0xFF);
        }
    return p;
}

class Surfaces {
  public:
    Surfaces() : color_(kSide, kSide), mask_(CreateBitmap(kSide, kSide, 1, 1, nullptr)), maskDC_(CreateCompatibleDC(nullptr)),
                 selection_(maskDC_.get(), mask_.get()) {}
    void Draw(const Picture& p) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), kSide, -kSide, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        SetDIBitsToDevice(color_.dc(), 0, 0, kSide, kSide, 0, 0, 0, kSide, p.color.data(), &info, DIB_RGB_COLORS);
        SetDIBitsToDevice(maskDC_.get(), 0, 0, kSide, kSide, 0, 0, 0, kSide, p.mask.data(), &info, DIB_RGB_COLORS);
    }
    HDC color() const { return color_.dc(); }
    HDC mask() const { return maskDC_.get(); }

  private:
    MemoryBitmap color_;
    UniqueBitmap mask_;
    UniqueMemDC maskDC_;
    SelectInDC selection_;
};

double MedianOf3(const std::function<double()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < 3; ++i) ms.push_back(run());
    return Median(ms);
}

}  // namespace

int main(int argc, char** argv) {
    StartBenchProgram();
    TempDir dir;
    Surfaces surfaces;
    const SaveLibrary writer;
    std::vector<Picture> pictures;
    for (int i = 0; i < kIcons; ++i) pictures.push_back(Make(i));

    // Only the writer's calls are timed; drawing the source into the surfaces is not.
    auto icons = [&](int count, const std::function<int16_t(const std::string&)>& save, const char* ext) {
        double ms = 0;
        for (int i = 0; i < count; ++i) {
            surfaces.Draw(pictures[static_cast<size_t>(i) % pictures.size()]);
            const std::string name = dir.path() + std::to_string(i) + ext;
            const double start = NowMs();
            if (!save(name)) std::printf("writing %s failed\n", name.c_str());
            ms += NowMs() - start;
        }
        return ms;
    };
    auto iconAt = [&](int bits) {
        return [&, bits](const std::string& name) { return writer.SaveAsIcon(surfaces.color(), surfaces.mask(), 32, 32, bits, name); };
    };
    auto frames = [&](int n) {
        std::vector<std::string> files;
        for (int i = 0; i < n; ++i) files.push_back(dir.path() + std::to_string(i) + ".ico");
        return files;
    };

    std::printf("%-44s %10s\n", "icon-file writer (200 icons, 32 x 32)", "ms");
    for (int bits : {4, 8, 16}) {
        const double ms = MedianOf3([&] { return icons(kIcons, iconAt(bits), ".ico"); });
        std::printf("%-44s %10.1f\n", ("200 icons at " + std::to_string(bits) + " bits").c_str(), ms);
    }
    const double cursors = MedianOf3([&] {
        return icons(kIcons, [&](const std::string& name) {
            return writer.SaveAsCursor(surfaces.color(), surfaces.mask(), 32, 32, 16, 16, 16, name);
        }, ".cur");
    });
    std::printf("%-44s %10.1f\n", "200 cursors at 16 bits", cursors);
    for (int n : {61, 300}) {
        double aniOnly = 0;
        const double whole = MedianOf3([&] {
            const double framesMs = icons(n, iconAt(16), ".ico");
            const double start = NowMs();
            if (!writer.SaveAsANI(frames(n), std::vector<int32_t>(n, 20), dir.path() + "run.ani", 0)) std::printf("the .ani failed\n");
            aniOnly = NowMs() - start;
            return framesMs + aniOnly;
        });
        std::printf("%-44s %10.1f\n", (std::to_string(n) + "-frame .ani: frame icons and .ani").c_str(), whole);
        std::printf("%-44s %10.1f\n", (std::to_string(n) + "-frame .ani: the .ani alone").c_str(), aniOnly);
    }

    if (argc > 1) {
        // The same pictures for icotool: colours over black where the mask is set, as an icon shows them.
        const std::string out = std::string(argv[1]) + "\\";
        for (int i = 0; i < kIcons; ++i) {
            formats::Image image(kSide, kSide);
            for (int k = 0; k < kSide * kSide; ++k) {
                const uint32_t c = pictures[i].color[k];
                image.pixels[k] = formats::Pixel{static_cast<uint8_t>(c), static_cast<uint8_t>(c >> 8), static_cast<uint8_t>(c >> 16),
                                                 static_cast<uint8_t>(pictures[i].mask[k] ? 0 : 255)};
            }
            auto bytes = formats::WriteBmp32(image);
            if (!bytes || !formats::WriteFileBytes(WidePath(out + "p" + std::to_string(i) + ".bmp"), *bytes))
                std::printf("the picture for icotool could not be written\n");
        }
    }
    return 0;
}
