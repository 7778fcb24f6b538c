#include <gtest/gtest.h>

#include <chrono>

#include "FakePorts.h"
#include "IntentFixtures.h"
#include "OrvelStore/MuteMemory.h"

using namespace orvel;
using namespace orvel::testing;
using namespace std::chrono_literals;

namespace {

TEST(MuteMemory, MuteRemembersTheVolumeAndUnmuteRestoresItOrTwenty) {
    struct Step {
        char speaker;
        int volumeShown;
        std::optional<int> expected;
    };
    const Step steps[] = {
        {'A', 35, 0},   // mutes, remembers 35
        {'A', 0, 35},   // unmutes to what it had
        {'B', 0, 20},   // muted elsewhere: nothing remembered
        {'A', 50, 0},   // mutes again, now remembering 50
        {'A', 0, 50},
        {'A', 0, 50},   // the memory is kept after an unmute
        {'Z', 0, std::nullopt},
    };
    MuteMemory memory;
    for (const auto& step : steps) {
        const std::vector<Speaker> speakers{speaker('A', "Den", step.volumeShown), speaker('B', "Hall", step.volumeShown)};
        const auto command = memory.toggle(speakers, sp(step.speaker));
        std::optional<SonosCommand> expected;
        if (step.expected) {
            expected = SonosCommand::setVolume(DiscreteVolume::snappingPercent(*step.expected),
                                               VolumeTarget::speaker(sp(step.speaker)));
        }
        EXPECT_EQ(command, expected) << step.speaker << " at " << step.volumeShown;
    }
    EXPECT_EQ(memory.preMuteVolumes().size(), 1u);
}

DiscreteVolume v(int percent) { return DiscreteVolume::snappingPercent(percent); }

// The coalescer's timing and alert rules have their own tests; here its alert and its hold
// reach the store's state.
TEST(IntentVolume, AFailedSendReachesTheStatesAlertAndHold) {
    StoreHarness h;
    const auto target = VolumeTarget::speaker(sp('A'));
    const auto error = SonosCommandError::speakerUnreachable(sp('A'));
    h.sonos->reply = [&](const SonosCommand&) -> SonosControl::CommandResult { return std::unexpected(error); };
    h.store->setVolume(v(30), target);
    h.clock.advance(100ms);
    EXPECT_EQ(h.store->state().alert(), OrvelAlert::commandFailed(SonosCommand::setVolume(v(30), target), error));
    EXPECT_EQ(h.store->state().volumeOverrides().at(target).volume, v(30));
}

TEST(IntentVolume, MuteAndUnmuteGoThroughTheVolumePath) {
    StoreHarness h;
    h.startLoop();
    ASSERT_TRUE(h.publishAndSettle(Household{.speakers = {speaker('A', "Den", 35)}, .grouping = "AA"}.build()));
    const auto target = VolumeTarget::speaker(sp('A'));

    h.store->toggleMute(sp('A'));
    EXPECT_EQ(h.store->state().speakers().front().volume, v(0)) << "the muted volume shows at once";
    h.clock.advance(100ms);
    h.store->toggleMute(sp('A'));
    h.store->toggleMute(sp('Z'));
    h.clock.advance(100ms);
    const std::vector<SonosCommand> expected{SonosCommand::setVolume(v(0), target),
                                             SonosCommand::setVolume(v(35), target)};
    EXPECT_EQ(h.sonos->sent, expected);
}

}  // namespace
