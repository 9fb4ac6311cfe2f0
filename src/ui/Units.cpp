// Twips and colour conversions.
#include "ui/Units.h"

#include "ui/Unique.h"
#include "ui/Win.h"

namespace {

// In 64 bits, so that a stored 2^31 - 1 twips converts without overflow.
int RoundDiv(int value, int divisor) {
    if (divisor <= 0) return value;
    const long long v = value, half = divisor / 2;
    return static_cast<int>(v >= 0 ? (v + half) / divisor : -((-v + half) / divisor));
}

uint32_t SystemColor(int index) { return GetSysColor(index); }

}  // namespace

int TwipsPerPixel(int dpi) { return dpi > 0 ? RoundDiv(1440, dpi) : 15; }

const Units& ScreenUnits() {
    static const Units units = [] {
        Units u;
        WindowDC screen(nullptr);
        if (screen) {
            u.twipsX = TwipsPerPixel(GetDeviceCaps(screen.get(), LOGPIXELSX));
            u.twipsY = TwipsPerPixel(GetDeviceCaps(screen.get(), LOGPIXELSY));
        }
        return u;
    }();
    return units;
}

int TwipsToPxX(int twips, const Units& u) { return RoundDiv(twips, u.twipsX); }
int TwipsToPxY(int twips, const Units& u) { return RoundDiv(twips, u.twipsY); }
int PxToTwipsX(int px, const Units& u) { return px * u.twipsX; }
int PxToTwipsY(int px, const Units& u) { return px * u.twipsY; }

uint32_t ToColorRef(uint32_t color, uint32_t (*sysColor)(int index)) {
    if (color & 0x80000000u) return sysColor(static_cast<int>(color & 0xFFu));
    return color & 0x00FFFFFFu;
}

uint32_t ToColorRef(uint32_t color) { return ToColorRef(color, &SystemColor); }
