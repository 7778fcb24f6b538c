// Grouping commands end to end: steps in order to the right speakers, the wait for the speakers
// to settle, the time-out, partial application, refusals, targets that hold or cannot be reached,
// and the sweeps standing still meanwhile. Addresses: 127.202.30.* to 127.202.49.*.
#include "HouseholdRig.h"

#include "OrvelDomain/PresetID.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

// Grouping waits in real time for the fake speakers' grouping delay; the bounds are generous.
RigOptions realTime(std::chrono::milliseconds convergenceTimeout = std::chrono::seconds(10)) {
    RigOptions options;
    options.manualClock = false;
    options.configuration.convergenceTimeout = convergenceTimeout;
    options.readLimit = std::chrono::milliseconds(1000);
    options.commandLimit = std::chrono::milliseconds(1000);
    return options;
}

PresetPill preset(const HouseholdRig& rig, int coordinator, std::initializer_list<int> members) {
    std::set<SpeakerUUID> ids;
    for (int member : members) ids.insert(rig.uuid(member));
    return PresetPill(PresetID::random(), "Evening", rig.uuid(coordinator), ids);
}

TEST(HouseholdGrouping, AJoinWaitsUntilTheSpeakersShowIt) {
    START_HOUSEHOLD(rig, 30, realTime());
    rig.fake.setGroupingDelay(std::chrono::milliseconds(300));
    rig.makeController();

    EXPECT_EQ(rig.send(SonosCommand::group(rig.uuid(2), rig.group(0))), succeeded(CommandOutcome::applied()));
    EXPECT_EQ(rig.fake.model().coordinatorOf(rig.id(2)), rig.id(0));

    const auto joins = rig.fake.requestsTo(rig.id(2));
    ASSERT_EQ(joins.size(), 1);
    EXPECT_EQ(joins[0].target(), QStringLiteral("AVTransport#SetAVTransportURI"));
    EXPECT_EQ(joins[0].argument(QStringLiteral("CurrentURI")), QStringLiteral("x-rincon:") + rig.id(0));
    // The grouping was read before the step and again until it held.
    EXPECT_GE(rig.requestCount(QStringLiteral("ZoneGroupTopology#GetZoneGroupState")), 3);
}

TEST(HouseholdGrouping, ACoordinatorLeavingHandsItsGroupToItsSmallestFollower) {
    START_HOUSEHOLD(rig, 32, realTime());
    rig.fake.model().setGroup({rig.id(0), rig.id(2), rig.id(1)});
    rig.fake.setGroupingDelay(std::chrono::milliseconds(100));
    rig.makeController();

    EXPECT_EQ(rig.send(SonosCommand::ungroup(rig.uuid(0))), succeeded(CommandOutcome::applied()));
    const auto requests = rig.fake.requestsTo(rig.id(0));
    const auto delegation = std::find_if(requests.begin(), requests.end(), [](const fakes::FakeRequest& r) {
        return r.action == QStringLiteral("DelegateGroupCoordinationTo");
    });
    ASSERT_NE(delegation, requests.end());
    EXPECT_EQ(delegation->argument(QStringLiteral("NewCoordinator")), rig.id(1));
    EXPECT_EQ(delegation->argument(QStringLiteral("RejoinGroup")), QStringLiteral("0"));
    EXPECT_EQ(rig.fake.model().groupOf(rig.id(2)).coordinator, rig.id(1));
    EXPECT_EQ(rig.fake.model().groupOf(rig.id(0)).members, QStringList{rig.id(0)});
}

TEST(HouseholdGrouping, APresetIsSentStepByStepInPlanOrder) {
    START_HOUSEHOLD(rig, 33, realTime());
    // 0 leads 3, which the preset does not want; 1 and 2 stand alone.
    rig.fake.model().setGroup({rig.id(0), rig.id(3)});
    rig.makeController();

    EXPECT_EQ(rig.send(SonosCommand::applyPreset(preset(rig, 0, {1, 2}))), succeeded(CommandOutcome::applied()));
    QStringList steps;
    for (const auto& request : rig.fake.requests()) {
        if (request.service == QStringLiteral("AVTransport")) steps << request.speaker + QLatin1Char(' ') + request.action;
    }
    EXPECT_EQ(steps, (QStringList{rig.id(3) + QStringLiteral(" BecomeCoordinatorOfStandaloneGroup"),
                                  rig.id(1) + QStringLiteral(" SetAVTransportURI"),
                                  rig.id(2) + QStringLiteral(" SetAVTransportURI")}));
    EXPECT_EQ(rig.fake.model().groupOf(rig.id(0)).members, (QStringList{rig.id(0), rig.id(1), rig.id(2)}));
}

TEST(HouseholdGrouping, AGroupingThatDoesNotSettleInTimeIsNotConverged) {
    START_HOUSEHOLD(rig, 34, realTime(std::chrono::milliseconds(400)));
    rig.fake.setGroupingDelay(std::chrono::hours(1));
    rig.makeController();

    EXPECT_EQ(rig.send(SonosCommand::group(rig.uuid(1), rig.group(0))),
              failed(SonosCommandError::notConverged(Duration::milliseconds(400))));
    EXPECT_EQ(rig.fake.pendingGroupingCount(), 1);
}

