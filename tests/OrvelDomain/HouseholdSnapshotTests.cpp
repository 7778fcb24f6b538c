#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "OrvelDomain/HouseholdSnapshot.h"
#include "TopologyFixtures.h"

using namespace orvel;
using orvel::testing::group;
using orvel::testing::sp;
using orvel::testing::topology;

namespace {

const Date T = Date::sinceReferenceDate(700'000'000.0);

NowPlaying track(std::string title, std::optional<std::int64_t> queuePosition, std::optional<SpotifyURI> uri) {
    NowPlayingTrack t(std::move(title), "Band", std::nullopt, std::nullopt, std::nullopt, queuePosition, std::move(uri),
                      std::nullopt, {}, std::nullopt);
    return NowPlaying::track(std::move(t));
}
NowPlaying queueTrack(std::string title) { return track(std::move(title), 3, std::nullopt); }
NowPlaying spotifyTrack(const char* uri) { return track("Spotify Song", std::nullopt, SpotifyURI::make(uri)); }

const NowPlaying song = queueTrack("Song");
const NowPlaying otherSong = queueTrack("Other Song");
const NowPlaying spotifyA = spotifyTrack("spotify:track:4uLU6hMCjMI75M1A2tKUQC");
const NowPlaying spotifyB = spotifyTrack("spotify:track:7GhIk7Il098yCjg4BQjzvb");
const NowPlaying radio = NowPlaying::stream("Jazz FM");
const NowPlaying tv = NowPlaying::tvAudio();

PlaybackState playing(const NowPlaying& item, double elapsed = 10, double sampledAfterT = 0) {
    return PlaybackState::playing(item, Duration::seconds(elapsed), T.addingSeconds(sampledAfterT));
}
PlaybackState paused(const NowPlaying& item, double elapsed = 10) {
    return PlaybackState::paused(item, Duration::seconds(elapsed));
}

// Speaker X has volume 10 + its position in the alphabet, so fallbacks are recognisable.
Speaker speaker(char id, std::size_t satellites = 0) {
    std::vector<BondedSatellite> bonded;
    for (std::size_t i = 0; i < satellites; ++i) {
        bonded.push_back(BondedSatellite{sp(static_cast<char>('a' + i)), sp(id), SatelliteRole::rearLeft(),
                                         std::nullopt, std::nullopt, true, std::nullopt});
    }
    return Speaker{sp(id), std::string("Room ") + id, SpeakerModel::one(), ReachabilityState::online("192.168.1.10"),
                   DiscreteVolume::snappingPercent(10 + (id - 'A')), std::move(bonded)};
}

HouseholdSnapshot::SpeakerMap speakers(std::string_view ids, std::map<char, std::size_t> satellites = {}) {
    HouseholdSnapshot::SpeakerMap out;
    for (char id : ids) out.emplace(sp(id), speaker(id, satellites[id]));
    return out;
}

// Group statuses are given volume 50 + position, apart from every speaker volume.
HouseholdSnapshot::StatusMap statuses(std::initializer_list<std::pair<char, PlaybackState>> entries) {
    HouseholdSnapshot::StatusMap out;
    for (const auto& [id, playback] : entries) {
        out.insert_or_assign(group(id), GroupStatus{playback, DiscreteVolume::snappingPercent(50 + (id - 'A'))});
    }
    return out;
}

HouseholdSnapshot snapshot(HouseholdSnapshot::SpeakerMap speakerMap, std::string_view grouping,
                           HouseholdSnapshot::StatusMap status, std::set<GroupID> preferred = {}) {
    return HouseholdSnapshot(T, std::move(speakerMap), topology(grouping), std::move(status), RFPeerMatrix::empty(),
                             std::nullopt, std::nullopt, preferred);
}

// "A:P B:p C:s": playing, paused or stopped per status entry, in id order.
std::string summary(const HouseholdSnapshot::StatusMap& status) {
    std::string out;
    for (const auto& [id, s] : status) {
        if (!out.empty()) out += ' ';
        out += orvel::testing::letter(id.coordinator);
        out += s.playback.isPlaying() ? ":P" : (s.playback.isPaused() ? ":p" : ":s");
    }
    return out;
}

}  // namespace

