#pragma once

// Household values kept on the speakers as SystemProperties string variables: the system's
// name and the preset list (read and merged for a save by StoredPresetList).

#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "SonosProtocolBoundary/ProtocolParseError.h"
#include "SonosProtocolBoundary/SOAPClient.h"
#include "SonosProtocolBoundary/SOAPRequest.h"

namespace orvel {

struct SystemPropertiesService {
    static constexpr std::string_view systemNameVariable = "Orvella_SystemName";
    static constexpr std::string_view presetsVariable = "Orvella_Presets_v1";
    // The speakers' answer for a variable that was never set.
    static constexpr std::int64_t variableNotFound = 800;

    static SOAPRequest getStringRequest(std::string_view variable);
    // The value is taken over, not copied: the preset list can be megabytes.
    static SOAPRequest setStringRequest(std::string_view variable, std::string value);

    // The "StringValue" of a GetString call; a fault 800 means the variable is not set (none).
    // Every other failure passes through, and a reply without StringValue is malformed.
    static std::expected<std::optional<std::string>, SOAPError> stringValue(const SOAPResult& result);
    static std::expected<std::optional<std::string>, SOAPError> stringValue(SOAPResult&& result);
    static SOAPRequest setSystemNameRequest(std::string_view name);
};

}  // namespace orvel
