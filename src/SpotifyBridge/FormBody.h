#pragma once

// "application/x-www-form-urlencoded" bodies for the token endpoint: one "key=value" piece per
// field, pieces in ascending byte order of the whole piece, joined with "&".

#include <map>
#include <string>
#include <string_view>

namespace orvel {

// Percent-escapes (upper-case hexadecimal, of the UTF-8 bytes) every character except Unicode
// letters, marks and numbers and "-", ".", "_", "~". Bytes that are not valid UTF-8 are
// escaped one by one.
std::string formPercentEncoded(std::string_view text);

std::string formBody(const std::map<std::string, std::string>& fields);

}  // namespace orvel
