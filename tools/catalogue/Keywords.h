// The catalogue's keywords: words of the pictures' names and their themes' contexts, chosen so
// that every picture has one and the user keeps room for keywords of his own.
#pragma once

#include <cstddef>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace catalogue {

// At most this many catalogue keywords: the keyword arrays hold 3001, the rest is the user's.
inline constexpr std::size_t kMaxKeywords = 2800;

// The program makes a node of "Groups by Design" of every keyword that begins with "group", named
// after the rest of it from its seventh character: the catalogue's only such keywords are its design
// groups, "group " and the design's name, each holding the pictures of one icon theme.
bool BeginsDesignGroup(std::string_view keyword);
std::string DesignGroup(std::string_view design);

// ASCII letters in lower case; keywords are told apart and ordered regardless of letter case.
std::string Lower(std::string_view s);

// The words of a name: lower case, split at every character that is no letter or digit ("-",
// "_", "."). Kept are words of two characters or more that start with a letter and are no
// hexadecimal hash (the names of X cursors are often 32 hex digits), no part of a reverse
// domain name such as "org" or "com" and none that begins with "group".
std::vector<std::string> NameWords(std::string_view name);

// What one picture may be filed under.
struct PictureWords {
    std::set<std::string> contexts;  // always kept: every picture has one
    std::set<std::string> words;     // from its names
};

struct KeywordPlan {
    std::vector<std::string> keywords;              // sorted regardless of letter case, unique
    std::vector<std::vector<std::size_t>> pictures;  // for each picture, its keywords' positions
};

// All contexts first; then the name words, those that name the most pictures first (ties in
// alphabetical order), up to `limit` keywords in all, sorted regardless of letter case. Each
// picture is filed under its contexts and its kept words. Throws when the contexts alone exceed
// the limit.
KeywordPlan ChooseKeywords(const std::vector<PictureWords>& pictures, std::size_t limit = kMaxKeywords);

}  // namespace catalogue
