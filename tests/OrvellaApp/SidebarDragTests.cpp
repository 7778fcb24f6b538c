// Dragging a room in the sidebar as a pointer does: the member row's chip carries the speaker id
// to the group row it is released on, which asks the store to group.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include <QQmlError>
#include <QSignalSpy>
#include <QWheelEvent>

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include "OrvelStore/OrvelStore.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvelStore/StateFixtures.h"
#include "ViewRig.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

// Sixteen rooms: one group of four, twelve on their own; more than a small window's sidebar
// shows at once.
HouseholdSnapshot longReading() {
    Household household;
    for (char id = 'A'; id <= 'P'; ++id) household.speakers.push_back(speaker(id, std::string("Room ") + id));
    household.grouping = "AA BA CA DA EE FF GG HH II JJ KK LL MM NN OO PP";
    return household.build();
}

// Every room in A's group.
HouseholdSnapshot allGrouped() {
    Household household;
    for (char id = 'A'; id <= 'P'; ++id) household.speakers.push_back(speaker(id, std::string("Room ") + id));
    for (char id = 'A'; id <= 'P'; ++id) household.grouping += std::string{id, 'A', ' '};
    return household.build();
}

void wheel(QQuickWindow* window, QPointF at, int steps) {
    for (int i = 0; i < std::abs(steps); ++i) {
        QWheelEvent event(at, window->mapToGlobal(at), QPoint(), QPoint(0, steps > 0 ? 120 : -120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(window, &event);
    }
}

// Twenty-four rooms: Room A and Room B together, the rest on their own; in a window of the
// smallest size the last room lies well over a screen below the first group.
HouseholdSnapshot twentyFourRooms() {
    Household household;
    for (char id = 'A'; id <= 'X'; ++id) household.speakers.push_back(speaker(id, std::string("Room ") + id));
    household.grouping = "AA BA";
    for (char id = 'C'; id <= 'X'; ++id) household.grouping += std::string{' ', id, id};
    return household.build();
}

// Fails the test for every warning the window's QML reported.
void expectNoWarnings(const QSignalSpy& warnings) {
    for (const QList<QVariant>& reported : warnings) {
        for (const QQmlError& error : reported.front().value<QList<QQmlError>>()) ADD_FAILURE() << error.toString().toStdString();
    }
}

// Where the list shows its rows, in the window.
QRectF shownArea(QQuickItem* list) { return list->mapRectToScene(QRectF(QPointF(0, 0), list->size())); }

// The row of that name lies whole within the list's shown area.
bool shownWhole(QQuickWindow* window, QQuickItem* list, const QString& name) {
    QQuickItem* row = only(window, name);
    return row && shownArea(list).contains(row->mapRectToScene(QRectF(QPointF(0, 0), row->size())));
}

// The desktop sidebar and the phone's rooms list: the same rows, dragged the same way.
struct RoomList {
    std::string layout;
    std::initializer_list<std::string> arguments;
    QString list;
    QString tab;
};

const RoomList roomLists[] = {
    {"desktop", {}, "sidebarList", {}},
    {"phone", {"--layout=ios"}, "roomsList", "tabButton.rooms"},
};

// The window at its smallest, showing the list of rooms scrolled to its foot, where the last room
// lies. Answers the list, or null.
QQuickItem* listAtItsFoot(LiveWindow& live, const RoomList& kind, const QString& lastRow) {
    QQuickWindow* window = live.window;
    window->resize(window->minimumSize());
    if (!kind.tab.isEmpty()) clickNamed(window, kind.tab);
    // All of the household's groups listed: A's pair and the other twenty-two rooms.
    const auto listed = [&] { return only(window, kind.list) && only(window, kind.list)->property("count").toInt() == 23; };
    if (!waitUntil(listed)) return nullptr;
    QQuickItem* list = only(window, kind.list);
    // Laid out for the smaller window.
    if (!waitUntil([&] {
            return window->size() == window->minimumSize() &&
                   QRectF(QPointF(0, 0), window->size()).contains(shownArea(list));
        }))
        return nullptr;
    if (!waitUntil([&] {
            QMetaObject::invokeMethod(list, "positionViewAtEnd");
            return shownWhole(window, list, lastRow);
        }))
        return nullptr;
    return list;
}

HouseholdSnapshot reading(std::string grouping) {
    Household household;
    household.speakers = {speaker('A', "Living Room"), speaker('B', "Kitchen"), speaker('C', "Office")};
    household.grouping = std::move(grouping);
    return household.build();
}

}  // namespace

TEST(SidebarDrag, AMemberDroppedOnAnotherGroupRowGroupsIt) {
    LiveWindow live(arguments({}), reading("AA BA CC"));
    QQuickWindow* window = live.window;
    ASSERT_NE(window, nullptr);
    const QString b = QString::fromStdString(sp('B').rawValue());
    const QString c = QString::fromStdString(sp('C').rawValue());
    ASSERT_TRUE(waitUntil([&] {
        return itemsNamed(window, "sidebarMemberRow." + b).size() == 1 && itemsNamed(window, "sidebarGroupRow." + c).size() == 1;
    }));
    QQuickItem* member = itemsNamed(window, "sidebarMemberRow." + b).front();
    QQuickItem* target = itemsNamed(window, "sidebarGroupRow." + c).front();
    // Laid out: Office's row comes after the Living Room group and its members.
    ASSERT_TRUE(waitUntil([&] { return centreOf(target).y() > centreOf(member).y(); }));
    dragAlong(window, centreOf(member), centreOf(target));

    EXPECT_TRUE(waitUntil([&] { return live.rig.sonos->sent.size() == 1; }));
}

// The wheel moves a long list down to its last room and back up to the header, which then sits
// where it started; a room held at the list's foot moves the list under it.
TEST(SidebarDrag, ALongListScrollsByWheelAndUnderARoomHeldAtItsFoot) {
    LiveWindow live(arguments({}), longReading());
    QQuickWindow* window = live.window;
    ASSERT_NE(window, nullptr);
    window->resize(window->minimumSize());
    const QString b = QString::fromStdString(sp('B').rawValue());
    const QString last = QString::fromStdString(sp('P').rawValue());
    ASSERT_TRUE(waitUntil([&] { return only(window, "sidebarList") && only(window, "sidebarMemberRow." + b); }));
    QQuickItem* list = only(window, "sidebarList");
    const QPointF inList = list->mapToScene(QPointF(list->width() / 2, list->height() / 2));
    const auto contentY = [&] { return list->property("contentY").toReal(); };
    const qreal top = contentY();
    ASSERT_TRUE(waitUntil([&] { return list->property("contentHeight").toReal() > list->height(); }));

    wheel(window, inList, -60);
    ASSERT_TRUE(waitUntil([&] { return only(window, "sidebarGroupRow." + last) != nullptr; }));
    EXPECT_GT(contentY(), top);
    wheel(window, inList, 60);
    EXPECT_TRUE(waitUntil([&] { return contentY() == top; }));
    EXPECT_EQ(only(window, "sidebarHeader")->mapToItem(list, QPointF()).y(), 10);

    // Held in the band at the foot, the list moves on by itself; Escape then gives the drag up.
    const QPointF from = centreOf(only(window, "sidebarMemberRow." + b));
    const QPointF foot = list->mapToScene(QPointF(list->width() / 2, list->height() - 8));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, from.toPoint());
    for (int i = 1; i <= 12; ++i) QTest::mouseMove(window, (from + (foot - from) * (i / 12.0)).toPoint(), 10);
    EXPECT_TRUE(waitUntil([&] { return contentY() > top; }));
    QTest::keyClick(window, Qt::Key_Escape);
    QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, foot.toPoint(), 10);
    EXPECT_TRUE(live.rig.sonos->sent.empty());
}

