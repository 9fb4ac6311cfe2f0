// The frames of an animation dropped on the change window, for the cursor change to write.
#pragma once

#include <cstdint>
#include <string>

// Collects the run of `source` (the entry dropped on the change window, its picIcon.Tag) from the
// result set into the frame store, by the walk Play uses: from wherever the entry stands in its
// run, in frame order, however long the run. `separator`, `step` and `skip` as Play passes them:
// ":", 1, 0 for a "book" entry; ";", -1, 4 for an "open", "user", "sycu" or "sytu" entry. Shows no
// player and no error box and leaves the player's frame number alone; the mouse pointer stays the
// hourglass for the caller to give back. An entry no longer in the result set gives 0 frames; a
// frame that cannot be drawn ends the run, so only the frames before it are collected.
// Answers gFrameCount.
int32_t procCollectAniFrames(const std::string& source, const std::string& separator, int16_t step, int16_t skip);
