// The store's floor-plan positions, as read at start-up.

#include "FuzzInput.h"
#include "OrvelStore/FloorplanPositionsFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto parsed = orvel::json::parse(orvel::fuzz::text(data, size));
    if (!parsed) return 0;
    if (auto file = orvel::FloorplanPositionsFile::fromJson(*parsed)) orvel::fuzz::requireRoundTrip(*file);
    return 0;
}