TEST(HouseholdSnapshot, SanitizingKeepsEachSessionInOneGroup) {
    struct Case {
        const char* name;
        std::string_view speakerIDs;
        std::map<char, std::size_t> satellites;
        std::string_view grouping;
        HouseholdSnapshot::StatusMap status;
        std::set<GroupID> preferred;
        const char* expected;
    };
    const Case cases[] = {
        {"one group: untouched, even entries that are no group", "ABC", {}, "AA BA CA",
         statuses({{'A', playing(song)}, {'C', playing(song)}, {'D', paused(song)}}), {}, "A:P C:P D:p"},
        {"larger group keeps the session", "ABCDE", {}, "AA BA CA DD ED",
         statuses({{'A', playing(song)}, {'D', playing(song)}}), {}, "A:P D:s"},
        {"preferred group keeps it whatever the sizes", "ABCDE", {}, "AA BA CA DD ED",
         statuses({{'A', playing(song)}, {'D', playing(song)}}), {group('D')}, "A:s D:P"},
        {"equal sizes: more satellites keeps it", "ABCD", {{'C', 2}}, "AA BA CC DC",
         statuses({{'A', playing(song)}, {'C', playing(song)}}), {}, "A:s C:P"},
        {"equal sizes and satellites: smaller id keeps it", "ABCD", {{'A', 1}, {'C', 1}}, "AA BA CC DC",
         statuses({{'C', playing(song)}, {'A', playing(song)}}), {}, "A:P C:s"},
        {"a coordinator without a speaker counts no satellites", "BCD", {{'C', 1}}, "AA BA CC DC",
         statuses({{'A', playing(song)}, {'C', playing(song)}}), {}, "A:s C:P"},
        {"different sessions both play", "ABC", {}, "AA BB CC",
         statuses({{'A', playing(song)}, {'B', playing(otherSong)}}), {}, "A:P B:P"},
        {"any two Spotify tracks are one session", "ABC", {}, "AA BB CB",
         statuses({{'A', playing(spotifyA)}, {'B', playing(spotifyB)}}), {}, "A:s B:P"},
        {"three claims, two winners", "ABCDEF", {}, "AA BA CA DD ED FF",
         statuses({{'A', playing(song)}, {'D', playing(song)}, {'F', playing(otherSong)}}), {}, "A:P D:s F:P"},
        {"music plays: paused stream stops, paused TV stays", "ABC", {}, "AA BB CC",
         statuses({{'A', playing(song)}, {'B', paused(radio)}, {'C', paused(tv)}}), {}, "A:P B:s C:p"},
        {"music plays: paused other track stops", "ABC", {}, "AA BB CC",
         statuses({{'A', playing(radio)}, {'B', paused(otherSong)}}), {}, "A:P B:s"},
        {"only TV plays: paused queue track stays, paused Spotify stops", "ABC", {}, "AA BB CC",
         statuses({{'A', playing(tv)}, {'B', paused(song)}, {'C', paused(spotifyA)}}), {}, "A:P B:p C:s"},
        {"only TV plays: paused stream stops", "AB", {}, "AA BB",
         statuses({{'A', playing(tv)}, {'B', paused(radio)}}), {}, "A:P B:s"},
        {"two TV inputs never share a session", "AB", {}, "AA BB", statuses({{'A', playing(tv)}, {'B', playing(tv)}}),
         {}, "A:P B:P"},
        {"nothing plays: paused duplicate stops, first in order stays", "ABC", {}, "AA BB CB",
         statuses({{'A', paused(song)}, {'B', paused(song)}}), {}, "A:s B:p"},
        {"nothing plays: preferred paused group stays", "ABC", {}, "AA BB CB",
         statuses({{'A', paused(song)}, {'B', paused(song)}}), {group('A')}, "A:p B:s"},
        {"nothing plays: unrelated paused groups stay", "ABC", {}, "AA BB CC",
         statuses({{'A', paused(song)}, {'B', paused(otherSong)}, {'C', paused(radio)}}), {}, "A:p B:p C:p"},
        {"entries that are no group pass through", "AB", {}, "AA BB",
         statuses({{'A', playing(song)}, {'C', playing(song)}, {'D', paused(radio)}}), {}, "A:P C:P D:p"},
    };
    for (const auto& c : cases) {
        auto s = snapshot(speakers(c.speakerIDs, c.satellites), c.grouping, c.status, c.preferred);
        EXPECT_EQ(summary(s.groupStatus()), c.expected) << c.name;
        // Entries are only ever replaced by a stopped status of the same volume.
        ASSERT_EQ(s.groupStatus().size(), c.status.size()) << c.name;
        for (const auto& [id, status] : s.groupStatus()) {
            EXPECT_EQ(status.volume, c.status.at(id).volume) << c.name;
            if (!status.playback.isStopped()) {
                EXPECT_EQ(status, c.status.at(id)) << c.name;
            }
        }
    }
}

