// The full map's presenter: which cards, hubs and sever buttons a household gives, the highlight
// timer that runs only while a hub group plays, a drag or a sever reaching the store, a moved
// press told from a drag by its distance, and where the selected room's overlay stands and goes.

#include <gtest/gtest.h>

#include <QLineF>
#include <QSignalSpy>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "MapDragFixtures.h"
#include "OrvelUI/map/FloorplanMapPresenter.h"
#include "OrvelUI/theme/Haptics.h"
#include "testing/ManualClock.h"

namespace orvel::testing {
namespace {

struct MapRig {
    RecordingMapHost host;
    Haptics haptics;
    ManualClock clock;
    std::vector<std::string> severed;
    FloorplanMapPresenter presenter{host, haptics, clock,
                                    [this](const SpeakerUUID& id) { severed.push_back(id.rawValue()); }};

    MapRig() {
        presenter.setViewportWidth(1000);
        presenter.setViewportHeight(700);
    }
    void setGroups(std::vector<SonosGroup> groups) {
        host.groupList = std::move(groups);
        presenter.refresh();
    }
    QPointF roomPoint(int n) {
        for (const auto& row : presenter.rooms()->rows()) {
            if (row.speakerId == QString::fromStdString(sp(n).rawValue())) return {row.x, row.y};
        }
        ADD_FAILURE() << "no card for room " << n;
        return {};
    }
};

QStringList keys(const auto& model) {
    QStringList out;
    for (const auto& row : model.rows()) out << row.key();
    return out;
}

QString id(int n) { return QString::fromStdString(sp(n).rawValue()); }

struct HouseholdCase {
    const char* name;
    PlaybackState trio;
    PlaybackState alone;
    bool trioIsGroup;
    QStringList hubs;
    QStringList tethers;
    bool animating;
    bool firstRoomPlaying;
};

TEST(FloorplanMapPresenter, HouseholdGivesCardsHubsAndSeverButtons) {
    const QString g1 = id(1);
    const QString g4 = id(4);
    const std::vector<HouseholdCase> cases{
        {"playing trio, stopped single", playingStream(), PlaybackState::stopped(), true, {g1},
         {g1 + "+" + id(1), g1 + "+" + id(2), g1 + "+" + id(3)}, true, true},
        {"paused trio", pausedStream(), PlaybackState::stopped(), true, {g1},
         {g1 + "+" + id(1), g1 + "+" + id(2), g1 + "+" + id(3)}, false, false},
        {"a lone playing room has a hub but nothing to sever", PlaybackState::stopped(), playingStream(), false,
         {g4}, {}, true, false},
        {"nothing plays, nobody grouped", PlaybackState::stopped(), PlaybackState::stopped(), false, {}, {}, false,
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MapRig rig;
        const auto& s = rig.host.nodes;
        std::vector<SonosGroup> groups;
        if (c.trioIsGroup) {
            groups.push_back(group({s[0].speaker, s[1].speaker, s[2].speaker}, c.trio));
        } else {
            for (int i = 0; i < 3; ++i) groups.push_back(group({s[std::size_t(i)].speaker}, c.trio));
        }
        groups.push_back(group({s[3].speaker}, c.alone));
        // Every node follows its own group, as the store keeps them.
        for (auto& node : rig.host.nodes) {
            for (const auto& g : groups) {
                for (const auto& member : g.speakers()) {
                    if (member.id == node.id()) node.group = g.id;
                }
            }
        }
        rig.setGroups(groups);

        EXPECT_EQ(keys(*rig.presenter.rooms()), (QStringList{id(1), id(2), id(3), id(4)}));
        EXPECT_EQ(keys(*rig.presenter.hubs()), c.hubs);
        EXPECT_EQ(keys(*rig.presenter.tethers()), c.tethers);
        EXPECT_EQ(rig.presenter.animating(), c.animating);
        EXPECT_EQ(rig.presenter.rooms()->rows().front().playing, c.firstRoomPlaying);
        EXPECT_EQ(rig.presenter.rooms()->rows().front().connectedToHub, c.trioIsGroup);
    }
}

TEST(FloorplanMapPresenter, HighlightRunsOnlyWhileAHubGroupPlays) {
    MapRig rig;
    const auto& s = rig.host.nodes;
    QSignalSpy phases(&rig.presenter, &FloorplanMapPresenter::phaseChanged);
    EXPECT_FALSE(rig.presenter.animating());

    rig.setGroups({group({s[0].speaker, s[1].speaker, s[2].speaker}, playingStream()), group({s[3].speaker})});
    ASSERT_TRUE(rig.presenter.animating());
    const double before = rig.presenter.phase();
    rig.clock.advance(std::chrono::milliseconds(1300));
    rig.presenter.advanceFrame();
    EXPECT_NE(rig.presenter.phase(), before);
    EXPECT_FALSE(rig.presenter.links().front().phase == std::nullopt);

    rig.setGroups({group({s[0].speaker, s[1].speaker, s[2].speaker}, pausedStream()), group({s[3].speaker})});
    EXPECT_FALSE(rig.presenter.animating());
    EXPECT_EQ(rig.presenter.links().front().phase, std::nullopt);
    // A still map asks for no frames however much time passes.
    const auto framesSoFar = phases.count();
    rig.clock.advance(std::chrono::seconds(5));
    QCoreApplication::processEvents();
    EXPECT_EQ(phases.count(), framesSoFar);
}

TEST(FloorplanMapPresenter, UnchangedHouseholdChangesNothing) {
    MapRig rig;
    const auto& s = rig.host.nodes;
    rig.setGroups({group({s[0].speaker, s[1].speaker, s[2].speaker}, playingStream()), group({s[3].speaker})});
    QSignalSpy geometry(&rig.presenter, &FloorplanMapPresenter::geometryChanged);
    QSignalSpy rows(rig.presenter.rooms(), &QAbstractItemModel::dataChanged);
    rig.presenter.refresh();
    rig.presenter.setViewportWidth(1000);
    EXPECT_EQ(geometry.count(), 0);
    EXPECT_EQ(rows.count(), 0);
}

TEST(FloorplanMapPresenter, DropOnRoomGroupsAndCancelledDragCallsNothing) {
    MapRig rig;
    const QPointF from = rig.roomPoint(4);
    const QPointF onto = rig.roomPoint(1);
    const QPointF step = onto - from;

    rig.presenter.dragBegan(id(4));
    rig.presenter.dragMoved(id(4), onto.x(), onto.y(), step.x(), step.y());
    EXPECT_EQ(rig.presenter.drag()->dropTargetRoom(), id(1));
    EXPECT_TRUE(rig.presenter.hasPreview());
    // Escape: the rest of that gesture neither drags again nor drops.
    rig.presenter.dragCancelled();
    EXPECT_FALSE(rig.presenter.hasPreview());
    rig.presenter.dragMoved(id(4), onto.x(), onto.y(), step.x(), step.y());
    EXPECT_TRUE(rig.presenter.drag()->state().isIdle());
    rig.presenter.dragReleased(id(4), onto.x(), onto.y(), step.x(), step.y());
    EXPECT_TRUE(rig.host.calls.empty());

    rig.presenter.dragBegan(id(4));
    rig.presenter.dragMoved(id(4), onto.x(), onto.y(), step.x(), step.y());
    rig.presenter.dragReleased(id(4), onto.x(), onto.y(), step.x(), step.y());
    EXPECT_EQ(rig.host.calls, std::vector<std::string>{"group 4 onto 1"});
    EXPECT_TRUE(rig.presenter.drag()->state().isIdle());
}

QPointF hubPoint(MapRig& rig, int group) {
    for (const auto& row : rig.presenter.hubs()->rows()) {
        if (row.groupId == id(group)) return {row.x, row.y};
    }
    ADD_FAILURE() << "no hub for group " << group;
    return {};
}

// One gesture of room 4's card: moves by `steps` (each from the press), then released or
// cancelled. The offsets are from the card's centre.
struct Gesture {
    std::vector<QPointF> steps;
    bool cancelled = false;
};

void perform(MapRig& rig, const QPointF& from, const Gesture& gesture) {
    rig.presenter.dragBegan(id(4));
    QPointF at = from;
    for (const QPointF& step : gesture.steps) {
        at = from + step;
        rig.presenter.dragMoved(id(4), at.x(), at.y(), step.x(), step.y());
    }
    if (gesture.cancelled) rig.presenter.dragCancelled();
    // The last step as given: subtracting the press from where it led would round it.
    const QPointF moved = gesture.steps.empty() ? QPointF() : gesture.steps.back();
    rig.presenter.dragReleased(id(4), at.x(), at.y(), moved.x(), moved.y());
}

// Gestures that end without a drop leave nothing behind: the drag after them is measured
// against the canvas as it is then, not as it was when they began.
TEST(FloorplanMapPresenter, GesturesStartAtFourPointsAndLeaveNoStateBehind) {
    struct Case {
        const char* name;
        Gesture first;
        std::vector<std::string> firstCalls;
    };
    const std::vector<Case> cases{
        {"a 3.9-point nudge is a click", {{{3.9, 0}}}, {}},
        {"a gesture that stays under 4 points never drags", {{{1, 1}, {2, 1}, {1, 0}}}, {}},
        {"a cancelled drag", {{{0, -40}, {0, -80}}, true}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapRig rig;
        perform(rig, rig.roomPoint(4), c.first);
        EXPECT_EQ(rig.host.calls, c.firstCalls);
        EXPECT_TRUE(rig.presenter.drag()->state().isIdle());
        EXPECT_FALSE(rig.presenter.hasPreview());

        // The canvas changes under the next drag: room 1 is now far from where it was.
        const QPointF before = rig.roomPoint(1);
        rig.host.nodes[0].coordinate = RoomCoordinate::clamping(0.95, 0.1);
        rig.presenter.refresh();
        const QPointF onto = rig.roomPoint(1);
        ASSERT_GT(QLineF(before, onto).length(), 96);
        const QPointF from = rig.roomPoint(4);
        perform(rig, from, {{{4, 0}, onto - from}});
        EXPECT_EQ(rig.host.calls, std::vector<std::string>{"group 4 onto 1"});
        EXPECT_TRUE(rig.presenter.drag()->state().isIdle());
    }
}

TEST(FloorplanMapPresenter, FourPointsPinTheRoom_TheTargetIsWhatTheCanvasShows) {
    MapRig rig;
    const QPointF from = rig.roomPoint(4);
    perform(rig, from, {{{4, 0}}});
    ASSERT_EQ(rig.host.calls.size(), 1u);
    EXPECT_TRUE(rig.host.calls.front().starts_with("move 4 to ")) << rig.host.calls.front();

    // Dragged over the trio's hub, the hub stays put under the pointer and takes the drop.
    rig.host.calls.clear();
    const QPointF hub = hubPoint(rig, 1);
    const QPointF other = rig.roomPoint(2);
    rig.presenter.dragBegan(id(4));
    rig.presenter.dragMoved(id(4), hub.x(), hub.y(), hub.x() - from.x(), hub.y() - from.y());
    EXPECT_EQ(rig.presenter.drag()->dropTargetHub(), id(1));
    EXPECT_EQ(hubPoint(rig, 1), hub);
    EXPECT_EQ(rig.roomPoint(2), other);
    rig.presenter.dragReleased(id(4), hub.x(), hub.y(), hub.x() - from.x(), hub.y() - from.y());
    EXPECT_EQ(rig.host.calls, std::vector<std::string>{"group 4 onto 1"});
}

// A moved press stays a click until the pointer is 4 points from the press, measured as a
// distance in any direction: a diagonal nudge of 3 points on each axis is already a drag.
TEST(FloorplanMapPresenter, AMovedPressIsAClickUntilFourPointsAway) {
    enum class Outcome { click, pin, nothing };
    struct Case {
        const char* name;
        std::vector<QPointF> steps;
        bool selectedBefore;
        Outcome outcome;
    };
    const std::vector<Case> cases{
        {"3.9 points down and right", {{1, 1}, {2.76, 2.76}}, false, Outcome::click},
        {"3.9 points down and left", {{-2.76, 2.76}}, false, Outcome::click},
        {"4 points at a slant", {{1, 1}, {2.4, 3.2}}, false, Outcome::pin},
        {"3 points on each axis", {{3, 3}}, false, Outcome::pin},
        {"4 points up", {{0, -4}}, false, Outcome::pin},
        {"out 40 points and back near the press", {{0, -40}, {1, 1}}, false, Outcome::nothing},
        {"a nudge of the selected room opens its group", {{2, 2}}, true, Outcome::click},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapRig rig;
        std::vector<std::string> opened;
        rig.presenter.setIntents(MapIntents{
            .togglePlayOrHandOffSpotify = {},
            .send = {},
            .openGroup = [&](const GroupID& g) { opened.push_back(g.description()); },
            .speakers = {},
            .performMenuIntent = {},
        });
        if (c.selectedBefore) rig.presenter.tapRoom(id(4));
        const QPointF from = rig.roomPoint(4);

        perform(rig, from, Gesture{c.steps});

        EXPECT_TRUE(rig.presenter.drag()->state().isIdle());
        switch (c.outcome) {
        case Outcome::click:
            EXPECT_TRUE(rig.host.calls.empty());
            EXPECT_EQ(rig.presenter.drag()->selectedId(), id(4));
            EXPECT_EQ(opened.size(), c.selectedBefore ? 1u : 0u);
            // A click leaves the card where it was.
            EXPECT_EQ(rig.roomPoint(4), from);
            break;
        case Outcome::pin:
            ASSERT_EQ(rig.host.calls.size(), 1u);
            EXPECT_TRUE(rig.host.calls.front().starts_with("move 4 to ")) << rig.host.calls.front();
            EXPECT_TRUE(rig.presenter.drag()->selectedId().isEmpty());
            break;
        case Outcome::nothing:
            EXPECT_TRUE(rig.host.calls.empty());
            EXPECT_TRUE(rig.presenter.drag()->selectedId().isEmpty());
            break;
        }
    }
}

// Hidden, the overlay keeps its place and its controls, so it fades out where it stood instead
// of flashing over the canvas's corner.
TEST(FloorplanMapPresenter, AHiddenOverlayKeepsWhereItStoodAndWhatItShowed) {
    struct Case {
        const char* name;
        std::function<void(MapRig&)> hide;
    };
    const std::vector<Case> cases{
        {"a click on the open floor", [](MapRig& rig) { rig.presenter.clearSelection(); }},
        {"a drag of the selected room",
         [](MapRig& rig) {
             const QPointF at = rig.roomPoint(2);
             rig.presenter.dragBegan(id(2));
             rig.presenter.dragMoved(id(2), at.x(), at.y() - 40, 0, -40);
         }},
        {"a drag of another room",
         [](MapRig& rig) {
             const QPointF at = rig.roomPoint(4);
             rig.presenter.dragBegan(id(4));
             rig.presenter.dragMoved(id(4), at.x() + 40, at.y(), 40, 0);
         }},
        {"the room leaves the map",
         [](MapRig& rig) {
             std::erase_if(rig.host.nodes, [](const FloorplanNode& n) { return n.id() == sp(2); });
             rig.presenter.refresh();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapRig rig;
        rig.presenter.tapRoom(id(2));
        ASSERT_TRUE(rig.presenter.overlayVisible());
        const QPointF stood(rig.presenter.overlayX(), rig.presenter.overlayY());
        const int volume = rig.presenter.overlayVolume();

        c.hide(rig);

        EXPECT_FALSE(rig.presenter.overlayVisible());
        EXPECT_EQ(QPointF(rig.presenter.overlayX(), rig.presenter.overlayY()), stood);
        EXPECT_EQ(rig.presenter.overlaySpeakerId(), id(2));
        EXPECT_EQ(rig.presenter.overlayGroupId(), id(1));
        EXPECT_EQ(rig.presenter.overlayVolume(), volume);
    }
}

// The view glides the overlay only from one room to another, and learns that before the move.
TEST(FloorplanMapPresenter, TheOverlayGlidesFromOneRoomToAnotherOnly) {
    MapRig rig;
    std::vector<std::string> events;
    QObject::connect(&rig.presenter, &FloorplanMapPresenter::overlayGlidesChanged, [&] {
        events.push_back(rig.presenter.overlayGlides() ? "glides" : "in place");
    });
    QObject::connect(&rig.presenter, &FloorplanMapPresenter::overlayChanged, [&] { events.push_back("moved"); });
    const auto place = [&] { return QPointF(rig.presenter.overlayX(), rig.presenter.overlayY()); };

    // The first selection has nowhere to glide from.
    rig.presenter.tapRoom(id(2));
    EXPECT_EQ(events, std::vector<std::string>{"moved"});
    const QPointF second = place();

    events.clear();
    rig.presenter.tapRoom(id(3));
    EXPECT_EQ(events, (std::vector<std::string>{"glides", "moved"}));
    const QPointF third = place();
    EXPECT_NE(third, second);

    // A new volume halfway through the glide does not cut it short.
    events.clear();
    rig.host.nodes[2].speaker.volume = DiscreteVolume::snappingPercent(70);
    rig.presenter.refresh();
    EXPECT_EQ(events, std::vector<std::string>{"moved"});
    EXPECT_TRUE(rig.presenter.overlayGlides());

    // A wider window moves the same room's overlay: in place at once.
    events.clear();
    rig.presenter.setViewportWidth(1400);
    EXPECT_EQ(events, (std::vector<std::string>{"in place", "moved"}));
    EXPECT_NE(place(), third);

    // Chosen while it fades out, the next room is glided to from where it faded.
    rig.presenter.clearSelection();
    events.clear();
    rig.presenter.tapRoom(id(1));
    EXPECT_EQ(events, (std::vector<std::string>{"glides", "moved"}));
}

TEST(FloorplanMapPresenter, SeverTicksThenUngroupsThatRoomOnly) {
    MapRig rig;
    // The button says whom it disconnects, to the pointer and to assistive technology.
    const auto& buttons = rig.presenter.tethers()->rows();
    ASSERT_FALSE(buttons.empty());
    EXPECT_EQ(buttons.front().helpText, "Disconnect Kitchen from music");
    EXPECT_EQ(buttons.front().accessibleName, "Disconnect Kitchen");
    rig.presenter.sever(id(2));
    rig.presenter.sever(QStringLiteral("not a speaker"));
    EXPECT_EQ(rig.severed, std::vector<std::string>{sp(2).rawValue()});
    EXPECT_EQ(rig.haptics.performedCount(), 1);
}

}  // namespace
}  // namespace orvel::testing
