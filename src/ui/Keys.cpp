// Key folding and text order for the keyed collections.
#include "ui/Keys.h"

#include "ui/Win.h"

std::string FoldKey(const std::string& key) {
    std::string folded = key;
    if (!folded.empty()) CharUpperBuffA(folded.data(), static_cast<DWORD>(folded.size()));
    return folded;
}

int CompareTextNoCase(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()); }
