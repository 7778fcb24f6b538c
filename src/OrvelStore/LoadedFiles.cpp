#include "LoadedFiles.h"

namespace orvel {

std::vector<std::string> LoadedFiles::seedIPs() const {
    std::vector<std::string> out;
    if (!cache) return out;
    out.reserve(cache->speakers.size());
    for (const Speaker& speaker : cache->speakers) out.push_back(speaker.reachability.ip());
    return out;
}

}  // namespace orvel
