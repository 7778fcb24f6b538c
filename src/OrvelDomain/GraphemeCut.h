#pragma once

// Cutting text at user-perceived characters (extended grapheme clusters, as ICU finds them):
// an emoji ZWJ sequence, a flag, a letter with its marks or a right-to-left letter is kept
// whole or left out whole, never split. The bound is a width in columns, as a terminal counts
// them, so a name of emoji is cut where a plain name of the same width is.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvel {

struct GraphemeLimits {
    // Columns shown: a wide character (an emoji, a flag, a CJK ideograph) takes two, any other
    // one. A longer text ends in "…" (one column) in the place of its last characters.
    std::size_t columns;
    // Combining marks (Mn, Me) kept on one character; the rest of a pile is dropped.
    std::size_t marksPerCluster;
    // Code points kept of one character: an endless ZWJ or jamo chain is one character too.
    std::size_t codePointsPerCluster;

    friend bool operator==(const GraphemeLimits&, const GraphemeLimits&) = default;
};

// `text` (UTF-8) within `limits`, ending in "…" (U+2026) when characters were left out; cutting
// the result again leaves it as it is. A character cut short never ends in a joiner, so it does
// not take in the emoji after it. Reads only as far as the kept characters reach, however
// long the text. Invalid UTF-8 bytes are kept as they are (each one counts as a character).
std::string cutToGraphemes(std::string_view text, const GraphemeLimits& limits);

}  // namespace orvel
