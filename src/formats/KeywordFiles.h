// The three keyword files the catalogue load reads: the index "Icondata.dat" (a keyword and its
// cell tokens a line), the user's keywords "Keyuser.dat" (one a line) and the user's references
// "Iconuser.dat" (a keyword and a result entry a line).
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace formats {

// What the three files give the keyword lists. Every view points into the texts passed to
// ReadKeywordFiles, which must outlive it.
struct KeywordTable {
    struct Keyword {
        std::string_view text;
        std::string_view refs;  // the index line after its first ";"; empty for a user keyword
        bool user = false;      // from "Keyuser.dat"
    };
    struct Reference {
        std::string_view keyword;  // before the line's first ";"
        std::string_view entry;    // everything after it
    };
    std::vector<Keyword> keywords;  // slot i is keywords[i]: the index's keywords, then the user's
    std::vector<Reference> references;
    int skippedIndexLines = 0;      // index lines without ";"
    int skippedReferenceLines = 0;  // reference lines without ";"
    int keywordsLeftOut = 0;        // keywords beyond maxKeywords, not in the table
};

// Reads the three texts (empty for a missing file); lines end at CR, CR LF or LF. Blank lines
// carry nothing and are passed over; a line of the index or of the references without ";" is
// skipped and counted. Only the first maxKeywords keywords get a slot, the index's first.
KeywordTable ReadKeywordFiles(std::string_view index, std::string_view userKeywords,
                              std::string_view userReferences, std::size_t maxKeywords);

}  // namespace formats
