// A list with the semantics of a list box but no window: the program's hidden lists of paths,
// result entries and lines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class HiddenList {
  public:
    void AddItem(std::string text, int32_t itemData = 0) { items_.push_back({std::move(text), itemData}); }
    void InsertItem(int index, std::string text, int32_t itemData = 0) {
        if (index < 0 || index > ListCount()) index = ListCount();
        items_.insert(items_.begin() + index, {std::move(text), itemData});
    }
    void RemoveItem(int index) {
        if (index >= 0 && index < ListCount()) items_.erase(items_.begin() + index);
    }
    void Clear() { items_.clear(); }
    int ListCount() const { return static_cast<int>(items_.size()); }
    // "" and 0 for a position outside the list.
    const std::string& List(int index) const {
        static const std::string none;
        return index >= 0 && index < ListCount() ? items_[static_cast<size_t>(index)].text : none;
    }
    int32_t ItemData(int index) const {
        return index >= 0 && index < ListCount() ? items_[static_cast<size_t>(index)].data : 0;
    }
    void SetItemData(int index, int32_t data) {
        if (index >= 0 && index < ListCount()) items_[static_cast<size_t>(index)].data = data;
    }
    void Reserve(size_t n) { items_.reserve(n); }

  private:
    struct Item {
        std::string text;
        int32_t data;
    };
    std::vector<Item> items_;
};
