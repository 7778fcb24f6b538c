// What the map's cards do through the presenter: a click selects or opens, the overlay follows
// the selection and hides during a drag, a compact tile's drop groups through the store, the
// grouping signal fires only for a new grouping, and the compact floors keep their lists.

#include <gtest/gtest.h>

#include <QSignalSpy>

#include "MapDragFixtures.h"
#include "OrvelUI/map/FloorplanMapPresenter.h"
#include "OrvelUI/theme/Haptics.h"
#include "PlaybackFixtures.h"
#include "testing/ManualClock.h"

namespace orvel::testing {
namespace {

QString id(int n) { return QString::fromStdString(sp(n).rawValue()); }

struct ActionsRig {
    RecordingMapHost host;
    Haptics haptics;
    ManualClock clock;
    std::vector<std::string> opened;
    std::vector<std::string> toggled;
    std::vector<SonosCommand> sent;
    FloorplanMapPresenter presenter{host, haptics, clock, [](const SpeakerUUID&) {}};

    explicit ActionsRig(bool canOpen = true) {
        presenter.setViewportWidth(1000);
        presenter.setViewportHeight(700);
        MapIntents intents{
            .togglePlayOrHandOffSpotify = [this](const SonosGroup& g) { toggled.push_back(g.id.description()); },
            .send = [this](SonosCommand c) { sent.push_back(std::move(c)); },
            .openGroup = {},
            .speakers = {},
            .performMenuIntent = {},
        };
        if (canOpen) intents.openGroup = [this](const GroupID& g) { opened.push_back(g.description()); };
        presenter.setIntents(std::move(intents));
    }
};

TEST(FloorplanMapActions, ClickSelectsThenOpensTheGroupOfAGroupedRoomOnly) {
    struct Case {
        const char* name;
        bool canOpen;
        int room;
        std::size_t opensOnSecondClick;
    };
    // Room 4 leads a group of its own in the store; room 3's node names no group.
    const Case cases[] = {{"grouped", true, 1, 1}, {"noHandler", false, 1, 0}, {"ungrouped", true, 3, 0}};
    for (const Case& c : cases) {
        ActionsRig rig(c.canOpen);
        rig.host.nodes[2].group.reset();
        rig.presenter.refresh();
        rig.presenter.tapRoom(id(c.room));
        EXPECT_EQ(rig.presenter.drag()->selectedId(), id(c.room)) << c.name;
        EXPECT_TRUE(rig.opened.empty()) << c.name;
        rig.presenter.tapRoom(id(c.room));
        EXPECT_EQ(rig.opened.size(), c.opensOnSecondClick) << c.name;
        EXPECT_EQ(rig.presenter.drag()->selectedId(), id(c.room)) << c.name;
    }
}

TEST(FloorplanMapActions, TileClickOpensItsGroupWithoutSelecting) {
    ActionsRig rig;
    rig.host.nodes[2].group.reset();
    rig.presenter.refresh();
    rig.presenter.tapTile(id(3));
    EXPECT_TRUE(rig.opened.empty());
    rig.presenter.tapTile(id(2));
    EXPECT_EQ(rig.opened, std::vector<std::string>{sp(1).rawValue()});
    EXPECT_TRUE(rig.presenter.drag()->selectedId().isEmpty());
}

TEST(FloorplanMapActions, OverlayFollowsTheSelectionAndHidesWhileDragging) {
    ActionsRig rig;
    rig.host.groupList[0].playback = playing(radio("Jazz"));
    rig.presenter.refresh();
    EXPECT_FALSE(rig.presenter.overlayVisible());

    rig.presenter.tapRoom(id(2));
    ASSERT_TRUE(rig.presenter.overlayVisible());
    EXPECT_EQ(rig.presenter.overlayGroupId(), id(1));
    EXPECT_TRUE(rig.presenter.overlayPlaying());
    const auto row = std::find_if(rig.presenter.rooms()->rows().begin(), rig.presenter.rooms()->rows().end(),
                                  [](const MapRoomRow& r) { return r.speakerId == id(2); });
    ASSERT_NE(row, rig.presenter.rooms()->rows().end());
    EXPECT_TRUE(row->isSelected);

    // The drag clears the selection; a drag of an unselected room hides the overlay too.
    rig.presenter.tapRoom(id(4));
    rig.presenter.dragBegan(id(1));
    rig.presenter.dragMoved(id(1), 600, 600, 40, 40);
    EXPECT_FALSE(rig.presenter.overlayVisible());
    rig.presenter.dragCancelled();

    rig.presenter.tapRoom(id(4));
    rig.presenter.clearSelection();
    EXPECT_FALSE(rig.presenter.overlayVisible());
}

TEST(FloorplanMapActions, OverlayAndHubButtonsReachTheStore) {
    ActionsRig rig;
    rig.presenter.tapRoom(id(3));
    rig.presenter.setRoomVolume(rig.presenter.overlaySpeakerId(), 140);
    ASSERT_EQ(rig.sent.size(), 1u);
    EXPECT_EQ(rig.sent[0], SonosCommand::setVolume(DiscreteVolume::snappingPercent(100), VolumeTarget::speaker(sp(3))));

    const int ticks = rig.haptics.performedCount();
    rig.presenter.togglePlay(rig.presenter.overlayGroupId());
    rig.presenter.togglePlay(id(9));  // no such group
    EXPECT_EQ(rig.toggled, std::vector<std::string>{sp(1).rawValue()});
    EXPECT_EQ(rig.haptics.performedCount(), ticks + 1);
}

TEST(FloorplanMapActions, TileDropGroupsTheFirstDroppedRoomOntoTheTile) {
    ActionsRig rig;
    EXPECT_FALSE(rig.presenter.acceptTileDrop(id(1), {id(1)}));
    EXPECT_FALSE(rig.presenter.acceptTileDrop(id(1), {"Kitchen"}));
    EXPECT_FALSE(rig.presenter.acceptTileDrop(id(9), {id(4)}));
    EXPECT_TRUE(rig.host.calls.empty());
    EXPECT_TRUE(rig.presenter.acceptTileDrop(id(1), {id(4), id(2)}));
    EXPECT_EQ(rig.host.calls, std::vector<std::string>{"group 4 onto 1"});
}

TEST(FloorplanMapActions, GroupingSignalOnlyForANewGrouping) {
    ActionsRig rig;
    QSignalSpy grouping(&rig.presenter, &FloorplanMapPresenter::groupingChanged);
    rig.host.groupList[0].playback = playing(radio("Jazz"));
    rig.presenter.refresh();
    rig.presenter.tapRoom(id(2));
    EXPECT_EQ(grouping.count(), 0);
    // Room 3 leaves the trio: a new grouping.
    const Speaker three = rig.host.groupList[0].members[1];
    rig.host.groupList[0].members.pop_back();
    rig.host.groupList.push_back(group({three}));
    rig.presenter.refresh();
    EXPECT_EQ(grouping.count(), 1);
}

TEST(FloorplanMapActions, CompactFloorsKeepTheirListsAcrossSweeps) {
    ActionsRig rig;
    MapFloorListModel* floors = rig.presenter.compact()->floors();
    ASSERT_EQ(floors->rows().size(), 1u);
    EXPECT_EQ(floors->rows()[0].countText, "4 Rooms");
    QObject* rooms = floors->rows()[0].rooms;

    rig.host.nodes[3].level = FloorLevel::upper();
    rig.presenter.refresh();
    ASSERT_EQ(floors->rows().size(), 2u);
    EXPECT_EQ(floors->rows()[0].title, "Upper Floor");
    EXPECT_EQ(floors->rows()[1].rooms.data(), rooms);
    EXPECT_EQ(floors->rows()[1].countText, "3 Rooms");
}

}  // namespace
}  // namespace orvel::testing
