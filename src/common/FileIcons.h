// The icons a user's file holds: its kind by extension, how many result entries its bytes give and
// the index, label and type code of each. Pure logic; the file reading and the library count are
// the caller's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formats/Bytes.h"
#include "formats/IconFile.h"

// The kinds of file that hold icons, by the last three characters of the path, letter case aside.
enum class IconFileType : uint8_t { Other, Ico, Cur, Ani, Icl, Dll, Exe };
IconFileType IconFileTypeOf(std::string_view path);

// An animated file gives at most this many entries: a frame step fits in 16 bits.
inline constexpr int32_t kMaxAniSteps = 32767;

// True when the bytes start like a program, library or icon library ("MZ").
bool IsExecutableHeader(formats::ByteSpan head);

// The type code of an icon or cursor file of `fileSize` bytes: 16 colours up to 766 bytes, 256
// colours at exactly 2238 (a 32 x 32 picture of 256 colours), high colour from 2239. In between,
// the colour depth of the picture shown at 32 x 32 decides. A cursor's code is the icon's plus 6.
char StillTypeCode(uint64_t fileSize, const formats::IconDirectory& directory);

// What the bytes of an icon, cursor or animated file give: how many entries and, for a still file,
// its type code. An .ico or .cur file gives one entry for either kind of directory, as Windows reads
// both by their content, with the type code of the kind it holds. Nothing for a file that does not
// read or whose header is neither (a directory of another kind, a still icon named .ani). An
// animated file gives one entry per step of its header, at most kMaxAniSteps.
struct FileIconCount {
    int32_t count = 0;
    char typeCode = 0;
};
FileIconCount CountFileIcons(IconFileType type, formats::ByteSpan file);

// Entry i (from 1) of the n entries of a file: its icon index, its label and its type code. An
// animated file's entries are made one frame step at a time; `stillTypeCode` serves icons and cursors.
struct IconEntryFields {
    int32_t index = 0;
    std::string label;
    char typeCode = 0;
};
IconEntryFields EntryFields(IconFileType type, int32_t i, int32_t n, int32_t frameStep, char stillTypeCode);

// True when a path found in the favorites folder is an icon, cursor or animated file (extension in
// any case) whose name without folder and extension is exactly `keyword`.
bool IsFavoriteFileOf(std::string_view path, std::string_view keyword);
