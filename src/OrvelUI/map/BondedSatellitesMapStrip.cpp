#include "BondedSatellitesMapStrip.h"

namespace orvel {

std::vector<BondedSatellitesMapStrip::Chip> BondedSatellitesMapStrip::chips(
    const std::vector<BondedSatellite>& satellites) {
    std::vector<Chip> chips;
    chips.reserve(satellites.size());
    for (const BondedSatellite& satellite : satellites) {
        chips.push_back(Chip{
            satellite.id.rawValue(),
            std::string(satellite.role.shortBadge()),
            " \u00B7 " + satellite.shortModelLabel(),
            std::string(satellite.role.label()) + " \u00B7 " + satellite.modelLabel() + " (bonded)",
            std::string(satellite.speakerModel().caseName()),
            satellite.isOnline,
        });
    }
    return chips;
}

}  // namespace orvel
