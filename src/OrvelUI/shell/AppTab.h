#pragma once

// The tabs of the phone-sized layout, in the tab bar's order.

#include <string_view>

namespace orvel {

enum class AppTab { map, rooms, settings };

// The tab a compact-tab launch option names (already lower-cased): "rooms" is the rooms tab,
// "settings" and "spotify" the settings tab, anything else the map.
constexpr AppTab appTabNamed(std::string_view lowered) {
    if (lowered == "rooms") return AppTab::rooms;
    if (lowered == "settings" || lowered == "spotify") return AppTab::settings;
    return AppTab::map;
}

}  // namespace orvel
