// The lenient reading of service replies: the parser's refusals that cost a whole reply are
// mended in a copy, one value each.

#include <algorithm>
#include <vector>

#include "Json.h"
#include "JsonTokens.h"

namespace orvel::json {

namespace {

struct Mend {
    std::size_t at = 0;
    std::size_t length = 0;
    std::string_view with;
};

constexpr std::string_view replacementEscape = "\\uFFFD";

// Whether the parser refuses the number (grammatical) on its own: only when its value is beyond
// the range of a double. The parser itself judges, so the mend agrees with it exactly.
bool isBeyondDouble(std::string_view number) { return !Json::accept(number.begin(), number.end()); }

// What needs mending in `text`, in order. Strings are followed as the parser follows them, so
// an escaped backslash before "u" escapes nothing, and digits inside a string are no number.
std::vector<Mend> mendsIn(std::string_view text, ReplyDocument& counts) {
    std::vector<Mend> mends;
    auto mend = [&](std::size_t at, std::size_t length, std::string_view with, std::size_t& count) {
        if (mends.empty()) counts.firstMendAt = at;
        mends.push_back({at, length, with});
        ++count;
    };
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        if (c == '"') {
            for (++at; at < text.size() && text[at] != '"';) {
                if (text[at] != '\\') {
                    ++at;
                    continue;
                }
                const auto unit = at + 1 < text.size() && text[at + 1] == 'u' ? tokens::hexQuad(text, at + 2)
                                                                               : std::nullopt;
                if (!unit) {
                    at += 2;
                    continue;
                }
                if (tokens::isHighSurrogate(*unit) && text.substr(at + 6, 2) == "\\u") {
                    if (auto low = tokens::hexQuad(text, at + 8); low && tokens::isLowSurrogate(*low)) {
                        at += 12;
                        continue;
                    }
                }
                if (tokens::isHighSurrogate(*unit) || tokens::isLowSurrogate(*unit)) {
                    mend(at, 6, replacementEscape, counts.loneSurrogates);
                }
                at += 6;
            }
            ++at;
        } else if (c == '-' || tokens::isDigit(c)) {
            const std::size_t length = tokens::numberLength(text, at);
            if (length > 0 && isBeyondDouble(text.substr(at, length))) mend(at, length, "null", counts.hugeNumbers);
            at += std::max<std::size_t>(length, 1);
        } else {
            ++at;
        }
    }
    return mends;
}

// A reply can carry secrets (a token reply does): the mended copy goes the way the body goes.
void wipe(std::string& text) {
    volatile char* bytes = text.data();
    for (std::size_t i = 0; i < text.size(); ++i) bytes[i] = 0;
}

}  // namespace

std::optional<ReplyDocument> parseReply(std::string_view text) {
    ReplyDocument document;
    document.value = Json::parse(text.begin(), text.end(), nullptr, /*allow_exceptions=*/false);
    if (!document.value.is_discarded()) return document;
    const std::vector<Mend> mends = mendsIn(text, document);
    if (mends.empty()) return std::nullopt;
    std::string mended;
    mended.reserve(text.size());
    std::size_t from = 0;
    for (const Mend& mend : mends) {
        mended.append(text.substr(from, mend.at - from));
        mended.append(mend.with);
        from = mend.at + mend.length;
    }
    mended.append(text.substr(from));
    document.value = Json::parse(mended.begin(), mended.end(), nullptr, /*allow_exceptions=*/false);
    wipe(mended);
    if (document.value.is_discarded()) return std::nullopt;
    return document;
}

}  // namespace orvel::json
