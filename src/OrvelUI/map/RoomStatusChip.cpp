#include "RoomStatusChip.h"

namespace orvel {

RoomStatusChip RoomStatusChip::of(const Speaker& speaker, bool dropTarget) {
    if (dropTarget) return RoomStatusChip{Kind::connect, std::nullopt, {}};
    // Only the two portable models carry a reading at all.
    if (auto battery = speaker.model.battery()) return RoomStatusChip{Kind::battery, std::move(battery), {}};
    if (!speaker.reachability.isOnline()) return RoomStatusChip{Kind::offline, std::nullopt, {}};
    return RoomStatusChip{Kind::volume, std::nullopt, std::to_string(speaker.volume.percent()) + "%"};
}

std::string_view RoomStatusChip::kindName() const {
    switch (kind) {
        case Kind::connect: return "connect";
        case Kind::battery: return "battery";
        case Kind::offline: return "offline";
        case Kind::volume: return "volume";
    }
    return "volume";
}

}  // namespace orvel
