// The user references: pairs of a keyword (lstUser) and a "user" entry (cmbUser) at equal
// positions, each item's data the position of its twin. The result set's reference entries hold
// such a position as item data and the page's reference items as their key ("key" & position);
// both follow when a reference is filed at the top or removed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui/HiddenList.h"
#include "ui/ListView.h"

// True when a reference pairs exactly this keyword with exactly this entry (letter case counts).
bool HasReference(const HiddenList& lstUser, const HiddenList& cmbUser, std::string_view keyword,
                  std::string_view entry);

// Files the pair at position 0: every other pair moves one down, and every cross-link is made anew.
void FileReferenceFirst(HiddenList& lstUser, HiddenList& cmbUser, const std::string& keyword, const std::string& entry);

// Removes the pair at `position` when its entry is `entry` and answers true; otherwise nothing.
bool RemoveReference(HiddenList& lstUser, HiddenList& cmbUser, int position, std::string_view entry);

// Every position from `firstMoved` on, held by a reference entry of the result set or a reference
// item of the page, moves by `by`.
void MoveReferencePositions(HiddenList& result, ListView& page, int firstMoved, int by);

// The key of a page item that shows the reference at `position`, and the position a page item
// shows (nullopt for an item that shows no reference).
std::string ReferenceKey(int position);
std::optional<int> ReferencePositionOf(const ListItem& item);
