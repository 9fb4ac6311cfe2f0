// The frames of an animation in the result set: the key that ties the entries of one animation
// together, the frame store's counters and the player the collection shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// How many frames the frame store holds (elements 1 to gFrameCount of picFilm), and the frame the
// player paints next, from 1.
extern int32_t gFrameCount;
extern int32_t gFrameNr;

// Shows the player of the frames just collected (the player window, unless a test puts something
// else here); nullptr: a collection outside film mode shows nothing.
extern void (*gShowAnimationPlayer)();

// The key that every entry of one animation shares: the entry without the text between its first
// `sep` and the first `sep` found from `skip` characters after it, and without those two. Entries
// with another frame differ only in that text. When either separator is missing the key is the
// whole entry.
std::string AnimationKey(std::string_view entry, char sep, int skip);
