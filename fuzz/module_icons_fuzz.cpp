// Fuzz target: the icon groups and images of programs and libraries read through a ReadAt over the
// input, each image then decoded by the program or checked for the system.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/ExeIcons.h"
#include "formats/IconPicture.h"

namespace {

constexpr std::size_t kGroups = 64;   // groups read of one module
constexpr std::size_t kEntries = 16;  // images read of one group
// The first image walks the icon records of an NE table, at most 65535 of them in 1 KB windows;
// anything else is a few reads.
constexpr int kReadsPerCall = 1000;

void CheckImage(const formats::Result<std::vector<std::uint8_t>>& image) {
    if (!image) return;
    if (image->empty() || image->size() > formats::kMaxIconResourceBytes) std::abort();
    auto picture = formats::DecodeIconImage(*image);
    if (picture) {
        const std::size_t count = static_cast<std::size_t>(picture->width) * static_cast<std::size_t>(picture->height);
        if (count == 0 || picture->color.size() != count || picture->mask.size() != count) std::abort();
    }
    // The copy for the system is the image padded, never cut.
    auto forSystem = formats::IconImageForSystem(*image);
    if (forSystem && (forSystem->size() < image->size() ||
                      !std::equal(image->begin(), image->end(), forSystem->begin())))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    int reads = 0;
    formats::ReadAt read = [&](std::uint64_t offset, std::size_t want, std::vector<std::uint8_t>& out) {
        ++reads;
        // No single read may ask for more than the largest resource the reader accepts.
        if (want > formats::kMaxIconResourceBytes) std::abort();
        out.clear();
        if (offset < size) {
            std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(want, size - offset));
            out.assign(data + offset, data + offset + n);
        }
        return true;
    };
    // Both ways of reading: the small windows of the count and the wide ones of a page.
    const std::size_t window = size % 2 ? formats::kWideReadWindow : formats::kSmallReadWindow;
    auto module = formats::ModuleIcons::Open(read, window);
    if (reads > 70000) std::abort();
    if (!module) return 0;
    const std::size_t groups = module->GroupCount();
    if (groups > 2 * 0xFFFF) std::abort();

    for (std::size_t i = 0; i < std::min(groups, kGroups); ++i) {
        reads = 0;
        auto group = module->Group(i);
        if (reads > kReadsPerCall) std::abort();
        if (!group) continue;
        if (group->size() > 0xFFFF) std::abort();
        for (std::size_t k = 0; k < std::min(group->size(), kEntries); ++k) {
            const std::uint16_t id = (*group)[k].id;
            auto found = module->FindGroup(id);
            if (found && *found >= groups) std::abort();
            reads = 0;
            auto image = module->Image(id);
            if (reads > kReadsPerCall) std::abort();
            CheckImage(image);
        }
    }
    // Images no group names: a module without groups is asked too.
    for (std::uint16_t id : {0, 1, 2}) {
        reads = 0;
        auto image = module->Image(id);
        if (reads > kReadsPerCall) std::abort();
        CheckImage(image);
    }
    return 0;
}
