// The icons a user's file holds, worked out from its name and bytes.
#include "common/FileIcons.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "formats/AniFile.h"

namespace {

std::string LowerTail(std::string_view s, size_t n) {
    std::string tail(s.substr(s.size() >= n ? s.size() - n : 0));
    for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return tail;
}

// Bits per pixel of one picture: its bitmap header is the truth; old files leave the directory's
// bit count at 0 and give only a colour count (2, 16, or 0 for 256 and more).
int ColorBits(const formats::IconImage& image) {
    if (image.png) return 32;
    if (image.dibBitCount > 0) return image.dibBitCount;
    if (image.bitCount > 0) return image.bitCount;
    if (image.colorCount == 2) return 1;
    if (image.colorCount > 0 && image.colorCount <= 16) return 4;
    return 8;
}

// The picture Windows shows at 32 x 32: the nearest size, and of those the most colours.
const formats::IconImage& ShownImage(const formats::IconDirectory& directory) {
    auto better = [](const formats::IconImage& a, const formats::IconImage& b) {
        int da = std::abs(a.width - 32), db = std::abs(b.width - 32);
        return da != db ? da < db : ColorBits(a) > ColorBits(b);
    };
    return *std::min_element(directory.images.begin(), directory.images.end(), better);
}

}  // namespace

IconFileType IconFileTypeOf(std::string_view path) {
    const std::string ext = LowerTail(path, 3);
    if (ext == "ico") return IconFileType::Ico;
    if (ext == "cur") return IconFileType::Cur;
    if (ext == "ani") return IconFileType::Ani;
    if (ext == "icl") return IconFileType::Icl;
    if (ext == "dll") return IconFileType::Dll;
    if (ext == "exe") return IconFileType::Exe;
    return IconFileType::Other;
}

bool IsExecutableHeader(formats::ByteSpan head) { return formats::HasTag(head, 0, "MZ"); }

char StillTypeCode(uint64_t fileSize, const formats::IconDirectory& directory) {
    int colorClass = 2;
    if (fileSize <= 766) {
        colorClass = 0;
    } else if (fileSize == 2238) {
        colorClass = 1;
    } else if (fileSize < 2238) {
        const int bits = ColorBits(ShownImage(directory));
        colorClass = bits <= 4 ? 0 : bits <= 8 ? 1 : 2;
    }
    const int shape = directory.kind == formats::IconKind::Cursor ? 6 : 0;
    return static_cast<char>('0' + shape + colorClass);
}

FileIconCount CountFileIcons(IconFileType type, formats::ByteSpan file) {
    if (type == IconFileType::Ico || type == IconFileType::Cur) {
        // Windows reads either kind of directory whatever the file's name says; the type code
        // follows what the file really holds.
        auto directory = formats::ReadIconDirectory(file);
        if (!directory) return {};
        return {1, StillTypeCode(file.size(), *directory)};
    }
    if (type == IconFileType::Ani) {
        auto ani = formats::ReadAni(file);
        if (!ani) return {};
        return {static_cast<int32_t>(std::min<size_t>(ani->sequence.size(), kMaxAniSteps)), 'a'};
    }
    return {};
}

IconEntryFields EntryFields(IconFileType type, int32_t i, int32_t n, int32_t frameStep, char stillTypeCode) {
    switch (type) {
        case IconFileType::Ico:
        case IconFileType::Cur: return {0, "x", stillTypeCode};
        case IconFileType::Ani: return {frameStep, "frame " + std::to_string(frameStep + 1), 'a'};
        case IconFileType::Icl:
        case IconFileType::Dll:
        case IconFileType::Exe: {
            const char code = type == IconFileType::Icl ? 'i' : type == IconFileType::Dll ? 'd' : 'e';
            return {i - 1, "#" + std::to_string(i) + " of " + std::to_string(n), code};
        }
        case IconFileType::Other: break;
    }
    return {};
}

bool IsFavoriteFileOf(std::string_view path, std::string_view keyword) {
    if (path.size() < 4) return false;
    const std::string ext = LowerTail(path, 4);
    if (ext != ".ani" && ext != ".cur" && ext != ".ico") return false;
    const size_t slash = path.rfind('\\');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    if (name.size() < 4) return false;
    return name.substr(0, name.size() - 4) == keyword;
}
