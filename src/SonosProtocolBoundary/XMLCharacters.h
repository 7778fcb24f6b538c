#pragma once

// Characters that XML 1.0 cannot carry, mended before a document reaches the reader: speakers
// copy titles and room names byte for byte from wherever they came, and one stray control
// character, a byte that is not UTF-8 or a reference to a lone surrogate would otherwise cost
// the whole document.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvel::xml_characters {

// Whether XML 1.0 can carry this code point (its production Char).
bool isXmlCharacter(char32_t c);

// Reads `document` once and rewrites each character XML cannot carry into U+FFFD: a raw control
// byte, a sequence that is not UTF-8 (each maximal ill-formed part one U+FFFD), an encoded
// U+FFFE or U+FFFF, and a character reference to any of these or to a surrogate. Inside CDATA
// sections, comments and processing instructions a reference is literal text and stays.
// Returns how many characters were mended; only then is `mended` filled with the whole
// mended document (otherwise it is left alone and `document` is to be read as it is). Each
// mended byte grows into the three of U+FFFD: a mended document larger than `maxBytes` is
// given up as soon as it grows past them (nullopt), so a page of control bytes costs no more
// than a page of text.
std::optional<std::size_t> mend(std::string_view document, std::string& mended, std::size_t maxBytes);

}  // namespace orvel::xml_characters
