#include "GraphemeCut.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

namespace orvel {

namespace {

constexpr std::string_view ellipsis = "\u2026";

// Making a break iterator loads its rules; one per thread is made once and reused.
icu::BreakIterator* characterBreaks() {
    thread_local const std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> made(icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        return U_SUCCESS(status) ? std::move(made) : nullptr;
    }();
    return iterator.get();
}

bool isCombiningMark(UChar32 c) {
    const auto type = u_charType(c);
    return type == U_NON_SPACING_MARK || type == U_ENCLOSING_MARK;
}

// One character's bytes [from, to) within the limits per character. Returns whether any were
// left out.
bool appendCluster(std::string& out, std::string_view text, int32_t from, int32_t to, const GraphemeLimits& limits) {
    const std::size_t begin = out.size();
    std::size_t codePoints = 0, marks = 0;
    bool trimmed = false;
    int32_t i = from;
    while (i < to && codePoints < limits.codePointsPerCluster) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(text.data(), i, to, c);
        if (c >= 0 && isCombiningMark(c) && marks++ >= limits.marksPerCluster) {
            trimmed = true;
            continue;
        }
        out.append(text.substr(std::size_t(start), std::size_t(i - start)));
        ++codePoints;
    }
    if (i >= to) return trimmed;
    // A chain cut short must not end in a joiner: the joiner would take the next emoji into
    // this character when the text is cut again, and that emoji would be left out.
    constexpr std::string_view joiner = "\u200D";
    while (out.size() > begin + joiner.size() && out.ends_with(joiner)) out.resize(out.size() - joiner.size());
    return true;
}

// Two columns for a wide character (East Asian wide or fullwidth, an emoji shown as a picture,
// a flag), one for any other.
std::size_t columnsOf(std::string_view text, int32_t from, int32_t to) {
    int32_t i = from;
    UChar32 first;
    U8_NEXT(text.data(), i, to, first);
    if (first < 0) return 1;
    const auto width = u_getIntPropertyValue(first, UCHAR_EAST_ASIAN_WIDTH);
    if (width == U_EA_WIDE || width == U_EA_FULLWIDTH || u_hasBinaryProperty(first, UCHAR_REGIONAL_INDICATOR)) return 2;
    return text.substr(std::size_t(from), std::size_t(to - from)).find("\uFE0F") != std::string_view::npos ? 2 : 1;
}

bool isShortAscii(std::string_view text, std::size_t columns) {
    // Every ASCII byte is a narrow character of its own (a CR LF pair is one, which only makes
    // fewer).
    return text.size() <= columns && std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// One pass; `trimmed` tells whether a character lost code points on the way.
std::string cutOnce(std::string_view text, const GraphemeLimits& limits, bool& trimmed) {
    trimmed = false;
    // Beyond what 32-bit offsets reach nothing is shown anyway; no name comes near it.
    text = text.substr(0, std::min<std::size_t>(text.size(), INT32_MAX));
    icu::BreakIterator* breaks = characterBreaks();
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), int64_t(text.size()), &status);
    if (!breaks || U_FAILURE(status)) {
        utext_close(utext);
        return std::string(text.substr(0, std::min(text.size(), limits.columns)));
    }
    breaks->setText(utext, status);
    std::string out;
    // Where each kept character starts in `out`, and how wide it is.
    std::vector<std::pair<std::size_t, std::size_t>> kept;
    std::size_t used = 0;
    int32_t from = breaks->first();
    for (int32_t to = breaks->next(); to != icu::BreakIterator::DONE; from = to, to = breaks->next()) {
        const std::size_t columns = columnsOf(text, from, to);
        if (used + columns > limits.columns) {
            // The ellipsis (one column) takes the place of the last characters, so cutting again
            // changes nothing.
            while (!kept.empty() && used + 1 > limits.columns) {
                out.resize(kept.back().first);
                used -= kept.back().second;
                kept.pop_back();
            }
            out += ellipsis;
            break;
        }
        kept.emplace_back(out.size(), columns);
        used += columns;
        trimmed |= appendCluster(out, text, from, to, limits);
    }
    // The iterator holds on to the text; it lets go before the text can go.
    breaks->setText(icu::UnicodeString());
    utext_close(utext);
    return out;
}

}  // namespace

std::string cutToGraphemes(std::string_view text, const GraphemeLimits& limits) {
    if (isShortAscii(text, limits.columns)) return std::string(text);
    bool trimmed = false;
    std::string out = cutOnce(text, limits, trimmed);
    // A character that lost code points can read differently next to what follows it (a
    // prefix, an Indic linker, a jamo cut short), so the cut is repeated until the text stops
    // changing; only such hostile text takes a second pass. The loop ends: a pass that changes
    // the text leaves out at least one code point, or puts the ellipsis in the place of one
    // that was not an ellipsis, and a name holds only so many.
    if (!trimmed) return out;
    for (;;) {
        std::string again = cutOnce(out, limits, trimmed);
        if (again == out) return out;
        out = std::move(again);
    }
}

}  // namespace orvel
