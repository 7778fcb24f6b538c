#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TopologyFixtures.h"
#include "OrvelDomain/HouseholdSnapshot.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

const Date T = Date::sinceReferenceDate(700'000'000.0);

NowPlaying track(std::string title, std::optional<std::int64_t> queuePosition, std::optional<SpotifyURI> uri) {
    return NowPlaying::track(NowPlayingTrack(std::move(title), "Band", std::nullopt, std::nullopt, std::nullopt,
                                             queuePosition, std::move(uri), std::nullopt, {}, std::nullopt));
}

const NowPlaying song = track("Song", 3, std::nullopt);
const NowPlaying otherSong = track("Other Song", 3, std::nullopt);
const NowPlaying spotifyA = track("Spotify Song", std::nullopt, SpotifyURI::make("spotify:track:4uLU6hMCjMI75M1A2tKUQC"));
const NowPlaying spotifyB = track("Spotify Song", std::nullopt, SpotifyURI::make("spotify:track:7GhIk7Il098yCjg4BQjzvb"));
const NowPlaying radio = NowPlaying::stream("Jazz FM");
const NowPlaying tv = NowPlaying::tvAudio();

PlaybackState playing(const NowPlaying& item, double elapsed = 10, double sampledAfterT = 0) {
    return PlaybackState::playing(item, Duration::seconds(elapsed), T.addingSeconds(sampledAfterT));
}
PlaybackState paused(const NowPlaying& item, double elapsed = 10) { return PlaybackState::paused(item, Duration::seconds(elapsed)); }

