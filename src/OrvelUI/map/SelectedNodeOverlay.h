#pragma once

// Where the selected room's small overlay (its group's play button and its volume) stands on
// the full map: below the room when there is room for it above the plot's foot, else above it,
// and never so far left or right that the 252-point card leaves the plot.

#include "OrvelDomain/Geometry.h"

namespace orvel {

struct SelectedNodeOverlay {
    static constexpr double width = 252;

    // The overlay's centre for a room whose card is centred at `anchor`.
    static Point center(Point anchor, bool hasSatellites, Rect plot);
};

}  // namespace orvel
