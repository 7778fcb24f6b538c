// The context menu of a room on its group's page: built from the store's state as it opens,
// and a choice reaches the household as the store's command.
#include <gtest/gtest.h>

#include <QVariantMap>

#include "AppRig.h"
#include "OrvelStore/StateFixtures.h"
#include "OrvelUI/ShellFixtures.h"
#include "OrvelUI/common/ViewStore.h"
#include "OrvelUI/shell/OrvelRootView.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QString keyOf(const QVariantList& entries, const QString& text) {
    for (const QVariant& entry : entries) {
        const QVariantMap map = entry.toMap();
        if (map.value("text").toString() == text) return map.value("key").toString();
    }
    return {};
}

}  // namespace

TEST(GroupMemberMenu, DisconnectFromTheGroupPageReachesTheHousehold) {
    AppRig rig;
    const auto app = rig.start(arguments({}));
    ASSERT_NE(app, nullptr);
    ASSERT_NE(app->showWindow(), nullptr);
    Household household;
    household.speakers = {speaker('A', "Living Room"), speaker('B', "Kitchen")};
    household.grouping = "AA BA";
    rig.sonos->publish(household.build());
    ASSERT_TRUE(waitUntil([&] { return app->store().state().groups().size() == 1; }));

    ViewStore& views = *app->rootView()->viewStore();
    // Ids that name nothing give no menu; a stale key chooses nothing.
    EXPECT_TRUE(views.memberMenu("RINCON_not-a-speaker", qs(sp('B').rawValue())).isEmpty());
    views.chooseMemberMenuEntry("menu.disconnect.nothing");

    // Pinned on the map, the room still offers no map action on its group's page. The page is
    // shown first, so no map card is still gliding to the pin when the window goes.
    app->rootView()->select(SidebarDestination::group(GroupID(sp('A'))));
    app->store().moveRoom(sp('B'), RoomCoordinate::clamping(0.2, 0.3));
    ASSERT_TRUE(app->store().state().pins().contains(sp('B')));
    const QVariantList entries = views.memberMenu(qs(sp('A').rawValue()), qs(sp('B').rawValue()));
    EXPECT_TRUE(keyOf(entries, "Reset Map Position").isEmpty());
    const QString disconnect = keyOf(entries, "Disconnect Kitchen");
    ASSERT_FALSE(disconnect.isEmpty());
    views.chooseMemberMenuEntry(disconnect);
    ASSERT_TRUE(waitUntil([&] { return !rig.sonos->sent.empty(); }));
    EXPECT_EQ(rig.sonos->sent.front(), SonosCommand::ungroup(sp('B')));
}
