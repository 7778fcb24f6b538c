#pragma once

// A preset's identity: a UUID, held in its upper-case hyphenated text form so that equality of
// the text is equality of the UUID. JSON: {"rawValue": "E621E1F8-C36C-495A-93FC-0C247A3E6E5F"}.

#include <compare>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "Json.h"

namespace orvel {

class PresetID {
public:
    // A new random identity.
    static PresetID random();
    // The UUID written as text (either letter case); nullopt when the text is no UUID.
    static std::optional<PresetID> make(std::string_view uuidText);

    // The upper-case canonical form.
    const std::string& rawValue() const { return rawValue_; }
    const std::string& description() const { return rawValue_; }

    Json toJson() const;
    // Requires "rawValue" holding a UUID text; a malformed one is dataCorrupted.
    static Decoded<PresetID> fromJson(const Json& value);

    friend bool operator==(const PresetID&, const PresetID&) = default;
    // Only so identities can key ordered maps.
    friend std::strong_ordering operator<=>(const PresetID& a, const PresetID& b) {
        return a.rawValue_.compare(b.rawValue_) <=> 0;
    }

private:
    explicit PresetID(std::string canonical) : rawValue_(std::move(canonical)) {}
    std::string rawValue_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::PresetID> {
    std::size_t operator()(const orvel::PresetID& id) const noexcept {
        return std::hash<std::string>{}(id.rawValue());
    }
};
