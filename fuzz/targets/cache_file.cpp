// The store's cache of known speakers, as read at start-up.

#include "FuzzInput.h"
#include "OrvelStore/CachedSpeakersFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto parsed = orvel::json::parse(orvel::fuzz::text(data, size));
    if (!parsed) return 0;
    if (auto file = orvel::CachedSpeakersFile::fromJson(*parsed)) orvel::fuzz::requireRoundTrip(*file);
    return 0;
}
