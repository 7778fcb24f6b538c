// The update feed, as any server the feed address leads to may send it.

#include "FuzzInput.h"
#include "OrvellaApp/update/Appcast.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto items = orvel::appcast::parse(orvel::fuzz::text(data, size), orvel::UpdateAddressPolicy{});
    if (items) (void)orvel::appcast::newestUpdate(*items, QStringLiteral("1.0"));
    return 0;
}
