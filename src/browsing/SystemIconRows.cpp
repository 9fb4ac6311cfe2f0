#include "browsing/SystemIconRows.h"

std::vector<std::string> SystemIconRowsOf(std::string_view, std::string_view) { return {}; }
