// The picture a catalogue library is cut from.
#include "common/PictureClip.h"

#include "core/Files.h"

bool PictureClip::LoadPicture(const std::string& path) {
    auto image = formats::ReadBmpFile(WidePath(path));
    if (!image) return false;
    picture_ = std::move(*image);
    return true;
}

std::optional<formats::Cell> PictureClip::GraphicCell(int32_t n, uint32_t maskColor) const {
    if (!HasPicture()) return std::nullopt;
    const formats::Rgb mask{static_cast<uint8_t>(maskColor & 0xFF), static_cast<uint8_t>(maskColor >> 8 & 0xFF),
                            static_cast<uint8_t>(maskColor >> 16 & 0xFF)};
    return formats::CutCell(picture_, n, mask);
}
