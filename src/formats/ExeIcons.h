// Icons of programs, libraries and icon libraries (PE and NE files), read from their bytes: the icon
// groups counted from the headers, each group's directory and the bytes of its images. Nothing here
// trusts a header: every offset and size is checked against what the file really holds, so a module
// never has to be handed to the system loader to show its icons.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "formats/Bytes.h"
#include "formats/Result.h"

namespace formats {

// Reads up to `size` bytes at `offset` of the file into `out` (fewer at the end of the file); false when the read fails.
using ReadAt = std::function<bool(std::uint64_t offset, std::size_t size, std::vector<std::uint8_t>& out)>;

// The number of icon groups (resource type 14, RT_GROUP_ICON) of a 32- or 64-bit PE file or a 16-bit NE file,
// as the shell counts them for an index of -1. An error for anything it cannot read as either.
// Reads only the headers and the resource directory, a few small reads.
Result<std::int32_t> CountIconGroups(const ReadAt& read);

// The least one read of a module brings in, and what a reader of many images may ask for instead.
inline constexpr std::size_t kSmallReadWindow = 1024;
inline constexpr std::size_t kWideReadWindow = 64u << 10;

// Group and image resources larger than this are refused: real ones are a few hundred kilobytes.
inline constexpr std::uint32_t kMaxIconResourceBytes = 8u << 20;

// One entry of an icon group's directory: the image's description and its icon resource id.
struct GroupImage {
    std::uint8_t width = 0;  // 0 stands for 256
    std::uint8_t height = 0;
    std::uint8_t colorCount = 0;
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t bytes = 0;
    std::uint16_t id = 0;
};

// The entries of an icon group resource (a 6-byte header and 14-byte entries); an error when the
// header is not an icon group's or the entries run past the bytes.
Result<std::vector<GroupImage>> ReadIconGroup(ByteSpan group);

// The icon resources of one module. Open reads the headers and the list of icon groups; each group
// and image is read when asked for. The reader reads through `read` for as long as it lives.
class ModuleIcons {
  public:
    // `window` is how much one read brings in at least: the headers and directory of most files
    // fit in the smallest, and a reader that goes on to many images reads fewer times with more.
    static Result<ModuleIcons> Open(ReadAt read, std::size_t window = kSmallReadWindow);

    ModuleIcons(ModuleIcons&&) noexcept;
    ModuleIcons& operator=(ModuleIcons&&) noexcept;
    ~ModuleIcons();

    // How many icon groups the module has: the shell's count for an index of -1.
    std::size_t GroupCount() const;
    // The place of the group with numeric resource id `id` in resource order.
    std::optional<std::size_t> FindGroup(std::uint16_t id) const;
    // The directory of group `index` (in resource order, the shell's icon index).
    Result<std::vector<GroupImage>> Group(std::size_t index);
    // The bytes of the icon image resource `id` (RT_ICON): a bitmap header and its bits, or a PNG stream.
    Result<std::vector<std::uint8_t>> Image(std::uint16_t id);

    struct State;  // the reader's own; defined in its source file

  private:
    explicit ModuleIcons(std::unique_ptr<State> state);
    std::unique_ptr<State> s_;
};

}  // namespace formats
