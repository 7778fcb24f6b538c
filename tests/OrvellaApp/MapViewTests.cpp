// The floor-plan map in the window's home pane: a room card dragged onto a playing hub groups
// the room through the store at once, and one dropped on open floor is pinned in the positions
// file; a nudge is a drag from 4 points away in any direction, a click short of that; its menu
// disconnects a room; a selected room's overlay sets its volume and fades out where it stood; on
// the compact map a tile dragged onto another groups the two rooms; a hub out of sight takes a
// new name only as it comes near.
#include <gtest/gtest.h>

#include <QFile>
#include <QLineF>
#include <QPointer>

#include "OrvelStore/StateFixtures.h"
#include "OrvelStore/VolumeCoalescer.h"
#include "OrvelUI/map/MapCardSizes.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "OrvelUI/ShellFixtures.h"
#include "ViewRig.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

QString id(char c) { return QString::fromStdString(sp(c).rawValue()); }

HouseholdSnapshot playingKitchenPair() {
    Household household;
    household.speakers = {speaker('A', "Kitchen"), speaker('B', "Dining Room"), speaker('C', "Office")};
    household.grouping = "AA BA CC";
    household.status = {{GroupID(sp('A')), GroupStatus{playingAt(1, T0), DiscreteVolume::snappingPercent(20)}},
                        {GroupID(sp('C')), GroupStatus{PlaybackState::stopped(), DiscreteVolume::snappingPercent(20)}}};
    return household.build();
}

// One pointer event at a point of the window given to a fraction of a pixel, as a trackpad
// reports it; the left button is held from the press to the release.
void pointer(QQuickWindow* window, QEvent::Type type, QPointF at) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QTest::lastMouseTimestamp += 20;
    qt_handleMouseEvent(window, at, window->mapToGlobal(at), held, button, type, Qt::NoModifier,
                        QTest::lastMouseTimestamp);
    // The next press is not the second of a double click.
    if (type == QEvent::MouseButtonRelease) QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
}

bool positionsFileNames(const AppRig& rig, char room) {
    QFile positions(rig.storeFolder.filePath("floorplan-positions.json"));
    return positions.open(QIODevice::ReadOnly) && positions.readAll().contains(id(room).toUtf8());
}

struct MapWindow : LiveWindow {
    MapWindow() : LiveWindow(arguments({}), playingKitchenPair()) {}

    // Once the cards are there and have glided to where the layout puts them: a press on a card
    // still moving would miss it on a busy machine. The glide of the first grouping is over once
    // the view stops animating moves; frames that come faster than the animation advances can
    // look still while it runs.
    bool open() {
        if (!window || !QTest::qWaitFor(
                           [&] {
                               QQuickItem* view = only(window, "floorplanMap");
                               return only(window, "mapRoom-" + id('C')) && only(window, "mapHub-" + id('A')) &&
                                      view && !view->property("animateMoves").toBool();
                           },
                           patience)) {
            return false;
        }
        std::vector<QPointF> last;
        return QTest::qWaitFor(
            [&] {
                std::vector<QPointF> now;
                for (const QString& prefix : {QStringLiteral("mapRoom-"), QStringLiteral("mapHub-")}) {
                    for (QQuickItem* card : itemsNamedStartingWith(window, prefix)) now.push_back(card->mapToScene({}));
                }
                if (now == last) return true;
                last = std::move(now);
                renderFrames(window);
                return false;
            },
            patience);
    }
};

}  // namespace

TEST(MapView, RoomDroppedOnPlayingHubJoinsItsGroupAtOnce) {
    MapWindow map;
    ASSERT_TRUE(map.open());
    EXPECT_EQ(only(map.window, "mapSever-" + id('C')), nullptr);
    // The speakers hold their answer: what the map shows next is the store's projection.
    map.rig.sonos->gate.close();

    dragAlong(map.window, centreOf(only(map.window, "mapRoom-" + id('C'))),
              centreOf(only(map.window, "mapHub-" + id('A'))));

    ASSERT_TRUE(QTest::qWaitFor([&] { return !map.rig.sonos->sent.empty(); }, patience));
    EXPECT_EQ(map.rig.sonos->sent.front(), SonosCommand::group(sp('C'), GroupID(sp('A'))));
    // The store projects the command before the speakers answer: the room's tether is there.
    EXPECT_TRUE(QTest::qWaitFor([&] { return only(map.window, "mapSever-" + id('C')) != nullptr; }, patience));
    map.rig.sonos->gate.open();
}