// Groups that go take their rows down without a row reading a presenter that is gone.
TEST(SidebarDrag, RowsOfGroupsThatGoLeaveWithoutErrors) {
    LiveWindow live(arguments({}), longReading());
    QQuickWindow* window = live.window;
    ASSERT_NE(window, nullptr);
    const QString last = QString::fromStdString(sp('P').rawValue());
    ASSERT_TRUE(waitUntil([&] { return only(window, "sidebarGroupRow." + last) != nullptr; }));
    QSignalSpy warnings(&live.app->engine(), &QQmlEngine::warnings);

    live.rig.sonos->publish(allGrouped());
    ASSERT_TRUE(waitUntil([&] { return itemsNamedStartingWith(window, "sidebarGroupRow.").size() == 1; }));
    renderFrames(window);
    QCoreApplication::processEvents();
    expectNoWarnings(warnings);
}

// Presses on `from`'s group row and carries it to the top of the list, holding it there while
// the list scrolls by itself until `until`'s row shows whole; the point it holds at, or nothing
// when the list never got there.
std::optional<QPointF> carriedToTheTop(QQuickWindow* window, QQuickItem* list, const QString& from,
                                       const QString& until) {
    const QPointF start = centreOf(only(window, "sidebarGroupRow." + from));
    const QPointF top = list->mapToScene(QPointF(list->width() / 2, 8));
    QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, start.toPoint());
    for (int i = 1; i <= 12; ++i) QTest::mouseMove(window, (start + (top - start) * (i / 12.0)).toPoint(), 10);
    if (!waitUntil([&] { return shownWhole(window, list, "sidebarGroupRow." + until); }, std::chrono::seconds(60))) {
        return std::nullopt;
    }
    return top;
}