TEST(HouseholdGrouping, SpeakersThatDoNotAnswerMakeItPartialOrUnreachable) {
    START_HOUSEHOLD(rig, 35, realTime());
    rig.makeController();
    rig.fake.setReachability(rig.id(3), fakes::Reachability::Refused);

    EXPECT_EQ(rig.send(SonosCommand::applyPreset(preset(rig, 0, {1, 3}))),
              succeeded(CommandOutcome::partiallyApplied({rig.uuid(3)})));
    EXPECT_EQ(rig.fake.model().groupOf(rig.id(0)).members, (QStringList{rig.id(0), rig.id(1)}));
    // No step arrived at all.
    EXPECT_EQ(rig.send(SonosCommand::group(rig.uuid(3), rig.group(0))), failed(SonosCommandError::speakerUnreachable(rig.uuid(3))));
}

TEST(HouseholdGrouping, ASpeakersRefusalIsRejectedWithItsErrorCode) {
    START_HOUSEHOLD(rig, 37, realTime());
    rig.makeController();
    rig.fake.failRequests(fakes::FakeTarget::action(QStringLiteral("AVTransport#SetAVTransportURI"), rig.id(1)), 1023);

    EXPECT_EQ(rig.send(SonosCommand::applyPreset(preset(rig, 0, {1, 2}))),
              failed(SonosCommandError::speakerRejected("UPnP error 1023")));
    EXPECT_EQ(rig.fake.requestsTo(rig.id(2)).size(), 0) << "no step after a refusal";
}

TEST(HouseholdGrouping, TargetsThatHoldOrCannotBeReachedSendNoStep) {
    START_HOUSEHOLD(rig, 38, realTime());
    rig.fake.model().setGroup({rig.id(0), rig.id(1)});
    rig.makeController();
    const SpeakerUUID stranger = *SpeakerUUID::make("RINCON_FFFFFFFFFFFF01400");

    struct Case {
        SonosCommand command;
        std::optional<CommandResult> expected;
    };
    const Case cases[] = {
        {SonosCommand::group(rig.uuid(1), rig.group(0)), succeeded(CommandOutcome::alreadySatisfied())},
        {SonosCommand::ungroup(rig.uuid(3)), succeeded(CommandOutcome::alreadySatisfied())},
        {SonosCommand::group(rig.uuid(2), rig.group(1)), failed(SonosCommandError::groupDissolved(rig.group(1)))},
        {SonosCommand::group(rig.uuid(2), GroupID(stranger)), failed(SonosCommandError::groupDissolved(GroupID(stranger)))},
        {SonosCommand::applyPreset(PresetPill(PresetID::random(), "Gone", stranger, {rig.uuid(2)})),
         failed(SonosCommandError::speakerUnreachable(stranger))},
        {SonosCommand::group(stranger, rig.group(0)), failed(SonosCommandError::speakerUnreachable(stranger))},
        {SonosCommand::ungroup(stranger), failed(SonosCommandError::speakerUnreachable(stranger))},
    };
    for (const Case& c : cases) EXPECT_EQ(rig.send(c.command), c.expected) << c.command.caseName();
    EXPECT_EQ(rig.fake.requestLog(), QStringList(std::size(cases), QStringLiteral("ZoneGroupTopology#GetZoneGroupState")));
}

TEST(HouseholdGrouping, SweepsStandStillWhileACommandRuns) {
    // Manual clock: the sweep loop and the wait for the grouping move only when the test says.
    START_HOUSEHOLD(rig, 39);
    rig.fake.setGroupingDelay(std::chrono::hours(1));
    rig.makeController();
    Subscription subscription(rig.controller->snapshots());
    ASSERT_TRUE(subscription.waitForCount(1));
    ASSERT_TRUE(rig.settle());
    const QString sweepRead = QStringLiteral("AVTransport#GetTransportInfo");
    const QString topologyRead = QStringLiteral("ZoneGroupTopology#GetZoneGroupState");
    const auto sweepReads = rig.requestCount(sweepRead);

    auto outcome = rig.sendInBackground(SonosCommand::group(rig.uuid(1), rig.group(0)));
    ASSERT_TRUE(waitUntil([&] { return rig.fake.pendingGroupingCount() == 1; }));

    // Each busy pace re-reads the grouping; no sweep runs, however much time passes. Two timers:
    // the loop's and the command's sleeps, with no read under way (a read's time-outs run on
    // the clock too).
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(waitUntil([&] { return rig.clock.pendingTimerCount() == 2; }));
        const auto reads = rig.requestCount(topologyRead);
        rig.clock.advance(std::chrono::milliseconds(200));
        ASSERT_TRUE(waitUntil([&] { return rig.requestCount(topologyRead) == reads + 1; }));
    }
    EXPECT_EQ(rig.requestCount(sweepRead), sweepReads);
    EXPECT_FALSE(outcome->has_value());

    rig.fake.applyPendingGrouping();
    ASSERT_TRUE(waitUntil([&] { return rig.clock.pendingTimerCount() == 2; }));
    rig.clock.advance(std::chrono::milliseconds(200));
    ASSERT_TRUE(waitUntil([&] { return outcome->has_value(); }));
    EXPECT_EQ(*outcome, succeeded(CommandOutcome::applied()));

    // The next pass of the loop, at the busy pace, sweeps and shows the new grouping.
    ASSERT_TRUE(rig.settle());
    rig.clock.advance(std::chrono::milliseconds(200));
    ASSERT_TRUE(subscription.waitForCount(2));
    EXPECT_GT(rig.requestCount(sweepRead), sweepReads);
    EXPECT_EQ(subscription.last().topology().group(rig.uuid(1)), rig.group(0));
}

}  // namespace
