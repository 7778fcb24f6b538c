#pragma once

// The seven UPnP services the controller talks to on every speaker, with their service types
// (used in the SOAPACTION header and the envelope's namespace) and control paths.

#include <array>
#include <string_view>

namespace orvel {

enum class UPnPService {
    zoneGroupTopology,
    avTransport,
    renderingControl,
    groupRenderingControl,
    contentDirectory,
    queue,
    systemProperties,
};

namespace upnp {

inline constexpr std::array<UPnPService, 7> allServices{
    UPnPService::zoneGroupTopology,     UPnPService::avTransport,      UPnPService::renderingControl,
    UPnPService::groupRenderingControl, UPnPService::contentDirectory, UPnPService::queue,
    UPnPService::systemProperties,
};

// "ZoneGroupTopology", "AVTransport", ...
std::string_view name(UPnPService service);
// "urn:schemas-upnp-org:service:AVTransport:1", ...
std::string_view serviceType(UPnPService service);
// "/MediaRenderer/AVTransport/Control", ...
std::string_view controlPath(UPnPService service);

}  // namespace upnp
}  // namespace orvel
