// Pictures for the import window, brought to 32 x 32 pixels: from a file (bitmaps read by the
// program itself, GIF, JPEG and metafiles by the system's picture object once their headers passed
// our check) or from the clipboard.
#pragma once

#include <string>

#include "ui/Unique.h"
#include "ui/Win.h"

// The side of the picture an import builds, in pixels.
inline constexpr int kImportSide = 32;

// The system's picture object made from a file's bytes (OleLoadPicture over a stream on them);
// nullptr when it refuses them. The caller releases it. Tests replace it to see what reaches it.
using SystemPictureLoader = IPicture* (*)(const void* bytes, size_t size);
extern SystemPictureLoader gLoadSystemPicture;

// The picture of the file shrunk or stretched to 32 x 32 pixels (the aspect ratio is not kept)
// over `back`, as a bitmap of the screen's format; nullptr when the file cannot be read as a
// picture. .bmp and .dib files are read as bitmaps only.
UniqueBitmap LoadImportFile(const std::string& path, COLORREF back);

// The clipboard's picture (a bitmap, else an enhanced metafile) as LoadImportFile makes it;
// nullptr when the clipboard holds neither or cannot be opened.
UniqueBitmap LoadImportClipboard(HWND owner, COLORREF back);
