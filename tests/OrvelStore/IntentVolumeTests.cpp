#include <gtest/gtest.h>

#include "IntentFixtures.h"
#include "OrvelStore/MuteMemory.h"

using namespace orvel;
using namespace orvel::testing;

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

}  // namespace
