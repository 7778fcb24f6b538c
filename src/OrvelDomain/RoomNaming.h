#pragma once

// Display rules for room and group names.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orvel::RoomNaming {

// The room name without a trailing " Speaker", or else without a trailing " Soundbar", and,
// when `merged`, then also without a trailing " Room"; a suffix goes only when something is
// left. Suffixes match case-sensitively ("Kitchen speaker" stays).
std::string shortName(std::string_view roomName, bool merged);

// A group's name from its rooms: the coordinator's short name alone; "Everywhere" when the
// group holds every speaker of a household of two or more; otherwise the coordinator's label
// then the members' labels sorted, joined by " + ", shortened to "A + B + N more" past three.
// A label is the merged short name, unless another room of the group shares it; then it is
// the unmerged short name.
std::string groupName(std::string_view coordinator, const std::vector<std::string>& members,
                      std::int64_t onlineRoomCount);

}  // namespace orvel::RoomNaming
