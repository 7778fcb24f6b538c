#pragma once

// The panels behind the full map: one rounded panel per floor band, exactly the band's frame,
// with the floor's title inset from its top-left corner.

#include <string>
#include <vector>

#include "OrvelDomain/FloorBandLayout.h"
#include "OrvelDomain/FloorLevel.h"
#include "OrvelDomain/Geometry.h"

namespace orvel::FloorBandsBackdrop {

inline constexpr double cornerRadius = 24;
inline constexpr double titleLeading = 18;
inline constexpr double titleTop = 12;

struct Panel {
    FloorLevel level;
    Rect frame;
    // The top-left corner of the title's text box.
    Point titleOrigin;
    std::string title;

    friend bool operator==(const Panel&, const Panel&) = default;
};

// In band order; no bands, no panels.
std::vector<Panel> panels(const std::vector<FloorBandLayout>& bands);

}  // namespace orvel::FloorBandsBackdrop
