// Windows shortcut files (.lnk): the fixed header, and a check that every section the system's
// reader walks lies inside the file.
#pragma once

#include <array>
#include <cstdint>

#include "formats/Bytes.h"
#include "formats/Result.h"

namespace formats {

inline constexpr std::uint32_t kLinkHeaderSize = 0x4C;
// {00021401-0000-0000-C000-000000000046} as it lies in the file.
inline constexpr std::array<std::uint8_t, 16> kLinkClassId = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                              0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

// Link flags that announce the sections after the header, in file order.
inline constexpr std::uint32_t kLinkHasIdList = 0x01;
inline constexpr std::uint32_t kLinkHasLinkInfo = 0x02;
inline constexpr std::uint32_t kLinkHasName = 0x04;
inline constexpr std::uint32_t kLinkHasRelativePath = 0x08;
inline constexpr std::uint32_t kLinkHasWorkingDir = 0x10;
inline constexpr std::uint32_t kLinkHasArguments = 0x20;
inline constexpr std::uint32_t kLinkHasIconLocation = 0x40;
inline constexpr std::uint32_t kLinkIsUnicode = 0x80;

struct LinkHeader {
    std::uint32_t flags = 0;
    std::uint32_t fileAttributes = 0;
    std::uint32_t fileSize = 0;
    std::int32_t iconIndex = 0;
    std::uint32_t showCommand = 0;  // as stored: 1 normal, 3 maximised, 7 minimised, anything else kept
    std::uint16_t hotKey = 0;
};

// The first 76 bytes: refused unless the size field is 0x4C and the class id is the shell link's.
Result<LinkHeader> ReadLinkHeader(ByteSpan file);

// The header, after checking that the item id list, the link info, the texts and the extra data
// blocks the flags announce each fit inside the file, item by item and block by block. The extra
// data may end with the file instead of an end block.
Result<LinkHeader> CheckLinkFile(ByteSpan file);

}  // namespace formats
