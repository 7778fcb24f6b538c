#include "SelectedNodeOverlay.h"

#include <algorithm>

namespace orvel {

Point SelectedNodeOverlay::center(Point anchor, bool hasSatellites, Rect plot) {
    // A card with satellites is taller: the overlay clears its strip.
    const double below = hasSatellites ? 84 : 66;
    const double y = anchor.y <= plot.maxY() - 96 ? std::min(anchor.y + below, plot.maxY() - 16)
                                                  : std::max(anchor.y - 66, plot.minY() + 26);
    // Raised first, then lowered: on a plot narrower than the card the right edge wins.
    const double x = std::min(std::max(anchor.x, plot.minX() + 128), plot.maxX() - 128);
    return Point{x, y};
}

}  // namespace orvel
