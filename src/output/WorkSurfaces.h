// What the work surfaces are rendered from: the mode flags that choose the source, the pictures
// that other windows lend the renderer and the zoom window, and the colour depth for the writer.
#pragma once

#include <cstdint>
#include <string>

class PictureBox;

extern bool gImportMode;    // render the picture import window's icon preview
extern bool gChangeMode;    // render the change window's new icon
extern bool gChangeApplying;  // the change window is applying a change: the zoom window shows its new icon
extern int16_t gLoopIndex;  // the shared loop counter; in film mode the frame to render, from 0
extern int32_t gBitCount;   // the colour depth given to the icon-file writer: 4, 8 or 16
extern int32_t gHotSpotX, gHotSpotY;  // the hotspot of the cursor being written, in its pixels

// The picture import window's icon preview and the change window's new icon: each window lends
// its picture box while it is loaded and takes it back (nullptr) when it unloads.
PictureBox* ImportPicture();
void SetImportPicture(PictureBox* box);
PictureBox* ChangePicture();
void SetChangePicture(PictureBox* box);

// The colour depth for the type text of the selected item: 4 and 8 for the 16 and 256 colour
// icons, animations and cursors, 16 for any other text. The text must match exactly.
int32_t BitCountForType(const std::string& typeText);
