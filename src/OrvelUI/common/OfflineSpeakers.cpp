#include "OrvelUI/common/OfflineSpeakers.h"

#include <set>

namespace orvel {

std::vector<Speaker> offlineSpeakers(std::span<const SonosGroup> groups, std::span<const Speaker> speakers) {
    std::set<SpeakerUUID> grouped;
    for (const SonosGroup& group : groups) {
        for (const Speaker& speaker : group.speakers()) grouped.insert(speaker.id);
    }
    std::vector<Speaker> offline;
    for (const Speaker& speaker : speakers) {
        if (speaker.reachability.isOffline() && !grouped.contains(speaker.id)) offline.push_back(speaker);
    }
    return offline;
}

}  // namespace orvel
