#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "OrvelUI/shell/PrimaryTargetGroup.h"
#include "ShellFixtures.h"

namespace orvel::testing {
namespace {

struct TargetCase {
    const char* name;
    std::vector<SonosGroup> groups;
    std::optional<GroupID> expected;
};

TEST(PrimaryTargetGroup, PlayingBeforeSharedBeforeFirst) {
    const SonosGroup pausedPair = group({speaker(1, "Den"), speaker(2, "Hall")}, pausedStream());
    const SonosGroup playingRoom = group({speaker(3, "Office")}, playingStream());
    const SonosGroup laterPlayingRoom = group({speaker(4, "Porch")}, playingStream());
    const SonosGroup stoppedRoom = group({speaker(5, "Bath")});
    const SonosGroup otherStoppedRoom = group({speaker(6, "Attic")});
    const SonosGroup stoppedPair = group({speaker(7, "Loft"), speaker(8, "Yard")});

    const std::vector<TargetCase> cases{
        {"no groups: none", {}, std::nullopt},
        {"a playing room wins over a paused pair listed first", {pausedPair, playingRoom}, gid(3)},
        {"the first of two playing rooms", {stoppedRoom, playingRoom, laterPlayingRoom}, gid(3)},
        {"nothing plays: a pair wins over rooms listed first", {stoppedRoom, otherStoppedRoom, stoppedPair}, gid(7)},
        {"nothing plays, only lone rooms: the first", {otherStoppedRoom, stoppedRoom}, gid(6)},
    };
    for (const TargetCase& c : cases) {
        const std::optional<SonosGroup> target = primaryTargetGroup(c.groups);
        EXPECT_EQ(target ? std::optional(target->id) : std::nullopt, c.expected) << c.name;
    }
}

}  // namespace
}  // namespace orvel::testing
