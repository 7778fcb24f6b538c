#pragma once

// The chips of a room's bonded satellites on its map card, one per satellite in the speaker's
// own order: the role's letter, the short model name, and a help text naming both in full.

#include <string>
#include <vector>

#include "OrvelDomain/BondedSatellite.h"

namespace orvel {

struct BondedSatellitesMapStrip {
    struct Chip {
        std::string id;
        // "L", "R", "Sub".
        std::string roleLetter;
        // " · " and the short model name.
        std::string modelText;
        // "Left Surround · Sonos One SL (bonded)".
        std::string helpText;
        // The silhouette's model, as its case name.
        std::string modelKey;
        bool isOnline = false;

        friend bool operator==(const Chip&, const Chip&) = default;
    };

    static std::vector<Chip> chips(const std::vector<BondedSatellite>& satellites);
};

}  // namespace orvel
