// Twips, pixels and colour codes: pure conversions used by every form.
#pragma once

#include <cstdint>

// Twips per pixel of the screen, horizontal and vertical (15 at 96 DPI).
struct Units {
    int twipsX = 15;
    int twipsY = 15;
};

// The screen's twips per pixel, read once; the first call fixes them for the run.
const Units& ScreenUnits();

// Conversions with rounding to the nearest pixel or twip (halves away from zero).
int TwipsToPxX(int twips, const Units& u = ScreenUnits());
int TwipsToPxY(int twips, const Units& u = ScreenUnits());
int PxToTwipsX(int px, const Units& u = ScreenUnits());
int PxToTwipsY(int px, const Units& u = ScreenUnits());
// Twips per pixel for a screen resolution in dots per inch.
int TwipsPerPixel(int dpi);

// A colour as the program stores it: 0x00BBGGRR, or 0x80000000 plus a system-colour index.
// Answers the plain RGB colour (system colours through the given lookup).
uint32_t ToColorRef(uint32_t color, uint32_t (*sysColor)(int index));
uint32_t ToColorRef(uint32_t color);  // with the system's own colours
