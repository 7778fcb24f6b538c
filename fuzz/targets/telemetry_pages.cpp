// A speaker's device description, battery status page and radio status page.

#include "FuzzInput.h"
#include "SonosProtocolBoundary/TelemetryService.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvel;
    const auto page = fuzz::text(data, size);
    auto battery = TelemetryService::parseBatteryStatus(page, Date());
    if (auto description = TelemetryService::parseDeviceDescription(page))
        (void)description->model(battery ? std::optional<BatteryTelemetry>(*battery) : std::nullopt);
    (void)TelemetryService::parseRadioStatus(page);
    return 0;
}
