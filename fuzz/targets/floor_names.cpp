// Room names read for the floor they name.

#include "FuzzInput.h"
#include "OrvelDomain/FloorLevel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto name = orvel::fuzz::text(data, size);
    (void)orvel::FloorLevel::classify(name);
    (void)orvel::FloorLevel::semanticElevationTier(name);
    (void)orvel::FloorLevel::explicitFloorNumber(name);
    return 0;
}
