#include "Text.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unicode/locid.h>

namespace orvel::text {

namespace {

icu::UnicodeString fromUtf8(std::string_view text) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string toStd(const icu::UnicodeString& s) {
    std::string out;
    s.toUTF8String(out);
    return out;
}

// Decodes one UTF-8 sequence at `i`; returns the code point (U+FFFD when invalid) and advances i.
char32_t decodeAt(std::string_view text, std::size_t& i) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char b0 = byte(i);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int length = (b0 >= 0xF0 && b0 <= 0xF4) ? 4 : (b0 >= 0xE0) ? 3 : (b0 >= 0xC2 && b0 < 0xE0) ? 2 : 0;
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t cp = b0 & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        unsigned char b = byte(i + static_cast<std::size_t>(k));
        if ((b & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return 0xFFFD;
    }
    i += static_cast<std::size_t>(length);
    return cp;
}

}  // namespace

bool isWhitespaceOrNewline(char32_t c) {
    if ((c >= 0x09 && c <= 0x0D) || c == 0x85) return true;
    auto type = u_charType(static_cast<UChar32>(c));
    return type == U_SPACE_SEPARATOR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

std::string trimmed(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t next = begin;
        if (!isWhitespaceOrNewline(decodeAt(text, next))) break;
        begin = next;
    }
    // Walk forward to find the end of the last non-space character.
    std::size_t end = begin;
    std::size_t i = begin;
    while (i < text.size()) {
        char32_t cp = decodeAt(text, i);
        if (!isWhitespaceOrNewline(cp)) end = i;
    }
    return std::string(text.substr(begin, end - begin));
}

std::string lowercased(std::string_view text) {
    auto s = fromUtf8(text);
    s.toLower(icu::Locale::getRoot());
    return toStd(s);
}

std::string uppercased(std::string_view text) {
    auto s = fromUtf8(text);
    s.toUpper(icu::Locale::getRoot());
    return toStd(s);
}

int caseInsensitiveCompare(std::string_view a, std::string_view b) {
    auto r = fromUtf8(a).caseCompare(fromUtf8(b), U_FOLD_CASE_DEFAULT);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool caseInsensitiveEquals(std::string_view a, std::string_view b) {
    return caseInsensitiveCompare(a, b) == 0;
}

bool caseInsensitiveContains(std::string_view haystack, std::string_view needle) {
    auto h = fromUtf8(haystack);
    auto n = fromUtf8(needle);
    h.foldCase(U_FOLD_CASE_DEFAULT);
    n.foldCase(U_FOLD_CASE_DEFAULT);
    return h.indexOf(n) >= 0;
}

std::u32string toUtf32(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) out.push_back(decodeAt(text, i));
    return out;
}

std::string toUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        decodeAt(text, i);
        ++count;
    }
    return count;
}

}  // namespace orvel::text
