// An icon's place as the registry gives it: a file, ",", an icon index.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

struct IconLocation {
    std::string file;
    int32_t index = 0;  // a resource id when negative
};

// Reads a location as the shell does: the index follows the last "," that is followed by a whole
// number (blanks around it allowed), so the file may hold ","; double quotes around the file are
// dropped. A value without such a "," is the file with index 0.
IconLocation ReadIconLocation(std::string_view value);
