// The preset list kept on the speakers (a system property any controller may have written).

#include "FuzzInput.h"
#include "SonosProtocolBoundary/SystemPropertiesService.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)orvel::SystemPropertiesService::parsePresetList(orvel::fuzz::text(data, size));
    return 0;
}