// Speaker X ("Room X") has volume 10 + its position in the alphabet, so fallbacks are recognisable.
HouseholdSnapshot::SpeakerMap speakerMap(std::string_view ids, std::map<char, std::size_t> satellites = {}) {
    HouseholdSnapshot::SpeakerMap out;
    for (char id : ids) {
        std::vector<BondedSatellite> bonded;
        for (std::size_t i = 0; i < satellites[id]; ++i) {
            bonded.push_back(BondedSatellite{sp(static_cast<char>('a' + i)), sp(id), SatelliteRole::rearLeft(), std::nullopt,
                                             std::nullopt, true, std::nullopt});
        }
        Speaker s = speaker(sp(id), std::string("Room ") + id, {.volume = 10 + (id - 'A')});
        s.bondedSatellites = std::move(bonded);
        out.emplace(sp(id), std::move(s));
    }
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

HouseholdSnapshot snapshot(HouseholdSnapshot::SpeakerMap speakers, std::string_view grouping, HouseholdSnapshot::StatusMap status,
                           std::set<GroupID> preferred = {}) {
    return HouseholdSnapshot(T, std::move(speakers), topology(grouping), std::move(status), RFPeerMatrix::empty(), std::nullopt,
                             std::nullopt, preferred);
}

// "A:P B:p C:s": playing, paused or stopped per status entry, in id order.
std::string summary(const HouseholdSnapshot::StatusMap& status) {
    std::string out;
    for (const auto& [id, s] : status) {
        out += (out.empty() ? "" : " ") + std::string(1, letter(id.coordinator));
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
        {"larger group keeps the session", "ABCDE", {}, "AA BA CA DD ED", statuses({{'A', playing(song)}, {'D', playing(song)}}),
         {}, "A:P D:s"},
        {"preferred group keeps it whatever the sizes", "ABCDE", {}, "AA BA CA DD ED",
         statuses({{'A', playing(song)}, {'D', playing(song)}}), {group('D')}, "A:s D:P"},
        {"equal sizes: more satellites keeps it", "ABCD", {{'C', 2}}, "AA BA CC DC",
         statuses({{'A', playing(song)}, {'C', playing(song)}}), {}, "A:s C:P"},
        {"equal sizes and satellites: smaller id keeps it", "ABCD", {{'A', 1}, {'C', 1}}, "AA BA CC DC",
         statuses({{'C', playing(song)}, {'A', playing(song)}}), {}, "A:P C:s"},
        {"a coordinator without a speaker counts no satellites", "BCD", {{'C', 1}}, "AA BA CC DC",
         statuses({{'A', playing(song)}, {'C', playing(song)}}), {}, "A:s C:P"},
        {"different sessions both play", "ABC", {}, "AA BB CC", statuses({{'A', playing(song)}, {'B', playing(otherSong)}}), {},
         "A:P B:P"},
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
        {"only TV plays: paused stream stops", "AB", {}, "AA BB", statuses({{'A', playing(tv)}, {'B', paused(radio)}}), {},
         "A:P B:s"},
        {"two TV inputs never share a session", "AB", {}, "AA BB", statuses({{'A', playing(tv)}, {'B', playing(tv)}}), {},
         "A:P B:P"},
        {"nothing plays: paused duplicate stops, first in order stays", "ABC", {}, "AA BB CB",
         statuses({{'A', paused(song)}, {'B', paused(song)}}), {}, "A:s B:p"},
        {"nothing plays: preferred paused group stays", "ABC", {}, "AA BB CB",
         statuses({{'A', paused(song)}, {'B', paused(song)}}), {group('A')}, "A:p B:s"},
        {"nothing plays: unrelated paused groups stay", "ABC", {}, "AA BB CC",
         statuses({{'A', paused(song)}, {'B', paused(otherSong)}, {'C', paused(radio)}}), {}, "A:p B:p C:p"},
    };
    for (const auto& c : cases) {
        auto s = snapshot(speakerMap(c.speakerIDs, c.satellites), c.grouping, c.status, c.preferred);
        EXPECT_EQ(summary(s.groupStatus()), c.expected) << c.name;
        // Entries are only ever replaced by a stopped status of the same volume.
        ASSERT_EQ(s.groupStatus().size(), c.status.size()) << c.name;
        for (const auto& [id, status] : s.groupStatus()) {
            EXPECT_EQ(status.volume, c.status.at(id).volume) << c.name;
            if (!status.playback.isStopped()) {
                EXPECT_EQ(status, c.status.at(id)) << c.name;
            }
        }
        // Sanitizing a clean snapshot again changes nothing, whichever group is preferred.
        for (const auto& preferred : {std::set<GroupID>{}, std::set<GroupID>{group('A')}, std::set<GroupID>{group('D')}}) {
            EXPECT_EQ(s.sanitizingPlaybackSessions(preferred), s) << c.name;
        }
    }
}

TEST(HouseholdSnapshot, GroupsCarryTheSanitizedStatusOrAStoppedFallback) {
    auto s = snapshot(speakerMap("ABCDE"), "AA BA CA DD ED", statuses({{'A', playing(song)}, {'D', playing(song)}, {'F', playing(radio)}}));
    ASSERT_EQ(s.groups().size(), 2u);
    for (const auto& g : s.groups()) EXPECT_EQ((GroupStatus{g.playback, g.volume}), s.status(g.id));
    EXPECT_TRUE(s.status(group('D')).playback.isStopped());
    EXPECT_TRUE(s.status(group('A')).playback.isPlaying());

    // Without an entry: stopped at the coordinator's own volume, or the default for no speaker.
    auto sparse = snapshot(speakerMap("ABC"), "AA BB CC", statuses({{'A', paused(song)}}));
    EXPECT_EQ(sparse.status(group('A')), (GroupStatus{paused(song), DiscreteVolume::snappingPercent(50)}));
    EXPECT_EQ(sparse.status(group('B')), (GroupStatus{PlaybackState::stopped(), DiscreteVolume::snappingPercent(11)}));
    EXPECT_EQ(sparse.status(group('Z')), (GroupStatus{PlaybackState::stopped(), DiscreteVolume()}));
}

namespace {
// C is a Roam whose battery was read at the given time.
HouseholdSnapshot::SpeakerMap withBattery(double sampledAt) {
    auto map = speakerMap("ABC");
    map.at(sp('C')).model = SpeakerModel::roam(BatteryTelemetry{80, false, 25, Date::sinceReferenceDate(sampledAt)});
    return map;
}
}  // namespace

TEST(HouseholdSnapshot, SemanticEquivalence) {
    struct Parts {
        HouseholdSnapshot::SpeakerMap speakers = withBattery(100);
        std::string grouping = "AA BA CC";
        HouseholdSnapshot::StatusMap status = statuses({{'A', playing(song, 10, 0)}, {'C', paused(tv, 5)}});
        Date observedAt = T;
        std::optional<std::vector<PresetPill>> presets;
        std::optional<std::string> networkName;
        RFPeerMatrix rf;
        HouseholdSnapshot build() const {
            return HouseholdSnapshot(observedAt, speakers, topology(grouping), status, rf, presets, networkName);
        }
    };
    using Change = std::function<void(Parts&)>;
    struct Case { const char* name; Change change; bool equivalent; };
    const Case cases[] = {
        {"identical", [](Parts&) {}, true},
        {"only the observation time differs", [](Parts& p) { p.observedAt = T.addingSeconds(60); }, true},
        {"only a battery sample time differs", [](Parts& p) { p.speakers = withBattery(160); }, true},
        {"playing position within 3 s once carried forward", [](Parts& p) { p.status.at(group('A')).playback = playing(song, 15.5, 3); }, true},
        {"playing position 3.5 s off", [](Parts& p) { p.status.at(group('A')).playback = playing(song, 16.5, 3); }, false},
        {"paused position a millisecond off", [](Parts& p) { p.status.at(group('C')).playback = paused(tv, 5.001); }, false},
        {"group volume differs", [](Parts& p) { p.status.at(group('A')).volume = DiscreteVolume::snappingPercent(99); }, false},
        {"speaker volume differs", [](Parts& p) { p.speakers.at(sp('B')).volume = DiscreteVolume::snappingPercent(90); }, false},
        {"a speaker more", [](Parts& p) { p.speakers.insert(*speakerMap("D").begin()); }, false},
        {"same count, other speaker", [](Parts& p) { p.speakers.erase(sp('B')); p.speakers.insert(*speakerMap("D").begin()); }, false},
        {"topology differs", [](Parts& p) { p.grouping = "AA BB CC"; }, false},
        {"radio matrix differs", [](Parts& p) { p.rf.record(sp('A'), sp('B'), 40, 40); }, false},
        {"network name absent against empty", [](Parts& p) { p.networkName = ""; }, false},
        {"presets absent against empty", [](Parts& p) { p.presets = std::vector<PresetPill>{}; }, false},
        {"status of an id that is no group is ignored",
         [](Parts& p) { p.status.insert_or_assign(group('B'), GroupStatus{playing(otherSong), DiscreteVolume::snappingPercent(3)}); }, true},
    };
    const auto base = Parts{}.build();
    // Paused TV audio survives the sanitizer, so paused positions are really compared.
    ASSERT_TRUE(base.status(group('C')).playback.isPaused());
    for (const auto& c : cases) {
        Parts changed;
        c.change(changed);
        EXPECT_EQ(base.isSemanticallyEquivalent(changed.build()), c.equivalent) << c.name;
    }

    // A missing entry equals its explicit fallback (stopped at the coordinator's volume) and nothing else.
    Parts sparse;
    sparse.status.erase(group('C'));
    Parts fallback = sparse;
    fallback.status.insert_or_assign(group('C'), GroupStatus{PlaybackState::stopped(), DiscreteVolume::snappingPercent(12)});
    EXPECT_TRUE(sparse.build().isSemanticallyEquivalent(fallback.build()));
    fallback.status.at(group('C')).volume = DiscreteVolume::snappingPercent(13);
    EXPECT_FALSE(sparse.build().isSemanticallyEquivalent(fallback.build()));

    // The tolerance is one-sided: the earlier snapshot accepts the later one, not the reverse.
    Parts later;
    later.status.at(group('A')).playback = playing(song, 14, 3);
    EXPECT_TRUE(base.isSemanticallyEquivalent(later.build()));
    EXPECT_FALSE(later.build().isSemanticallyEquivalent(base));
}

TEST(HouseholdSnapshot, ReplacingSanitizesWithoutPreferenceAndRegroups) {
    std::vector<PresetPill> presets{PresetPill(PresetID::random(), "Evening", sp('A'), {sp('B')})};
    RFPeerMatrix rf;
    rf.record(sp('A'), sp('C'), 10, 12);
    const HouseholdSnapshot base(T, speakerMap("ABCD"), topology("AA BA CC DD"), statuses({{'A', playing(song)}}), rf, presets,
                                 "Home");

    // A second group starting the session that the larger group plays loses it again.
    auto contested =
        base.replacing(std::nullopt, std::nullopt, std::pair{group('C'), GroupStatus{playing(song), DiscreteVolume::snappingPercent(40)}});
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
