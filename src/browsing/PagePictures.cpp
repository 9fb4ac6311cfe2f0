// Reading and drawing the icons of a result page.
#include "browsing/PagePictures.h"

#include <algorithm>
#include <map>
#include <utility>

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

// The icons of one file at the indexes asked for; index -> icon, owned by the map's user.
std::map<int32_t, UniqueIcon> ExtractFromFile(const std::string& path, std::vector<int32_t> indexes) {
    std::map<int32_t, UniqueIcon> icons;
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    std::vector<int32_t> plain;
    for (int32_t i : indexes) {
        if (i >= 0) {
            plain.push_back(i);
            continue;
        }
        HICON icon = nullptr;  // a resource id: one at a time
        if (ExtractIconExA(path.c_str(), i, &icon, nullptr, 1) > 0) icons[i].reset(icon);
    }
    if (plain.empty()) return icons;
    const int32_t first = plain.front();
    const int32_t count = plain.back() - first + 1;
    std::vector<HICON> large(static_cast<size_t>(count), nullptr);
    UINT got = ExtractIconExA(path.c_str(), first, large.data(), nullptr, static_cast<UINT>(count));
    for (int32_t k = 0; k < count; ++k) {
        UniqueIcon icon(large[static_cast<size_t>(k)]);
        if (k < static_cast<int32_t>(got) && icon && std::binary_search(plain.begin(), plain.end(), first + k))
            icons[first + k] = std::move(icon);
    }
    return icons;
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
void PagePictures::AddAniFrame(const std::string& path, int32_t frame) {
    wants_.push_back({Kind::AniFrame, path, frame});
}

void PagePictures::DrawInto(ImageList& list, HBITMAP placeholder, COLORREF back) const {
    if (wants_.empty()) return;
    std::map<std::string, std::vector<int32_t>> byFile;
    for (const Want& w : wants_)
        if (w.kind == Kind::FileIcon) byFile[w.path].push_back(w.index);
    std::map<std::string, std::map<int32_t, UniqueIcon>> icons;
    for (auto& [path, indexes] : byFile) icons[path] = ExtractFromFile(path, indexes);

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
    UniqueMemDC source(CreateCompatibleDC(nullptr));
    if (!strip || !dc || !source) return;
    HGDIOBJ oldStrip = SelectObject(dc.get(), strip.get());
    RECT all{0, 0, kSize * n, kSize};
    UniqueGdi brush(CreateSolidBrush(back));
    FillRect(dc.get(), &all, static_cast<HBRUSH>(brush.get()));

    auto drawPlaceholder = [&](int x) {
        if (!placeholder) return;
        HGDIOBJ old = SelectObject(source.get(), placeholder);
        BitBlt(dc.get(), x, 0, kSize, kSize, source.get(), 0, 0, SRCCOPY);
        SelectObject(source.get(), old);
    };
    for (int k = 0; k < n; ++k) {
        const Want& w = wants_[static_cast<size_t>(k)];
        const int x = kSize * k;
        HICON icon = nullptr;
        if (w.kind == Kind::FileIcon) {
            auto& fileIcons = icons[w.path];
            auto found = fileIcons.find(w.index);
            if (found != fileIcons.end()) icon = found->second.get();
        } else if (w.kind == Kind::AniFrame) {
            icon = AniIcon(w.path);
        }
        if (!icon ||
            !DrawIconEx(dc.get(), x, 0, icon, 0, 0, w.kind == Kind::AniFrame ? static_cast<UINT>(w.index) : 0,
                        nullptr, DI_NORMAL))
            drawPlaceholder(x);
    }
    SelectObject(dc.get(), oldStrip);
    list.AddStrip(static_cast<HBITMAP>(strip.get()), back);
}
