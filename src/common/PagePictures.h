// The pictures of one result page: asked for entry by entry while the items are made, then drawn
// into the page's image list in a few calls.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "formats/Cells.h"
#include "ui/Unique.h"
#include "ui/Win.h"

class ImageList;

extern std::string gAniFile;  // the animated file whose bytes stay read for its further frames

class PagePictures {
  public:
    void AddPlaceholder();
    // An icon of an icon, cursor or library file; an index below 0 names a resource id. An animated
    // file gives none here, as the shell extracts none from it.
    void AddFileIcon(const std::string& path, int32_t index);
    // A frame of an animated cursor or icon file.
    void AddAniFrame(const std::string& path, int32_t frame);
    // A cell cut from a catalogue library; its transparent pixels take the list's back colour.
    void AddCell(const formats::Cell& cell);
    // One of the system's own cursors, by its id (OCR_...), as the system draws it.
    void AddSystemCursor(int32_t id);
    int Count() const { return static_cast<int>(wants_.size()); }
    // Whether every picture asked for reads from its source now, the files read again as a page
    // reads them: false where a page would show the placeholder. Catalogue cells are taken as read.
    bool ReadFromSources() const;

    // Appends the pictures to `list` in order, one image each: every file is read once for all its
    // icons on the page, on a few threads, by the program's own readers (no file reaches a system
    // loader), and the images go in with one call. Pictures that cannot be drawn show
    // `placeholder` (may be nullptr). `back` is the colour they are drawn over; each image keeps its
    // own AND mask. While the files are read, `waiting` runs on this thread every millisecond or
    // so; when it answers false the page is given up: nothing is appended, and the answer is false.
    bool DrawInto(ImageList& list, HICON placeholder, COLORREF back,
                  const std::function<bool()>& waiting = nullptr) const;

  private:
    enum class Kind { Placeholder, FileIcon, AniFrame, Cell, SystemCursor };
    struct Want {
        Kind kind;
        std::string path;
        int32_t index;  // icon index, frame, cursor id, or for a cell its place in cells_
    };
    std::vector<Want> wants_;
    std::vector<formats::Cell> cells_;
};

// The program's placeholder for an icon that cannot be read, 32 x 32; nullptr when the program
// carries no such resource. Shared: never destroyed.
HICON PlaceholderIcon();

// How many icon, cursor and animated files the pages have read from disk since the program started.
int PageFileReads();

// Drops the animated file kept for its further frames (also when the program ends).
void ReleaseAniIcon();

// Frame `step` of an animated file as the page shows it, 32 x 32 with its own AND mask: drawn from
// the bytes kept for gAniFile, which are read first (and kept) when `path` is another file. nullptr
// when the file cannot be read or has no such step.
UniqueIcon AniFrameIcon(const std::string& path, int32_t step);

// A 32 x 32 icon of pixels (rows from the top, blue, green, red) under an AND mask (`clear`: 1 where
// the background shows through, the pixel then black); nullptr for other sizes.
UniqueIcon IconOfPixels(const std::vector<uint8_t>& pixels, const std::vector<uint8_t>& clear);
// A catalogue cell as an icon: its transparent pixels clear.
UniqueIcon CellIcon(const formats::Cell& cell);
