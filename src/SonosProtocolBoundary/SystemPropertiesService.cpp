#include "SystemPropertiesService.h"

namespace orvel {

SOAPRequest SystemPropertiesService::getStringRequest(std::string_view variable) {
    return {UPnPService::systemProperties, "GetString", {{"VariableName", std::string(variable)}}};
}

SOAPRequest SystemPropertiesService::setStringRequest(std::string_view variable, std::string_view value) {
    return {UPnPService::systemProperties,
            "SetString",
            {{"VariableName", std::string(variable)}, {"StringValue", std::string(value)}}};
}

std::expected<std::optional<std::string>, SOAPError> SystemPropertiesService::stringValue(const SOAPResult& result) {
    if (!result) {
        if (result.error().isFaultWithCode(variableNotFound)) return std::optional<std::string>{};
        return std::unexpected(result.error());
    }
    auto value = result->requiredOutput("StringValue");
    if (!value) return std::unexpected(SOAPError::malformedReply(std::move(value).error()));
    return std::optional<std::string>(std::move(*value));
}

namespace {

// The stored list nests four levels at most; a deeper text is refused before it is parsed, so
// hostile nesting costs nothing.
bool nestsDeeperThan(std::string_view text, int limit) {
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') inString = true;
        if (c == '[' || c == '{') {
            if (++depth > limit) return true;
        }
        if (c == ']' || c == '}') --depth;
    }
    return false;
}

}  // namespace

Parsed<std::vector<PresetPill>> SystemPropertiesService::parsePresetList(std::string_view text) {
    if (nestsDeeperThan(text, 16)) return parseFailure("preset list nests too deeply");
    auto presets = presetListFromJsonText(text);
    if (!presets) return parseFailure("preset list is unreadable: " + presets.error().message());
    return std::move(*presets);
}

SOAPRequest SystemPropertiesService::setPresetsRequest(const std::vector<PresetPill>& presets) {
    return setStringRequest(presetsVariable, presetListToJsonText(presets));
}

SOAPRequest SystemPropertiesService::setSystemNameRequest(std::string_view name) {
    return setStringRequest(systemNameVariable, name);
}

}  // namespace orvel
