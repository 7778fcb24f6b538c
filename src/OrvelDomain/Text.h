#pragma once

// Unicode text rules shared by the domain. All texts are UTF-8; casing and case-insensitive
// comparison go through ICU (never byte-wise tolower), and plain string order is byte order.

#include <string>
#include <string_view>

namespace orvel::text {

// Removes leading and trailing white space and line breaks: general categories Zs, Zl, Zp,
// and U+0009..U+000D, U+0085. Invalid UTF-8 is kept as it is.
std::string trimmed(std::string_view text);
bool isWhitespaceOrNewline(char32_t codePoint);

// Full Unicode case mapping in the root locale.
std::string lowercased(std::string_view text);
std::string uppercased(std::string_view text);

// Whole-text comparison after Unicode case folding: <0, 0 or >0.
int caseInsensitiveCompare(std::string_view a, std::string_view b);
bool caseInsensitiveEquals(std::string_view a, std::string_view b);
// Whether `haystack` contains `needle`, ignoring case (by case folding both).
bool caseInsensitiveContains(std::string_view haystack, std::string_view needle);

// Decodes UTF-8 into code points; invalid sequences become U+FFFD.
std::u32string toUtf32(std::string_view text);
std::string toUtf8(std::u32string_view text);
// Number of Unicode scalar values (what a user counts as characters, short of graphemes).
std::size_t characterCount(std::string_view text);

}  // namespace orvel::text
