// Subscribing to the household's snapshots: what a new subscriber gets, when snapshots are
// published, and how the sweeps follow the subscribers. Addresses: 127.202.1.* to 127.202.9.*.
#include "HouseholdRig.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

TEST(HouseholdSubscription, CreatingTheControllerWritesOneLineAndSendsNothing) {
    START_HOUSEHOLD(rig, 1);
    rig.makeController({rig.ip(0), "not an address", "10.0.0"});
    QCoreApplication::processEvents();

    EXPECT_FALSE(rig.controller->isSweeping());
    EXPECT_TRUE(rig.fake.requests().isEmpty());
    const QStringList lines = rig.logLines();
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("Household controller created with 1 seed address: ") +
                                  QString::fromStdString(rig.ip(0))))
        << lines[0].toStdString();
    EXPECT_EQ(rig.ssdp->searches, 0);
}

TEST(HouseholdSubscription, TheFirstStartsTheSweepsALaterOneGetsTheLatestAtOnceAndBothAreIndependent) {
    START_HOUSEHOLD(rig, 5);
    rig.makeController();
    Subscription stays(rig.controller->snapshots());
    EXPECT_TRUE(rig.controller->isSweeping());
    ASSERT_TRUE(stays.waitForCount(1));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(stays.last().speakers().at(rig.uuid(i)).reachability, ReachabilityState::online(rig.ip(i)));
    const auto requests = rig.fake.requests().size();

    auto leaves = std::make_unique<Subscription>(rig.controller->snapshots());
    ASSERT_EQ(leaves->count(), 1u) << "delivered without waiting for a sweep";
    EXPECT_EQ(leaves->last(), stays.last());
    EXPECT_EQ(rig.fake.requests().size(), requests) << "a second subscriber does not start another sweep";

    leaves.reset();
    EXPECT_EQ(rig.controller->subscriberCount(), 1u);
    EXPECT_TRUE(rig.controller->isSweeping());
    rig.fake.model().editSpeaker(rig.id(0)).volume = 5;
    ASSERT_TRUE(rig.nextSweep());
    ASSERT_EQ(stays.count(), 2u);
    EXPECT_EQ(stays.last().speakers().at(rig.uuid(0)).volume, *DiscreteVolume::make(5));
    EXPECT_GT(stays.last().observedAt(), stays.snapshots().front().observedAt());
    EXPECT_FALSE(stays.endedByProducer());
}

TEST(HouseholdSubscription, SweepsStopWhenTheLastSubscriberLeavesAndResumeWithTheNext) {
    START_HOUSEHOLD(rig, 6);
    rig.makeController();
    auto subscription = std::make_unique<Subscription>(rig.controller->snapshots());
    ASSERT_TRUE(subscription->waitForCount(1));
    const HouseholdSnapshot first = subscription->last();

    subscription.reset();
    EXPECT_FALSE(rig.controller->isSweeping());
    EXPECT_EQ(rig.clock.pendingTimerCount(), 0u) << "nothing is left to wake the loop";
    const auto requests = rig.fake.requests().size();
    const auto sweeps = rig.controller->completedSweeps();
    for (int i = 0; i < 5; ++i) rig.clock.advance(rig.controller->configuration().sweepInterval);
    QCoreApplication::processEvents();
    EXPECT_EQ(rig.fake.requests().size(), requests);
    EXPECT_EQ(rig.controller->completedSweeps(), sweeps);

    Subscription next(rig.controller->snapshots());
    ASSERT_EQ(next.count(), 1u);
    EXPECT_EQ(next.last(), first) << "the latest snapshot outlives its subscribers";
    EXPECT_TRUE(rig.controller->isSweeping());
    EXPECT_TRUE(rig.waitForSweeps(sweeps + 1));
}

HouseholdSnapshot emptyHousehold(double at) {
    return HouseholdSnapshot(Date::sinceReferenceDate(at), {}, Topology::empty(), {}, RFPeerMatrix::empty(), std::nullopt,
                             std::nullopt);
}

TEST(SnapshotSubscribers, AConsumerThatLeavesWhileBeingServedDoesNotDisturbTheOthers) {
    SnapshotSubscribers subscribers;
    int arrived = 0;
    int left = 0;
    subscribers.onFirstArrived([&] { ++arrived; });
    subscribers.onLastLeft([&] { ++left; });

    auto stays = std::make_unique<Subscription>(subscribers.subscribe(std::nullopt));
    // Takes one snapshot and leaves from inside the publishing.
    auto takeOne = [](SnapshotStream stream, int* taken) -> QCoro::Task<> {
        if (co_await stream.next()) ++*taken;
    };
    int taken = 0;
    takeOne(subscribers.subscribe(emptyHousehold(1)), &taken);
    EXPECT_EQ(taken, 1) << "the latest snapshot is there at once";
    EXPECT_EQ(subscribers.count(), 1u);

    subscribers.publish(emptyHousehold(2));
    subscribers.publish(emptyHousehold(3));
    EXPECT_EQ(taken, 1);
    ASSERT_EQ(stays->count(), 2u);
    EXPECT_EQ(stays->last().observedAt(), Date::sinceReferenceDate(3));
    EXPECT_EQ(arrived, 1);
    EXPECT_EQ(left, 0);

    stays.reset();
    EXPECT_EQ(subscribers.count(), 0u);
    EXPECT_EQ(left, 1);
}

}  // namespace
