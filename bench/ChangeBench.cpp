// Times the Windows icon changes' own steps: the name of a new icon copy with 0, 1,000 and 4,999
// copies present, found from one listing of the copy folder, beside one open per number as a
// reference. Prints a table in milliseconds (the median of five runs) with the ratio of the two.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "BenchProgram.h"
#include "TestSupport.h"
#include "changing/IconCopies.h"
#include "core/Files.h"
#include "ui/Unique.h"

namespace {

double MedianOf5(const std::function<void()>& run) {
    std::vector<double> ms;
    for (int i = 0; i < 5; ++i) {
        const double start = NowMs();
        run();
        ms.push_back(NowMs() - start);
    }
    return Median(ms);
}

// The reference: each number tried by opening its file, until one does not open.
int FirstFreeByOpening(const std::string& folder, const std::string& extension) {
    for (int n = 1; n <= kMaxIconCopyNumber; ++n)
        if (!FileExists(folder + std::to_string(n) + extension)) return n;
    return 0;
}

void Row(const std::string& what, double ms, double referenceMs) {
    std::printf("%-40s %10.2f %14.2f %8.1fx\n", what.c_str(), ms, referenceMs, referenceMs / ms);
}

}  // namespace

int main() {
    StartBenchProgram();
    TempDir dir;
    const std::string folder = dir.Folder("Icons") + "\\";

    std::printf("%-40s %10s %14s %9s\n", "Icon copy name", "ms", "open each ms", "ratio");
    int present = 0;
    for (int copies : {0, 1000, 4999}) {
        for (; present < copies; ++present) {
            UniqueFile f(CreateFileA((folder + std::to_string(present + 1) + ".ico").c_str(), GENERIC_WRITE, 0, nullptr,
                                     CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!f) {
                std::fprintf(stderr, "could not make copy %d\n", present + 1);
                return 1;
            }
        }
        int listed = 0, opened = 0;
        const double ms = MedianOf5([&] { listed = FirstFreeCopyNumber(folder, ".ico"); });
        const double reference = MedianOf5([&] { opened = FirstFreeByOpening(folder, ".ico"); });
        if (listed != copies + 1 || opened != copies + 1)
            std::printf("found %d and %d, not %d\n", listed, opened, copies + 1);
        Row(std::to_string(copies) + " copies present", ms, reference);
    }
    return 0;
}
