// The household's topology as a speaker reports it (ZoneGroupState).

#include "FuzzInput.h"
#include "SonosProtocolBoundary/TopologyService.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)orvel::TopologyService::parseZoneGroupStateDocument(orvel::fuzz::text(data, size));
    return 0;
}
