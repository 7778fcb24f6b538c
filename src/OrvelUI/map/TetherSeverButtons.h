#pragma once

// The sever controls of the full map: a small round button in the middle of every tether of a
// group of two or more rooms, invisible until its room, its zone or itself is hovered;
// pressing it takes that room out of its group.

#include <map>
#include <string>
#include <vector>

#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelUI/map/SpeakerTether.h"

namespace orvel::TetherSeverButtons {

inline constexpr double zoneDiameter = 44;
inline constexpr double pillDiameter = 22;

struct Button {
    GroupID group;
    SpeakerUUID speakerID;
    // The button's centre on the canvas: the tether's midpoint.
    Point center;
    // "Disconnect <room> from music".
    std::string helpText;
    // "Disconnect <room>".
    std::string accessibilityLabel;

    friend bool operator==(const Button&, const Button&) = default;
};

// In hub order, then tether order. A group of one room has nothing to sever.
std::vector<Button> buttons(const std::vector<SonosGroup>& hubGroups,
                            const std::map<GroupID, std::vector<SpeakerTether>>& tethersByGroup);

struct PillLook {
    double opacity;
    double scale;
    // Hovering the pill itself swaps its colours (an ink mark on a gold disc).
    bool inverted;

    friend bool operator==(const PillLook&, const PillLook&) = default;
};

PillLook pillLook(bool zoneHovered, bool pillHovered, bool roomHovered);

}  // namespace orvel::TetherSeverButtons