TEST(HouseholdSnapshot, GroupsCarryTheSanitizedStatusAndNeverShowStrayEntries) {
    auto s = snapshot(speakers("ABCDE"), "AA BA CA DD ED",
                      statuses({{'A', playing(song)}, {'D', playing(song)}, {'F', playing(radio)}}));
    ASSERT_EQ(s.groups().size(), 2u);
    for (const auto& g : s.groups()) {
        EXPECT_NE(g.id, group('F'));
        EXPECT_EQ(g.playback, s.status(g.id).playback);
        EXPECT_EQ(g.volume, s.status(g.id).volume);
    }
    EXPECT_TRUE(s.status(group('D')).playback.isStopped());
    EXPECT_TRUE(s.status(group('A')).playback.isPlaying());
}

TEST(HouseholdSnapshot, StatusFallsBackToStoppedAtTheCoordinatorsVolume) {
    auto s = snapshot(speakers("ABC"), "AA BB CC", statuses({{'A', paused(song)}}));
    EXPECT_EQ(s.status(group('A')), (GroupStatus{paused(song), DiscreteVolume::snappingPercent(50)}));
    EXPECT_EQ(s.status(group('B')), (GroupStatus{PlaybackState::stopped(), DiscreteVolume::snappingPercent(11)}));
    EXPECT_EQ(s.status(group('Z')), (GroupStatus{PlaybackState::stopped(), DiscreteVolume()}));
    // A group without an entry shows the fallback too.
    ASSERT_EQ(s.groups().size(), 3u);
    EXPECT_EQ(s.groups()[1].id, group('B'));
    EXPECT_TRUE(s.groups()[1].playback.isStopped());
    EXPECT_EQ(s.groups()[1].volume, DiscreteVolume::snappingPercent(11));
}