// A room carried from the foot of a long list to its top, and held there while the list brings the
// first group back into view, still drops on the row under the pointer: the list does not take the
// dragged row down as it scrolls away. Given up with Escape after the same carry, the drag sends
// nothing, its chip goes, and the row it kept while it lasted is let go like any row out of view.
TEST(SidebarDrag, ARoomCarriedToTheTopOfALongListDropsOnTheFirstGroupOrIsGivenUp) {
    const QString first = QString::fromStdString(sp('A').rawValue());
    const QString last = QString::fromStdString(sp('X').rawValue());
    for (const bool givenUp : {false, true}) {
        for (const RoomList& kind : roomLists) {
            SCOPED_TRACE(std::string(kind.layout) + (givenUp ? ", given up" : ", dropped"));
            LiveWindow live(arguments(kind.arguments), twentyFourRooms());
            QQuickWindow* window = live.window;
            ASSERT_NE(window, nullptr);
            QQuickItem* list = listAtItsFoot(live, kind, "sidebarGroupRow." + last);
            ASSERT_NE(list, nullptr);
            QSignalSpy warnings(&live.app->engine(), &QQmlEngine::warnings);
            ASSERT_FALSE(shownWhole(window, list, "sidebarGroupRow." + first));

            const std::optional<QPointF> top = carriedToTheTop(window, list, last, first);
            ASSERT_TRUE(top);
            if (givenUp) {
                QTest::keyClick(window, Qt::Key_Escape);
                QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, top->toPoint(), 10);
                EXPECT_TRUE(waitUntil([&] {
                    return itemsNamed(window, "sidebarDragPreview." + last).isEmpty() &&
                           itemsNamed(window, "sidebarGroupRow." + last).isEmpty();
                }));
                renderFrames(window);
                QCoreApplication::processEvents();
                EXPECT_TRUE(live.rig.sonos->sent.empty());
            } else {
                const QPointF onto = centreOf(only(window, "sidebarGroupRow." + first));
                for (int i = 1; i <= 6; ++i) QTest::mouseMove(window, (*top + (onto - *top) * (i / 6.0)).toPoint(), 10);
                ASSERT_TRUE(waitUntil([&] { return only(window, "sidebarGroupDropRing." + first) != nullptr; }));
                QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, onto.toPoint(), 10);
                EXPECT_TRUE(eventuallySent(live.rig, SonosCommand::group(sp('X'), GroupID(sp('A')))));
                EXPECT_EQ(live.rig.sonos->sent.size(), 1u);
                EXPECT_TRUE(waitUntil([&] { return itemsNamed(window, "sidebarDragPreview." + last).isEmpty(); }));
                renderFrames(window);
            }
            expectNoWarnings(warnings);
        }
    }
}
