#pragma once

// A speaker's identifier: "RINCON_" followed by twelve upper-case hexadecimal digits and five
// decimal digits. Exists only for a valid text; ordered by byte order of the text.

#include <compare>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "Json.h"

namespace orvel {

class SpeakerUUID {
public:
    static std::optional<SpeakerUUID> make(std::string_view rawValue);
    static bool isValid(std::string_view rawValue);

    const std::string& rawValue() const { return rawValue_; }
    const std::string& description() const { return rawValue_; }
    // The twelve characters after "RINCON_": the speaker's hardware address in hexadecimal.
    std::string_view macHex() const;

    Json toJson() const { return rawValue_; }
    // A string holding a valid identifier; otherwise dataCorrupted "Not a RINCON id: <text>".
    static Decoded<SpeakerUUID> fromJson(const Json& value);
    static Decoded<SpeakerUUID> fromKey(std::string_view key);

    friend bool operator==(const SpeakerUUID&, const SpeakerUUID&) = default;
    friend std::strong_ordering operator<=>(const SpeakerUUID& a, const SpeakerUUID& b) {
        return a.rawValue_.compare(b.rawValue_) <=> 0;
    }

private:
    explicit SpeakerUUID(std::string rawValue) : rawValue_(std::move(rawValue)) {}
    std::string rawValue_;
};

// Maps keyed by SpeakerUUID are JSON objects keyed by the identifier text; a member name that
// is not a valid identifier fails the whole map.
template <class V, class Encode>
Json speakerMapToJson(const std::map<SpeakerUUID, V>& map, Encode&& encode) {
    Json out = Json::object();
    for (const auto& [id, value] : map) out[id.rawValue()] = std::invoke(encode, value);
    return out;
}

template <class Decode>
auto speakerMapFromJson(const Json& value, Decode&& decode)
    -> Decoded<std::map<SpeakerUUID, typename decltype(std::invoke(decode, std::declval<const Json&>()))::value_type>> {
    using V = typename decltype(std::invoke(decode, std::declval<const Json&>()))::value_type;
    ORVEL_TRY(const Json* object, json::expectObject(value));
    std::map<SpeakerUUID, V> out;
    for (auto it = object->begin(); it != object->end(); ++it) {
        ORVEL_TRY(SpeakerUUID id, SpeakerUUID::fromKey(it.key()));
        auto element = std::invoke(decode, it.value());
        if (!element) return std::unexpected(element.error().at(it.key()));
        out.emplace(std::move(id), std::move(*element));
    }
    return out;
}

}  // namespace orvel

template <>
struct std::hash<orvel::SpeakerUUID> {
    std::size_t operator()(const orvel::SpeakerUUID& id) const noexcept {
        return std::hash<std::string>{}(id.rawValue());
    }
};
