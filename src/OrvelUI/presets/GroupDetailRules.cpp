#include "OrvelUI/presets/GroupDetailRules.h"

#include <set>

namespace orvel {

std::vector<Speaker> ungroupedSpeakers(const SonosGroup& group, const std::vector<Speaker>& speakers) {
    std::set<SpeakerUUID> inGroup;
    for (const Speaker& speaker : group.speakers()) inGroup.insert(speaker.id);
    std::vector<Speaker> offered;
    for (const Speaker& speaker : speakers) {
        if (speaker.reachability.isOnline() && !inGroup.contains(speaker.id)) offered.push_back(speaker);
    }
    return offered;
}

std::vector<SpeakerRowContent> groupDetailRows(const SonosGroup& group) {
    const std::vector<Speaker> speakers = group.speakers();
    const bool playing = group.playback.isPlaying();
    const bool canRemove = speakers.size() > 1;
    std::vector<SpeakerRowContent> rows;
    for (std::size_t i = 0; i < speakers.size(); ++i) {
        rows.push_back(SpeakerRowContent::of(speakers[i], playing, canRemove, i > 0));
    }
    return rows;
}

}  // namespace orvel
