// The pictures of the program's picture strips: their size and, in the order of their index, their keys.
// tools/pictures/make-pictures draws the strips in this order.
#pragma once

#include <array>
#include <string_view>

#include "resources/resource.h"

// Tool bar pictures are 24 x 24 pixels; IDB_TOOLBAR_GREY holds the normal ones, IDB_TOOLBAR_HOT the
// same pictures in colour for the button under the mouse.
inline constexpr int kToolbarPictureSize = 24;

inline constexpr std::array<std::string_view, 35> kToolbarPictureKeys = {
    "firstpage", "prevpage", "nextpage", "lastpage", "save", "open", "copy",
    "prop", "view", "play", "stop", "print", "favorites", "refadd",
    "refdel", "zoom", "create", "help", "close", "refedit", "favadd",
    "favdel", "favedit", "favrefresh", "favgroupadd", "favgroupdel", "change", "change folder",
    "apply", "lookalike", "default", "group", "build", "applyexit",
    "paste",
};

// The hot list differs only in the key of its picture "changefolder".
inline constexpr std::array<std::string_view, 35> kToolbarHotPictureKeys = {
    "firstpage", "prevpage", "nextpage", "lastpage", "save", "open", "copy",
    "prop", "view", "play", "stop", "print", "favorites", "refadd",
    "refdel", "zoom", "create", "help", "close", "refedit", "favadd",
    "favdel", "favedit", "favrefresh", "favgroupadd", "favgroupdel", "change", "changefolder",
    "apply", "lookalike", "default", "group", "build", "applyexit",
    "paste",
};

// IDB_NAV: the tree's pictures, those of the status bar's type panel, then the animation player's
// picture buttons, 16 x 16 pixels each.
inline constexpr int kNavPictureSize = 16;

inline constexpr std::array<std::string_view, 21> kNavPictureKeys = {
    "ornavale", "icon", "navani", "cursor", "group", "alfa", "user", "favorite", "reference",
    "system", "shortcut", "aso", "book", "openbook", "bookfav", "typeani", "library", "empty",
    "sequential", "backforth", "top",
};

// The page light's two pictures come as 16 x 16 icons and join the tree's list under these keys.
struct IconPicture {
    int id;
    std::string_view key;
};

inline constexpr std::array<IconPicture, 2> kNavIconPictures = {{
    {IDI_LED_ON, "redledon"},
    {IDI_LED_OFF, "redledoff"},
}};

// A strip's array longer than its keys would leave pictures without a key: every key is given.
template <size_t N>
constexpr bool EveryKeyGiven(const std::array<std::string_view, N>& keys) {
    for (std::string_view key : keys)
        if (key.empty()) return false;
    return true;
}
static_assert(EveryKeyGiven(kToolbarPictureKeys) && EveryKeyGiven(kToolbarHotPictureKeys) &&
              EveryKeyGiven(kNavPictureKeys));
