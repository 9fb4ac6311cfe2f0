// Reading and drawing the icons of a result page.
#include "browsing/PagePictures.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <type_traits>
#include <utility>

#include "browsing/FileIconReader.h"
#include "browsing/FileIcons.h"
#include "formats/IconFile.h"
#include "formats/IconPicture.h"
#include "resources/resource.h"
#include "ui/ImageList.h"
#include "ui/Unique.h"

std::string gAniFile;

namespace {

constexpr int kSize = 32;

inline void DeleteGdi(HGDIOBJ o) noexcept { DeleteObject(o); }
using UniqueGdi = Unique<NullTraits<HGDIOBJ, &DeleteGdi>>;

// Its own slot: extracted still icons are destroyed after drawing, this one is kept for the next frame.
UniqueIcon gAniIcon;

HICON AniIcon(const std::string& path) {
    if (path != gAniFile || !gAniIcon) {
        gAniIcon.reset(static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE)));
        gAniFile = path;
    }
    return gAniIcon.get();
}

// A program or library opened for its resources only.
struct ModuleDeleter {
    void operator()(HMODULE m) const noexcept { FreeLibrary(m); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

// The icon group names of a module in resource order: the order in which the shell numbers a
// file's icons. A number stands for a group with a numeric id.
BOOL CALLBACK CollectGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR param) {
    auto& groups = *reinterpret_cast<std::vector<std::string>*>(param);
    groups.push_back(IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<UINT_PTR>(name)) : name);
    return TRUE;
}

// One picture of a file on the page: its pixels when the program draws it itself (a 32 x 32 image
// in one of the bitmap formats, the common case), else an icon the system draws.
struct FilePicture {
    std::vector<uint8_t> pixels;  // 32 x 32, rows top to bottom, blue, green, red
    UniqueIcon icon;
};

// A 32 x 32 bitmap image drawn over the background by the program: no icon object, no drawing call.
// Empty for any other image, which the system then draws.
std::vector<uint8_t> ComposedImage(formats::ByteSpan image, COLORREF back) {
    auto picture = formats::DecodeIconImage(image);
    if (!picture || picture->width != kSize || picture->height != kSize) return {};
    return formats::ComposeIcon(*picture, GetBValue(back), GetGValue(back), GetRValue(back));
}

// The 32 x 32 image of one icon group, as the shell would pick it.
FilePicture PictureOfGroup(HMODULE module, const std::string& group, COLORREF back) {
    FilePicture picture;
    HRSRC found = FindResourceA(module, group.c_str(), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    auto* directory = static_cast<BYTE*>(loaded ? LockResource(loaded) : nullptr);
    if (!directory || SizeofResource(module, found) < 6) return picture;
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, kSize, kSize, LR_DEFAULTCOLOR);
    if (id <= 0) return picture;
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3));  // RT_ICON
    HGLOBAL bits = image ? LoadResource(module, image) : nullptr;
    auto* data = static_cast<BYTE*>(bits ? LockResource(bits) : nullptr);
    if (!data) return picture;
    const DWORD size = SizeofResource(module, image);
    picture.pixels = ComposedImage(formats::ByteSpan(data, size), back);
    if (picture.pixels.empty())
        picture.icon.reset(CreateIconFromResourceEx(data, size, TRUE, 0x00030000, kSize, kSize, LR_DEFAULTCOLOR));
    return picture;
}

// The image of an icon or cursor file the shell would show at 32 x 32: its directory laid out as an
// icon group (entry i + 1 for image i) for the system's own choice. -1 when it makes none.
int ChosenImage(const formats::IconDirectory& directory) {
    std::vector<BYTE> group(6 + 14 * directory.images.size());
    group[2] = 1;  // an icon group
    group[4] = static_cast<BYTE>(directory.images.size());
    group[5] = static_cast<BYTE>(directory.images.size() >> 8);
    for (size_t i = 0; i < directory.images.size(); ++i) {
        const formats::IconImage& image = directory.images[i];
        BYTE* entry = group.data() + 6 + 14 * i;
        entry[0] = static_cast<BYTE>(image.width >= 256 ? 0 : image.width);
        entry[1] = static_cast<BYTE>(image.height >= 256 ? 0 : image.height);
        entry[2] = static_cast<BYTE>(image.colorCount);
        const int planes = image.planes > 0 ? image.planes : 1;
        const int bits = image.dibBitCount > 0 ? image.dibBitCount : image.bitCount > 0 ? image.bitCount : 32;
        entry[4] = static_cast<BYTE>(planes);
        entry[6] = static_cast<BYTE>(bits);
        std::memcpy(entry + 8, &image.bytes, 4);
        const uint16_t id = static_cast<uint16_t>(i + 1);
        std::memcpy(entry + 12, &id, 2);
    }
    return LookupIconIdFromDirectoryEx(group.data(), TRUE, kSize, kSize, LR_DEFAULTCOLOR) - 1;
}

