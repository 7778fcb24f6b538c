// The menu bar and the window-wide keys of the real window: a key reaches the household unless
// the focused item takes it itself, and the menus' items act as their keys do.
#include <gtest/gtest.h>

#include <QQmlComponent>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QSignalSpy>

#include "OrvelStore/StateFixtures.h"
#include "OrvelUI/PlaybackFixtures.h"
#include "OrvelUI/shell/PlaybackMenu.h"
#include "OrvelUI/shell/ShortcutFocus.h"
#include "ViewRig.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

// One room playing, one stopped.
HouseholdSnapshot household() {
    Household household;
    household.speakers = {speaker('A', "Attic"), speaker('B', "Bath")};
    household.grouping = "AA BB";
    household.status.insert_or_assign(gid(1), GroupStatus{playing(plainTrack("Song")), DiscreteVolume::snappingPercent(20)});
    return household.build();
}

// The window's shortcuts hang off the items of the visual tree.
QList<QObject*> shortcutsIn(QQuickItem* item) {
    QList<QObject*> found = item->findChildren<QObject*>(QRegularExpression("^shortcut\\."), Qt::FindDirectChildrenOnly);
    for (QQuickItem* child : item->childItems()) found += shortcutsIn(child);
    return found;
}

}  // namespace

// Which keys each kind of focused item keeps for itself; the rest go to the window's shortcuts.
TEST(ShortcutFocus, FocusedItemsKeepTheKeysTheyHandle) {
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData(R"(import QtQuick
        import QtQuick.Controls
        Item {
            TextField { objectName: "textField" }
            TextArea { objectName: "textArea" }
            SpinBox { objectName: "spinBox"; editable: true }
            Button { objectName: "button" }
            CheckBox { objectName: "checkBox" }
            ComboBox { objectName: "comboBox" }
            Slider { objectName: "slider" }
            Rectangle { objectName: "rectangle" }
        })",
                      QUrl());
    std::unique_ptr<QObject> root(component.create());
    ASSERT_NE(root, nullptr) << component.errorString().toStdString();
    QObject* spinText = root->findChild<QObject*>("spinBox")->property("contentItem").value<QObject*>();

    const QList<QKeySequence> keys{QKeySequence(Qt::Key_Space), QKeySequence(Qt::CTRL | Qt::Key_Right),
                                   QKeySequence(Qt::CTRL | Qt::Key_Up), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_G)};
    // One letter per key above: T the focused item takes it, - the shortcut acts.
    const std::vector<std::pair<QObject*, std::string>> cases{
        {root->findChild<QObject*>("textField"), "TTTT"}, {root->findChild<QObject*>("textArea"), "TTTT"},
        {spinText, "TTTT"},                              {root->findChild<QObject*>("spinBox"), "--T-"},
        {root->findChild<QObject*>("button"), "T---"},    {root->findChild<QObject*>("checkBox"), "T---"},
        {root->findChild<QObject*>("comboBox"), "T-T-"},  {root->findChild<QObject*>("slider"), "-TT-"},
        {root->findChild<QObject*>("rectangle"), "----"}, {nullptr, "----"},
    };
    for (const auto& [item, expected] : cases) {
        std::string taken;
        for (const QKeySequence& key : keys) taken += focusTakesShortcut(item, key) ? 'T' : '-';
        EXPECT_EQ(taken, expected) << (item ? item->objectName().toStdString() : "no focus");
    }
}

// Keys typed into the preset name go into the name, none acts as a command; with no text focus
// Space toggles play.
TEST(AppMenus, KeysTypedIntoTheNameFieldStayThereAndSpaceTogglesPlayElsewhere) {
    LiveWindow live(arguments({}), household());
    ASSERT_NE(live.window, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return live.app->store().state().groups().size() == 2; }, patience));
    const QList<QObject*> shortcuts = shortcutsIn(live.window->contentItem());
    ASSERT_EQ(shortcuts.size(), live.app->playbackMenu()->entries().size());
    std::vector<std::unique_ptr<QSignalSpy>> activations;
    for (QObject* shortcut : shortcuts) activations.push_back(std::make_unique<QSignalSpy>(shortcut, SIGNAL(activated())));
    const auto activated = [&] {
        qsizetype count = 0;
        for (const auto& spy : activations) count += spy->count();
        return count;
    };

    clickNamed(live.window, "presetBar.add");
    clickNamed(live.window, "creator.name");
    for (const char key : std::string_view("a b")) QTest::keyClick(live.window, key);
    for (const Qt::Key arrow : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}) {
        QTest::keyClick(live.window, arrow, Qt::ControlModifier);
    }
    QTest::keyClick(live.window, Qt::Key_G, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(textsNamed(live.window, "creator.name"), QStringList{"a b"});
    EXPECT_EQ(activated(), 0);
    QTest::keyClick(live.window, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(live.window, "creator.name").empty(); }, patience));

    // Nothing the window shows holds the focus now.
    live.window->contentItem()->forceActiveFocus();
    QTest::keyClick(live.window, Qt::Key_Space);
    EXPECT_EQ(activated(), 1);
    EXPECT_TRUE(eventuallySent(live.rig, SonosCommand::playPause(PlayPause::pause, gid(1))));

    // A focused button takes Space itself: it is pressed, and play is not toggled again.
    only(live.window, "presetBar.add")->forceActiveFocus();
    QTest::keyClick(live.window, Qt::Key_Space);
    EXPECT_EQ(activated(), 1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !itemsNamed(live.window, "creator.name").empty(); }, patience));
}

