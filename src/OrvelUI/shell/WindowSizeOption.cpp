#include "OrvelUI/shell/WindowSizeOption.h"

#include <charconv>
#include <cmath>
#include <vector>

namespace orvel {

namespace {

// The whole field must be one number. from_chars takes no leading "+", so one is removed here;
// a sign after it ("+-5") leaves the field unparsed.
std::optional<double> parseNumber(std::string_view field) {
    if (field.starts_with('+')) {
        field.remove_prefix(1);
        if (field.starts_with('+') || field.starts_with('-')) return std::nullopt;
    }
    double value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
    return value;
}

}  // namespace

std::optional<WindowSize> parseWindowSizeOption(std::string_view value) {
    std::vector<double> numbers;
    std::size_t start = 0;
    while (start <= value.size()) {
        const std::size_t end = std::min(value.find('x', start), value.size());
        const std::optional<double> number = parseNumber(value.substr(start, end - start));
        if (number && std::isfinite(*number) && *number > 0) numbers.push_back(*number);
        start = end + 1;
    }
    if (numbers.size() != 2) return std::nullopt;
    return WindowSize{numbers[0], numbers[1]};
}

}  // namespace orvel
