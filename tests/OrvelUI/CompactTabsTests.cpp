#include <gtest/gtest.h>

#include <QSignalSpy>

#include "OrvelUI/shell/CompactTabsContent.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "OrvelUI/shell/SettingsAbout.h"
#include "ShellFixtures.h"

using namespace orvel;
using namespace orvel::testing;

TEST(CompactTabs, MapTitleComesFromTheNetworkName) {
    struct Case {
        std::optional<std::string> networkName;
        QString title;
    };
    const Case cases[] = {{std::nullopt, "Orvella"}, {"", ""}, {"Kvarnvägen <3>", "Kvarnvägen <3>"}};
    for (const Case& c : cases) {
        EXPECT_EQ(compactTabTitle(AppTab::map, c.networkName), c.title) << c.networkName.value_or("(none)");
    }
    // The other tabs keep their own titles whatever the household is called.
    EXPECT_EQ(compactTabTitle(AppTab::rooms, "Home"), compactTabTitle(AppTab::rooms, std::nullopt));
}

TEST(CompactTabs, OpeningAGroupFromEachTab) {
    struct Case {
        AppTab from;
        AppTab tabAfter;
        std::vector<GroupID> mapPath;
        std::vector<GroupID> roomsPath;
    };
    // Each tab starts with another group's page open: opening replaces, never stacks.
    const Case cases[] = {
        {AppTab::map, AppTab::map, {gid(2)}, {gid(3)}},
        {AppTab::rooms, AppTab::rooms, {gid(1)}, {gid(2)}},
        {AppTab::settings, AppTab::map, {gid(2)}, {gid(3)}},
    };
    for (const Case& c : cases) {
        RootNavigation navigation;
        navigation.activeTab = c.from;
        navigation.mapPath = {gid(1)};
        navigation.roomsPath = {gid(3)};
        navigation.openGroup(c.from, gid(2));
        EXPECT_EQ(navigation.selection, SidebarDestination::group(gid(2))) << int(c.from);
        EXPECT_EQ(navigation.activeTab, c.tabAfter) << int(c.from);
        EXPECT_EQ(navigation.mapPath, c.mapPath) << int(c.from);
        EXPECT_EQ(navigation.roomsPath, c.roomsPath) << int(c.from);

        // Back returns to the first page of the tab the group opened on.
        navigation.closeGroupPage(c.tabAfter);
        EXPECT_TRUE(navigation.path(c.tabAfter)->empty()) << int(c.from);
    }
}

TEST(CompactTabs, PushedPagesAndTheDockPlace) {
    const std::vector<SonosGroup> groups = {group({speaker(1, "Kitchen"), speaker(2, "Office")})};
    RootNavigation navigation;
    navigation.mapPath = {gid(1)};
    navigation.roomsPath = {gid(7)};

    navigation.activeTab = AppTab::map;
    CompactTabsContent content = CompactTabsContent::of(navigation, groups, "Home", "2 speakers");
    EXPECT_EQ(content.mapPage, (PushedGroupPage{QString::fromStdString(sp(1).rawValue()),
                                                QString::fromStdString(groups[0].displayName), true}));
    // A group dissolved while its page is open keeps the page, titled "Room".
    EXPECT_EQ(content.roomsPage, (PushedGroupPage{QString::fromStdString(sp(7).rawValue()), "Room", false}));
    EXPECT_FALSE(content.onFirstPage);

    // The dock belongs to first pages; the settings tab has no path and always shows its own.
    navigation.activeTab = AppTab::settings;
    EXPECT_TRUE(CompactTabsContent::of(navigation, groups, "Home", "2 speakers").onFirstPage);
    navigation.activeTab = AppTab::rooms;
    navigation.roomsPath.clear();
    EXPECT_TRUE(CompactTabsContent::of(navigation, groups, "Home", "2 speakers").onFirstPage);
}

// The dock's open action opens its group on the tab showing the dock; on the desktop it selects.
TEST(CompactTabs, DockOpenFollowsTheLayout) {
    const std::vector<SonosGroup> household = {group({speaker(1, "Kitchen")}, playingStream())};
    struct Case {
        std::initializer_list<std::string> arguments;
        AppTab tabAfter;
        std::vector<GroupID> mapPath;
        std::vector<GroupID> roomsPath;
    };
    const Case cases[] = {
        {{}, AppTab::map, {}, {}},
        {{"--layout=ios", "--tab=rooms"}, AppTab::rooms, {}, {gid(1)}},
        {{"--layout=ios", "--tab=settings"}, AppTab::map, {gid(1)}, {}},
    };
    for (const Case& c : cases) {
        const LaunchInputs inputs = arguments(c.arguments);
        OrvelRootView view([inputs] { return inputs; });
        view.shown();
        view.setHousehold(household, {speaker(1, "Kitchen")});
        ASSERT_TRUE(view.dock()->hasGroup());
        view.dock()->open();
        const RootNavigation& navigation = view.navigation();
        EXPECT_EQ(navigation.selection, SidebarDestination::group(gid(1)));
        EXPECT_EQ(navigation.activeTab, c.tabAfter);
        EXPECT_EQ(navigation.mapPath, c.mapPath);
        EXPECT_EQ(navigation.roomsPath, c.roomsPath);
    }
}

TEST(CompactTabs, TabChromeChangesOnlyWithWhatItShows) {
    OrvelRootView view([] { return arguments({"--layout=ios"}); });
    QSignalSpy changes(view.compactTabs(), &CompactTabs::changed);
    view.setHouseholdName("Home", "1 speaker");
    view.setHouseholdName("Home", "1 speaker");
    // A tab change that keeps every tab on its first page shows the same chrome.
    view.setActiveTab(int(AppTab::rooms));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(view.compactTabs()->mapTitle(), "Home");
}

TEST(SettingsAbout, HouseholdRowOnlyWithAName) {
    struct Case {
        std::optional<std::string> networkName;
        std::vector<QString> titles;
    };
    const Case cases[] = {
        {std::nullopt, {"Version"}},
        {"", {"Version"}},
        {"Home", {"Household", "Version"}},
    };
    for (const Case& c : cases) {
        std::vector<QString> titles;
        for (const SettingsAboutRow& row : settingsAboutRows(c.networkName)) titles.push_back(row.title);
        EXPECT_EQ(titles, c.titles) << c.networkName.value_or("(none)");
    }
    EXPECT_EQ(settingsAboutRows("Home").front().value, "Home");
}
