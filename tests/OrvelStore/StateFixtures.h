#pragma once

// Small households for the state tests, on the shared builders: speaker 'A' sits in the room
// given and answers at its own loopback address, ipOf('A').

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "OrvelDomain/HouseholdSnapshot.h"
#include "OrvelDomain/TopologyFixtures.h"
#include "OrvelStore/LoadedFiles.h"

namespace orvel::testing {

inline const Date T0 = Date::sinceReferenceDate(700'000'000.0);

inline Speaker speaker(char id, std::string room, int volume = 20) {
    return speaker(sp(id), std::move(room), SpeakerTraits{.volume = volume});
}

inline std::string ipOf(char id) { return speaker(id, "").reachability.ip(); }

inline Speaker offlineSpeaker(char id, std::string room, Date lastSeen) {
    return speaker(id, std::move(room)).with(ReachabilityState::offline(ipOf(id), lastSeen));
}

inline NowPlaying song(std::string title) {
    NowPlayingTrack track(std::move(title), "Band", std::nullopt, std::nullopt, std::nullopt, 1, std::nullopt,
                          std::nullopt, {}, std::nullopt);
    return NowPlaying::track(std::move(track));
}

inline PlaybackState pausedAt(double seconds) { return PlaybackState::paused(song("Song"), Duration::seconds(seconds)); }
inline PlaybackState playingAt(double seconds, Date sampled) {
    return PlaybackState::playing(song("Song"), Duration::seconds(seconds), sampled);
}

inline RFPeerMatrix matrix(char a, char b, std::int64_t strength) {
    RFPeerMatrix out;
    out.record(sp(a), sp(b), strength, strength);
    return out;
}

// One household reading; `grouping` as in the grouping fixtures ("AA BA CC").
struct Household {
    Date at = T0;
    std::vector<Speaker> speakers{};
    std::string grouping{};
    HouseholdSnapshot::StatusMap status{};
    RFPeerMatrix rf{};
    std::optional<std::vector<PresetPill>> presets{};
    std::optional<std::string> name{};

    HouseholdSnapshot build() const {
        HouseholdSnapshot::SpeakerMap map;
        for (const Speaker& s : speakers) map.insert_or_assign(s.id, s);
        return HouseholdSnapshot(at, std::move(map), topology(grouping), status, rf, presets, name);
    }
};

inline LoadedFiles cacheOf(std::vector<Speaker> speakers, RFPeerMatrix rf = {},
                           std::optional<std::string> name = std::nullopt) {
    return LoadedFiles{CachedSpeakersFile{std::move(speakers), std::move(rf), std::move(name)}, std::nullopt, {}};
}

}  // namespace orvel::testing
