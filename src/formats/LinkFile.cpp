#include "formats/LinkFile.h"

#include <algorithm>
#include <cstddef>

namespace formats {

namespace {

constexpr std::size_t kLinkInfoHeaderSize = 0x1C;

// Extra data blocks that hold texts of fixed size: an ANSI text of 260 bytes, then a wide one of
// 260 characters, both ending inside their field.
constexpr std::uint32_t kEnvironmentBlock = 0xA0000001;
constexpr std::uint32_t kDarwinBlock = 0xA0000006;
constexpr std::uint32_t kIconEnvironmentBlock = 0xA0000007;
constexpr std::uint32_t kTextBlockSize = 0x314;

struct BlockMinimum {
    std::uint32_t signature;
    std::uint32_t size;
};
// The smallest size of each block a reader takes fields from.
constexpr BlockMinimum kBlockMinimums[] = {
    {kEnvironmentBlock, kTextBlockSize}, {0xA0000002, 0xCC}, {0xA0000003, 0x60}, {0xA0000004, 0x0C},
    {0xA0000005, 0x10}, {kDarwinBlock, kTextBlockSize}, {kIconEnvironmentBlock, kTextBlockSize},
    {0xA0000008, 0x88}, {0xA0000009, 0x0C}, {0xA000000B, 0x1C}, {0xA000000C, 0x0A},
};

bool HasZeroByte(ByteSpan b, std::size_t from, std::size_t to) {
    return std::find(b.begin() + static_cast<std::ptrdiff_t>(from), b.begin() + static_cast<std::ptrdiff_t>(to),
                     0) != b.begin() + static_cast<std::ptrdiff_t>(to);
}

bool HasZeroWide(ByteSpan b, std::size_t from, std::size_t to) {
    for (std::size_t at = from; at + 2 <= to; at += 2)
        if (b[at] == 0 && b[at + 1] == 0) return true;
    return false;
}

// The item id list at `at`; answers the offset after it.
Result<std::size_t> SkipIdList(ByteSpan file, std::size_t at) {
    const auto size = ReadU16(file, at);
    if (!size || !InRange(at + 2, *size, file.size())) return Fail("the item id list runs past the end");
    const std::size_t end = at + 2 + *size;
    for (std::size_t item = at + 2;;) {
        const auto cb = ReadU16(file.first(end), item);
        if (!cb) return Fail("the item id list has no end");
        if (*cb == 0) break;
        if (*cb < 2 || !InRange(item, *cb, end)) return Fail("an item id runs past its list");
        item += *cb;
    }
    return end;
}

// The link info at `at`: every offset in it inside it, its texts ending inside it.
Result<std::size_t> SkipLinkInfo(ByteSpan file, std::size_t at) {
    const auto size = ReadU32(file, at);
    if (!size || *size < kLinkInfoHeaderSize || !InRange(at, *size, file.size()))
        return Fail("the link info runs past the end");
    const ByteSpan info = file.subspan(at, *size);
    const std::uint32_t headerSize = *ReadU32(info, 4);
    if (headerSize < kLinkInfoHeaderSize || headerSize > info.size()) return Fail("the link info header is wrong");
    for (std::size_t field = 12; field + 4 <= std::min<std::size_t>(headerSize, 0x24); field += 4) {
        const std::uint32_t offset = *ReadU32(info, field);
        if (offset >= info.size()) return Fail("a link info offset lies outside it");
    }
    // Every text in the block is read up to its terminating zero: the last ones end the block.
    if (info.back() != 0) return Fail("the link info does not end its last text");
    const std::uint32_t volume = *ReadU32(info, 12);
    if (volume != 0) {
        const auto labelOffset = ReadU32(info, volume + 12);
        if (!labelOffset || volume + static_cast<std::uint64_t>(*labelOffset) >= info.size())
            return Fail("the volume label lies outside the link info");
    }
    return at + *size;
}

Result<std::size_t> SkipTexts(ByteSpan file, std::size_t at, std::uint32_t flags) {
    const std::size_t unit = (flags & kLinkIsUnicode) ? 2 : 1;
    for (std::uint32_t flag : {kLinkHasName, kLinkHasRelativePath, kLinkHasWorkingDir, kLinkHasArguments,
                               kLinkHasIconLocation}) {
        if (!(flags & flag)) continue;
        const auto count = ReadU16(file, at);
        if (!count || !InRange(at + 2, std::uint64_t{*count} * unit, file.size())) return Fail("a text runs past the end");
        at += 2 + *count * unit;
    }
    return at;
}

Result<void> CheckExtraData(ByteSpan file, std::size_t at) {
    while (InRange(at, 4, file.size())) {
        const std::uint32_t size = *ReadU32(file, at);
        if (size < 4) break;  // the end block
        if (size < 8 || !InRange(at, size, file.size())) return Fail("an extra data block runs past the end");
        const std::uint32_t signature = *ReadU32(file, at + 4);
        for (const BlockMinimum& m : kBlockMinimums)
            if (m.signature == signature && size < m.size) return Fail("an extra data block is too small");
        if (signature == kEnvironmentBlock || signature == kDarwinBlock || signature == kIconEnvironmentBlock) {
            if (!HasZeroByte(file, at + 8, at + 8 + 260) || !HasZeroWide(file, at + 268, at + kTextBlockSize))
                return Fail("a text of an extra data block has no end");
        }
        at += size;
    }
    return {};
}

}  // namespace

Result<LinkHeader> ReadLinkHeader(ByteSpan file) {
    if (file.size() < kLinkHeaderSize) return Fail("too short for a shortcut header");
    if (*ReadU32(file, 0) != kLinkHeaderSize) return Fail("not a shortcut: wrong header size");
    if (!std::equal(kLinkClassId.begin(), kLinkClassId.end(), file.begin() + 4)) return Fail("not a shortcut: wrong class id");
    LinkHeader h;
    h.flags = *ReadU32(file, 20);
    h.fileAttributes = *ReadU32(file, 24);
    h.fileSize = *ReadU32(file, 52);
    h.iconIndex = *ReadI32(file, 56);
    h.showCommand = *ReadU32(file, 60);
    h.hotKey = *ReadU16(file, 64);
    return h;
}

Result<LinkHeader> CheckLinkFile(ByteSpan file) {
    auto header = ReadLinkHeader(file);
    if (!header) return header;
    std::size_t at = kLinkHeaderSize;
    if (header->flags & kLinkHasIdList) {
        auto next = SkipIdList(file, at);
        if (!next) return Error{next.error()};
        at = *next;
    }
    if (header->flags & kLinkHasLinkInfo) {
        auto next = SkipLinkInfo(file, at);
        if (!next) return Error{next.error()};
        at = *next;
    }
    auto next = SkipTexts(file, at, header->flags);
    if (!next) return Error{next.error()};
    auto extra = CheckExtraData(file, *next);
    if (!extra) return Error{extra.error()};
    return header;
}

}  // namespace formats
