// Dragging a room in the sidebar as a pointer does: the member row's chip carries the speaker id
// to the group row it is released on, which asks the store to group.
#include <gtest/gtest.h>

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include "AppRig.h"
#include "OrvelStore/OrvelStore.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvelStore/StateFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

HouseholdSnapshot reading(std::string grouping) {
    Household household;
    household.speakers = {speaker('A', "Living Room"), speaker('B', "Kitchen"), speaker('C', "Office")};
    household.grouping = std::move(grouping);
    return household.build();
}

QPoint centreOf(QQuickItem* item) {
    return item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
}

}  // namespace

TEST(SidebarDrag, AMemberDroppedOnAnotherGroupRowGroupsIt) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_NE(app, nullptr);
    QQuickWindow* window = app->showWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window, patience));
    ASSERT_TRUE(waitUntil([&] { return rig.sonos->subscriptionCount() == 1; }));
    rig.sonos->publish(reading("AA BA CC"));

    const QString b = QString::fromStdString(sp('B').rawValue());
    const QString c = QString::fromStdString(sp('C').rawValue());
    ASSERT_TRUE(waitUntil([&] {
        return itemsNamed(window, "sidebarMemberRow." + b).size() == 1 && itemsNamed(window, "sidebarGroupRow." + c).size() == 1;
    }));
    QQuickItem* member = itemsNamed(window, "sidebarMemberRow." + b).front();
    QQuickItem* target = itemsNamed(window, "sidebarGroupRow." + c).front();
    // Laid out: Office's row comes after the Living Room group and its members.
    ASSERT_TRUE(waitUntil([&] { return centreOf(target).y() > centreOf(member).y(); }));
    const QPoint from = centreOf(member);
    const QPoint to = centreOf(target);

    QTest::mousePress(window, Qt::LeftButton, {}, from);
    // In steps, so the drag handler sees the pointer pass its threshold before it reaches the row.
    for (int step = 1; step <= 10; ++step) QTest::mouseMove(window, from + (to - from) * step / 10);
    QTest::mouseRelease(window, Qt::LeftButton, {}, to);

    EXPECT_TRUE(waitUntil([&] { return rig.sonos->sent.size() == 1; }));
}
