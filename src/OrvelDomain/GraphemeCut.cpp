#include "GraphemeCut.h"

#include <algorithm>
#include <cstdint>
#include <memory>

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

// One character's bytes [from, to) within the limits per character.
void appendCluster(std::string& out, std::string_view text, int32_t from, int32_t to, const GraphemeLimits& limits) {
    std::size_t codePoints = 0, marks = 0;
    int32_t i = from;
    while (i < to && codePoints < limits.codePointsPerCluster) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(text.data(), i, to, c);
        if (c >= 0 && isCombiningMark(c) && marks++ >= limits.marksPerCluster) continue;
        out.append(text.substr(std::size_t(start), std::size_t(i - start)));
        ++codePoints;
    }
}

bool isShortAscii(std::string_view text, std::size_t clusters) {
    // Every ASCII byte is a character of its own (a CR LF pair is one, which only makes fewer).
    return text.size() <= clusters && std::ranges::all_of(text, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string cutToGraphemes(std::string_view text, const GraphemeLimits& limits) {
    if (isShortAscii(text, limits.clusters)) return std::string(text);
    // Beyond what 32-bit offsets reach nothing is shown anyway; no name comes near it.
    text = text.substr(0, std::min<std::size_t>(text.size(), INT32_MAX));
    icu::BreakIterator* breaks = characterBreaks();
    UErrorCode status = U_ZERO_ERROR;
    UText* utext = utext_openUTF8(nullptr, text.data(), int64_t(text.size()), &status);
    if (!breaks || U_FAILURE(status)) {
        utext_close(utext);
        return std::string(text.substr(0, std::min(text.size(), limits.clusters)));
    }
    breaks->setText(utext, status);
    std::string out;
    std::size_t kept = 0, beforeLast = 0;
    int32_t from = breaks->first();
    for (int32_t to = breaks->next(); to != icu::BreakIterator::DONE; from = to, to = breaks->next()) {
        if (kept == limits.clusters) {
            // The ellipsis takes the last character's place, so cutting again changes nothing.
            out.resize(beforeLast);
            out += ellipsis;
            break;
        }
        beforeLast = out.size();
        appendCluster(out, text, from, to, limits);
        ++kept;
    }
    // The iterator holds on to the text; it lets go before the text can go.
    breaks->setText(icu::UnicodeString());
    utext_close(utext);
    return out;
}

}  // namespace orvel
