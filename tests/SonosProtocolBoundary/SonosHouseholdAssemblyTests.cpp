// The rules that turn one sweep's readings into snapshot parts, without a network: speakers that
// stop answering, radio proximity and a room's speaker.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "SonosProtocolBoundary/SonosHouseholdAssembly.h"
#include "common/Households.h"

using namespace orvel;
using namespace orvel::household;
using orvel::testing::sp;
using namespace std::chrono_literals;

namespace {

Speaker speaker(int n, int volume = 30, std::string ip = "127.0.2.1") {
    return Speaker{sp(n), "Room " + std::to_string(n), SpeakerModel::one(), ReachabilityState::online(std::move(ip)),
                   *DiscreteVolume::make(volume), {}};
}

const Clock::Instant t0 = Clock::Instant(std::chrono::hours(5));
const Date wall0 = Date::fromUnix(1'700'000'000.0);

Clock::Instant at(std::chrono::seconds s) { return t0 + s; }
Date wallAt(std::chrono::seconds s) { return wall0.addingSeconds(static_cast<double>(s.count())); }

struct PresenceCase {
    const char* name;
    bool listed;
    bool answered;
    // When the speaker was last seen before this sweep, if it is remembered at all.
    std::optional<std::chrono::seconds> lastSeen;
    bool rememberedOffline;
    // What the snapshot shows at t = 20 s with offline after 10 s.
    enum { online, lastKnown, offline, absent } expected;
    // The time the offline form names, when offline.
    std::chrono::seconds expectedLastSeen;
};

class SpeakerPresence : public ::testing::TestWithParam<PresenceCase> {};

TEST_P(SpeakerPresence, FollowsTheOfflineRule) {
    const PresenceCase& c = GetParam();
    const Speaker before = speaker(1, 30, "127.0.2.7");
    const Speaker readNow = speaker(1, 55, "127.0.2.7");
    std::map<SpeakerUUID, RememberedSpeaker> memory;
    if (c.lastSeen) {
        Speaker remembered = before;
        if (c.rememberedOffline) remembered = before.with(ReachabilityState::offline("127.0.2.7", wallAt(*c.lastSeen)));
        memory.emplace(before.id, RememberedSpeaker{remembered, wallAt(*c.lastSeen), at(*c.lastSeen)});
    }
    std::map<SpeakerUUID, Speaker> listed;
    if (c.listed) listed.emplace(readNow.id, readNow);
    std::set<SpeakerUUID> answered;
    if (c.answered) answered.insert(readNow.id);

    const auto out = reconcileSpeakers(listed, answered, memory, wallAt(20s), at(20s), 10s);

    if (c.expected == PresenceCase::absent) {
        EXPECT_FALSE(out.contains(before.id));
        return;
    }
    ASSERT_TRUE(out.contains(before.id));
    const Speaker& shown = out.at(before.id);
    switch (c.expected) {
    case PresenceCase::online:
        EXPECT_EQ(shown, readNow);
        EXPECT_EQ(memory.at(before.id).lastSeenMonotonic, at(20s));
        break;
    case PresenceCase::lastKnown:
        EXPECT_TRUE(shown.reachability.isOnline());
        EXPECT_EQ(shown.volume, c.lastSeen ? before.volume : readNow.volume);
        // Its grace runs from when it was last seen, or from now for a newcomer.
        EXPECT_EQ(memory.at(before.id).lastSeenMonotonic, at(c.lastSeen.value_or(20s)));
        break;
    case PresenceCase::offline:
        ASSERT_TRUE(shown.reachability.isOffline());
        EXPECT_EQ(shown.reachability.asOffline()->lastKnownIP, "127.0.2.7");
        EXPECT_EQ(shown.reachability.asOffline()->lastSeenAt, wallAt(c.expectedLastSeen));
        EXPECT_EQ(shown.volume, before.volume) << "the offline form keeps the last known values";
        break;
    case PresenceCase::absent: break;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SpeakerPresence,
    ::testing::Values(
        PresenceCase{"AnsweredIsOnlineAsRead", true, true, 5s, false, PresenceCase::online, 0s},
        PresenceCase{"AnsweredAgainAfterBeingOffline", true, true, 0s, true, PresenceCase::online, 0s},
        PresenceCase{"SilentWithinGraceKeepsLastForm", true, false, 11s, false, PresenceCase::lastKnown, 0s},
        PresenceCase{"SilentAtExactlyTheLimitIsOffline", true, false, 10s, false, PresenceCase::offline, 10s},
        PresenceCase{"SilentLongAgoIsOffline", true, false, 2s, false, PresenceCase::offline, 2s},
        PresenceCase{"UnlistedWithinGraceKeepsLastForm", false, false, 15s, false, PresenceCase::lastKnown, 0s},
        PresenceCase{"UnlistedLongAgoIsOffline", false, false, 1s, false, PresenceCase::offline, 1s},
        PresenceCase{"OfflineStaysAtItsFirstTime", false, false, 1s, true, PresenceCase::offline, 1s},
        PresenceCase{"SilentNewcomerStartsItsGrace", true, false, std::nullopt, false, PresenceCase::lastKnown, 0s},
        PresenceCase{"NeverSeenIsAbsent", false, false, std::nullopt, false, PresenceCase::absent, 0s}),
    [](const auto& info) { return std::string(info.param.name); });

RadioStatus heard(std::initializer_list<std::pair<int, int>> peers) {
    RadioStatus status;
    for (auto [n, strength] : peers) {
        status.peers.push_back({std::string(sp(n).macHex()), strength, strength});
    }
    return status;
}

TEST(RadioMatrix, RecordsOnlyPairsOfCurrentSpeakers) {
    const std::map<SpeakerUUID, RadioStatus> readings{
        {sp(1), heard({{2, 40}, {3, 12}, {9, 50}})},  // 9 is not a speaker of the household
        {sp(2), heard({{1, 38}})},
        {sp(7), heard({{1, 45}})},  // 7 left the household
    };
    const RFPeerMatrix matrix = radioMatrix(readings, {sp(1), sp(2), sp(3)});
    EXPECT_EQ(matrix.band(sp(1), sp(2)), RFPeerMatrix::Band::strong);
    EXPECT_EQ(matrix.strength(sp(2), sp(1)), 40);
    EXPECT_EQ(matrix.band(sp(3), sp(1)), RFPeerMatrix::Band::weak);
    EXPECT_FALSE(matrix.band(sp(1), sp(7)));
    EXPECT_FALSE(matrix.band(sp(2), sp(3)));
    EXPECT_EQ(radioMatrix({}, {sp(1)}), RFPeerMatrix::empty());
}

ZoneGroupMember member(int n) {
    return ZoneGroupMember{sp(n), "Patio " + std::to_string(n), std::nullopt, {}};
}

TEST(RoomSpeaker, UsesTheReadingsAndFallsBackToWhatWasKnown) {
    DeviceDescription roam{"Patio", "Roam", "Sonos Roam", "S27", "00-0E", sp(4)};
    BatteryTelemetry battery{77, true, std::nullopt, wall0};
    RadioStatus radio;
    radio.rssi = -48;
    radio.noiseFloor = -5000;  // a misread, dropped

    const Speaker fresh = roomSpeaker(member(4), "127.0.2.4", {roam, *DiscreteVolume::make(12), battery, radio}, {}, nullptr);
    EXPECT_EQ(fresh.model, SpeakerModel::roam(battery));
    EXPECT_EQ(fresh.volume, *DiscreteVolume::make(12));
    EXPECT_EQ(fresh.reachability, ReachabilityState::online("127.0.2.4", -48, std::nullopt));
    EXPECT_EQ(fresh.roomName, "Patio 4");

    // Nothing read this time: the previous model and volume stand in.
    const Speaker kept = roomSpeaker(member(4), "127.0.2.4", {}, {}, &fresh);
    EXPECT_EQ(kept.model, fresh.model);
    EXPECT_EQ(kept.volume, fresh.volume);

    const Speaker unknown = roomSpeaker(member(4), "127.0.2.4", {}, {}, nullptr);
    EXPECT_TRUE(unknown.model.isUnrecognized());
    EXPECT_EQ(unknown.volume, DiscreteVolume());
}

}  // namespace
