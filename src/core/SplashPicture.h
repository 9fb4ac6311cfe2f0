// The splash picture, drawn for this program at start.
#pragma once

#include "ui/Win.h"

// A new device-dependent bitmap of the given size in pixels; the caller owns it.
HBITMAP MakeSplashPicture(int width, int height);
