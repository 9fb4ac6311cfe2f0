#include "common/IconLocation.h"

#include "core/Variant.h"

IconLocation ReadIconLocation(std::string_view value) {
    IconLocation location;
    std::string_view file = value;
    const size_t comma = value.rfind(',');
    if (comma != std::string_view::npos) {
        if (auto index = ParseLong(std::string(value.substr(comma + 1)))) {
            location.index = *index;
            file = value.substr(0, comma);
        }
    }
    if (file.size() >= 2 && file.front() == '"' && file.back() == '"') file = file.substr(1, file.size() - 2);
    location.file = std::string(file);
    return location;
}