// The bands and links are one picture over the part of the canvas the scroller shows, and it
// follows the canvas as the household lays it out.
TEST(MapView, TheLinkLayerCoversWhatTheScrollerShowsOfTheCanvas) {
    MapWindow map;
    ASSERT_TRUE(map.open());
    QQuickItem* links = only(map.window, "mapLinks");
    QQuickItem* canvas = only(map.window, "mapCanvas");
    ASSERT_NE(links, nullptr);
    ASSERT_NE(canvas, nullptr);
    // The canvas lies in the scroller's content item.
    QQuickItem* scroller = canvas->parentItem()->parentItem();
    const auto shown = [&] {
        const QRectF viewport(scroller->property("contentX").toReal(), scroller->property("contentY").toReal(),
                              scroller->width(), scroller->height());
        return viewport.intersected(QRectF(0, 0, canvas->width(), canvas->height()));
    };
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const QRectF layer(links->position(), links->size());
            return !shown().isEmpty() && layer.contains(shown());
        },
        patience));
}

TEST(MapView, RoomDroppedOnOpenFloorIsPinnedInThePositionsFile) {
    MapWindow map;
    ASSERT_TRUE(map.open());
    QQuickItem* canvas = only(map.window, "mapCanvas");
    ASSERT_NE(canvas, nullptr);
    QList<QPointF> others;
    for (const QString& name : {"mapRoom-" + id('A'), "mapRoom-" + id('B'), "mapHub-" + id('A')}) {
        others << centreOf(only(map.window, name));
    }
    // Open floor: a point of the canvas well away from every other card and hub.
    std::optional<QPointF> open;
    for (double y = 60; y < canvas->height() - 60 && !open; y += 20) {
        for (double x = 80; x < canvas->width() - 80 && !open; x += 20) {
            const QPointF p = canvas->mapToScene(QPointF(x, y));
            if (std::all_of(others.begin(), others.end(), [&](QPointF o) { return QLineF(o, p).length() > 200; })) {
                open = p;
            }
        }
    }
    ASSERT_TRUE(open.has_value());

    dragAlong(map.window, centreOf(only(map.window, "mapRoom-" + id('C'))), *open);

    const QString file = map.rig.storeFolder.filePath("floorplan-positions.json");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QFile positions(file);
            return positions.open(QIODevice::ReadOnly) && positions.readAll().contains(id('C').toUtf8());
        },
        patience));
    EXPECT_TRUE(map.rig.sonos->sent.empty());
}

// A nudge of 6 pixels is a drag, not a click: the room is pinned where it was let go, and it is
// neither selected nor its group opened. The cards keep to the sizes the layout spaces them for.
TEST(MapView, ASixPixelDragPinsTheRoomAndOpensNothing) {
    MapWindow map;
    ASSERT_TRUE(map.open());
    for (QQuickItem* card : itemsNamedStartingWith(map.window, "mapRoom-")) {
        const Size most = MapCardSizes::roomCard(card->property("hasSatellites").toBool());
        EXPECT_LE(card->width(), most.width) << card->objectName().toStdString();
        EXPECT_LE(card->height(), most.height) << card->objectName().toStdString();
    }
    const auto detailBefore = map.app->rootView()->detailKind();
    const QPointF from = centreOf(only(map.window, "mapRoom-" + id('B')));

    QTest::mousePress(map.window, Qt::LeftButton, Qt::NoModifier, from.toPoint());
    for (int dx = 1; dx <= 6; ++dx) QTest::mouseMove(map.window, (from + QPointF(dx, 0)).toPoint(), 10);
    QTest::mouseRelease(map.window, Qt::LeftButton, Qt::NoModifier, (from + QPointF(6, 0)).toPoint(), 10);

    const QString file = map.rig.storeFolder.filePath("floorplan-positions.json");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QFile positions(file);
            return positions.open(QIODevice::ReadOnly) && positions.readAll().contains(id('B').toUtf8());
        },
        patience));
    EXPECT_TRUE(map.rig.sonos->sent.empty());
    EXPECT_TRUE(map.app->rootView()->map()->drag()->selectedId().isEmpty());
    EXPECT_EQ(map.app->rootView()->detailKind(), detailBefore);
}

