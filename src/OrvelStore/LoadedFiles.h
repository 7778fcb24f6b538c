#pragma once

// Both store files as found at start-up, and the names under which unreadable ones were set
// aside (the cache's first, then the positions').

#include <optional>
#include <string>
#include <vector>

#include "CachedSpeakersFile.h"
#include "FloorplanPositionsFile.h"

namespace orvel {

struct LoadedFiles {
    std::optional<CachedSpeakersFile> cache;
    std::optional<FloorplanPositionsFile> positions;
    std::vector<std::string> quarantined;

    // The addresses to try first: each cached speaker's current or last known address, in the
    // cache's order. Duplicates and empty texts are kept; the household controller dedupes and
    // validates them before any use.
    std::vector<std::string> seedIPs() const;

    friend bool operator==(const LoadedFiles&, const LoadedFiles&) = default;
};

}  // namespace orvel