// The menus act as their keys do; "Check for Updates…" follows the update model.
TEST(AppMenus, MenuItemsActAndTheUpdateItemFollowsItsModel) {
    LiveWindow live(arguments({}), household());
    ASSERT_NE(live.window, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return live.app->store().state().groups().size() == 2; }, patience));

    clickNamed(live.window, "menuBar.menu.playback", false);
    clickNamed(live.window, "menu.playback.nextTrack");
    EXPECT_TRUE(eventuallySent(live.rig, SonosCommand::nextTrack(gid(1))));

    const auto updateItemEnabled = [&] {
        clickNamed(live.window, "menuBar.menu.app", false);
        EXPECT_TRUE(QTest::qWaitFor([&] { return only(live.window, "menu.checkForUpdates") != nullptr; }, patience));
        QQuickItem* item = only(live.window, "menu.checkForUpdates");
        return item && item->isEnabled();
    };
    EXPECT_FALSE(updateItemEnabled()) << "no update model";
    QTest::keyClick(live.window, Qt::Key_Escape);

    QQmlComponent component(&live.app->engine());
    component.setData("import QtQml\nQtObject { property bool canCheckForUpdates: false; property int checks: 0;"
                      " function checkForUpdates() { checks += 1 } }",
                      QUrl());
    std::unique_ptr<QObject> updater(component.create());
    ASSERT_NE(updater, nullptr);
    live.window->setProperty("appUpdater", QVariant::fromValue(updater.get()));
    EXPECT_FALSE(updateItemEnabled()) << "a model that cannot check";
    updater->setProperty("canCheckForUpdates", true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return only(live.window, "menu.checkForUpdates")->isEnabled(); }, patience));
    clickNamed(live.window, "menu.checkForUpdates");
    EXPECT_TRUE(QTest::qWaitFor([&] { return updater->property("checks").toInt() == 1; }, patience));
    live.window->setProperty("appUpdater", QVariant());
}

// The phone layout keeps the menus: "About Orvella" comes before "Check for Updates…" and shows
// the name and version as the settings do; the keys act as well.
TEST(AppMenus, PhoneLayoutKeepsTheMenus) {
    LiveWindow live(arguments({"--layout=ios"}), household());
    ASSERT_NE(live.window, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return live.app->store().state().groups().size() == 2; }, patience));

    clickNamed(live.window, "menuBar.menu.app", false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return only(live.window, "menu.checkForUpdates") != nullptr; }, patience));
    renderFrames(live.window);
    EXPECT_LT(only(live.window, "menu.about")->mapToScene({}).y(), only(live.window, "menu.checkForUpdates")->mapToScene({}).y());
    clickNamed(live.window, "menu.about");
    ASSERT_TRUE(QTest::qWaitFor([&] { return only(live.window, "aboutPanel.name") != nullptr; }, patience));
    EXPECT_EQ(textsNamed(live.window, "aboutPanel.name"), QStringList{"Orvella"});
    EXPECT_TRUE(textsNamed(live.window, "aboutPanel.value").contains("0.1.0"));
    clickNamed(live.window, "aboutPanel.close");
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(live.window, "aboutPanel.name").empty(); }, patience));

    live.window->contentItem()->forceActiveFocus();
    QTest::keyClick(live.window, Qt::Key_Right, Qt::ControlModifier);
    EXPECT_TRUE(eventuallySent(live.rig, SonosCommand::nextTrack(gid(1))));
}
