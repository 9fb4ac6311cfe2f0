// Text and number forms of the shared Variant value.
#include "core/Variant.h"

#include <cctype>
#include <charconv>
#include <strings.h>

std::optional<int32_t> ParseLong(const std::string& text) {
    size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    if (b == e) return std::nullopt;
    if (text[b] == '+') ++b;
    int32_t n = 0;
    auto [end, ec] = std::from_chars(text.data() + b, text.data() + e, n);
    if (ec != std::errc() || end != text.data() + e) return std::nullopt;
    return n;
}

std::string Variant::Text() const {
    if (IsBool()) return std::get<bool>(v_) ? "True" : "False";
    if (IsNumber()) return std::to_string(std::get<int32_t>(v_));
    if (IsText()) return std::get<std::string>(v_);
    return {};
}

std::optional<int32_t> Variant::Number() const {
    if (IsBool()) return std::get<bool>(v_) ? -1 : 0;
    if (IsNumber()) return std::get<int32_t>(v_);
    if (IsText()) return ParseLong(std::get<std::string>(v_));
    return std::nullopt;
}

bool Variant::Truth() const {
    if (IsText() && strcasecmp(std::get<std::string>(v_).c_str(), "True") == 0) return true;
    auto n = Number();
    return n && *n != 0;
}
