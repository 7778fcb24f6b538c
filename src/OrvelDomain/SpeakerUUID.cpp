#include "SpeakerUUID.h"

namespace orvel {

namespace {
constexpr std::string_view prefix = "RINCON_";
bool isUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }
bool isDecimal(char c) { return c >= '0' && c <= '9'; }
}  // namespace

bool SpeakerUUID::isValid(std::string_view raw) {
    if (raw.size() != 24) return false;
    if (!raw.starts_with(prefix)) return false;
    for (std::size_t i = 7; i < 19; ++i) {
        if (!isUpperHex(raw[i])) return false;
    }
    for (std::size_t i = 19; i < 24; ++i) {
        if (!isDecimal(raw[i])) return false;
    }
    return true;
}

std::optional<SpeakerUUID> SpeakerUUID::make(std::string_view rawValue) {
    if (!isValid(rawValue)) return std::nullopt;
    return SpeakerUUID(std::string(rawValue));
}

std::string_view SpeakerUUID::macHex() const {
    return std::string_view(rawValue_).substr(prefix.size(), 12);
}

Decoded<SpeakerUUID> SpeakerUUID::fromKey(std::string_view key) {
    if (auto id = make(key)) return *id;
    return std::unexpected(DecodingError::dataCorrupted("Not a RINCON id: " + std::string(key)));
}

Decoded<SpeakerUUID> SpeakerUUID::fromJson(const Json& value) {
    ORVEL_TRY(std::string text, json::decodeString(value));
    return fromKey(text);
}

}  // namespace orvel