// The drag starts 4 points from the press, measured as a distance: a diagonal nudge short of
// that is a click that selects the room (or opens its group once selected), one of 4 points or
// more pins the room and opens nothing.
TEST(MapView, ANudgeDragsFromFourPointsAwayInAnyDirection) {
    struct Case {
        const char* name;
        QPointF by;
        bool selectedBefore;
        bool pins;
    };
    const Case cases[] = {
        {"3.9 points down and right selects", {2.76, 2.76}, false, false},
        {"3.9 points up and left selects", {-2.76, -2.76}, false, false},
        {"just over 4 points at a slant pins", {2.5, 3.125}, false, true},
        {"3 points on each axis pins", {3, 3}, false, true},
        {"3 points on each axis pins the selected room", {3, -3}, true, true},
        {"a nudge of the selected room opens its group", {2, 2}, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MapWindow map;
        ASSERT_TRUE(map.open());
        MapDragPresenter* drag = map.app->rootView()->map()->drag();
        if (c.selectedBefore) {
            clickNamed(map.window, "mapRoom-" + id('B'));
            ASSERT_EQ(drag->selectedId(), id('B'));
        }
        const auto detailBefore = map.app->rootView()->detailKind();
        // On a whole pixel, so the movement is exactly the nudge.
        QQuickItem* card = only(map.window, "mapRoom-" + id('B'));
        ASSERT_NE(card, nullptr);
        const QPointF from = centreOf(card).toPoint();

        pointer(map.window, QEvent::MouseButtonPress, from);
        pointer(map.window, QEvent::MouseMove, from + c.by);
        pointer(map.window, QEvent::MouseButtonRelease, from + c.by);

        EXPECT_TRUE(drag->draggingId().isEmpty());
        if (c.pins) {
            EXPECT_TRUE(QTest::qWaitFor([&] { return positionsFileNames(map.rig, 'B'); }, patience));
            EXPECT_TRUE(drag->selectedId().isEmpty());
            EXPECT_EQ(map.app->rootView()->detailKind(), detailBefore);
        } else {
            EXPECT_EQ(drag->selectedId(), id('B'));
            if (c.selectedBefore) {
                EXPECT_NE(map.app->rootView()->detailKind(), detailBefore);
            } else {
                EXPECT_EQ(map.app->rootView()->detailKind(), detailBefore);
                // A click leaves the card where it was.
                EXPECT_EQ(centreOf(card).toPoint(), from.toPoint());
            }
            EXPECT_FALSE(positionsFileNames(map.rig, 'B'));
        }
        EXPECT_TRUE(map.rig.sonos->sent.empty());
    }
}

// A hub whose group stops being one goes with a fade where it stood, then is gone.
TEST(MapView, AHubThatGoesAwayFadesOutWhereItStood) {
    MapWindow map;
    ASSERT_TRUE(map.open());
    const QPointF stood = centreOf(only(map.window, "mapHub-" + id('A')));
    Household apart;
    apart.speakers = {speaker('A', "Kitchen"), speaker('B', "Dining Room"), speaker('C', "Office")};
    apart.grouping = "AA BB CC";
    map.rig.sonos->publish(apart.build());

    QQuickItem* leaving = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            leaving = only(map.window, "mapHubLeaving-" + id('A'));
            return leaving && !only(map.window, "mapHub-" + id('A'));
        },
        patience));
    EXPECT_EQ(centreOf(leaving), stood);
    EXPECT_FALSE(leaving->isEnabled());
    const QPointer<QQuickItem> ghost(leaving);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ghost.isNull(); }, patience));
}

TEST(MapView, EscapeEndsTheDragWithoutADrop) {
    MapWindow map;
    ASSERT_TRUE(map.open());
    const QPointF from = centreOf(only(map.window, "mapRoom-" + id('C')));
    const QPointF to = centreOf(only(map.window, "mapHub-" + id('A')));

    QTest::mousePress(map.window, Qt::LeftButton, Qt::NoModifier, from.toPoint());
    for (int i = 1; i <= 6; ++i) QTest::mouseMove(map.window, (from + (to - from) * (i / 12.0)).toPoint(), 10);
    MapDragPresenter* drag = map.app->rootView()->map()->drag();
    ASSERT_TRUE(QTest::qWaitFor([&] { return drag->draggingId() == id('C'); }, patience));
    QTest::keyClick(map.window, Qt::Key_Escape);
    EXPECT_TRUE(drag->draggingId().isEmpty());
    for (int i = 7; i <= 12; ++i) QTest::mouseMove(map.window, (from + (to - from) * (i / 12.0)).toPoint(), 10);
    QTest::mouseRelease(map.window, Qt::LeftButton, Qt::NoModifier, to.toPoint(), 10);

    EXPECT_TRUE(map.rig.sonos->sent.empty());
    EXPECT_FALSE(QFile::exists(map.rig.storeFolder.filePath("floorplan-positions.json")));
}

