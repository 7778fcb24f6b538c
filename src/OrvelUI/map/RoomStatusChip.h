#pragma once

// The one status chip under a room card's speaker: the first that applies of "Connect" while a
// dragged room would drop on the card, the battery of a portable speaker with a reading (shown
// even when it is offline), the offline pill, or the room's volume.

#include <optional>
#include <string>

#include "OrvelDomain/BatteryTelemetry.h"
#include "OrvelDomain/Speaker.h"

namespace orvel {

struct RoomStatusChip {
    enum class Kind { connect, battery, offline, volume };

    Kind kind = Kind::volume;
    // The reading, for a battery chip.
    std::optional<BatteryTelemetry> battery;
    // "35%", for a volume chip.
    std::string volumeText;

    static RoomStatusChip of(const Speaker& speaker, bool dropTarget);
    // The kind as QML names it.
    std::string_view kindName() const;

    friend bool operator==(const RoomStatusChip&, const RoomStatusChip&) = default;
};

}  // namespace orvel
