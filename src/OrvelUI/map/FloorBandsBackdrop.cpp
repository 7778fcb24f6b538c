#include "FloorBandsBackdrop.h"

namespace orvel::FloorBandsBackdrop {

std::vector<Panel> panels(const std::vector<FloorBandLayout>& bands) {
    std::vector<Panel> out;
    out.reserve(bands.size());
    for (const auto& band : bands) {
        const Rect frame = band.frame.standardized();
        out.push_back(Panel{band.level, frame, {frame.minX() + titleLeading, frame.minY() + titleTop}, band.level.title()});
    }
    return out;
}

}  // namespace orvel::FloorBandsBackdrop
