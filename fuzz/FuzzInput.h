#pragma once

// Helpers shared by the fuzz targets: the input as text, an optional first line that picks a
// parameter (an action, a status, a type), and the round-trip check of JSON values.

#include <charconv>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace orvel::fuzz {

inline std::string_view text(const std::uint8_t* data, std::size_t size) {
    return size == 0 ? std::string_view() : std::string_view(reinterpret_cast<const char*>(data), size);
}

// The text before the first line break, and everything after it (empty when there is none).
inline std::pair<std::string_view, std::string_view> splitFirstLine(std::string_view input) {
    const std::size_t end = input.find('\n');
    if (end == std::string_view::npos) return {input, {}};
    return {input.substr(0, end), input.substr(end + 1)};
}

// A status code written as decimal text; `fallback` when the text is not one.
inline int statusFrom(std::string_view line, int fallback) {
    int status = fallback;
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), status);
    return error == std::errc() && end == line.data() + line.size() ? status : fallback;
}

// A value that decoded must encode to JSON that decodes to the same value: a reader and a
// writer that disagree would lose or change what the store saves. A disagreement is a finding,
// so it stops the run like a crash.
template <class T>
void requireRoundTrip(const T& value) {
    auto again = T::fromJson(value.toJson());
    if (!again || !(*again == value)) __builtin_trap();
}

}  // namespace orvel::fuzz
