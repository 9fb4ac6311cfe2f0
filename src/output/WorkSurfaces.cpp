// The sources of the work surfaces and the writer's colour depth.
#include "output/WorkSurfaces.h"

#include <array>
#include <string_view>

bool gImportMode = false;
bool gChangeMode = false;
bool gChangeApplying = false;
int16_t gLoopIndex = 0;
int32_t gBitCount = 16;
int32_t gHotSpotX = 16, gHotSpotY = 16;

namespace {

PictureBox* gImportPicture = nullptr;
PictureBox* gChangePicture = nullptr;

}  // namespace

PictureBox* ImportPicture() { return gImportPicture; }
void SetImportPicture(PictureBox* box) { gImportPicture = box; }
PictureBox* ChangePicture() { return gChangePicture; }
void SetChangePicture(PictureBox* box) { gChangePicture = box; }

int32_t BitCountForType(const std::string& typeText) {
    struct Depth {
        std::string_view type;
        int32_t bits;
    };
    static constexpr std::array<Depth, 6> kDepths{{
        {"16 Color Icon", 4},
        {"16 Color Animation", 4},
        {"16 Color Cursor", 4},
        {"256 Color Icon", 8},
        {"256 Color Animation", 8},
        {"256 Color Cursor", 8},
    }};
    for (const Depth& d : kDepths)
        if (typeText == d.type) return d.bits;
    return 16;
}
