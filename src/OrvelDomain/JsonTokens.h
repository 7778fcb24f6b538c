#pragma once

// The JSON tokens the grammar check and the mending of replies both need to see alike.

#include <cstddef>
#include <optional>
#include <string_view>

namespace orvel::json::tokens {

inline bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The code unit of the four hex digits at `at`, when there are four.
inline std::optional<char16_t> hexQuad(std::string_view text, std::size_t at) {
    if (text.size() < at + 4) return std::nullopt;
    unsigned value = 0;
    for (std::size_t i = at; i < at + 4; ++i) {
        const char c = text[i];
        unsigned digit = 0;
        if (isDigit(c)) {
            digit = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            digit = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            digit = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return static_cast<char16_t>(value);
}

inline bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The length of the number that starts at `at` (-? int frac? exp?), 0 when none starts there.
// It stops where the grammar's number stops; what follows is the caller's to judge.
inline std::size_t numberLength(std::string_view text, std::size_t at) {
    const std::size_t begin = at;
    auto digitsFrom = [&](std::size_t from) {
        while (from < text.size() && isDigit(text[from])) ++from;
        return from;
    };
    if (at < text.size() && text[at] == '-') ++at;
    if (at >= text.size() || !isDigit(text[at])) return 0;
    at = text[at] == '0' ? at + 1 : digitsFrom(at);
    if (at + 1 < text.size() && text[at] == '.' && isDigit(text[at + 1])) at = digitsFrom(at + 1);
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        std::size_t digits = at + 1;
        if (digits < text.size() && (text[digits] == '+' || text[digits] == '-')) ++digits;
        if (digits < text.size() && isDigit(text[digits])) at = digitsFrom(digits);
    }
    return at - begin;
}

}  // namespace orvel::json::tokens