// The picture of an icon or cursor file drawn by the program, when its chosen image allows it.
std::vector<uint8_t> ComposedFileIcon(const std::string& path, COLORREF back) {
    auto bytes = ReadUserFile(path, kMaxIconFileBytes, true);
    if (!bytes) return {};
    auto directory = formats::ReadIconDirectory(*bytes);
    if (!directory || directory->images.size() > 0xFFFF) return {};
    const int chosen = ChosenImage(*directory);
    if (chosen < 0 || static_cast<size_t>(chosen) >= directory->images.size()) return {};
    auto image = formats::IconImageBytes(*bytes, *directory, static_cast<size_t>(chosen));
    return image ? ComposedImage(*image, back) : std::vector<uint8_t>{};
}

// The icons of one file at the indexes asked for. A program or library is opened once for all its
// icons on the page; an icon or cursor file is read by the program; anything else (16-bit icon
// libraries, pictures the program does not draw) goes through the shell one icon at a time. An
// index below 0 names a group by its resource id. The shell's batch extraction is not used: Wine
// fills only its first handle.
std::map<int32_t, FilePicture> ExtractFromFile(const std::string& path, std::vector<int32_t> indexes, COLORREF back) {
    std::map<int32_t, FilePicture> pictures;
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    // Icon and cursor files are no modules: trying to load one as a module costs as much as reading it.
    const IconFileType type = IconFileTypeOf(path);
    const bool iconFile = type == IconFileType::Ico || type == IconFileType::Cur;
    if (iconFile && indexes == std::vector<int32_t>{0}) {
        std::vector<uint8_t> pixels = ComposedFileIcon(path, back);
        if (!pixels.empty()) {
            pictures[0].pixels = std::move(pixels);
            return pictures;
        }
    }
    UniqueModule module(iconFile ? nullptr : LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (module) {
        std::vector<std::string> groups;
        EnumResourceNamesA(module.get(), MAKEINTRESOURCEA(14), CollectGroup, reinterpret_cast<LONG_PTR>(&groups));
        for (int32_t i : indexes) {
            std::string group;
            if (i < 0 && i != INT32_MIN) group = "#" + std::to_string(-i);
            else if (i >= 0 && static_cast<size_t>(i) < groups.size()) group = groups[static_cast<size_t>(i)];
            if (group.empty()) continue;
            FilePicture picture = PictureOfGroup(module.get(), group, back);
            if (!picture.pixels.empty() || picture.icon) pictures[i] = std::move(picture);
        }
        return pictures;
    }
    for (int32_t i : indexes) {
        HICON icon = nullptr;
        if (ExtractIconExA(path.c_str(), i, &icon, nullptr, 1) > 0 && icon) pictures[i].icon.reset(icon);
    }
    return pictures;
}

}  // namespace

void ReleaseAniIcon() {
    gAniIcon.reset();
    gAniFile.clear();
}

void PagePictures::AddPlaceholder() { wants_.push_back({Kind::Placeholder, {}, 0}); }
void PagePictures::AddFileIcon(const std::string& path, int32_t index) {
    wants_.push_back({Kind::FileIcon, path, index});
}
void PagePictures::AddCell(const formats::Cell& cell) {
    wants_.push_back({Kind::Cell, {}, static_cast<int32_t>(cells_.size())});
    cells_.push_back(cell);
}
void PagePictures::AddAniFrame(const std::string& path, int32_t frame) {
    wants_.push_back({Kind::AniFrame, path, frame});
}

