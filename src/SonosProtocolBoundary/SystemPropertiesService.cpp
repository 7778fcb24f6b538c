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

}  // namespace orvel
