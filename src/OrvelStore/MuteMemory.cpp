#include "MuteMemory.h"

#include <algorithm>

namespace orvel {

std::optional<SonosCommand> MuteMemory::toggle(const std::vector<Speaker>& speakers, const SpeakerUUID& speaker) {
    auto found = std::find_if(speakers.begin(), speakers.end(), [&](const Speaker& s) { return s.id == speaker; });
    if (found == speakers.end()) return std::nullopt;
    const auto target = VolumeTarget::speaker(speaker);
    if (found->volume == DiscreteVolume()) {
        auto remembered = preMuteVolumes_.find(speaker);
        return SonosCommand::setVolume(remembered == preMuteVolumes_.end() ? unmuteFallback : remembered->second,
                                       target);
    }
    preMuteVolumes_.insert_or_assign(speaker, found->volume);
    return SonosCommand::setVolume(DiscreteVolume(), target);
}

}  // namespace orvel
