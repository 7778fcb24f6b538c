// Speakers that do not answer, or answer nothing that can be used: the others are swept on the
// sweep's own pace, a command to another speaker goes through, nothing is made up for them, and
// a household larger than is taken keeps its last picture. Addresses: 127.202.40.* to 127.202.49.*.
#include "HouseholdRig.h"

#include "OrvelDomain/PlayPause.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;

namespace {

const QString topologyRead = QStringLiteral("ZoneGroupTopology#GetZoneGroupState");

qsizetype askedOf(const HouseholdRig& rig, int speaker) { return rig.fake.requestsTo(rig.id(speaker)).size(); }

// Waits until `speaker` has been asked something more than `before` times in all.
bool askedMore(const HouseholdRig& rig, int speaker, qsizetype before) {
    return waitUntil([&] { return askedOf(rig, speaker) > before; });
}

bool isPaused(const HouseholdRig& rig, const HouseholdSnapshot& snapshot) {
    return snapshot.status(rig.group(0)).playback.isPaused();
}

// Speaker 3 stops answering: first it refuses, which the next sweep notes at once, then it
// takes every connection and never answers. Its reads in later sweeps end on the short deadline
// of a speaker that did not answer; the others' reads have the full one, so advancing the clock
// by the short one never cuts theirs off, whether they are done or not.
void makeHang(HouseholdRig& rig, Subscription& subscription) {
    rig.fake.setReachability(rig.id(3), fakes::Reachability::Refused);
    ASSERT_TRUE(rig.nextSweep());
    ASSERT_EQ(subscription.last().notAnswering(), std::set<SpeakerUUID>{rig.uuid(3)});
    rig.fake.setReachability(rig.id(3), fakes::Reachability::Silent);
}

const std::chrono::milliseconds shortDeadline = SonosHousehold::Environment{}.silentSpeakerReadLimits.deadline;

TEST(UnansweringSpeaker, OneThatHangsHoldsUpNoSweepOfTheOthers) {
    START_HOUSEHOLD(rig, 40);
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(subscription.waitForCount(1));
    makeHang(rig, subscription);
    const Speaker lastKnown = subscription.snapshots().front().speakers().at(rig.uuid(3));

    // Every 2 s of the clock a sweep ends and shows the others' news.
    ASSERT_TRUE(rig.settle());
    rig.clock.advance(2s);
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        const int volume = 31 + round;
        rig.fake.model().editSpeaker(rig.id(1)).volume = volume;
        const qsizetype asked = askedOf(rig, 3);
        const std::uint64_t sweeps = rig.controller->completedSweeps();
        ASSERT_TRUE(askedMore(rig, 3, asked)) << "a sweep started on its pace";
        rig.clock.advance(shortDeadline);
        ASSERT_TRUE(rig.waitForSweeps(sweeps + 1));
        EXPECT_EQ(askedOf(rig, 3), asked + 1) << "one read of it per sweep, the rest left out";
        EXPECT_EQ(subscription.last().speakers().at(rig.uuid(1)).volume, DiscreteVolume::snappingPercent(volume));
        rig.clock.advance(2s - shortDeadline);
    }
    const Speaker& gone = subscription.last().speakers().at(rig.uuid(3));
    const Date lastAnswer = subscription.snapshots().front().observedAt();
    EXPECT_EQ(gone, lastKnown.with(ReachabilityState::offline(rig.ip(3), lastAnswer)))
        << "offline ten seconds after its last answer, as it last answered";
}

