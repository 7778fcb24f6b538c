#include "OrvelUI/theme/VavuzadiRudod.h"

namespace orvel {

namespace {

// The table keeps the designers' 0 ... 255 integers; alpha is given as it is.
constexpr Rgba rgb(int red, int green, int blue, double alpha) {
    return {red / 255.0, green / 255.0, blue / 255.0, alpha};
}

constexpr AdaptiveColor adaptiveColor(Rgba light, Rgba dark) { return {light, dark}; }

}  // namespace

constinit const AdaptiveColor VavuzadiRudod::obsidian = adaptiveColor(rgb(250, 245, 236, 1.0), rgb(22, 18, 14, 1.0));
constinit const AdaptiveColor VavuzadiRudod::slate = adaptiveColor(rgb(243, 234, 216, 1.0), rgb(30, 24, 19, 1.0));
constinit const AdaptiveColor VavuzadiRudod::gold = adaptiveColor(rgb(200, 125, 32, 1.0), rgb(229, 169, 60, 1.0));
constinit const AdaptiveColor VavuzadiRudod::copper = adaptiveColor(rgb(184, 107, 20, 1.0), rgb(200, 130, 50, 1.0));
constinit const AdaptiveColor VavuzadiRudod::primaryText =
    adaptiveColor(rgb(42, 30, 20, 1.0), rgb(247, 239, 228, 1.0));
constinit const AdaptiveColor VavuzadiRudod::secondaryText =
    adaptiveColor(rgb(110, 90, 72, 1.0), rgb(189, 174, 156, 1.0));
constinit const AdaptiveColor VavuzadiRudod::ink = adaptiveColor(rgb(255, 253, 249, 1.0), rgb(26, 18, 11, 1.0));
constinit const AdaptiveColor VavuzadiRudod::cardFill = adaptiveColor(rgb(255, 253, 249, 0.94), rgb(38, 30, 23, 0.84));
constinit const AdaptiveColor VavuzadiRudod::cardElevatedFill =
    adaptiveColor(rgb(255, 253, 249, 0.98), rgb(48, 38, 29, 0.92));
constinit const AdaptiveColor VavuzadiRudod::cardBorder =
    adaptiveColor(rgb(229, 213, 184, 0.95), rgb(247, 239, 228, 0.16));
constinit const AdaptiveColor VavuzadiRudod::subtleFill =
    adaptiveColor(rgb(238, 226, 205, 0.65), rgb(247, 239, 228, 0.08));
constinit const AdaptiveColor VavuzadiRudod::floorBandFill =
    adaptiveColor(rgb(247, 239, 224, 0.82), rgb(32, 25, 19, 0.68));
constinit const AdaptiveColor VavuzadiRudod::floorBandBorder =
    adaptiveColor(rgb(222, 202, 170, 0.9), rgb(229, 169, 60, 0.18));
constinit const AdaptiveColor VavuzadiRudod::roomEnclosureFill =
    adaptiveColor(rgb(255, 252, 245, 0.86), rgb(44, 35, 27, 0.66));
constinit const AdaptiveColor VavuzadiRudod::roomEnclosureBorder =
    adaptiveColor(rgb(216, 192, 154, 0.85), rgb(229, 169, 60, 0.24));
constinit const AdaptiveColor VavuzadiRudod::badgeBackground =
    adaptiveColor(rgb(250, 243, 230, 0.96), rgb(24, 19, 15, 0.94));

constinit const std::array<VavuzadiRudod::Entry, 16> VavuzadiRudod::all = {{
    {"obsidian", &obsidian},
    {"slate", &slate},
    {"gold", &gold},
    {"copper", &copper},
    {"primaryText", &primaryText},
    {"secondaryText", &secondaryText},
    {"ink", &ink},
    {"cardFill", &cardFill},
    {"cardElevatedFill", &cardElevatedFill},
    {"cardBorder", &cardBorder},
    {"subtleFill", &subtleFill},
    {"floorBandFill", &floorBandFill},
    {"floorBandBorder", &floorBandBorder},
    {"roomEnclosureFill", &roomEnclosureFill},
    {"roomEnclosureBorder", &roomEnclosureBorder},
    {"badgeBackground", &badgeBackground},
}};

}  // namespace orvel
