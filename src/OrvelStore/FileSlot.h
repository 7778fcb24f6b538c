#pragma once

// One file of the store: its name inside the data folder, whether an unreadable copy may simply
// be deleted, and (as the type parameter) what it holds.

#include <string>

#include "CachedSpeakersFile.h"
#include "FloorplanPositionsFile.h"

namespace orvel {

template <class T>
struct FileSlot {
    std::string name;
    // A disposable file is rebuilt from the network, so an unreadable copy is deleted; any
    // other is set aside and reported, because it holds what only the user can redo.
    bool isDisposable = false;

    friend bool operator==(const FileSlot&, const FileSlot&) = default;
};

namespace fileSlot {

inline FileSlot<CachedSpeakersFile> cachedSpeakers() { return {"cached-speakers.json", true}; }
inline FileSlot<FloorplanPositionsFile> floorplanPositions() { return {"floorplan-positions.json", false}; }

}  // namespace fileSlot
}  // namespace orvel
