// Image lists by key.
#include "ui/ImageList.h"

#include <set>

#include "ui/Keys.h"

ImageList::ImageList(int width, int height) : width_(width), height_(height) {}

HIMAGELIST ImageList::handle() {
    if (!list_) list_.reset(ImageList_Create(width_, height_, ILC_COLOR32 | ILC_MASK, 16, 16));
    return list_.get();
}

int ImageList::Count() const { return list_ ? ImageList_GetImageCount(list_.get()) : 0; }

int ImageList::ImageIndex(const std::string& key) const {
    if (key.empty()) return -1;
    auto it = byKey_.find(FoldKey(key));
    return it == byKey_.end() ? -1 : it->second;
}

int ImageList::IndexOf(const std::string& key) const {
    int index = ImageIndex(key);
    return index < 0 ? -1 : index + 1;
}

void ImageList::CheckKeys(const std::vector<std::string>& keys) const {
    std::set<std::string> seen;
    for (const auto& key : keys) {
        if (key.empty()) continue;
        std::string folded = FoldKey(key);
        if (byKey_.count(folded) || !seen.insert(folded).second)
            throw KeyError("Key is not unique in collection: " + key);
    }
}

int ImageList::Record(int before, const std::vector<std::string>& keys) {
    int added = Count() - before;
    if (added <= 0) return 0;
    for (int i = 0; i < added && i < static_cast<int>(keys.size()); ++i)
        if (!keys[static_cast<size_t>(i)].empty()) byKey_[FoldKey(keys[static_cast<size_t>(i)])] = before + i;
    return before + 1;
}

int ImageList::Add(const std::string& key, HICON icon) {
    CheckKeys({key});
    int before = Count();
    if (!icon || ImageList_AddIcon(handle(), icon) < 0) return 0;
    return Record(before, {key});
}

int ImageList::Add(const std::string& key, HBITMAP color, HBITMAP mask) { return AddStrip(color, mask, {key}); }

int ImageList::Add(const std::string& key, HBITMAP color, COLORREF maskColor) {
    return AddStrip(color, maskColor, {key});
}

int ImageList::AddStrip(HBITMAP strip, HBITMAP mask, const std::vector<std::string>& keys) {
    CheckKeys(keys);
    int before = Count();
    if (!strip || ImageList_Add(handle(), strip, mask) < 0) return 0;
    return Record(before, keys);
}

int ImageList::AddStrip(HBITMAP strip, COLORREF maskColor, const std::vector<std::string>& keys) {
    CheckKeys(keys);
    int before = Count();
    if (!strip || ImageList_AddMasked(handle(), strip, maskColor) < 0) return 0;
    return Record(before, keys);
}

int ImageList::Insert(int index, HBITMAP picture, const std::string& key) {
    CheckKeys({key});
    const int count = Count();
    if (!picture || index < 1 || index > count + 1) return 0;
    // Adding a picture by its mask colour blackens its masked pixels: the caller's stays as it was.
    UniqueBitmap copy(static_cast<HBITMAP>(CopyImage(picture, IMAGE_BITMAP, 0, 0, 0)));
    HIMAGELIST list = handle();
    if (!copy || ImageList_AddMasked(list, copy.get(), maskColor_) < 0) return 0;
    if (index <= count) {
        // The new image is last: park it in a spare slot, move the images from `index` on up one
        // and put it in its place. One copy an image, where swapping it down would take three.
        const int spare = count + 1;
        ImageList_SetImageCount(list, static_cast<UINT>(count + 2));
        ImageList_Copy(list, spare, list, count, ILCF_MOVE);
        for (int i = count; i >= index; --i) ImageList_Copy(list, i, list, i - 1, ILCF_MOVE);
        ImageList_Copy(list, index - 1, list, spare, ILCF_MOVE);
        ImageList_Remove(list, spare);
        for (auto& entry : byKey_)
            if (entry.second >= index - 1) ++entry.second;
    }
    if (!key.empty()) byKey_[FoldKey(key)] = index - 1;
    return index;
}

UniqueIcon ImageList::GetIcon(int index) const {
    if (!list_ || index < 1 || index > Count()) return UniqueIcon();
    return UniqueIcon(ImageList_GetIcon(list_.get(), index - 1, ILD_NORMAL));
}

void ImageList::Clear() {
    if (list_) ImageList_RemoveAll(list_.get());
    byKey_.clear();
}
