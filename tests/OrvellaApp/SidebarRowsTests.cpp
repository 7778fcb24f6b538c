// The sidebar's rows and their menu in the real window: a battery drawn as the speaker reports
// it, and a menu wide enough for its longest entry yet kept inside the window.
#include <gtest/gtest.h>

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include "OrvelStore/StateFixtures.h"
#include "OrvelUI/ShellFixtures.h"
#include "ViewRig.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

Speaker portable(char id, std::string room, int levelPercent) {
    Speaker speaker = orvel::testing::speaker(id, std::move(room));
    speaker.model = SpeakerModel::move(BatteryTelemetry{levelPercent, false, std::nullopt, T0});
    return speaker;
}

QString idOf(char id) { return QString::fromStdString(sp(id).rawValue()); }

// What the badges inside an item say.
QStringList batteryTexts(QQuickItem* item) {
    QList<QQuickItem*> found;
    collectNamed(item, "batteryLevel", found);
    QStringList texts;
    for (QQuickItem* text : found) texts << text->property("text").toString();
    return texts;
}

// The part of the scene an item covers.
QRectF sceneRect(QQuickItem* item) { return item->mapRectToScene(QRectF(QPointF(0, 0), item->size())); }

// Whether a menu entry's whole text fits between its left edge and the entry's right edge.
bool wholeTextShows(QQuickItem* entry) {
    QList<QQuickItem*> texts;
    collectNamed(entry, "menuEntryText", texts);
    if (texts.size() != 1) return false;
    QQuickItem* text = texts.front();
    const QRectF full = text->mapRectToScene(QRectF(0, 0, text->implicitWidth(), text->height()));
    return sceneRect(entry).contains(full);
}

// The menu item that opens the submenu of that name.
QQuickItem* submenuTitle(QQuickWindow* window, const QString& submenu) {
    QQuickItem* found = nullptr;
    const std::function<void(QQuickItem*)> look = [&](QQuickItem* item) {
        if (!item->isVisible() || found) return;
        const auto* menu = item->property("subMenu").value<QObject*>();
        if (menu && menu->objectName() == submenu) found = item;
        for (QQuickItem* child : item->childItems()) look(child);
    };
    look(window->contentItem());
    return found;
}

}  // namespace

// A level is drawn as given, below zero too; a room without a battery has no badge.
TEST(SidebarRows, ABatteryLevelIsDrawnAsTheSpeakerReportsIt) {
    Household household;
    household.speakers = {portable('A', "Patio", -3), speaker('B', "Kitchen"), portable('C', "Bath", 0)};
    household.grouping = "AA BB CB";
    LiveWindow live(arguments({}), household.build());
    ASSERT_NE(live.window, nullptr);
    ASSERT_TRUE(waitUntil([&] { return itemsNamed(live.window, "sidebarMemberRow." + idOf('C')).size() == 1; }));

    const struct {
        QString row;
        QStringList badges;
    } cases[] = {
        {"sidebarGroupRow." + idOf('A'), {"-3%"}},
        {"sidebarMemberRow." + idOf('C'), {"0%"}},
        {"sidebarMemberRow." + idOf('B'), {}},
    };
    for (const auto& c : cases) {
        QQuickItem* row = only(live.window, c.row);
        ASSERT_NE(row, nullptr) << c.row.toStdString();
        EXPECT_TRUE(QTest::qWaitFor([&] { return batteryTexts(row) == c.badges; }, patience))
            << c.row.toStdString() << ": " << batteryTexts(row).join(", ").toStdString();
    }
}

