// The sidebar's grouping, end to end inside a private network namespace: fake speakers on
// loopback, the real household controller and store, and the sidebar as QML draws it. A room
// dropped on another group's row and "Disconnect <room>" chosen in a group's menu reach the
// speakers as grouping commands, and the rows show the new grouping at once and after the
// speakers confirm it.
#include <gtest/gtest.h>

#include <QHostAddress>
#include <QQuickItem>
#include <QQuickWindow>

#include "OrvelStore/OrvelStore.h"
#include "LoopbackSeeds.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvelUI/sidebar/SidebarColumn.h"
#include "OrvellaApp/DataFolder.h"
#include "ViewRig.h"
#include "common/PrivateNetwork.h"
#include "fakes/FakeHousehold.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

constexpr int innerLimitMs = 90'000;
constexpr std::chrono::milliseconds householdPatience{30'000};

// The speaker ids of each row the sidebar shows, by group id.
std::map<QString, QStringList> shownGroups(const SidebarColumn& sidebar) {
    std::map<QString, QStringList> shown;
    for (const SidebarGroupListRow& listed : const_cast<SidebarColumn&>(sidebar).groups()->rows()) {
        QStringList ids{listed.row->coordinatorId()};
        for (const SidebarMemberContent& member : listed.row->content().members) {
            if (member.speakerId != ids.front()) ids << member.speakerId;
        }
        shown[listed.groupId] = ids;
    }
    return shown;
}

std::map<QString, QStringList> speakersGroups(const fakes::FakeHousehold& fake) {
    std::map<QString, QStringList> groups;
    for (const fakes::FakeGroup& group : fake.model().groups()) groups[group.coordinator] = group.members;
    return groups;
}

// The application with its window shown, finding `fake` through the addresses a previous run
// cached; null when it cannot start.
std::unique_ptr<OrvellaApp> windowOn(const fakes::FakeHousehold& fake) {
    if (!seedDataFolder(DataFolder::path(), fake)) return nullptr;
    auto app = OrvellaApp::start([] { return arguments({}); });
    if (!app || !app->showWindow()) return nullptr;
    return app;
}

}  // namespace

TEST(SidebarLive, DropAndMenuRegroupTheSpeakers) {
    if (!insidePrivateNetwork()) {
        ORVELLA_RUN_IN_PRIVATE_NETWORK(innerLimitMs);
        return;
    }
    ASSERT_TRUE(enterPrivateNetwork());

    fakes::FakeHousehold fake(QHostAddress(QStringLiteral("127.204.2.2")), 4);
    const QString a = fake.speakerId(0), b = fake.speakerId(1), c = fake.speakerId(2), d = fake.speakerId(3);
    fake.model().setGroup({a, b});
    ASSERT_TRUE(fake.start()) << fake.errorString().toStdString();
    const auto app = windowOn(fake);
    ASSERT_NE(app, nullptr);
    QQuickWindow* window = app->showWindow();
    SidebarColumn& sidebar = *app->sidebar();

    using Groups = std::map<QString, QStringList>;
    ASSERT_TRUE(waitUntil([&] { return shownGroups(sidebar) == Groups{{a, {a, b}}, {c, {c}}, {d, {d}}}; },
                          householdPatience));
    ASSERT_TRUE(waitUntil([&] { return only(window, "sidebarGroupRow." + c) && only(window, "sidebarGroupRow." + a); }, householdPatience));

    // D's member-less row dropped on C's row, as the row's DropArea hands it over.
    auto* cRow = only(window, "sidebarGroupRow." + c)->property("row").value<SidebarGroupRow*>();
    ASSERT_NE(cRow, nullptr);
    bool accepted = false;
    ASSERT_TRUE(QMetaObject::invokeMethod(cRow, "acceptDrop", Q_RETURN_ARG(bool, accepted), Q_ARG(QStringList, {d})));
    EXPECT_TRUE(accepted);
    const Groups dropped{{a, {a, b}}, {c, {c, d}}};
    // At once from the store's projection, then from the speakers themselves.
    EXPECT_TRUE(waitUntil([&] { return shownGroups(sidebar) == dropped; }, householdPatience));
    EXPECT_TRUE(waitUntil([&] { return speakersGroups(fake) == dropped; }, householdPatience));
    EXPECT_TRUE(waitUntil([&] { return app->store().state().inFlight().empty() && shownGroups(sidebar) == dropped; },
                          householdPatience));

    // "Disconnect <B>" chosen in the menu of A's row.
    QQuickItem* aItem = only(window, "sidebarGroupRow." + a);
    QObject* menu = aItem->findChild<QObject*>("sidebarGroupMenu." + a);
    ASSERT_NE(menu, nullptr);
    auto* aRow = aItem->property("row").value<SidebarGroupRow*>();
    ASSERT_TRUE(QMetaObject::invokeMethod(menu, "popupWith", Q_ARG(QVariant, aRow->openMenu()), Q_ARG(QVariant, 20),
                                          Q_ARG(QVariant, 10)));
    ASSERT_TRUE(waitUntil([&] { return itemsNamed(window, "menu.disconnect." + b).size() == 1; }));
    // Chosen as the menu's own item reports a choice.
    QQuickItem* disconnect = itemsNamed(window, "menu.disconnect." + b).front();
    // Held by the menu: an entry only the script engine owned could be collected while shown.
    EXPECT_NE(disconnect->parent(), nullptr);
    ASSERT_TRUE(QMetaObject::invokeMethod(disconnect, "triggered"));

    const Groups separated{{a, {a}}, {b, {b}}, {c, {c, d}}};
    EXPECT_TRUE(waitUntil([&] { return shownGroups(sidebar) == separated; }, householdPatience));
    EXPECT_TRUE(waitUntil([&] { return speakersGroups(fake) == separated; }, householdPatience));
    EXPECT_TRUE(waitUntil([&] { return app->store().state().inFlight().empty() && shownGroups(sidebar) == separated; },
                          householdPatience));
}

// A network extender joins the zone group state as a group of its own, with one invisible member
// and no room: the sidebar still shows every room, grouped as the speakers group them.
TEST(SidebarLive, EveryRoomShowsBesideANetworkExtender) {
    if (!insidePrivateNetwork()) {
        ORVELLA_RUN_IN_PRIVATE_NETWORK(innerLimitMs);
        return;
    }
    ASSERT_TRUE(enterPrivateNetwork());

    fakes::FakeHousehold fake(QHostAddress(QStringLiteral("127.204.3.2")), 4);
    const QString a = fake.speakerId(0), b = fake.speakerId(1), c = fake.speakerId(2), d = fake.speakerId(3);
    fake.model().setGroup({a, b});
    fake.model().setExtender(fakes::FakeHousehold::standardExtender(QHostAddress(QStringLiteral("127.204.3.9"))));
    ASSERT_TRUE(fake.start()) << fake.errorString().toStdString();
    // The cached speakers stand alone: only the speakers' own grouping shows A and B together.
    const auto app = windowOn(fake);
    ASSERT_NE(app, nullptr);
    QQuickWindow* window = app->showWindow();

    using Groups = std::map<QString, QStringList>;
    const Groups grouped{{a, {a, b}}, {c, {c}}, {d, {d}}};
    EXPECT_TRUE(waitUntil([&] { return shownGroups(*app->sidebar()) == grouped; }, householdPatience));
    EXPECT_TRUE(waitUntil([&] { return only(window, "sidebarGroupRow." + a) && only(window, "sidebarGroupRow." + c) &&
                                       only(window, "sidebarGroupRow." + d); },
                          householdPatience));
}
