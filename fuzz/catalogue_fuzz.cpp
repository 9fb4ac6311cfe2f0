// Fuzz target: the catalogue's text files. The input holds the index, the user's keywords and the
// user's references, separated by zero bytes; each is read with room for every keyword and with
// room for only a few, and every token list is split.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/Catalogue.h"
#include "formats/KeywordFiles.h"

namespace {

// A view of `part` lies inside `whole`.
bool Inside(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view parts[3];
    std::string_view rest = input;
    for (int i = 0; i < 3; ++i) {
        const std::size_t zero = i < 2 ? rest.find('\0') : std::string_view::npos;
        parts[i] = rest.substr(0, zero);
        rest = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
    }
    for (std::size_t slots : {std::size_t{3001}, std::size_t{3}}) {
        const auto table = formats::ReadKeywordFiles(parts[0], parts[1], parts[2], slots);
        if (table.keywords.size() > slots || (table.keywordsLeftOut > 0 && table.keywords.size() != slots)) std::abort();
        for (const auto& k : table.keywords) {
            if (!Inside(k.text, input) || !Inside(k.refs, input) || k.text.find_first_of("\r\n") != k.text.npos)
                std::abort();
            if (!k.user && k.text.find(';') != k.text.npos) std::abort();
            for (std::string_view token : formats::SplitTokens(k.refs))
                if (token.empty() || token.find(';') != token.npos) std::abort();
        }
        for (const auto& r : table.references)
            if (!Inside(r.keyword, input) || !Inside(r.entry, input) || r.keyword.find(';') != r.keyword.npos)
                std::abort();
    }
    return 0;
}
