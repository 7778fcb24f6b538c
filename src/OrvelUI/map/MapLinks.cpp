#include "MapLinks.h"

#include <algorithm>
#include <cmath>

namespace orvel::MapLinks {

bool animates(const std::vector<SonosGroup>& hubGroups, bool reduceMotion) {
    if (reduceMotion) return false;
    return std::any_of(hubGroups.begin(), hubGroups.end(),
                       [](const SonosGroup& group) { return group.playback.isPlaying(); });
}

double phase(double secondsSinceReference) {
    if (!std::isfinite(secondsSinceReference)) return 0;
    double remainder = std::fmod(secondsSinceReference, highlightPeriod);
    if (remainder < 0) remainder += highlightPeriod;
    const double value = remainder / highlightPeriod;
    // A negative remainder a hair below 0 wraps to exactly the period: that is the start.
    return value < 1 ? value : 0;
}

std::vector<AcousticLink> linkLayer(const std::vector<SonosGroup>& hubGroups,
                                    const std::map<GroupID, std::vector<SpeakerTether>>& tethersByGroup,
                                    std::optional<double> layerPhase) {
    std::vector<AcousticLink> links;
    for (const auto& group : hubGroups) {
        const auto entry = tethersByGroup.find(group.id);
        if (entry == tethersByGroup.end() || entry->second.empty()) continue;
        AcousticLink link{group.id, {}, {}, group.playback.isPlaying() ? layerPhase : std::nullopt};
        for (const auto& tether : entry->second) {
            link.points.push_back(tether.segment.start);
            link.points.push_back(tether.segment.end);
            link.segments.push_back(tether.segment);
        }
        links.push_back(std::move(link));
    }
    return links;
}

}  // namespace orvel::MapLinks
