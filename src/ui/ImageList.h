// An image list with images addressed by key and by 1-based index, over one HIMAGELIST it owns.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "ui/Unique.h"
#include "ui/Win.h"

class ImageList {
  public:
    // Image size in pixels.
    explicit ImageList(int width = 32, int height = 32);
    ImageList(const ImageList&) = delete;
    ImageList& operator=(const ImageList&) = delete;

    int ImageWidth() const { return width_; }
    int ImageHeight() const { return height_; }

    // The list's handle (ILC_COLOR32 | ILC_MASK), made on first use and kept until this object goes,
    // so that a control it is bound to never holds a stale handle. Controls never own it.
    HIMAGELIST handle();

    // Each Add copies the picture; the caller keeps what it passed. An empty key adds an image
    // without a key. Answers the new image's 1-based index, or 0 when the list refused the picture.
    // Throws KeyError when the key is already in the list (nothing is added then).
    int Add(const std::string& key, HICON icon);
    int Add(const std::string& key, HBITMAP color, HBITMAP mask);
    int Add(const std::string& key, HBITMAP color, COLORREF maskColor);
    // Many images in one call: the bitmap holds them side by side, each ImageWidth() wide. keys name
    // them in order (fewer keys leave the rest without one). Answers the first new image's index or 0.
    // One call is far cheaper under Wine than one Add per icon.
    int AddStrip(HBITMAP strip, HBITMAP mask, const std::vector<std::string>& keys = {});
    int AddStrip(HBITMAP strip, COLORREF maskColor, const std::vector<std::string>& keys = {});

    // The colour that Insert makes transparent, 0x00BBGGRR; light grey until set.
    COLORREF MaskColor() const { return maskColor_; }
    void SetMaskColor(COLORREF color) { maskColor_ = color; }
    // Inserts a copy of the picture as image `index` (from 1; Count() + 1 appends), its pixels of
    // MaskColor() transparent; the images from there on, and their keys, move up one. Answers
    // `index`, or 0 when the index is out of range or the list refused the picture.
    int Insert(int index, HBITMAP picture, const std::string& key = {});
    // Image `index` (from 1) as an icon whose mask is the image's; nullptr when there is no such image.
    UniqueIcon GetIcon(int index) const;

    int Count() const;
    // 1-based index of the image with this key (any case), -1 when there is none.
    int IndexOf(const std::string& key) const;
    // The same as the 0-based index a control's item takes, -1 when there is none.
    int ImageIndex(const std::string& key) const;
    // Removes every image and key; the handle stays the same.
    void Clear();

  private:
    void CheckKeys(const std::vector<std::string>& keys) const;
    int Record(int before, const std::vector<std::string>& keys);

    int width_;
    int height_;
    COLORREF maskColor_ = RGB(192, 192, 192);
    UniqueImageList list_;
    std::unordered_map<std::string, int> byKey_;  // folded key -> 0-based index
};
