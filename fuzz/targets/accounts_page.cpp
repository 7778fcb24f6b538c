// The music-service accounts page of a speaker.

#include "FuzzInput.h"
#include "SonosProtocolBoundary/SpotifyOnSonos.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    (void)orvel::SpotifyOnSonos::parseAccounts(orvel::fuzz::text(data, size));
    return 0;
}
