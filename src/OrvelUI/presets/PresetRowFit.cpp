#include "OrvelUI/presets/PresetRowFit.h"

#include <vector>

namespace orvel {

PresetRowFit fitPresetRow(const PresetRowWidths& widths, std::size_t pillCount,
                          const std::function<double(std::size_t)>& pillWidth) {
    // Each shown item but the last is followed by one spacing.
    const double leading = widths.everywhere > 0 ? widths.everywhere + widths.spacing : 0;
    std::vector<double> measured;
    double used = leading + widths.addButton;
    while (measured.size() < pillCount) {
        const double width = pillWidth(measured.size());
        if (used + width + widths.spacing > widths.available) break;
        used += width + widths.spacing;
        measured.push_back(width);
    }
    if (measured.size() == pillCount) return {pillCount, false};

    // Some are left out: the overflow button takes its place before the add button.
    double room = widths.available - leading - widths.overflowButton - widths.spacing - widths.addButton;
    std::size_t shown = 0;
    while (shown < measured.size() && measured[shown] + widths.spacing <= room) {
        room -= measured[shown] + widths.spacing;
        ++shown;
    }
    return {shown, true};
}

double maximumPresetPillWidth(bool compact) { return compact ? 230 : 260; }

}  // namespace orvel
