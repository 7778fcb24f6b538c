#pragma once

// One UTF-8 sequence, read as strictly as RFC 3629 asks (shortest form, no surrogates, nothing
// past U+10FFFF): the one reading shared by the checks of JSON and XML text.

#include <cstddef>
#include <optional>
#include <string_view>

namespace orvel::utf8 {

struct Sequence {
    // Bytes read: the whole sequence, or of an ill-formed one its longest start that could have
    // begun a character (at least one byte), so the bytes after it are read afresh: "\xE2\x82<"
    // is two bad bytes and then "<".
    std::size_t length = 1;
    // Absent when the sequence is ill formed.
    std::optional<char32_t> codePoint;
};

// The sequence at `at`, which must lie inside `text`.
inline Sequence sequenceAt(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return {1, lead};
    std::size_t expected = 0;
    // The second byte's range narrows after the leads that could start an overlong form, a
    // surrogate or a code point past U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        expected = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        expected = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        expected = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {1, std::nullopt};
    }
    char32_t c = lead & (0xFF >> (expected + 1));
    for (std::size_t k = 1; k < expected; ++k) {
        if (at + k >= text.size()) return {k, std::nullopt};
        const unsigned char next = byte(at + k);
        const bool fits = k == 1 ? next >= low && next <= high : next >= 0x80 && next <= 0xBF;
        if (!fits) return {k, std::nullopt};
        c = (c << 6) | (next & 0x3F);
    }
    return {expected, c};
}

}  // namespace orvel::utf8