// The group menu is as wide as its longest entry, a room's name included; a name of any length
// reaches it already cut to what a view shows, so it shows whole and the menu stays inside the
// window.
TEST(SidebarRows, TheGroupMenuIsAsWideAsItsLongestEntryWithinTheWindow) {
    const std::string longName = "Upstairs Guest Bedroom by the Window";
    const struct {
        std::string room;
        bool wholeNameShows;
    } cases[] = {{longName, true}, {std::string(200, 'W'), true}};
    for (const auto& c : cases) {
        Household household;
        household.speakers = {speaker('A', "Kitchen"), speaker('B', c.room), speaker('C', "Office"), speaker('D', "Bath")};
        household.grouping = "AA BA CC DD";
        LiveWindow live(arguments({}), household.build());
        ASSERT_NE(live.window, nullptr);
        const QString rowName = "sidebarGroupRow." + idOf('A');
        ASSERT_TRUE(waitUntil([&] { return itemsNamed(live.window, rowName).size() == 1; }));
        renderFrames(live.window);
        QTest::mouseClick(live.window, Qt::RightButton, Qt::NoModifier, centreOf(only(live.window, rowName)).toPoint());

        const QString disconnect = "menu.disconnect." + idOf('B');
        ASSERT_TRUE(QTest::qWaitFor([&] { return only(live.window, disconnect) != nullptr; }, patience));
        renderFrames(live.window);
        QQuickItem* entry = only(live.window, disconnect);
        EXPECT_EQ(wholeTextShows(entry), c.wholeNameShows) << c.room;
        EXPECT_TRUE(wholeTextShows(only(live.window, "menu.savePreset"))) << c.room;
        const QRectF window(QPointF(0, 0), live.window->contentItem()->size());
        EXPECT_TRUE(window.contains(sceneRect(entry))) << c.room;

        // The submenu's longest entry shows whole as well.
        QQuickItem* groupWith = submenuTitle(live.window, "menu.groupWith");
        ASSERT_NE(groupWith, nullptr);
        QTest::mouseClick(live.window, Qt::LeftButton, Qt::NoModifier, centreOf(groupWith).toPoint());
        ASSERT_TRUE(QTest::qWaitFor([&] { return only(live.window, "menu.groupEverywhere") != nullptr; }, patience));
        renderFrames(live.window);
        EXPECT_TRUE(wholeTextShows(only(live.window, "menu.groupEverywhere"))) << c.room;
        QTest::keyClick(live.window, Qt::Key_Escape);
        QTest::keyClick(live.window, Qt::Key_Escape);
    }
}

// A reading of one member that changes (its battery, then its reachability) changes that member's
// row in place: every member row stays the same item, and the "Disconnect" button under the
// pointer stays shown and can be pressed.
TEST(SidebarRows, AMemberThatChangesKeepsTheOtherRowsAndTheButtonUnderThePointer) {
    const auto reading = [](int levelPercent, bool bathOnline) {
        Household household;
        Speaker bath = portable('C', "Bath", levelPercent);
        if (!bathOnline) bath.reachability = ReachabilityState::offline("127.0.1.4", Date());
        household.speakers = {speaker('A', "Kitchen"), speaker('B', "Office"), bath};
        household.grouping = "AA BA CA";
        return household.build();
    };
    LiveWindow live(arguments({}), reading(50, true));
    QQuickWindow* window = live.window;
    ASSERT_NE(window, nullptr);
    const QStringList ids{idOf('A'), idOf('B'), idOf('C')};
    const auto rows = [&] {
        QList<QQuickItem*> found;
        for (const QString& id : ids) found << only(window, "sidebarMemberRow." + id);
        return found;
    };
    ASSERT_TRUE(waitUntil([&] { return !rows().contains(nullptr); }));
    renderFrames(window);
    const QList<QQuickItem*> before = rows();

    const QString button = "sidebarMemberRemove." + idOf('B');
    QTest::mouseMove(window, centreOf(before[1]).toPoint());
    ASSERT_TRUE(waitUntil([&] { return only(window, button) && only(window, button)->opacity() == 1; }));
    QQuickItem* shown = only(window, button);

    const struct {
        int levelPercent;
        bool bathOnline;
    } changes[] = {{40, true}, {40, false}};
    for (const auto& change : changes) {
        live.rig.sonos->publish(reading(change.levelPercent, change.bathOnline));
        ASSERT_TRUE(waitUntil([&] {
            return batteryTexts(before[2]) == QStringList{QString::number(change.levelPercent) + "%"} &&
                   before[2]->property("isOnline").toBool() == change.bathOnline;
        })) << change.levelPercent;
        renderFrames(window);
        EXPECT_EQ(rows(), before) << change.levelPercent;
        EXPECT_EQ(only(window, button), shown) << change.levelPercent;
        EXPECT_TRUE(before[1]->property("hovered").toBool()) << change.levelPercent;
    }

    QTest::mouseMove(window, centreOf(shown).toPoint());
    renderFrames(window);
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, centreOf(shown).toPoint());
    EXPECT_TRUE(eventuallySent(live.rig, SonosCommand::ungroup(sp('B'))));
}
