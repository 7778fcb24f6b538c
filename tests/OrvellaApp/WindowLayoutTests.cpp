// The finished window, offscreen with the real QML: the desktop detail column follows the
// sidebar and the dock, and the phone layout's tabs show their pages.
#include <gtest/gtest.h>

#include <functional>

#include <QSignalSpy>

#include "OrvelStore/StateFixtures.h"
#include "OrvelUI/common/SidebarDestination.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "OrvelUI/shell/WindowRules.h"
#include "OrvelUI/sidebar/SidebarColumn.h"
#include "OrvelUI/ShellFixtures.h"
#include "ViewRig.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

QString id(char c) { return QString::fromStdString(sp(c).rawValue()); }

// A playing pair, a stopped single room and a stopped pair.
HouseholdSnapshot household() {
    Household household;
    household.speakers = {speaker('A', "Kitchen"), speaker('B', "Dining Room"), speaker('C', "Office"),
                          speaker('D', "Den"), speaker('E', "Study")};
    household.grouping = "AA BA CC DD ED";
    const DiscreteVolume volume = DiscreteVolume::snappingPercent(20);
    household.status = {{GroupID(sp('A')), GroupStatus{playingAt(1, T0), volume}},
                        {GroupID(sp('C')), GroupStatus{PlaybackState::stopped(), volume}},
                        {GroupID(sp('D')), GroupStatus{PlaybackState::stopped(), volume}}};
    household.name = "Kvarnvägen";
    return household.build();
}

// The page the detail column shows, by the group it is for; empty when it shows none.
QString shownGroupPage(QQuickWindow* window) {
    QQuickItem* page = only(window, "groupDetail");
    return page ? page->property("groupId").toString() : QString();
}

}  // namespace

TEST(WindowLayout, PhoneSettingsTabShowsTheVersionInTheFirstFrame) {
    AppRig rig;
    const auto app = rig.start(arguments({"--layout=ios", "--tab=settings"}));
    QQuickWindow* window = shownWindow(app.get());
    ASSERT_NE(window, nullptr);

    // No household yet: the page is there at once, with the version and no household row.
    EXPECT_EQ(textsNamed(window, "settings.about.title"), QStringList{"Version"});
    EXPECT_EQ(textsNamed(window, "settings.about.value"), QStringList{"0.1.0"});
    EXPECT_EQ(itemsNamed(window, "spotifyCard").size(), 1);
    EXPECT_EQ(textsNamed(window, "tabTitle.2"), QStringList{"Settings"});
}

TEST(WindowLayout, SidebarSelectionShowsTheGroupPageAndTheDockFollowsItsRules) {
    LiveWindow live(arguments({}), household());
    ASSERT_NE(live.window, nullptr);
    QQuickWindow* window = live.window;
    OrvelRootView* view = live.app->rootView();
    ASSERT_TRUE(QTest::qWaitFor([&] { return only(window, "sidebarGroupRow." + id('D')) != nullptr; }, patience));

    // Home: the pills in the column's header, the map, the playing pair in the dock.
    EXPECT_EQ(itemsNamed(window, "detailHeader.presets").size(), 1);
    EXPECT_EQ(itemsNamed(window, "homePane").size(), 1);
    EXPECT_EQ(view->dockGroupId(), id('A'));

    // A stopped single room shows its page; the dock stays with the playing pair.
    clickNamed(window, "sidebarGroupRow." + id('C'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownGroupPage(window) == id('C'); }, patience));
    EXPECT_TRUE(itemsNamed(window, "detailHeader.presets").isEmpty());
    EXPECT_EQ(view->dockGroupId(), id('A'));
    EXPECT_EQ(itemsNamed(window, "dock").size(), 1);

    // A stopped pair takes the dock with its page.
    clickNamed(window, "sidebarGroupRow." + id('D'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownGroupPage(window) == id('D'); }, patience));
    EXPECT_EQ(view->dockGroupId(), id('D'));

    // Picking the playing pair in the dock while a group page is open turns the page to it.
    view->dock()->selectGroup(id('A'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownGroupPage(window) == id('A'); }, patience));
    EXPECT_EQ(view->dockGroupId(), id('A'));

    // Home again: the page gives way to the map, the pills return.
    clickNamed(window, "sidebarHeader");
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "homePane").size() == 1; }, patience));
    EXPECT_EQ(itemsNamed(window, "detailHeader.presets").size(), 1);
}

