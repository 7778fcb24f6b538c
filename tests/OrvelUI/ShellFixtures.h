#pragma once

// Small households for the shell's tests: speakers numbered 1, 2, 3 …, groups built from them
// with the first speaker as coordinator.

#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "OrvelDomain/BondedSatellite.h"
#include "OrvelDomain/PlaybackState.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelUI/shell/LaunchView.h"

namespace orvel::testing {

inline SpeakerUUID sp(int number) {
    char digits[13];
    std::snprintf(digits, sizeof digits, "%012X", static_cast<unsigned>(number));
    return *SpeakerUUID::make(std::string("RINCON_") + digits + "01400");
}

inline GroupID gid(int coordinator) { return GroupID(sp(coordinator)); }

inline Speaker speaker(int number, std::string room, int satellites = 0, bool online = true) {
    std::vector<BondedSatellite> bonded;
    for (int i = 0; i < satellites; ++i) {
        bonded.push_back(BondedSatellite{sp(1000 + number * 10 + i), sp(number), SatelliteRole::subwoofer(),
                                         std::nullopt, std::nullopt, true, std::nullopt});
    }
    return Speaker{sp(number),
                   std::move(room),
                   SpeakerModel::one(),
                   online ? ReachabilityState::online("127.0.0." + std::to_string(number))
                          : ReachabilityState::offline("127.0.0." + std::to_string(number), Date()),
                   DiscreteVolume::snappingPercent(20),
                   std::move(bonded)};
}

inline Speaker offline(int number, std::string room) { return speaker(number, std::move(room), 0, false); }

inline PlaybackState pausedStream() { return PlaybackState::paused(NowPlaying::stream("Radio"), Duration()); }
inline PlaybackState playingStream() {
    return PlaybackState::playing(NowPlaying::stream("Radio"), Duration(), Date());
}

inline SonosGroup group(std::vector<Speaker> speakers, PlaybackState playback = PlaybackState::stopped()) {
    const Speaker coordinator = speakers.front();
    return SonosGroup{GroupID(coordinator.id), coordinator,
                      std::vector<Speaker>(speakers.begin() + 1, speakers.end()), std::move(playback),
                      DiscreteVolume::snappingPercent(20), coordinator.roomName};
}

inline LaunchInputs launch(LaunchEnvironment environment, std::vector<std::string> arguments = {}) {
    arguments.insert(arguments.begin(), "/usr/bin/orvella");
    return LaunchInputs{std::move(environment), std::move(arguments)};
}

inline LaunchInputs arguments(std::initializer_list<std::string> list) { return launch({}, list); }

}  // namespace orvel::testing
