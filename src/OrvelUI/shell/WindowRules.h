#pragma once

// Sizes and limits of the one main window, for the desktop layout and the phone-sized layout,
// and the rules around the window-size option.

#include <chrono>
#include <optional>

#include "OrvelUI/shell/WindowSizeOption.h"

namespace orvel {

struct WindowFrameLimits {
    double minimumWidth = 0;
    double idealWidth = 0;
    std::optional<double> maximumWidth;  // absent: unbounded
    double minimumHeight = 0;
    double idealHeight = 0;
    std::optional<double> maximumHeight;
    friend bool operator==(const WindowFrameLimits&, const WindowFrameLimits&) = default;
};

struct SplitColumnWidths {
    double minimum = 0;
    double ideal = 0;
    double maximum = 0;
    friend bool operator==(const SplitColumnWidths&, const SplitColumnWidths&) = default;
};

struct WindowRules {
    WindowRules() = delete;

    // How long after the window is shown the window-size option is applied, so that the
    // platform's own placement of the new window is over.
    static constexpr std::chrono::milliseconds sizeOptionDelay{150};
    // Windows at most this wide (auxiliary panels) keep their size.
    static constexpr double sizeOptionMinimumFrameWidth = 300;
    // The largest extent a window may be given; larger requested sizes are clamped to it.
    static constexpr int largestWindowExtent = 16777215;

    static WindowSize defaultSize(bool phoneLayout);
    static WindowFrameLimits frameLimits(bool phoneLayout);
    static SplitColumnWidths sidebarWidths();
    static bool sizeOptionApplies(double frameWidth) { return frameWidth > sizeOptionMinimumFrameWidth; }
    // Whole pixels for a requested size: rounded and kept within 1 ... largestWindowExtent.
    static int windowExtent(double points);
};

}  // namespace orvel
