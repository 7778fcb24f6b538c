#pragma once

// Strict JSON reading helpers shared by every JSON form of the domain.
// Writers are hand-written per type (`toJson()`); readers are `static fromJson(const Json&)`
// returning `Decoded<T>`. Optional members are left out when absent and may be missing or
// null when read; every other member is required; unknown members are ignored.

#include <cstdint>
#include <expected>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "Expected.h"
#include "JsonGrammar.h"

namespace orvel {

using Json = nlohmann::json;

struct DecodingError {
    enum class Kind { typeMismatch, valueNotFound, keyNotFound, dataCorrupted };
    Kind kind = Kind::dataCorrupted;
    std::string description;
    // Where in the document it happened, outermost first ("speakers/RINCON_…/volume").
    std::string path;

    static DecodingError typeMismatch(std::string description);
    static DecodingError valueNotFound(std::string description);
    static DecodingError keyNotFound(std::string_view key);
    static DecodingError dataCorrupted(std::string description);

    // The same error, one level further out: `pathComponent` is prefixed to `path`.
    // The description stays exactly as raised, since callers compare it with promised texts.
    DecodingError at(std::string_view pathComponent) const;
    // "description (at path)" for logs and alerts.
    std::string message() const;

    friend bool operator==(const DecodingError&, const DecodingError&) = default;
};

template <class T>
using Decoded = std::expected<T, DecodingError>;

namespace json {

// Parses text; invalid JSON is dataCorrupted "The given data was not valid JSON.". The parser is
// narrower than the JSON grammar (`isDocument`): it refuses a lone surrogate escape and a number
// beyond a double. At the edges it is wider: it skips one leading byte order mark, and it takes a
// NUL byte for the end of the text, ignoring all after it.
Decoded<Json> parse(std::string_view text);

// A reply of a service, read leniently: it is read and never written back, so what the parser
// above refuses in otherwise grammatical text costs only the value it is in. A lone surrogate
// escape (a high one without a low escape right after it, or a low one without a high one right
// before it) reads as U+FFFD, and a number beyond the range of a double reads as null. The text
// is copied, and mended, only when the parser refused it and something needs mending.
struct ReplyDocument {
    Json value;
    std::size_t loneSurrogates = 0;
    std::size_t hugeNumbers = 0;
    // The byte offset of the first value mended.
    std::size_t firstMendAt = 0;
    bool mended() const { return loneSurrogates + hugeNumbers > 0; }
};
std::optional<ReplyDocument> parseReply(std::string_view text);

// Scalars. Integers must be JSON numbers with an integral value inside [min, max];
// doubles must be finite.
Decoded<std::string> decodeString(const Json& value);
Decoded<bool> decodeBool(const Json& value);
Decoded<double> decodeDouble(const Json& value);
Decoded<std::int64_t> decodeInteger(const Json& value, std::int64_t min = INT64_MIN,
                                    std::int64_t max = INT64_MAX);
Decoded<std::uint64_t> decodeUnsigned(const Json& value);

// The value must be an object (typeMismatch otherwise).
Decoded<const Json*> expectObject(const Json& value);
Decoded<const Json*> expectArray(const Json& value);

// A member that must be present and not null.
Decoded<const Json*> requiredMember(const Json& object, std::string_view key);
// A member that may be missing or null: nullptr then.
const Json* optionalMember(const Json& object, std::string_view key);

// Decodes a required member with `decode`, prefixing errors with the key.
template <class F>
auto required(const Json& object, std::string_view key, F&& decode)
    -> decltype(std::invoke(decode, std::declval<const Json&>())) {
    ORVEL_TRY(const Json* member, requiredMember(object, key));
    auto result = std::invoke(decode, *member);
    if (!result) return std::unexpected(result.error().at(key));
    return result;
}

// Decodes an optional member with `decode`: absent or null gives std::nullopt.
template <class F>
auto optional(const Json& object, std::string_view key, F&& decode)
    -> Decoded<std::optional<typename decltype(std::invoke(decode, std::declval<const Json&>()))::value_type>> {
    using T = typename decltype(std::invoke(decode, std::declval<const Json&>()))::value_type;
    const Json* member = optionalMember(object, key);
    if (member == nullptr) return std::optional<T>{};
    auto result = std::invoke(decode, *member);
    if (!result) return std::unexpected(result.error().at(key));
    return std::optional<T>{std::move(*result)};
}

// Shorthands for the common scalar members.
Decoded<std::string> requiredString(const Json& object, std::string_view key);
Decoded<std::optional<std::string>> optionalString(const Json& object, std::string_view key);
Decoded<bool> requiredBool(const Json& object, std::string_view key);
Decoded<double> requiredDouble(const Json& object, std::string_view key);
Decoded<std::optional<double>> optionalDouble(const Json& object, std::string_view key);
Decoded<std::int64_t> requiredInteger(const Json& object, std::string_view key,
                                      std::int64_t min = INT64_MIN, std::int64_t max = INT64_MAX);
Decoded<std::optional<std::int64_t>> optionalInteger(const Json& object, std::string_view key,
                                                     std::int64_t min = INT64_MIN,
                                                     std::int64_t max = INT64_MAX);

// Tagged variants: an object with exactly one member named by a case. Returns that case name
// and its payload; fails with typeMismatch "Invalid number of keys found, expected one." unless
// exactly one of `caseNames` is present.
struct TaggedCase {
    std::string name;
    const Json* payload;
};
Decoded<TaggedCase> decodeTagged(const Json& value, std::initializer_list<std::string_view> caseNames);
// Writes {caseName: payload}.
Json tagged(std::string_view caseName, Json payload = Json::object());

// Arrays: decodes every element with `decode`, prefixing errors with the index.
template <class F>
auto decodeArray(const Json& value, F&& decode)
    -> Decoded<std::vector<typename decltype(std::invoke(decode, std::declval<const Json&>()))::value_type>> {
    using T = typename decltype(std::invoke(decode, std::declval<const Json&>()))::value_type;
    ORVEL_TRY(const Json* array, expectArray(value));
    std::vector<T> out;
    out.reserve(array->size());
    for (std::size_t i = 0; i < array->size(); ++i) {
        auto element = std::invoke(decode, (*array)[i]);
        if (!element) return std::unexpected(element.error().at(std::to_string(i)));
        out.push_back(std::move(*element));
    }
    return out;
}

}  // namespace json
}  // namespace orvel
