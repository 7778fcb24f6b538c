#include "XMLCharacters.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "OrvelDomain/Utf8Sequence.h"

namespace orvel::xml_characters {

namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Printable ASCII that neither starts markup nor may end a literal section: most of a document,
// passed over one table look-up a byte.
constexpr std::array<bool, 256> plainBytes = [] {
    std::array<bool, 256> plain{};
    for (int byte = 0x20; byte < 0x80; ++byte) plain[static_cast<std::size_t>(byte)] = true;
    for (char markup : {'<', '&', ']', '-', '?'}) plain[static_cast<unsigned char>(markup)] = false;
    return plain;
}();

std::size_t plainEnd(std::string_view text, std::size_t at) {
    while (at < text.size() && plainBytes[static_cast<unsigned char>(text[at])]) ++at;
    return at;
}

int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A character reference read: how many bytes, and whether XML can carry what it names.
struct Reference {
    std::size_t length;
    bool carried;
};

// A character reference "&#…;" or "&#x…;" at `at`: its length and whether XML can carry the
// character it names; a length of zero when the text there is no complete reference (left to
// the reader, which refuses it).
Reference readReference(std::string_view text, std::size_t at) {
    std::size_t i = at + 2;
    const bool hex = i < text.size() && text[i] == 'x';
    if (hex) ++i;
    const int base = hex ? 16 : 10;
    const std::size_t digitsStart = i;
    char32_t value = 0;
    for (; i < text.size(); ++i) {
        const int digit = hex ? hexValue(text[i]) : (isDigit(text[i]) ? text[i] - '0' : -1);
        if (digit < 0) break;
        // Held just past the last code point, so a long reference cannot wrap into a valid one.
        value = std::min<char32_t>(value * static_cast<char32_t>(base) + static_cast<char32_t>(digit), 0x110000);
    }
    if (i == digitsStart || i >= text.size() || text[i] != ';') return {0, false};
    return {i + 1 - at, isXmlCharacter(value)};
}

// The opening and closing marks of a section starting `text` whose references are literal.
std::optional<std::pair<std::string_view, std::string_view>> literalSection(std::string_view text) {
    for (auto section : {std::pair<std::string_view, std::string_view>{"<![CDATA[", "]]>"},
                         {"<!--", "-->"},
                         {"<?", "?>"}}) {
        if (text.starts_with(section.first)) return section;
    }
    return std::nullopt;
}

}  // namespace

bool isXmlCharacter(char32_t c) {
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0x10FFFF);
}

std::optional<std::size_t> mend(std::string_view document, std::string& mended, std::size_t maxBytes) {
    std::size_t count = 0;
    std::size_t copied = 0;  // the document up to here is in `mended` already
    // The mended document's size so far: what is copied and replaced, and the rest as it is.
    std::size_t mendedSize = document.size();
    auto replace = [&](std::size_t at, std::size_t length) {
        if (count == 0) {
            mended.clear();
            mended.reserve(std::min(maxBytes, document.size() + document.size() / 8 + 64));
        }
        mended.append(document.substr(copied, at - copied));
        mended.append(replacement);
        mendedSize = mendedSize - length + replacement.size();
        copied = at + length;
        ++count;
    };

    // Where references are literal text: the end of the section being read, or empty outside one.
    std::string_view literalEnd;
    std::size_t i = 0;
    while (i < document.size()) {
        if (mendedSize > maxBytes) return std::nullopt;
        i = plainEnd(document, i);
        if (i == document.size()) break;
        const char c = document[i];
        const auto byte = static_cast<unsigned char>(c);
        if (!literalEnd.empty()) {
            if (c == literalEnd.front() && document.substr(i, literalEnd.size()) == literalEnd) {
                i += literalEnd.size();
                literalEnd = {};
                continue;
            }
        } else if (c == '<' && i + 1 < document.size() && (document[i + 1] == '!' || document[i + 1] == '?')) {
            if (const auto section = literalSection(document.substr(i))) {
                literalEnd = section->second;
                i += section->first.size();
                continue;
            }
        } else if (c == '&' && i + 1 < document.size() && document[i + 1] == '#') {
            const Reference reference = readReference(document, i);
            if (reference.length > 0) {
                if (!reference.carried) replace(i, reference.length);
                i += reference.length;
                continue;
            }
        }
        if (byte < 0x80) {
            if (!isXmlCharacter(byte)) replace(i, 1);
            ++i;
            continue;
        }
        const utf8::Sequence sequence = utf8::sequenceAt(document, i);
        if (!sequence.codePoint || !isXmlCharacter(*sequence.codePoint)) replace(i, sequence.length);
        i += sequence.length;
    }
    if (mendedSize > maxBytes) return std::nullopt;
    if (count > 0) mended.append(document.substr(copied));
    return count;
}

}  // namespace orvel::xml_characters