HICON PlaceholderIcon() {
    static HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_NOICON), IMAGE_ICON, kSize, kSize, LR_SHARED));
    return icon;
}

void PagePictures::DrawInto(ImageList& list, HICON placeholder, COLORREF back) const {
    if (wants_.empty()) return;
    std::map<std::string, std::vector<int32_t>> byFile;
    for (const Want& w : wants_)
        if (w.kind == Kind::FileIcon) byFile[w.path].push_back(w.index);
    std::map<std::string, std::map<int32_t, FilePicture>> pictures;
    for (auto& [path, indexes] : byFile) pictures[path] = ExtractFromFile(path, indexes, back);
    // The picture of a file icon the program draws itself; nullptr for the system's or none.
    auto composed = [&](const Want& w) -> const std::vector<uint8_t>* {
        if (w.kind != Kind::FileIcon) return nullptr;
        auto& filePictures = pictures[w.path];
        auto found = filePictures.find(w.index);
        return found != filePictures.end() && !found->second.pixels.empty() ? &found->second.pixels : nullptr;
    };

    const int n = Count();
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = kSize * n;
    info.bmiHeader.biHeight = kSize;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    UniqueGdi strip(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    UniqueMemDC dc(CreateCompatibleDC(nullptr));
    if (!strip || !dc) return;
    HGDIOBJ oldStrip = SelectObject(dc.get(), strip.get());
    RECT all{0, 0, kSize * n, kSize};
    UniqueGdi brush(CreateSolidBrush(back));
    FillRect(dc.get(), &all, static_cast<HBRUSH>(brush.get()));

    auto drawPlaceholder = [&](int x) {
        if (placeholder) DrawIconEx(dc.get(), x, 0, placeholder, kSize, kSize, 0, nullptr, DI_NORMAL);
    };
    for (int k = 0; k < n; ++k) {
        const Want& w = wants_[static_cast<size_t>(k)];
        const int x = kSize * k;
        if (w.kind == Kind::Cell || composed(w)) continue;  // written straight into the pixels below
        HICON icon = nullptr;
        if (w.kind == Kind::FileIcon) {
            auto& filePictures = pictures[w.path];
            auto found = filePictures.find(w.index);
            if (found != filePictures.end()) icon = found->second.icon.get();
        } else if (w.kind == Kind::AniFrame) {
            icon = AniIcon(w.path);
        }
        if (!icon ||
            !DrawIconEx(dc.get(), x, 0, icon, 0, 0, w.kind == Kind::AniFrame ? static_cast<UINT>(w.index) : 0,
                        nullptr, DI_NORMAL))
            drawPlaceholder(x);
    }
    GdiFlush();
    auto* rows = static_cast<uint8_t*>(bits);
    const size_t stride = (static_cast<size_t>(kSize) * n * 3 + 3) & ~size_t{3};
    for (int k = 0; k < n; ++k) {
        const Want& w = wants_[static_cast<size_t>(k)];
        if (const std::vector<uint8_t>* pixels = composed(w)) {
            const size_t row = static_cast<size_t>(kSize) * 3;
            for (int y = 0; y < kSize; ++y)
                std::memcpy(rows + stride * static_cast<size_t>(kSize - 1 - y) + static_cast<size_t>(kSize * k) * 3,
                            pixels->data() + row * static_cast<size_t>(y), row);
            continue;
        }
        if (w.kind != Kind::Cell) continue;
        const formats::Cell& cell = cells_[static_cast<size_t>(w.index)];
        for (int y = 0; y < kSize; ++y) {
            uint8_t* out = rows + stride * static_cast<size_t>(kSize - 1 - y) + static_cast<size_t>(kSize * k) * 3;
            for (int x = 0; x < kSize; ++x, out += 3) {
                const size_t i = static_cast<size_t>(y * kSize + x);
                if (cell.transparent[i]) {
                    out[0] = GetBValue(back), out[1] = GetGValue(back), out[2] = GetRValue(back);
                } else {
                    out[0] = cell.pixels[i].b, out[1] = cell.pixels[i].g, out[2] = cell.pixels[i].r;
                }
            }
        }
    }
    SelectObject(dc.get(), oldStrip);
    list.AddStrip(static_cast<HBITMAP>(strip.get()), back);
}
