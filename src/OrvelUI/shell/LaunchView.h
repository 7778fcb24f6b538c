#pragma once

// The launch options: a handful of environment variables and command-line arguments that pick
// the layout, the first view, the compact tab, the queue popover and a forced appearance.
// Pure functions of the environment and the full argument list (program path first); nothing
// is cached, so every caller asks afresh. The environment is consulted first; a variable that
// is absent or gives no positive answer lets the arguments decide.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "OrvelUI/theme/ColorScheme.h"

namespace orvel {

using LaunchEnvironment = std::map<std::string, std::string>;
using LaunchArguments = std::vector<std::string>;

struct LaunchView {
    LaunchView() = delete;

    // ORVELLA_LAYOUT=ios, or --layout=ios.
    static bool requestsIOS(const LaunchEnvironment& environment, const LaunchArguments& arguments);
    // ORVELLA_SHOW_QUEUE=1 (exactly), or --show-queue.
    static bool requestsQueuePopover(const LaunchEnvironment& environment, const LaunchArguments& arguments);
    // ORVELLA_INITIAL_VIEW=group, --initial-view=group, or "--initial-view" "group".
    static bool requestsGroup(const LaunchEnvironment& environment, const LaunchArguments& arguments);
    // ORVELLA_INITIAL_VIEW=living, or --initial-view=living (no two-argument form).
    static bool requestsLivingRoom(const LaunchEnvironment& environment, const LaunchArguments& arguments);
    // ORVELLA_INITIAL_VIEW=guest, or --initial-view=guest (no two-argument form).
    static bool requestsGuestRoom(const LaunchEnvironment& environment, const LaunchArguments& arguments);
    // Lower-cased: a non-empty ORVELLA_COMPACT_TAB, else what follows the first --tab= (possibly
    // empty). Not checked against the known tab names.
    static std::optional<std::string> requestedCompactTab(const LaunchEnvironment& environment,
                                                          const LaunchArguments& arguments);
    // ORVELLA_APPEARANCE=light|dark, else the first --appearance=light|dark, else the word after
    // the first "--appearance".
    static std::optional<ColorScheme> requestedColorScheme(const LaunchEnvironment& environment,
                                                           const LaunchArguments& arguments);
};

// The environment and arguments as one value, so callers can hand both around together.
struct LaunchInputs {
    LaunchEnvironment environment;
    LaunchArguments arguments;

    bool requestsIOS() const { return LaunchView::requestsIOS(environment, arguments); }
    bool requestsQueuePopover() const { return LaunchView::requestsQueuePopover(environment, arguments); }
    bool requestsGroup() const { return LaunchView::requestsGroup(environment, arguments); }
    bool requestsLivingRoom() const { return LaunchView::requestsLivingRoom(environment, arguments); }
    bool requestsGuestRoom() const { return LaunchView::requestsGuestRoom(environment, arguments); }
    std::optional<std::string> requestedCompactTab() const {
        return LaunchView::requestedCompactTab(environment, arguments);
    }
    std::optional<ColorScheme> requestedColorScheme() const {
        return LaunchView::requestedColorScheme(environment, arguments);
    }

    friend bool operator==(const LaunchInputs&, const LaunchInputs&) = default;
};

}  // namespace orvel
