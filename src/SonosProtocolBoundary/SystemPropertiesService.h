#pragma once

// Household values kept on the speakers as SystemProperties string variables: the system's
// name and the preset list.

#include <expected>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "OrvelDomain/PresetPill.h"
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
    static SOAPRequest setStringRequest(std::string_view variable, std::string_view value);

    // The "StringValue" of a GetString call; a fault 800 means the variable is not set (none).
    // Every other failure passes through, and a reply without StringValue is malformed.
    static std::expected<std::optional<std::string>, SOAPError> stringValue(const SOAPResult& result);

    // The stored preset list, read strictly: one bad preset fails the whole list, so a damaged
    // value is never half-applied or written back shortened.
    static Parsed<std::vector<PresetPill>> parsePresetList(std::string_view text);
    static SOAPRequest setPresetsRequest(const std::vector<PresetPill>& presets);
    static SOAPRequest setSystemNameRequest(std::string_view name);
};

}  // namespace orvel
