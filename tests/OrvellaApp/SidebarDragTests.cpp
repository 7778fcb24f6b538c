// Dragging a room in the sidebar as a pointer does: the member row's chip carries the speaker id
// to the group row it is released on, which asks the store to group.
#include <gtest/gtest.h>

#include <cstdlib>

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
    for (const QList<QVariant>& reported : warnings) {
        for (const QQmlError& error : reported.front().value<QList<QQmlError>>()) ADD_FAILURE() << error.toString().toStdString();
    }
}
