// A small value that is empty, a Boolean, a 32-bit number or a text: what the registry reads
// and the shared answer slots hold. Empty (missing) and an empty text are different values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>

class Variant {
  public:
    Variant() = default;
    Variant(bool b) : v_(b) {}
    Variant(int32_t n) : v_(n) {}
    Variant(const char* s) : v_(std::string(s)) {}
    Variant(std::string s) : v_(std::move(s)) {}
    // A named number (a message box's answer) is kept as its number.
    template <class E>
        requires std::is_enum_v<E>
    Variant(E e) : v_(static_cast<int32_t>(e)) {}

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool IsBool() const { return std::holds_alternative<bool>(v_); }
    bool IsNumber() const { return std::holds_alternative<int32_t>(v_); }
    bool IsText() const { return std::holds_alternative<std::string>(v_); }

    // The value's text form: "" when empty, numbers in decimal, Booleans "True" or "False".
    std::string Text() const;
    // Empty, or an empty text: what callers treat as "nothing stored".
    bool IsBlank() const { return IsEmpty() || (IsText() && std::get<std::string>(v_).empty()); }
    // The value as a 32-bit number: numbers as they are, True -1, False 0, a text only when it
    // is a whole decimal number (blanks around it allowed) that fits; otherwise nothing.
    std::optional<int32_t> Number() const;
    // True for True, for a number other than 0, and for the texts "True" (any case) and
    // numeric texts other than 0; False for everything else, empty included.
    bool Truth() const;

    friend bool operator==(const Variant& a, const Variant& b) { return a.v_ == b.v_; }

  private:
    std::variant<std::monostate, bool, int32_t, std::string> v_;
};

// Parses a whole decimal number (optional sign, blanks around it) that fits 32 bits.
std::optional<int32_t> ParseLong(const std::string& text);
