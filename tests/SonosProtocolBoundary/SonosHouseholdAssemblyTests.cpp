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

TEST(SpeakerPresence, FollowsTheOfflineRule) {
    enum Shown { online, lastKnown, offline, unread, absent };
    struct Case {
        const char* name;
        bool listed;
        bool answered;
        std::optional<std::chrono::seconds> lastSeen;  // before this sweep, if remembered at all
        bool rememberedOffline;
        Shown expected;  // at t = 20 s, offline after 10 s; an offline form names lastSeen
        bool rememberedUnanswered = false;
    };
    const Case cases[] = {
        {"answered is online as read", true, true, 5s, false, online},
        {"answered again after being offline", true, true, 0s, true, online},
        {"silent within its grace keeps its last form", true, false, 11s, false, lastKnown},
        {"silent exactly at the limit is offline", true, false, 10s, false, offline},
        {"silent long ago is offline", true, false, 2s, false, offline},
        {"unlisted within its grace keeps its last form", false, false, 15s, false, lastKnown},
        {"unlisted long ago is offline", false, false, 1s, false, offline},
        {"offline stays at its first time", false, false, 1s, true, offline},
        {"a silent newcomer is offline at once where it is listed", true, false, std::nullopt, false, unread},
        {"never seen is absent", false, false, std::nullopt, false, absent},
        {"a newcomer that never answered and is no longer listed is forgotten", false, false, 5s, false, absent, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Speaker before = speaker(1, 30, "127.0.2.7");
        const Speaker readNow = speaker(1, 55, "127.0.2.7");
        std::map<SpeakerUUID, RememberedSpeaker> memory;
        if (c.lastSeen) {
            Speaker remembered = before;
            if (c.rememberedOffline) remembered = before.with(ReachabilityState::offline("127.0.2.7", wallAt(*c.lastSeen)));
            memory.emplace(before.id, RememberedSpeaker{remembered, wallAt(*c.lastSeen), at(*c.lastSeen), !c.rememberedUnanswered});
        }
        std::map<SpeakerUUID, Speaker> listed;
        if (c.listed) listed.emplace(readNow.id, readNow);
        std::set<SpeakerUUID> answered;
        if (c.answered) answered.insert(readNow.id);

        const auto out = reconcileSpeakers(listed, answered, memory, wallAt(20s), at(20s), 10s);
        ASSERT_EQ(out.speakers.contains(before.id), c.expected != absent);
        EXPECT_EQ(out.notAnswering.contains(before.id), c.expected == lastKnown) << "only a last known form is marked";
        if (c.expected == absent) {
            EXPECT_FALSE(memory.contains(before.id));
            continue;
        }
        const Speaker& shown = out.speakers.at(before.id);
        switch (c.expected) {
        case online:
            EXPECT_EQ(shown, readNow);
            EXPECT_EQ(memory.at(before.id).lastSeenMonotonic, at(20s));
            break;
        case lastKnown:
            EXPECT_TRUE(shown.reachability.isOnline());
            EXPECT_EQ(shown.volume, before.volume);
            EXPECT_EQ(memory.at(before.id).lastSeenMonotonic, at(*c.lastSeen));
            break;
        case unread:
            // Nothing of it but its listing is known: not shown as present with made-up values.
            EXPECT_EQ(shown.reachability, ReachabilityState::offline("127.0.2.7", wallAt(20s)));
            EXPECT_FALSE(memory.at(before.id).hasAnswered);
            break;
        case offline:
            ASSERT_TRUE(shown.reachability.isOffline());
            EXPECT_EQ(shown.reachability.asOffline()->lastKnownIP, "127.0.2.7");
            EXPECT_EQ(shown.reachability.asOffline()->lastSeenAt, wallAt(*c.lastSeen));
            EXPECT_EQ(shown.volume, before.volume) << "the offline form keeps the last known values";
            break;
        case absent: break;
        }
    }
}

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
    EXPECT_TRUE(unknown.model.isUnread());
    EXPECT_EQ(unknown.volume, DiscreteVolume());
}

}  // namespace
