#include "OrvelUI/shell/WindowRules.h"

#include <algorithm>
#include <cmath>

namespace orvel {

WindowSize WindowRules::defaultSize(bool phoneLayout) {
    return phoneLayout ? WindowSize{402, 874} : WindowSize{1280, 840};
}

WindowFrameLimits WindowRules::frameLimits(bool phoneLayout) {
    if (phoneLayout) return {402, 402, 430, 850, 874, std::nullopt};
    return {980, 1280, std::nullopt, 660, 840, std::nullopt};
}

SplitColumnWidths WindowRules::sidebarWidths() { return {230, 260, 300}; }

int WindowRules::windowExtent(double points) {
    if (std::isnan(points) || points < 1) return 1;
    if (points >= largestWindowExtent) return largestWindowExtent;
    return static_cast<int>(std::lround(points));
}

}  // namespace orvel
