#include <gtest/gtest.h>

#include "OrvelUI/shell/DetailPage.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "ShellFixtures.h"

using namespace orvel;
using namespace orvel::testing;

TEST(DetailPage, ResolvesTheSelection) {
    // Kitchen plays alone; the office answers no more; the bedroom is back and has joined the
    // kitchen (the store still lists it until the offline watcher moves the selection).
    const std::vector<SonosGroup> groups = {group({speaker(1, "Kitchen"), speaker(3, "Bedroom")})};
    const std::vector<Speaker> speakers = {speaker(3, "Bedroom"), speaker(1, "Kitchen"), offline(2, "Office")};
    using K = DetailPage::Kind;
    struct Case {
        const char* what;
        std::optional<SidebarDestination> selection;
        DetailPage expected;
    };
    const Case cases[] = {
        {"nothing selected", std::nullopt, {}},
        {"home", SidebarDestination::home(), {}},
        {"a group", SidebarDestination::group(gid(1)), {K::group, sp(1).rawValue()}},
        {"a group that went", SidebarDestination::group(gid(4)), {}},
        {"a member's id is not a group", SidebarDestination::group(gid(3)), {}},
        {"an offline speaker", SidebarDestination::speaker(sp(2)), {K::speaker, sp(2).rawValue()}},
        {"a speaker back online", SidebarDestination::speaker(sp(3)), {K::speaker, sp(3).rawValue()}},
        {"a speaker nobody knows", SidebarDestination::speaker(sp(9)), {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(resolveDetail(c.selection, groups, speakers), c.expected) << c.what;
    }
}

// Through the root view: the page follows the household, and a returning speaker's page turns
// into its group's page once the offline watcher has moved the selection.
TEST(DetailPage, FollowsTheHouseholdInTheRootView) {
    OrvelRootView view([] { return arguments({}); });
    view.shown();
    view.setHousehold({group({speaker(1, "Kitchen")}), group({speaker(2, "Office")})},
                      {speaker(1, "Kitchen"), speaker(2, "Office"), offline(3, "Bedroom")});

    view.select(SidebarDestination::group(gid(2)));
    EXPECT_EQ(view.detailKind(), SelectionKind::Group);
    EXPECT_FALSE(view.showsHome());

    // The office joins the kitchen: without a launch choice the selection keeps the old id, and
    // the column shows the home pane.
    view.setHousehold({group({speaker(1, "Kitchen"), speaker(2, "Office")})},
                      {speaker(1, "Kitchen"), speaker(2, "Office"), offline(3, "Bedroom")});
    EXPECT_EQ(view.selectionKind(), SelectionKind::Group);
    EXPECT_EQ(view.detailKind(), SelectionKind::Home);
    EXPECT_TRUE(view.showsHome());

    view.select(SidebarDestination::speaker(sp(3)));
    EXPECT_EQ(view.detailKind(), SelectionKind::Speaker);
    EXPECT_EQ(view.detailId(), QString::fromStdString(sp(3).rawValue()));

    view.setHousehold({group({speaker(1, "Kitchen"), speaker(2, "Office"), speaker(3, "Bedroom")})},
                      {speaker(1, "Kitchen"), speaker(2, "Office"), speaker(3, "Bedroom")});
    EXPECT_EQ(view.detailKind(), SelectionKind::Group);
    EXPECT_EQ(view.detailId(), QString::fromStdString(sp(1).rawValue()));
}