TEST(MapView, SelectedRoomsOverlaySetsThatRoomsVolume) {
    MapWindow map;
    ASSERT_TRUE(map.open());
    clickNamed(map.window, "mapRoom-" + id('C'));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QQuickItem* overlay = only(map.window, "mapSelectedOverlay");
            return overlay && overlay->opacity() == 1.0;
        },
        patience));

    clickNamed(map.window, "mapOverlayVolume.plus");

    // Volume sends wait a moment for later steps; the store's clock is the test's.
    const SonosCommand expected =
        SonosCommand::setVolume(DiscreteVolume::snappingPercent(21), VolumeTarget::speaker(sp('C')));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            map.rig.clock.advance(VolumeCoalescer::firstSendDelay);
            return wasSent(map.rig, expected);
        },
        patience));
}

// Cleared by a click on the open floor, the overlay fades out where it stood: no ghost of it
// crosses the canvas's corner.
TEST(MapView, TheSelectedRoomsOverlayFadesOutWhereItStood) {
    MapWindow map;
    ASSERT_TRUE(map.open());
    clickNamed(map.window, "mapRoom-" + id('C'));
    QQuickItem* overlay = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            overlay = only(map.window, "mapSelectedOverlay");
            return overlay && overlay->opacity() == 1.0;
        },
        patience));
    const QPointF stood = overlay->position();
    QQuickItem* canvas = only(map.window, "mapCanvas");
    ASSERT_NE(canvas, nullptr);
    // Open floor: away from every card, hub, sever button and the overlay itself.
    QList<QPointF> taken{centreOf(overlay)};
    for (const QString& prefix : {QStringLiteral("mapRoom-"), QStringLiteral("mapHub-"), QStringLiteral("mapSever-")}) {
        for (QQuickItem* card : itemsNamedStartingWith(map.window, prefix)) taken << centreOf(card);
    }
    std::optional<QPointF> open;
    for (double y = 40; y < canvas->height() - 40 && !open; y += 10) {
        for (double x = 40; x < canvas->width() - 40 && !open; x += 10) {
            const QPointF p = canvas->mapToScene(QPointF(x, y));
            if (std::all_of(taken.begin(), taken.end(), [&](QPointF t) { return QLineF(t, p).length() > 180; })) {
                open = p;
            }
        }
    }
    ASSERT_TRUE(open.has_value());

    QTest::mouseClick(map.window, Qt::LeftButton, Qt::NoModifier, open->toPoint());

    ASSERT_TRUE(map.app->rootView()->map()->drag()->selectedId().isEmpty());
    std::vector<QPointF> seen;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            if (!overlay->isVisible()) return true;
            seen.push_back(overlay->position());
            renderFrames(map.window);
            return false;
        },
        patience));
    EXPECT_FALSE(seen.empty());
    for (const QPointF& at : seen) EXPECT_EQ(at, stood);
}

TEST(MapView, CompactTileDroppedOnAnotherGroupsThemAtTheSpeakers) {
    MapWindow map;
    ASSERT_TRUE(map.open());
    QQuickItem* view = only(map.window, "floorplanMap");
    ASSERT_NE(view, nullptr);
    view->setProperty("phoneLayout", true);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return only(map.window, "compactRoom-" + id('C')) && only(map.window, "compactRoom-" + id('B')); },
        patience));
    EXPECT_EQ(only(map.window, "mapRoom-" + id('C')), nullptr);
    // The grid places the tiles after they appear.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return centreOf(only(map.window, "compactRoom-" + id('C'))) !=
                   centreOf(only(map.window, "compactRoom-" + id('B')));
        },
        patience));

    dragAlong(map.window, centreOf(only(map.window, "compactRoom-" + id('C'))),
              centreOf(only(map.window, "compactRoom-" + id('B'))));

    EXPECT_TRUE(eventuallySent(map.rig, SonosCommand::group(sp('C'), GroupID(sp('A')))));
}

