#include <gtest/gtest.h>

#include "OrvelUI/common/OfflineSpeakers.h"
#include "OrvelUI/shell/RootNavigation.h"
#include "ShellFixtures.h"

using namespace orvel;
using namespace orvel::testing;

TEST(RootNavigation, VanishedGroupFallsBackHomeOnlyAfterTheLaunchChoice) {
    const std::vector<SonosGroup> before = {group({speaker(1, "Kitchen")}), group({speaker(2, "Office")})};
    const std::vector<SonosGroup> after = {group({speaker(1, "Kitchen"), speaker(2, "Office")})};

    // With a first-view option the choice was made; the chosen group dissolving sends the
    // window home.
    const LaunchInputs chosen = arguments({"--initial-view=group"});
    RootNavigation navigation;
    navigation.groupListChanged(before, chosen);
    navigation.selection = SidebarDestination::group(gid(2));
    navigation.groupListChanged(after, chosen);
    EXPECT_EQ(navigation.selection, SidebarDestination::home());

    // Without one, the launch choice is never made and the vanished group stays selected.
    const LaunchInputs plain = arguments({});
    RootNavigation pending;
    pending.selection = SidebarDestination::group(gid(2));
    pending.groupListChanged(after, plain);
    EXPECT_EQ(pending.selection, SidebarDestination::group(gid(2)));
}

TEST(RootNavigation, OtherSelectionsSurviveGroupChanges) {
    const LaunchInputs chosen = arguments({"--initial-view=group"});
    RootNavigation navigation;
    navigation.groupListChanged(std::vector{group({speaker(1, "A")})}, chosen);
    for (auto selection : {std::optional(SidebarDestination::speaker(sp(9))), std::optional(SidebarDestination::home()),
                           std::optional<SidebarDestination>()}) {
        navigation.selection = selection;
        navigation.groupListChanged(std::vector{group({speaker(3, "C")})}, chosen);
        EXPECT_EQ(navigation.selection, selection);
    }
}

TEST(RootNavigation, OfflineSpeakerComingBack) {
    struct Case {
        const char* what;
        std::vector<SpeakerUUID> offline;
        std::vector<SonosGroup> groups;
        std::optional<SidebarDestination> expected;
    };
    const Case cases[] = {
        {"still offline", {sp(3)}, {group({speaker(1, "A")})}, SidebarDestination::speaker(sp(3))},
        {"back as a member", {}, {group({speaker(1, "A")}), group({speaker(2, "B"), speaker(3, "C")})},
         SidebarDestination::group(gid(2))},
        {"back on its own", {}, {group({speaker(1, "A")}), group({speaker(3, "C")})}, SidebarDestination::group(gid(3))},
        {"gone altogether", {}, {group({speaker(1, "A")})}, SidebarDestination::home()},
    };
    for (const auto& c : cases) {
        RootNavigation navigation;
        navigation.selection = SidebarDestination::speaker(sp(3));
        navigation.offlineListChanged(c.offline, c.groups);
        EXPECT_EQ(navigation.selection, c.expected) << c.what;
    }

    RootNavigation onGroup;
    onGroup.selection = SidebarDestination::group(gid(1));
    onGroup.offlineListChanged({}, {});
    EXPECT_EQ(onGroup.selection, SidebarDestination::group(gid(1)));
}

TEST(RootNavigation, OfflineSpeakersAreThoseInNoGroup) {
    // The state's speaker list is sorted by room name; the result keeps that order.
    const std::vector<Speaker> speakers = {offline(4, "Attic"), speaker(1, "Kitchen"), offline(2, "Office"),
                                           offline(5, "Patio")};
    // Speaker 2 is offline but still listed in a group: it has that group's row.
    const std::vector<SonosGroup> groups = {group({speaker(1, "Kitchen"), offline(2, "Office")})};

    std::vector<SpeakerUUID> ids;
    for (const Speaker& s : offlineSpeakers(groups, speakers)) ids.push_back(s.id);
    EXPECT_EQ(ids, (std::vector{sp(4), sp(5)}));
}
