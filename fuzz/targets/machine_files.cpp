// The machine files the vault identity reads: the machine-info file and the resolver
// configuration.

#include "FuzzInput.h"
#include "SpotifyBridge/VaultIdentity.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto text = orvel::fuzz::text(data, size);
    (void)orvel::prettyHostNameFromMachineInfo(text);
    (void)orvel::searchDomainsFromResolvConf(text);
    return 0;
}
