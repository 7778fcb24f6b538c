// The Playback menu's items on a store over a scripted household: each choice reaches the
// speakers as the store's command for the primary target group.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "OrvelStore/FakePorts.h"
#include "OrvelStore/StateFixtures.h"
#include "OrvelStore/VolumeCoalescer.h"
#include "OrvelUI/shell/PlaybackMenu.h"
#include "ShellFixtures.h"

namespace orvel::testing {
namespace {

struct MenuCase {
    const char* name;
    std::string grouping;
    int volume;
    QString key;
    std::optional<SonosCommand> expected;
};

TEST(PlaybackMenu, ChoicesReachTheTargetGroup) {
    const std::vector<MenuCase> cases{
        {"volume up at 100 on a lone room: 100 again, to its speaker", "AA BB", 100, "volumeUp",
         SonosCommand::setVolume(DiscreteVolume::snappingPercent(100), VolumeTarget::speaker(sp('A')))},
        {"volume down at 30 on a pair: 29, to the group", "AA BA", 30, "volumeDown",
         SonosCommand::setVolume(DiscreteVolume::snappingPercent(29), VolumeTarget::group(gid(1)))},
        {"volume down at 0: 0 again", "AA", 0, "volumeDown",
         SonosCommand::setVolume(DiscreteVolume(), VolumeTarget::speaker(sp('A')))},
        {"next track on the pair chosen over a lone room listed first", "AA BB CB", 20, "nextTrack",
         SonosCommand::nextTrack(gid(2))},
        {"previous track", "AA", 20, "previousTrack", SonosCommand::previousTrack(gid(1))},
    };
    for (const MenuCase& c : cases) {
        StoreHarness harness;
        harness.startLoop();
        Household household;
        household.speakers = {speaker('A', "Attic"), speaker('B', "Bath"), speaker('C', "Cellar")};
        household.grouping = c.grouping;
        const Topology grouping = topology(c.grouping);
        for (const auto& [member, coordinator] : grouping.coordinatorOf()) {
            household.status.insert_or_assign(GroupID(coordinator),
                                              GroupStatus{PlaybackState::stopped(), DiscreteVolume::snappingPercent(c.volume)});
        }
        ASSERT_TRUE(harness.publishAndSettle(household.build())) << c.name;

        PlaybackMenu menu(*harness.store);
        menu.trigger(c.key);
        const bool sent = waitUntil([&] {
            harness.clock.advance(VolumeCoalescer::firstSendDelay);
            return !harness.sonos->sent.empty();
        });
        ASSERT_TRUE(sent) << c.name;
        EXPECT_EQ(harness.sonos->sent.front(), *c.expected) << c.name;
    }
}

}  // namespace
}  // namespace orvel::testing
