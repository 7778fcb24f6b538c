#pragma once

// The two parts of the state that are kept in files, as the state derives them; the store
// compares them with what it last wrote to decide what to write.

#include "CachedSpeakersFile.h"
#include "FloorplanPositionsFile.h"

namespace orvel {

struct PersistedSlices {
    CachedSpeakersFile cache;
    FloorplanPositionsFile positions;

    friend bool operator==(const PersistedSlices&, const PersistedSlices&) = default;
};

}  // namespace orvel
