// Words of names and the choice of the catalogue's keywords.
#include "Keywords.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <stdexcept>

namespace catalogue {

namespace {

// Parts of reverse domain names ("org.gnome.Maps"), which name nothing a picture shows.
bool DomainPart(std::string_view w) { return w == "org" || w == "com" || w == "net" || w == "io" || w == "www"; }

bool Hexadecimal(std::string_view w) {
    return w.size() >= 16 && std::all_of(w.begin(), w.end(), [](unsigned char c) { return std::isxdigit(c); });
}

}  // namespace

bool BeginsDesignGroup(std::string_view keyword) { return keyword.starts_with("group"); }

std::string DesignGroup(std::string_view design) { return "group " + std::string(design); }

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::vector<std::string> NameWords(std::string_view name) {
    std::vector<std::string> words;
    std::string word;
    auto flush = [&] {
        if (word.size() >= 2 && std::isalpha(static_cast<unsigned char>(word[0])) && !Hexadecimal(word) && !DomainPart(word) &&
            !BeginsDesignGroup(word) && std::find(words.begin(), words.end(), word) == words.end())
            words.push_back(word);
        word.clear();
    };
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80 && std::isalnum(c)) word += static_cast<char>(std::tolower(c));
        else flush();
    }
    flush();
    return words;
}

KeywordPlan ChooseKeywords(const std::vector<PictureWords>& pictures, std::size_t limit) {
    std::set<std::string> chosen;
    for (const auto& p : pictures) chosen.insert(p.contexts.begin(), p.contexts.end());
    if (chosen.size() > limit) throw std::runtime_error("more contexts than keywords allowed");

    std::map<std::string, std::size_t> uses;
    for (const auto& p : pictures)
        for (const auto& w : p.words)
            if (!chosen.count(w)) ++uses[w];
    std::vector<std::pair<std::string, std::size_t>> ranked(uses.begin(), uses.end());
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    for (const auto& [word, count] : ranked) {
        if (chosen.size() >= limit) break;
        chosen.insert(word);
    }

    // Design names keep their capitals ("group GNOME"); the index is in order regardless of case.
    KeywordPlan plan;
    plan.keywords.assign(chosen.begin(), chosen.end());
    auto byLower = [](const std::string& a, const std::string& b) { return Lower(a) < Lower(b); };
    std::sort(plan.keywords.begin(), plan.keywords.end(), byLower);
    auto position = [&](const std::string& w) -> std::ptrdiff_t {
        auto it = std::lower_bound(plan.keywords.begin(), plan.keywords.end(), w, byLower);
        return it != plan.keywords.end() && *it == w ? it - plan.keywords.begin() : -1;
    };
    for (const auto& p : pictures) {
        std::set<std::size_t> mine;
        for (const auto* group : {&p.contexts, &p.words})
            for (const auto& w : *group)
                if (auto i = position(w); i >= 0) mine.insert(static_cast<std::size_t>(i));
        plan.pictures.emplace_back(mine.begin(), mine.end());
    }
    return plan;
}

}  // namespace catalogue