TEST(MapView, RoomCardsMenuDisconnectsThatRoom) {
    MapWindow map;
    ASSERT_TRUE(map.open());
    const QPointF room = centreOf(only(map.window, "mapRoom-" + id('B')));
    QTest::mouseClick(map.window, Qt::RightButton, Qt::NoModifier, room.toPoint());

    clickNamed(map.window, "menu.disconnect." + id('B'));

    EXPECT_TRUE(eventuallySent(map.rig, SonosCommand::ungroup(sp('B'))));
    // The cards glide to the new grouping; a window torn down under running animations keeps
    // scene-graph textures that the leak checker reports.
    QQuickItem* card = only(map.window, "mapRoom-" + id('B'));
    std::optional<QPointF> last;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            if (only(map.window, "floorplanMap")->property("animateMoves").toBool()) return false;
            const QPointF now = card->mapToScene(QPointF(0, 0));
            const bool still = last == now;
            last = now;
            renderFrames(map.window);
            return still;
        },
        patience));
}

namespace {

// 24 rooms in twelve pairs that play nothing (a hub is titled by its group), so the map holds
// more hubs than it shows.
HouseholdSnapshot manyHubs(const std::string& roomPrefix) {
    Household household;
    for (char c = 'A'; c <= 'X'; c += 2) {
        const char member = static_cast<char>(c + 1);
        household.speakers.push_back(speaker(c, roomPrefix + " " + std::string(1, c)));
        household.speakers.push_back(speaker(member, roomPrefix + " " + std::string(1, member)));
        household.grouping += std::string(2, c) + " " + std::string(1, member) + c + " ";
        household.status.insert_or_assign(GroupID(sp(c)), GroupStatus{PlaybackState::stopped(), DiscreteVolume::snappingPercent(20)});
    }
    return household.build();
}

// Every hub card of the map, shown or not.
std::vector<QQuickItem*> hubCards(QQuickItem* item) {
    std::vector<QQuickItem*> found;
    if (item->objectName().startsWith(QStringLiteral("mapHub-"))) found.push_back(item);
    for (QQuickItem* child : item->childItems()) {
        const std::vector<QQuickItem*> below = hubCards(child);
        found.insert(found.end(), below.begin(), below.end());
    }
    return found;
}

QString hubTitle(QQuickItem* hub) {
    QQuickItem* title = hub->findChild<QQuickItem*>(QStringLiteral("mapHubTitle"));
    return title ? title->property("text").toString() : QString();
}

}  // namespace

// A hub out of sight lays out no new title when its name changes: it keeps the title it had
// (none, if it was never near) and takes the new one as it comes near the shown area.
TEST(MapView, AHubOutOfSightTakesItsNewTitleWhenItComesNear) {
    LiveWindow map(arguments({}), manyHubs("Den"));
    ASSERT_NE(map.window, nullptr);
    QQuickItem* hidden = nullptr;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const std::vector<QQuickItem*> hubs = hubCards(map.window->contentItem());
            if (hubs.size() != 12) return false;
            for (QQuickItem* hub : hubs) {
                if (!hub->isVisible()) hidden = hub;
            }
            return hidden != nullptr;
        },
        patience));
    const QPointer<QQuickItem> watched(hidden);
    const QString before = hubTitle(hidden);

    map.rig.sonos->publish(manyHubs("Loft"));
    // The hubs in sight show the new names while the one away keeps its old title.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            for (QQuickItem* hub : hubCards(map.window->contentItem())) {
                if (hub->isVisible() && !hubTitle(hub).startsWith(QStringLiteral("Loft"))) return false;
            }
            return true;
        },
        patience));
    ASSERT_TRUE(watched);
    EXPECT_FALSE(watched->isVisible());
    EXPECT_EQ(hubTitle(watched), before);

    // Scrolled to it, it shows the household's name.
    QQuickItem* canvas = only(map.window, "mapCanvas");
    ASSERT_NE(canvas, nullptr);
    QQuickItem* scroller = canvas->parentItem()->parentItem();
    const qreal most = std::max(0.0, canvas->height() - scroller->height());
    scroller->setProperty("contentY", std::clamp(watched->y() - scroller->height() / 2, 0.0, most));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return watched && watched->isVisible() && hubTitle(watched).startsWith(QStringLiteral("Loft")); },
        patience));
}
