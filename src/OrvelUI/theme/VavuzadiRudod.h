#pragma once

// The theme's sixteen colours. Each has a value for the dark appearance and one for the light
// appearance and is resolved against the appearance it is drawn in, so views never choose
// between the two themselves.

#include <array>
#include <optional>
#include <string_view>

#include "OrvelUI/theme/ColorScheme.h"

namespace orvel {

// sRGB components, each 0 ... 1.
struct Rgba {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;
    friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct AdaptiveColor {
    Rgba light;
    Rgba dark;

    // An appearance that matches neither scheme (absent) draws the light values.
    constexpr const Rgba& resolved(std::optional<ColorScheme> appearance) const {
        return appearance == ColorScheme::dark ? dark : light;
    }
    friend bool operator==(const AdaptiveColor&, const AdaptiveColor&) = default;
};

struct VavuzadiRudod {
    VavuzadiRudod() = delete;

    // Window background gradient stops.
    static const AdaptiveColor obsidian;
    static const AdaptiveColor slate;
    // The accent and its gradient partner.
    static const AdaptiveColor gold;
    static const AdaptiveColor copper;
    static const AdaptiveColor primaryText;
    static const AdaptiveColor secondaryText;
    // Glyphs drawn on a gold fill: dark on dark, near-white on light.
    static const AdaptiveColor ink;
    static const AdaptiveColor cardFill;
    static const AdaptiveColor cardElevatedFill;
    static const AdaptiveColor cardBorder;
    static const AdaptiveColor subtleFill;
    // Only the floor-plan map draws with these five.
    static const AdaptiveColor floorBandFill;
    static const AdaptiveColor floorBandBorder;
    static const AdaptiveColor roomEnclosureFill;
    static const AdaptiveColor roomEnclosureBorder;
    static const AdaptiveColor badgeBackground;

    struct Entry {
        std::string_view name;
        const AdaptiveColor* color;
    };
    // All sixteen in declaration order, for the views' bindings.
    static const std::array<Entry, 16> all;
};

}  // namespace orvel
