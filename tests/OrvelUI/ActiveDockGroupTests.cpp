#include <gtest/gtest.h>

#include <QSignalSpy>

#include "OrvelUI/playback/ActiveDockGroup.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "PlaybackFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

std::optional<GroupID> dockIn(const std::vector<SonosGroup>& groups, std::optional<SidebarDestination> selection,
                              std::optional<GroupID> picked, bool phone) {
    const auto chosen = activeDockGroup(groups, selection, picked, phone);
    if (!chosen) return std::nullopt;
    return chosen->id;
}

}  // namespace

TEST(ActiveDockGroup, FirstRuleThatYieldsAGroupWins) {
    const SonosGroup stoppedSingle = single(1, PlaybackState::stopped());
    const SonosGroup stoppedPair = pair(2, PlaybackState::stopped());
    const SonosGroup pausedRadio = single(3, paused(radio("A")));
    const SonosGroup playingRadio = single(4, playing(radio("B")));
    const SonosGroup withSatellites = group({speaker(5, "Cinema", 1)});
    const auto home = SidebarDestination::home();
    const auto selected = [](const SonosGroup& g) { return SidebarDestination::group(g.id); };

    struct Case {
        const char* name;
        std::vector<SonosGroup> groups;
        std::optional<SidebarDestination> selection;
        std::optional<GroupID> picked;
        bool phone;
        std::optional<GroupID> expected;
    };
    const Case cases[] = {
        {"no groups", {}, home, std::nullopt, false, std::nullopt},
        {"no groups on the phone", {}, home, std::nullopt, true, std::nullopt},
        {"selected stopped single is skipped", {stoppedSingle, pausedRadio}, selected(stoppedSingle), std::nullopt,
         false, pausedRadio.id},
        {"selected stopped multi-room group", {playingRadio, stoppedPair}, selected(stoppedPair), std::nullopt, false,
         stoppedPair.id},
        {"picked among the active", {playingRadio, pausedRadio}, home, pausedRadio.id, false, pausedRadio.id},
        {"picked outside the active is ignored", {stoppedSingle, pausedRadio, playingRadio}, home, stoppedSingle.id,
         false, playingRadio.id},
        {"first not stopped before a stopped group", {stoppedPair, pausedRadio}, std::nullopt, std::nullopt, false,
         pausedRadio.id},
        {"first active when all are stopped", {stoppedSingle, stoppedPair}, home, std::nullopt, false, stoppedPair.id},
        {"nothing active on the desktop", {stoppedSingle, withSatellites}, home, std::nullopt, false, std::nullopt},
        {"phone: the picked group among all", {stoppedSingle, withSatellites}, home, stoppedSingle.id, true,
         stoppedSingle.id},
        {"phone: a room with satellites", {stoppedSingle, withSatellites}, home, std::nullopt, true,
         withSatellites.id},
        {"phone: the first group", {stoppedSingle}, home, std::nullopt, true, stoppedSingle.id},
    };
    for (const Case& c : cases) EXPECT_EQ(dockIn(c.groups, c.selection, c.picked, c.phone), c.expected) << c.name;
}

TEST(OrvelRootView, PublishesTheDockGroupOnlyWhenItChanges) {
    OrvelRootView view([] { return arguments({}); });
    QSignalSpy dock(&view, &OrvelRootView::dockGroupChanged);
    const std::vector<SonosGroup> groups{single(1, playing(radio("A"))), single(2, playing(radio("B")))};
    const std::vector<Speaker> speakers{speaker(1, "Room"), speaker(2, "Room")};

    view.shown();
    view.setHousehold(groups, speakers);
    view.setHousehold(groups, speakers);
    EXPECT_EQ(dock.count(), 1);
    EXPECT_EQ(view.dockGroupId(), QString::fromStdString(sp(1).rawValue()));

    // A pick in the dock moves a group selection along and leaves home alone.
    view.selectDockGroup(QString::fromStdString(sp(2).rawValue()));
    EXPECT_EQ(dock.count(), 2);
    EXPECT_EQ(view.selectionKind(), SelectionKind::Home);
    view.select(SidebarDestination::group(gid(1)));
    view.selectDockGroup(gid(2));
    EXPECT_EQ(view.selectionId(), QString::fromStdString(sp(2).rawValue()));

    view.setHousehold({}, speakers);
    EXPECT_EQ(view.dockGroupId(), QString());
}
