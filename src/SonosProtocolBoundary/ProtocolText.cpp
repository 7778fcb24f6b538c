#include "ProtocolText.h"

#include <charconv>

#include "OrvelDomain/Text.h"

namespace orvel::protocol_text {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

char lowerASCII(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view leadingDigits(std::string_view text) {
    std::size_t end = 0;
    while (end < text.size() && isDigit(text[end])) ++end;
    return text.substr(0, end);
}

// Decimal digits after the point; digits beyond the attosecond are dropped rather than rejected.
Duration::Attoseconds decimalFraction(std::string_view digits) {
    Duration::Attoseconds fraction = 0;
    Duration::Attoseconds scale = Duration::perSecond;
    for (char digit : digits) {
        if (scale < 10) break;
        scale /= 10;
        fraction += scale * (digit - '0');
    }
    return fraction;
}

// A numerator or denominator of a fraction of a second: below 10^18, so its product with the
// attoseconds of a second stays far inside 128 bits.
std::optional<Duration::Attoseconds> boundedNumber(std::string_view digits) {
    Duration::Attoseconds value = 0;
    for (char digit : digits) {
        value = value * 10 + (digit - '0');
        if (value >= Duration::perSecond) return std::nullopt;
    }
    return value;
}

}  // namespace

Parsed<std::int64_t> parseInteger(std::string_view text, std::string_view what, std::int64_t min, std::int64_t max) {
    const std::string trimmed = text::trimmed(text);
    std::int64_t value = 0;
    const char* begin = trimmed.data();
    const char* end = begin + trimmed.size();
    if (begin != end && *begin == '+') ++begin;
    auto [stop, error] = std::from_chars(begin, end, value);
    if (trimmed.empty() || error != std::errc() || stop != end) {
        return parseFailure(std::string(what) + " is not an integer: " + quoted(text));
    }
    if (value < min || value > max) {
        return parseFailure(std::string(what) + " " + std::to_string(value) + " is outside " + std::to_string(min) +
                            "..." + std::to_string(max));
    }
    return value;
}

Parsed<std::optional<Duration>> parseClockTime(std::string_view raw, std::string_view what) {
    const std::string trimmed = text::trimmed(raw);
    std::string_view text = trimmed;
    if (text.empty() || text == "NOT_IMPLEMENTED") return std::optional<Duration>{};
    auto bad = [&] { return parseFailure(std::string(what) + " is not a clock time: " + quoted(raw)); };

    std::size_t i = 0;
    std::int64_t hours = 0;
    while (i < text.size() && isDigit(text[i])) {
        if (i >= 6) return bad();  // a million hours is no track
        hours = hours * 10 + (text[i] - '0');
        ++i;
    }
    if (i == 0) return bad();
    auto twoDigits = [&](std::int64_t& out) {
        if (i + 3 > text.size() || text[i] != ':' || !isDigit(text[i + 1]) || !isDigit(text[i + 2])) return false;
        out = (text[i + 1] - '0') * 10 + (text[i + 2] - '0');
        i += 3;
        return out < 60;
    };
    std::int64_t minutes = 0, seconds = 0;
    if (!twoDigits(minutes) || !twoDigits(seconds)) return bad();
    Duration::Attoseconds fraction = 0;
    if (i < text.size()) {
        if (text[i] != '.') return bad();
        const std::string_view digits = leadingDigits(text.substr(i + 1));
        const std::string_view rest = text.substr(i + 1 + digits.size());
        if (digits.empty()) return bad();
        if (rest.empty()) {
            fraction = decimalFraction(digits);
        } else {
            // The other fraction UPnP allows: ".F0/F1", F0/F1 of a second.
            if (rest.front() != '/' || rest.size() == 1) return bad();
            const std::string_view denominatorDigits = rest.substr(1);
            if (leadingDigits(denominatorDigits).size() != denominatorDigits.size()) return bad();
            const auto numerator = boundedNumber(digits);
            const auto denominator = boundedNumber(denominatorDigits);
            if (!numerator || !denominator || *denominator == 0 || *numerator >= *denominator) return bad();
            fraction = *numerator * Duration::perSecond / *denominator;
        }
    }
    const std::int64_t whole = hours * 3600 + minutes * 60 + seconds;
    return std::optional<Duration>(Duration::seconds(whole) + Duration::fromAttoseconds(fraction));
}

std::string formatClockTime(Duration duration) {
    Duration::Attoseconds atto = duration.attoseconds();
    if (atto < 0) atto = 0;
    const Duration::Attoseconds total = atto / Duration::perSecond;
    const auto hours = static_cast<std::int64_t>(total / 3600);
    const auto minutes = static_cast<int>((total / 60) % 60);
    const auto seconds = static_cast<int>(total % 60);
    std::string out = std::to_string(hours) + ":";
    if (minutes < 10) out += '0';
    out += std::to_string(minutes) + ":";
    if (seconds < 10) out += '0';
    out += std::to_string(seconds);
    return out;
}

std::string quoted(std::string_view text) {
    constexpr std::size_t limit = 40;
    std::string out;
    for (char c : text.substr(0, limit)) out += (static_cast<unsigned char>(c) < 0x20) ? '?' : c;
    if (text.size() > limit) out += "...";
    return "\"" + out + "\"";
}

bool startsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lowerASCII(text[i]) != lowerASCII(prefix[i])) return false;
    }
    return true;
}

}  // namespace orvel::protocol_text
