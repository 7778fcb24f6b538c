#include "OrvelUI/shell/PrimaryTargetGroup.h"

#include <algorithm>

namespace orvel {

std::optional<SonosGroup> primaryTargetGroup(const std::vector<SonosGroup>& groups) {
    const auto playing = std::ranges::find_if(groups, [](const SonosGroup& g) { return g.playback.isPlaying(); });
    if (playing != groups.end()) return *playing;
    const auto shared = std::ranges::find_if(groups, [](const SonosGroup& g) { return g.speakers().size() > 1; });
    if (shared != groups.end()) return *shared;
    if (!groups.empty()) return groups.front();
    return std::nullopt;
}

}  // namespace orvel
