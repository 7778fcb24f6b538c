#pragma once

// How the desktop's preset row fits its width: the "Everywhere" pill leads, then as many preset
// pills as fit, then the overflow button that lists the rest (only when some are left out),
// and the add button last, always shown. Pill widths are asked for in order and only as far as
// needed, so a thousand presets cost the measuring of the few that show.

#include <cstddef>
#include <functional>

namespace orvel {

struct PresetRowWidths {
    double available = 0;
    double spacing = 0;
    // Zero when the "Everywhere" pill is not shown.
    double everywhere = 0;
    double overflowButton = 0;
    double addButton = 0;
};

struct PresetRowFit {
    // The first this many presets show as pills.
    std::size_t shownPills = 0;
    bool showsOverflow = false;

    friend bool operator==(const PresetRowFit&, const PresetRowFit&) = default;
};

PresetRowFit fitPresetRow(const PresetRowWidths& widths, std::size_t pillCount,
                          const std::function<double(std::size_t)>& pillWidth);

// A pill never grows past this width; its name is elided inside. It takes an ordinary name of
// about thirty characters ("The Whole Ground Floor and Den") whole: only names past that, and
// hostile ones, are cut. The row's fit keeps every pill in reach however wide the pills are.
double maximumPresetPillWidth(bool compact);

}  // namespace orvel