// The sidebar column is handed the window's selection: whoever changes it, the column marks the
// selected group's row or its header, and its Spotify card asks the window for the sign-in.
TEST(WindowLayout, TheSidebarMarksTheSelectionWhoeverMakesIt) {
    LiveWindow live(arguments({}), household());
    ASSERT_NE(live.window, nullptr);
    QQuickWindow* window = live.window;
    OrvelRootView* view = live.app->rootView();
    SidebarColumn* sidebar = live.app->sidebar();
    ASSERT_TRUE(QTest::qWaitFor([&] { return only(window, "sidebarGroupRow." + id('D')) != nullptr; }, patience));

    const auto markedRows = [&] {
        QStringList marked;
        for (const SidebarGroupListRow& listed : sidebar->groups()->rows()) {
            if (listed.row->isSelected()) marked << listed.groupId;
        }
        return marked;
    };
    struct Case {
        const char* madeBy;
        std::function<void()> select;
        QStringList marked;
        bool headerMarked;
    };
    const Case cases[] = {
        {"a sidebar row", [&] { clickNamed(window, "sidebarGroupRow." + id('C')); }, {id('C')}, false},
        {"the dock's group switcher", [&] { view->dock()->selectGroup(id('A')); }, {id('A')}, false},
        {"the sidebar header", [&] { clickNamed(window, "sidebarHeader"); }, {}, true},
        {"the root view", [&] { view->select(SidebarDestination::group(GroupID(sp('D')))); }, {id('D')}, false},
    };
    for (const Case& c : cases) {
        c.select();
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return markedRows() == c.marked && sidebar->headerSelected() == c.headerMarked; }, patience))
            << c.madeBy << ": " << markedRows().join(' ').toStdString();
    }

    QSignalSpy signIns(view, &OrvelRootView::connectSpotifyRequested);
    clickNamed(window, "spotifyCardConnect");
    EXPECT_EQ(signIns.size(), 1);
}

TEST(WindowLayout, PhoneTabsOpenGroupsOneLevelDeep) {
    LiveWindow live(arguments({"--layout=ios"}), household());
    ASSERT_NE(live.window, nullptr);
    QQuickWindow* window = live.window;
    OrvelRootView* view = live.app->rootView();

    // The map tab is titled by the household's name and carries the dock pill on its first page.
    ASSERT_TRUE(QTest::qWaitFor([&] { return textsNamed(window, "tabTitle.0") == QStringList{"Kvarnvägen"}; }, patience));
    EXPECT_EQ(itemsNamed(window, "pill").size(), 1);

    clickNamed(window, "tabButton.rooms");
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamedStartingWith(window, "roomsRow.").size() == 3; }, patience));

    clickNamed(window, "roomsRow." + id('D'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownGroupPage(window) == id('D'); }, patience));
    EXPECT_EQ(view->selectionId(), id('D'));
    EXPECT_EQ(textsNamed(window, "tabTitle.1").size(), 1);
    EXPECT_NE(textsNamed(window, "tabTitle.1"), QStringList{"Rooms"});
    // Pages opened from a first page have no dock.
    EXPECT_TRUE(itemsNamed(window, "pill").isEmpty());

    clickNamed(window, "tabBack.1");
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "roomsList").size() == 1; }, patience));
    EXPECT_TRUE(shownGroupPage(window).isEmpty());
    EXPECT_EQ(itemsNamed(window, "pill").size(), 1);

    // The dock opened from the settings tab shows its group on the map tab.
    clickNamed(window, "tabButton.settings");
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "settings").size() == 1; }, patience));
    // The pair opened last is still selected, so it holds the dock.
    EXPECT_EQ(view->dockGroupId(), id('D'));
    clickNamed(window, "pill.open");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownGroupPage(window) == id('D'); }, patience));
    EXPECT_EQ(view->activeTab(), int(AppTab::map));

    // A group opened from the map goes one level deep on the map tab too.
    clickNamed(window, "tabBack.0");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownGroupPage(window).isEmpty(); }, patience));
    view->map()->openGroup(id('A'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shownGroupPage(window) == id('A'); }, patience));
    EXPECT_EQ(view->activeTab(), int(AppTab::map));
}

// Where nothing holds the window to the phone layout's limits, the layout keeps its width anyway,
// centred in the window: its tabs, pages and dock pill stay inside a phone-wide column.
TEST(WindowLayout, PhoneLayoutKeepsItsWidthInAWideWindow) {
    LiveWindow live(arguments({"--layout=ios"}), household());
    ASSERT_NE(live.window, nullptr);
    QQuickWindow* window = live.window;
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(window, "pill").size() == 1; }, patience));
    // A window manager that ignores the limits, as a tiling one does.
    window->setMaximumSize(QSize(WindowRules::largestWindowExtent, WindowRules::largestWindowExtent));
    window->resize(1400, 900);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->contentItem()->width() == 1400; }, patience));

    const double widest = *WindowRules::frameLimits(true).maximumWidth;
    const double left = (1400 - widest) / 2;
    for (const char* name : {"tab.map", "tabBar.0", "tabButton.map", "tabButton.settings", "pill", "homePane"}) {
        QQuickItem* item = only(window, QString::fromLatin1(name));
        ASSERT_NE(item, nullptr) << name;
        const QRectF shown = item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
        EXPECT_GE(shown.left(), left) << name;
        EXPECT_LE(shown.right(), left + widest) << name;
    }
    EXPECT_EQ(only(window, "tab.map")->width(), widest);
}
