#include "UPnPService.h"

namespace orvel::upnp {

namespace {

struct Row {
    std::string_view name;
    std::string_view type;
    std::string_view path;
};

constexpr Row row(UPnPService service) {
    switch (service) {
    case UPnPService::zoneGroupTopology:
        return {"ZoneGroupTopology", "urn:schemas-upnp-org:service:ZoneGroupTopology:1", "/ZoneGroupTopology/Control"};
    case UPnPService::avTransport:
        return {"AVTransport", "urn:schemas-upnp-org:service:AVTransport:1", "/MediaRenderer/AVTransport/Control"};
    case UPnPService::renderingControl:
        return {"RenderingControl", "urn:schemas-upnp-org:service:RenderingControl:1",
                "/MediaRenderer/RenderingControl/Control"};
    case UPnPService::groupRenderingControl:
        return {"GroupRenderingControl", "urn:schemas-upnp-org:service:GroupRenderingControl:1",
                "/MediaRenderer/GroupRenderingControl/Control"};
    case UPnPService::contentDirectory:
        return {"ContentDirectory", "urn:schemas-upnp-org:service:ContentDirectory:1",
                "/MediaServer/ContentDirectory/Control"};
    case UPnPService::queue:
        return {"Queue", "urn:schemas-sonos-com:service:Queue:1", "/MediaRenderer/Queue/Control"};
    case UPnPService::systemProperties:
        return {"SystemProperties", "urn:schemas-upnp-org:service:SystemProperties:1", "/SystemProperties/Control"};
    }
    return {};
}

}  // namespace

std::string_view name(UPnPService service) { return row(service).name; }
std::string_view serviceType(UPnPService service) { return row(service).type; }
std::string_view controlPath(UPnPService service) { return row(service).path; }

}  // namespace orvel::upnp
