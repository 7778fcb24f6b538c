#include "SystemPropertiesService.h"

namespace orvel {

SOAPRequest SystemPropertiesService::getStringRequest(std::string_view variable) {
    return {UPnPService::systemProperties, "GetString", {{"VariableName", std::string(variable)}}};
}

SOAPRequest SystemPropertiesService::setStringRequest(std::string_view variable, std::string value) {
    return {UPnPService::systemProperties,
            "SetString",
            {{"VariableName", std::string(variable)}, {"StringValue", std::move(value)}}};
}

std::expected<std::optional<std::string>, SOAPError> SystemPropertiesService::stringValue(const SOAPResult& result) {
    return stringValue(SOAPResult(result));
}

std::expected<std::optional<std::string>, SOAPError> SystemPropertiesService::stringValue(SOAPResult&& result) {
    if (!result) {
        if (result.error().isFaultWithCode(variableNotFound)) return std::optional<std::string>{};
        return std::unexpected(result.error());
    }
    // Taken out of the reply rather than copied: the preset list can be megabytes.
    for (auto& [name, value] : result->outputs) {
        if (name == "StringValue") return std::optional<std::string>(std::move(value));
    }
    auto missing = result->requiredOutput("StringValue");
    return std::unexpected(SOAPError::malformedReply(std::move(missing).error()));
}

SOAPRequest SystemPropertiesService::setSystemNameRequest(std::string_view name) {
    return setStringRequest(systemNameVariable, std::string(name));
}

}  // namespace orvel
