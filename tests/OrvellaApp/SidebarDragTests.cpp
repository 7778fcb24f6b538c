// Dragging a room in the sidebar as a pointer does: the member row's chip carries the speaker id
// to the group row it is released on, which asks the store to group.
#include <gtest/gtest.h>

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
