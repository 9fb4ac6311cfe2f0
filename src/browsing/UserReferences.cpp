// The user references and the positions that point at them.
#include "browsing/UserReferences.h"

#include <charconv>
#include <vector>

namespace {

constexpr std::string_view kKeyPrefix = "key";

bool IsReferenceEntry(std::string_view text) { return text.ends_with("user"); }

void LinkTwins(HiddenList& lstUser, HiddenList& cmbUser) {
    for (int i = 0; i < lstUser.ListCount(); ++i) lstUser.SetItemData(i, i);
    for (int i = 0; i < cmbUser.ListCount(); ++i) cmbUser.SetItemData(i, i);
}

}  // namespace

bool HasReference(const HiddenList& lstUser, const HiddenList& cmbUser, std::string_view keyword,
                  std::string_view entry) {
    for (int i = 0; i < lstUser.ListCount(); ++i)
        if (lstUser.List(i) == keyword && cmbUser.List(i) == entry) return true;
    return false;
}

void FileReferenceFirst(HiddenList& lstUser, HiddenList& cmbUser, const std::string& keyword, const std::string& entry) {
    lstUser.InsertItem(0, keyword);
    cmbUser.InsertItem(0, entry);
    LinkTwins(lstUser, cmbUser);
}

bool RemoveReference(HiddenList& lstUser, HiddenList& cmbUser, int position, std::string_view entry) {
    if (position < 0 || position >= cmbUser.ListCount() || cmbUser.List(position) != entry) return false;
    lstUser.RemoveItem(position);
    cmbUser.RemoveItem(position);
    LinkTwins(lstUser, cmbUser);
    return true;
}

std::string ReferenceKey(int position) { return std::string(kKeyPrefix) + std::to_string(position); }

std::optional<int> ReferencePositionOf(const ListItem& item) {
    const std::string& key = item.Key();
    if (!IsReferenceEntry(item.Tag) || !key.starts_with(kKeyPrefix)) return std::nullopt;
    int position = -1;
    const char* first = key.data() + kKeyPrefix.size();
    const char* last = key.data() + key.size();
    auto [end, error] = std::from_chars(first, last, position);
    if (error != std::errc() || end != last || first == last || position < 0) return std::nullopt;
    return position;
}

void MoveReferencePositions(HiddenList& result, ListView& page, int firstMoved, int by) {
    for (int i = 0; i < result.ListCount(); ++i)
        if (IsReferenceEntry(result.List(i)) && result.ItemData(i) >= firstMoved)
            result.SetItemData(i, result.ItemData(i) + by);

    // Keys are unique: the moved items give up theirs before any takes its new one.
    std::vector<std::pair<ListItem*, int>> moved;
    for (int i = 1; i <= page.Count(); ++i) {
        ListItem& item = page.Item(i);
        const std::optional<int> position = ReferencePositionOf(item);
        if (position && *position >= firstMoved) moved.emplace_back(&item, *position + by);
    }
    for (auto& [item, position] : moved) item->SetKey({});
    for (auto& [item, position] : moved) item->SetKey(ReferenceKey(position));
}
