// The double-click actions of the result list and the item menu entries that carry them.
#pragma once

#include <string_view>

// The item of the context menu mnuResultClick for a double-click action ("Copy", "Save", "Zoom",
// "Play", "Ref", "Run", "Prop", "Change", "EditWith"; compared with case): a double click runs its
// command, and a right click shows it as the menu's default item. 0 for "None" and any other text.
int ResultActionItem(std::string_view action);
