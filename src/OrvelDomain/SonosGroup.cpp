#include "SonosGroup.h"

#include "GroupStatus.h"
#include "HashCombine.h"

namespace orvel {

std::vector<Speaker> SonosGroup::speakers() const {
    std::vector<Speaker> out;
    out.reserve(members.size() + 1);
    out.push_back(coordinator);
    out.insert(out.end(), members.begin(), members.end());
    return out;
}

}  // namespace orvel

std::size_t std::hash<orvel::SonosGroup>::operator()(const orvel::SonosGroup& group) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, group.id);
    orvel::hashCombine(seed, group.coordinator);
    orvel::hashCombine(seed, group.members.size());
    for (const auto& member : group.members) orvel::hashCombine(seed, member);
    orvel::hashCombine(seed, orvel::hashPlayback(group.playback));
    orvel::hashCombine(seed, group.volume);
    orvel::hashCombine(seed, group.displayName);
    return seed;
}
