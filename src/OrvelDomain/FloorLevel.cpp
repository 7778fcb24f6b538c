#include "FloorLevel.h"

#include <array>

#include <unicode/uchar.h>

#include "Text.h"

namespace orvel {

FloorLevel FloorLevel::top() { return FloorLevel(2, "Top Floor"); }
FloorLevel FloorLevel::upper() { return FloorLevel(1, "Upper Floor"); }
FloorLevel FloorLevel::main() { return FloorLevel(0, "Main Floor"); }
FloorLevel FloorLevel::lower() { return FloorLevel(-1, "Lower Floor"); }

FloorLevel FloorLevel::numbered(std::int64_t n) {
    return FloorLevel(n, "Floor " + std::to_string(n));
}

std::string FloorLevel::id() const {
    return std::to_string(rank_) + "-" + title_;
}

namespace {

// White space as regular expressions mean it: tab, line feed, form feed, carriage return and
// the Unicode separators.
bool isPatternSpace(char32_t c) {
    if (c == U'\t' || c == U'\n' || c == U'\f' || c == U'\r') return true;
    auto type = u_charType(static_cast<UChar32>(c));
    return type == U_SPACE_SEPARATOR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR;
}

bool isDecimalDigit(char32_t c) {
    return u_charType(static_cast<UChar32>(c)) == U_DECIMAL_DIGIT_NUMBER;
}

bool startsWithAt(const std::u32string& text, std::size_t at, std::u32string_view word) {
    return text.size() - at >= word.size() && std::u32string_view(text).substr(at, word.size()) == word;
}

struct KeywordTable {
    std::int64_t tier;
    std::array<std::string_view, 10> keywords;
    std::size_t count;
};

// Tested in this order, each table's keywords in order; the first keyword found decides.
constexpr std::array<KeywordTable, 3> keywordTables{{
    {2, {"penthouse", "attic", "rooftop", "top floor", "third floor", "3rd floor", "level 3"}, 7},
    {1, {"upstairs", "upper", "second floor", "2nd floor", "level 2", "loft"}, 6},
    {-1, {"basement", "lower", "downstairs", "cellar", "sublevel", "den", "rec", "garage", "patio", "yard"}, 10},
}};

}  // namespace

std::optional<std::int64_t> FloorLevel::explicitFloorNumber(std::string_view lowercasedName) {
    const std::u32string text = text::toUtf32(lowercasedName);
    for (std::size_t start = 0; start < text.size(); ++start) {
        if (!startsWithAt(text, start, U"floor") && !startsWithAt(text, start, U"level")) continue;
        std::size_t i = start + 5;
        while (i < text.size() && isPatternSpace(text[i])) ++i;
        if (i >= text.size() || !isDecimalDigit(text[i])) continue;
        // The leftmost match decides alone: when its digits cannot be read, there is no number.
        std::int64_t n = 0;
        for (; i < text.size() && isDecimalDigit(text[i]); ++i) {
            if (text[i] < U'0' || text[i] > U'9') return std::nullopt;
            std::int64_t digit = text[i] - U'0';
            if (n > (INT64_MAX - digit) / 10) return std::nullopt;
            n = n * 10 + digit;
        }
        return n;
    }
    return std::nullopt;
}

std::int64_t FloorLevel::semanticElevationTier(std::string_view roomName) {
    const std::string name = text::lowercased(roomName);
    // N is never negative, so N - 1 cannot overflow.
    if (auto n = explicitFloorNumber(name)) return *n - 1;
    for (const auto& table : keywordTables) {
        for (std::size_t k = 0; k < table.count; ++k) {
            if (name.find(table.keywords[k]) != std::string::npos) return table.tier;
        }
    }
    return 0;
}

FloorLevel FloorLevel::classify(std::string_view roomName) {
    std::int64_t tier = semanticElevationTier(roomName);
    if (tier < 0) return lower();
    if (tier <= 1) return upper();
    return top();
}

Json FloorLevel::toJson() const {
    Json out = Json::object();
    out["rank"] = rank_;
    out["title"] = title_;
    return out;
}

Decoded<FloorLevel> FloorLevel::fromJson(const Json& value) {
    ORVEL_TRY(std::int64_t rank, json::requiredInteger(value, "rank"));
    ORVEL_TRY(std::string title, json::requiredString(value, "title"));
    return FloorLevel(rank, std::move(title));
}

}  // namespace orvel
