#include <set>

#include "OrvelStore.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"

namespace orvel {

std::vector<std::string> OrvelStore::mergedSeedIPs(const std::vector<std::string>& cached) {
    std::vector<std::string> out;
    std::set<std::string> seen;
    for (const std::string& address : cached) {
        // The cache file is outside input: only a plain IPv4 literal may reach the network side.
        if (!SpeakerAddress::make(address)) continue;
        if (seen.insert(address).second) out.push_back(address);
    }
    return out;
}

}  // namespace orvel
