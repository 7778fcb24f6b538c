#pragma once

// Small households and launches for the shell's tests, on the shared builders.

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "OrvelDomain/PlaybackState.h"
#include "OrvelUI/shell/LaunchView.h"
#include "common/Households.h"

namespace orvel::testing {

inline GroupID gid(int coordinator) { return GroupID(sp(coordinator)); }

inline Speaker speaker(int number, std::string room, int satellites = 0, bool online = true) {
    return speaker(sp(number), std::move(room), {.satellites = satellites, .online = online});
}

inline Speaker offline(int number, std::string room) { return speaker(number, std::move(room), 0, false); }

inline PlaybackState pausedStream() { return PlaybackState::paused(NowPlaying::stream("Radio"), Duration()); }
inline PlaybackState playingStream() {
    return PlaybackState::playing(NowPlaying::stream("Radio"), Duration(), Date());
}

inline LaunchInputs launch(LaunchEnvironment environment, std::vector<std::string> arguments = {}) {
    arguments.insert(arguments.begin(), "/usr/bin/orvella");
    return LaunchInputs{std::move(environment), std::move(arguments)};
}

inline LaunchInputs arguments(std::initializer_list<std::string> list) { return launch({}, list); }

}  // namespace orvel::testing