TEST(HouseholdSnapshot, SemanticEquivalence) {
    auto withBattery = [](double sampledAt) {
        auto map = speakers("ABC");
        map.at(sp('C')).model = SpeakerModel::roam(BatteryTelemetry{80, false, 25, Date::sinceReferenceDate(sampledAt)});
        return map;
    };
    auto make = [&](HouseholdSnapshot::SpeakerMap map, std::string_view grouping, HouseholdSnapshot::StatusMap status,
                    Date observedAt = T, std::optional<std::vector<PresetPill>> presets = std::nullopt,
                    std::optional<std::string> networkName = std::nullopt, RFPeerMatrix rf = RFPeerMatrix::empty()) {
        return HouseholdSnapshot(observedAt, std::move(map), topology(grouping), std::move(status), std::move(rf),
                                 std::move(presets), std::move(networkName));
    };
    const auto baseStatus = statuses({{'A', playing(song, 10, 0)}, {'C', paused(tv, 5)}});
    const auto base = make(withBattery(100), "AA BA CC", baseStatus);
    // Paused TV audio survives the sanitizer, so paused positions are really compared below.
    ASSERT_TRUE(base.status(group('C')).playback.isPaused());

    RFPeerMatrix linked;
    linked.record(sp('A'), sp('B'), 40, 40);
    auto louder = speakers("ABC");
    louder.at(sp('B')).volume = DiscreteVolume::snappingPercent(90);
    auto withStray = baseStatus;
    withStray.insert_or_assign(group('B'), GroupStatus{playing(otherSong), DiscreteVolume::snappingPercent(3)});
    auto groupLouder = baseStatus;
    groupLouder.at(group('A')).volume = DiscreteVolume::snappingPercent(99);
    auto explicitFallback = statuses({{'A', playing(song, 10, 0)}});
    auto otherFallback = explicitFallback;
    explicitFallback.insert_or_assign(group('C'), GroupStatus{PlaybackState::stopped(), DiscreteVolume::snappingPercent(12)});
    otherFallback.insert_or_assign(group('C'), GroupStatus{PlaybackState::stopped(), DiscreteVolume::snappingPercent(13)});

    struct Case {
        const char* name;
        HouseholdSnapshot a;
        HouseholdSnapshot b;
        bool equivalent;
    };
    const Case cases[] = {
        {"identical", base, base, true},
        {"only the observation time differs", base, make(withBattery(100), "AA BA CC", baseStatus, T.addingSeconds(60)),
         true},
        {"only a battery sample time differs", base, make(withBattery(160), "AA BA CC", baseStatus), true},
        {"playing position within 3 s once carried forward", base,
         make(withBattery(100), "AA BA CC", statuses({{'A', playing(song, 15.5, 3)}, {'C', paused(tv, 5)}})), true},
        {"playing position 3.5 s off", base,
         make(withBattery(100), "AA BA CC", statuses({{'A', playing(song, 16.5, 3)}, {'C', paused(tv, 5)}})), false},
        {"newer sample compared with an older one is not carried back",
         make(withBattery(100), "AA BA CC", statuses({{'A', playing(song, 14, 4)}, {'C', paused(tv, 5)}})), base,
         false},
        {"paused position a millisecond off", base,
         make(withBattery(100), "AA BA CC", statuses({{'A', playing(song, 10, 0)}, {'C', paused(tv, 5.001)}})),
         false},
        {"group volume differs", base, make(withBattery(100), "AA BA CC", groupLouder), false},
        {"speaker volume differs", make(speakers("ABC"), "AA BA CC", baseStatus),
         make(louder, "AA BA CC", baseStatus), false},
        {"a speaker more", make(speakers("ABC"), "AA BA CC", baseStatus), make(speakers("ABCD"), "AA BA CC", baseStatus),
         false},
        {"same count, other speaker", make(speakers("ABC"), "AA BA CC", baseStatus),
         make(speakers("ABD"), "AA BA CC", baseStatus), false},
        {"topology differs", base, make(withBattery(100), "AA BB CC", baseStatus), false},
        {"radio matrix differs", base, make(withBattery(100), "AA BA CC", baseStatus, T, std::nullopt, std::nullopt, linked),
         false},
        {"network name absent against empty", base, make(withBattery(100), "AA BA CC", baseStatus, T, std::nullopt, ""),
         false},
        {"network names equal", make(withBattery(100), "AA BA CC", baseStatus, T, std::nullopt, "Home"),
         make(withBattery(100), "AA BA CC", baseStatus, T, std::nullopt, "Home"), true},
        {"presets absent against empty", base,
         make(withBattery(100), "AA BA CC", baseStatus, T, std::vector<PresetPill>{}), false},
        {"status of an id that is no group is ignored", base, make(withBattery(100), "AA BA CC", withStray), true},
        {"missing entry equals its explicit fallback", make(speakers("ABC"), "AA BA CC", statuses({{'A', playing(song, 10, 0)}})),
         make(speakers("ABC"), "AA BA CC", explicitFallback), true},
        {"missing entry against another volume", make(speakers("ABC"), "AA BA CC", statuses({{'A', playing(song, 10, 0)}})),
         make(speakers("ABC"), "AA BA CC", otherFallback), false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.a.isSemanticallyEquivalent(c.b), c.equivalent) << c.name;

    // The tolerance is one-sided: the earlier snapshot accepts the later one, not the reverse.
    const auto later = make(withBattery(100), "AA BA CC", statuses({{'A', playing(song, 14, 3)}, {'C', paused(tv, 5)}}));
    EXPECT_TRUE(base.isSemanticallyEquivalent(later));
    EXPECT_FALSE(later.isSemanticallyEquivalent(base));
}

TEST(HouseholdSnapshot, EqualityCoversObservationTimeAndHashAgrees) {
    auto a = snapshot(speakers("AB"), "AA BA", statuses({{'A', playing(song)}}));
    auto b = snapshot(speakers("AB"), "AA BA", statuses({{'A', playing(song)}}));
    auto later = HouseholdSnapshot(T.addingSeconds(1), speakers("AB"), topology("AA BA"),
                                   statuses({{'A', playing(song)}}), RFPeerMatrix::empty(), std::nullopt, std::nullopt);
    EXPECT_EQ(a, b);
    EXPECT_EQ(std::hash<HouseholdSnapshot>{}(a), std::hash<HouseholdSnapshot>{}(b));
    EXPECT_NE(a, later);
    EXPECT_TRUE(a.isSemanticallyEquivalent(later));
}

TEST(HouseholdSnapshot, ReplacingSanitizesWithoutPreferenceAndRegroups) {
    std::vector<PresetPill> presets{PresetPill(PresetID::random(), "Evening", sp('A'), {sp('B')})};
    RFPeerMatrix rf;
    rf.record(sp('A'), sp('C'), 10, 12);
    const HouseholdSnapshot base(T, speakers("ABCD"), topology("AA BA CC DD"), statuses({{'A', playing(song)}}), rf,
                                 presets, "Home");

    // A second group starting the session that the larger group plays loses it again.
    auto contested = base.replacing(std::nullopt, std::nullopt,
                                    std::pair{group('C'), GroupStatus{playing(song), DiscreteVolume::snappingPercent(40)}});
    EXPECT_EQ(summary(contested.groupStatus()), "A:P C:s");
    EXPECT_EQ(contested.status(group('C')).volume, DiscreteVolume::snappingPercent(40));

    // A new grouping regroups and renames; everything not replaced stays.
    auto joined = base.replacing(std::nullopt, topology("AA BA CA DD"));
    ASSERT_EQ(joined.groups().size(), 2u);
    EXPECT_EQ(joined.groups()[0].displayName, "Room A + Room B + Room C");
    EXPECT_EQ(joined.groups()[0].members.size(), 2u);
    EXPECT_EQ(joined.observedAt(), base.observedAt());
    EXPECT_EQ(joined.rf(), rf);
    EXPECT_EQ(joined.presets(), presets);
    EXPECT_EQ(joined.networkName(), "Home");
    EXPECT_EQ(joined.groupStatus(), base.groupStatus());

    auto renamedSpeakers = base.speakers();
    renamedSpeakers.at(sp('D')).roomName = "Attic";
    auto renamed = base.replacing(renamedSpeakers);
    EXPECT_EQ(renamed.groups()[0].displayName, "Attic");
    EXPECT_EQ(renamed.topology(), base.topology());

    EXPECT_EQ(base.replacing(), base);
}

TEST(HouseholdSnapshot, SanitizingAgainReturnsACleanSnapshotUnchanged) {
    const auto clean = snapshot(speakers("ABCDE"), "AA BA CA DD ED", statuses({{'A', playing(song)}, {'D', playing(song)}}));
    ASSERT_EQ(summary(clean.groupStatus()), "A:P D:s");
    // Preferring the group that already lost cannot bring the session back to it.
    for (const auto& preferred : {std::set<GroupID>{}, std::set<GroupID>{group('D')}, std::set<GroupID>{group('A')}}) {
        auto again = clean.sanitizingPlaybackSessions(preferred);
        EXPECT_EQ(again, clean);
        EXPECT_EQ(again.observedAt(), clean.observedAt());
        EXPECT_EQ(again.groups(), clean.groups());
    }
}