TEST(UnansweringSpeaker, ACommandToAnotherGoesThroughAndTheSweepItOvertookPublishesNothing) {
    START_HOUSEHOLD(rig, 41);
    rig.fake.seedDemoContent();  // speaker 0 plays its queue with speaker 1
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(subscription.waitForCount(1));
    makeHang(rig, subscription);
    ASSERT_TRUE(subscription.last().status(rig.group(0)).playback.isPlaying());

    ASSERT_TRUE(rig.settle());
    const qsizetype asked = askedOf(rig, 3);
    rig.clock.advance(2s);
    ASSERT_TRUE(askedMore(rig, 3, asked));
    // The sweep waits for speaker 3; the clock stands still, and the pause goes through.
    EXPECT_EQ(rig.send(SonosCommand::playPause(PlayPause::pause, rig.group(0))), succeeded(CommandOutcome::applied()));

    // Its readings of the group may be older than the pause: it publishes nothing.
    const std::size_t published = subscription.count();
    const std::uint64_t sweeps = rig.controller->completedSweeps();
    rig.clock.advance(shortDeadline);
    ASSERT_TRUE(rig.waitForSweeps(sweeps + 1));
    EXPECT_EQ(subscription.count(), published);

    // The next sweep follows at the busy pace and shows the pause.
    rig.clock.advance(200ms);
    ASSERT_TRUE(askedMore(rig, 3, asked + 1));
    rig.clock.advance(shortDeadline);
    ASSERT_TRUE(rig.waitForSweeps(sweeps + 2));
    EXPECT_TRUE(isPaused(rig, subscription.last()));
}

TEST(UnansweringSpeaker, OneWhoseRepliesCannotBeUsedIsNotMadeUp) {
    struct Case {
        const char* name;
        fakes::Reachability trouble;
    };
    const Case cases[] = {
        {"a reply header without end", fakes::Reachability::EndlessHeader},
        {"every request refused", fakes::Reachability::Forbidding},
        {"every connection dropped", fakes::Reachability::Dropping},
    };
    int block = 42;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        START_HOUSEHOLD(rig, block++);
        // Speaker 3 never gave a usable reply; speaker 2 did, once.
        rig.fake.setReachability(rig.id(3), c.trouble);
        rig.makeController();
        Subscription subscription(rig.controller->snapshots());
        ASSERT_TRUE(subscription.waitForCount(1));
        const Speaker first = subscription.last().speakers().at(rig.uuid(2));
        const Speaker& never = subscription.last().speakers().at(rig.uuid(3));
        EXPECT_EQ(never.reachability, ReachabilityState::offline(rig.ip(3), rig.clock.now()));
        EXPECT_TRUE(never.model.isUnread()) << "no model is made up";
        EXPECT_EQ(never.roomName, "Office") << "the listing is all that is known";

        rig.fake.setReachability(rig.id(2), c.trouble);
        ASSERT_TRUE(rig.nextSweep());
        EXPECT_EQ(subscription.last().speakers().at(rig.uuid(2)), first) << "its last known form";
        EXPECT_EQ(subscription.last().notAnswering(), std::set<SpeakerUUID>{rig.uuid(2)});
    }
}

TEST(UnansweringSpeaker, AHouseholdLargerThanIsTakenKeepsItsLastPicture) {
    START_HOUSEHOLD(rig, 45);
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(subscription.waitForCount(1));
    ASSERT_TRUE(rig.settle());

    // 129 rooms: 125 more are listed, nothing listens at their addresses.
    for (int i = 4; i < 129; ++i) {
        const QString id = rig.fake.addSpeaker(fakes::FakeHousehold::standardSpeaker(blockAddress(45, 2 + i), i));
        rig.fake.setReachability(id, fakes::Reachability::Refused);
    }
    for (int sweep = 0; sweep < 7; ++sweep) {
        const qsizetype reads = rig.requestCount(topologyRead);
        ASSERT_TRUE(rig.nextSweep());
        EXPECT_EQ(rig.requestCount(topologyRead), reads + 1) << "asked once per sweep, of one speaker";
    }
    EXPECT_EQ(subscription.count(), 1u) << "neither the refused household nor an empty one is published";
    EXPECT_EQ(rig.logLines().filter(QStringLiteral("lists 129 speakers, more than 128")).size(), 1);
}

}  // namespace
