#pragma once

// What mute and unmute set a speaker to. Muting remembers the volume the speaker had, so that
// unmuting brings it back; a speaker found muted with nothing remembered (muted elsewhere, or
// before this run) comes back at a moderate 20. The memory lasts as long as the store and is
// never written to disk.

#include <map>
#include <optional>
#include <vector>

#include "OrvelDomain/DiscreteVolume.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelDomain/SpeakerUUID.h"

namespace orvel {

class MuteMemory {
public:
    static constexpr DiscreteVolume unmuteFallback = DiscreteVolume::snappingPercent(20);

    // The `setVolume` that toggles the speaker's mute, judged by its volume in `speakers`;
    // nullopt when the speaker is not listed. Muting remembers the volume it replaces.
    std::optional<SonosCommand> toggle(const std::vector<Speaker>& speakers, const SpeakerUUID& speaker);

    const std::map<SpeakerUUID, DiscreteVolume>& preMuteVolumes() const { return preMuteVolumes_; }

private:
    // Written on mute, read on unmute, never removed.
    std::map<SpeakerUUID, DiscreteVolume> preMuteVolumes_;
};

}  // namespace orvel
