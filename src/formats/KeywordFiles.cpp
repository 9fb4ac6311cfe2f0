// The keyword files, read into one table of keyword slots and user references.
#include "formats/KeywordFiles.h"

#include <algorithm>

#include "formats/Catalogue.h"

namespace formats {

KeywordTable ReadKeywordFiles(std::string_view index, std::string_view userKeywords,
                              std::string_view userReferences, std::size_t maxKeywords) {
    KeywordTable table;
    auto addKeyword = [&](std::string_view text, std::string_view refs, bool user) {
        if (table.keywords.size() < maxKeywords) table.keywords.push_back({text, refs, user});
        else ++table.keywordsLeftOut;
    };

    const auto indexLines = SplitLines(index);
    table.keywords.reserve(std::min(indexLines.size(), maxKeywords));
    for (std::string_view line : indexLines) {
        if (line.empty()) continue;
        if (auto parsed = ParseIndexLine(line)) addKeyword(parsed->keyword, parsed->refs, false);
        else ++table.skippedIndexLines;
    }
    for (std::string_view line : SplitLines(userKeywords)) {
        if (!line.empty()) addKeyword(line, {}, true);
    }
    for (std::string_view line : SplitLines(userReferences)) {
        if (line.empty()) continue;
        // A reference line has the same shape as an index line: the keyword, ";", the entry.
        if (auto parsed = ParseIndexLine(line)) table.references.push_back({parsed->keyword, parsed->refs});
        else ++table.skippedReferenceLines;
    }
    return table;
}

}  // namespace formats
