#include "VolumeService.h"

#include <string>

#include "SonosProtocolBoundary/ProtocolText.h"

namespace orvel {

SOAPRequest VolumeService::volumeRequest() {
    return {UPnPService::renderingControl, "GetVolume", {{"InstanceID", "0"}, {"Channel", "Master"}}};
}

SOAPRequest VolumeService::groupVolumeRequest() {
    return {UPnPService::groupRenderingControl, "GetGroupVolume", {{"InstanceID", "0"}}};
}

Parsed<DiscreteVolume> VolumeService::parseVolume(const SOAPResponse& response) {
    ORVEL_TRY(std::string text, response.requiredOutput("CurrentVolume"));
    ORVEL_TRY(std::int64_t value, protocol_text::parseInteger(text, "CurrentVolume", 0, 100));
    return *DiscreteVolume::make(value);
}

SOAPRequest VolumeService::setVolumeRequest(DiscreteVolume volume) {
    return {UPnPService::renderingControl,
            "SetVolume",
            {{"InstanceID", "0"}, {"Channel", "Master"}, {"DesiredVolume", std::to_string(volume.rawValue())}}};
}

SOAPRequest VolumeService::snapshotGroupVolumeRequest() {
    return {UPnPService::groupRenderingControl, "SnapshotGroupVolume", {{"InstanceID", "0"}}};
}

SOAPRequest VolumeService::setGroupVolumeRequest(DiscreteVolume volume) {
    return {UPnPService::groupRenderingControl,
            "SetGroupVolume",
            {{"InstanceID", "0"}, {"DesiredVolume", std::to_string(volume.rawValue())}}};
}

}  // namespace orvel
