#include <gtest/gtest.h>

#include "OrvelUI/shell/LaunchSelection.h"
#include "OrvelUI/shell/RootNavigation.h"
#include "ShellFixtures.h"

using namespace orvel;
using namespace orvel::testing;

TEST(LaunchSelection, RuleOrder) {
    EXPECT_EQ(launchRule(arguments({})), std::nullopt);
    EXPECT_EQ(launchRule(arguments({"--initial-view=group", "--initial-view=living"})), LaunchRule::livingRoom);
    EXPECT_EQ(launchRule(arguments({"--initial-view=living", "--initial-view=guest"})), LaunchRule::guestRoom);
    EXPECT_EQ(launchRule(arguments({"--initial-view", "group"})), LaunchRule::notableGroup);
}

TEST(LaunchSelection, Targets) {
    struct Case {
        const char* what;
        LaunchRule rule;
        std::vector<SonosGroup> groups;
        std::optional<GroupID> expected;
    };
    const Case cases[] = {
        {"guest room by name, any case, anywhere in the group", LaunchRule::guestRoom,
         {group({speaker(1, "Kitchen")}, playingStream()), group({speaker(2, "Office"), speaker(3, "GUEST Bedroom")})},
         gid(2)},
        {"no guest room: first playing or paused group", LaunchRule::guestRoom,
         {group({speaker(1, "Kitchen")}), group({speaker(2, "Office")}, pausedStream()),
          group({speaker(3, "Den")}, playingStream())},
         gid(2)},
        {"no guest room, everything stopped", LaunchRule::guestRoom,
         {group({speaker(1, "Kitchen")}), group({speaker(2, "Office")})}, std::nullopt},
        {"living: a satellite room before a room named for it", LaunchRule::livingRoom,
         {group({speaker(1, "Kitchen", 1)}), group({speaker(2, "Living Room")})}, gid(1)},
        {"living by name", LaunchRule::livingRoom,
         {group({speaker(1, "Kitchen")}), group({speaker(2, "Office"), speaker(3, "Open living")})}, gid(2)},
        {"living: none", LaunchRule::livingRoom, {group({speaker(1, "Kitchen")})}, std::nullopt},
        {"group: satellites win over size", LaunchRule::notableGroup,
         {group({speaker(1, "A"), speaker(2, "B"), speaker(3, "C")}), group({speaker(4, "TV", 2)})}, gid(4)},
        {"group: first of the largest", LaunchRule::notableGroup,
         {group({speaker(1, "A")}), group({speaker(2, "B"), speaker(3, "C"), speaker(4, "D")}),
          group({speaker(5, "E"), speaker(6, "F"), speaker(7, "G")})},
         gid(2)},
        {"group: only single rooms, the first", LaunchRule::notableGroup,
         {group({speaker(1, "A")}), group({speaker(2, "B")})}, gid(1)},
        {"group: nothing yet", LaunchRule::notableGroup, {}, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(launchTarget(c.rule, c.groups), c.expected) << c.what;
}

TEST(LaunchSelection, PendingUntilGroupsArrive) {
    const LaunchInputs inputs = arguments({"--initial-view=guest"});
    RootNavigation navigation = RootNavigation::initial(inputs);

    navigation.groupListChanged({}, inputs);
    EXPECT_FALSE(navigation.appliedLaunch);
    EXPECT_EQ(navigation.selection, SidebarDestination::home());

    const std::vector<SonosGroup> stopped = {group({speaker(1, "Kitchen")})};
    navigation.groupListChanged(stopped, inputs);
    EXPECT_FALSE(navigation.appliedLaunch);

    const std::vector<SonosGroup> withGuests = {group({speaker(1, "Kitchen")}), group({speaker(2, "Guest Bedroom")})};
    navigation.groupListChanged(withGuests, inputs);
    EXPECT_TRUE(navigation.appliedLaunch);
    EXPECT_EQ(navigation.selection, SidebarDestination::group(gid(2)));
    EXPECT_TRUE(navigation.mapPath.empty());  // desktop layout: the map path is not touched
}

TEST(LaunchSelection, PhoneLayoutOpensTheGroupOnTheMapTab) {
    const LaunchInputs inputs = launch({{"ORVELLA_LAYOUT", "ios"}, {"ORVELLA_COMPACT_TAB", "rooms"}},
                                       {"--initial-view=guest"});
    RootNavigation navigation = RootNavigation::initial(inputs);
    EXPECT_EQ(navigation.activeTab, AppTab::rooms);

    const std::vector<SonosGroup> groups = {group({speaker(2, "Guest Bedroom")})};
    navigation.groupListChanged(groups, inputs);
    EXPECT_EQ(navigation.mapPath, std::vector<GroupID>{gid(2)});
    EXPECT_EQ(navigation.activeTab, AppTab::rooms);  // the tab is left to the tab option
}

TEST(LaunchSelection, AppliedOnceOnly) {
    const LaunchInputs inputs = launch({{"ORVELLA_LAYOUT", "ios"}, {"ORVELLA_COMPACT_TAB", "settings"}},
                                       {"--initial-view=group"});
    RootNavigation navigation = RootNavigation::initial(inputs);
    navigation.groupListChanged(std::vector{group({speaker(1, "A")})}, inputs);
    ASSERT_TRUE(navigation.appliedLaunch);

    // The user moves on; later group lists never steer the window again.
    navigation.activeTab = AppTab::map;
    navigation.selection = SidebarDestination::home();
    navigation.mapPath.clear();
    navigation.groupListChanged(std::vector{group({speaker(1, "A"), speaker(2, "B")}), group({speaker(3, "C")})},
                                inputs);
    EXPECT_EQ(navigation.activeTab, AppTab::map);
    EXPECT_EQ(navigation.selection, SidebarDestination::home());
    EXPECT_TRUE(navigation.mapPath.empty());
}

TEST(LaunchSelection, CompactTabIsReappliedWhilePending) {
    const LaunchInputs inputs = launch({{"ORVELLA_COMPACT_TAB", "rooms"}});
    RootNavigation navigation = RootNavigation::initial(inputs);
    navigation.activeTab = AppTab::settings;
    navigation.groupListChanged(std::vector{group({speaker(1, "A")})}, inputs);
    EXPECT_EQ(navigation.activeTab, AppTab::rooms);
    EXPECT_FALSE(navigation.appliedLaunch);
}

TEST(LaunchSelection, InitialTab) {
    struct Case {
        LaunchInputs inputs;
        AppTab expected;
    };
    const Case cases[] = {
        {arguments({}), AppTab::map},
        {launch({{"ORVELLA_COMPACT_TAB", "spotify"}}), AppTab::settings},
        {arguments({"--tab=settings"}), AppTab::settings},
        {arguments({"--tab=Rooms"}), AppTab::rooms},
        {arguments({"--tab=queue"}), AppTab::map},
        {arguments({"--tab="}), AppTab::map},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RootNavigation::initial(c.inputs).activeTab, c.expected) << c.inputs.arguments.back();
        EXPECT_EQ(RootNavigation::initial(c.inputs).selection, SidebarDestination::home());
    }
}
