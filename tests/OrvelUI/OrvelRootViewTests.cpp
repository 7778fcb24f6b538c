#include <gtest/gtest.h>

#include <QSignalSpy>

#include "OrvelUI/shell/OrvelRootView.h"
#include "OrvelUI/shell/WindowRules.h"
#include "ShellFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

OrvelRootView::LaunchSource fixed(LaunchInputs inputs) {
    return [inputs] { return inputs; };
}

}  // namespace

// The view shows the rules of the layout the launch chose (the numbers belong to WindowRules).
TEST(OrvelRootView, LayoutPicksItsWindowRules) {
    for (bool phoneLayout : {false, true}) {
        OrvelRootView view(fixed(phoneLayout ? arguments({"--layout=ios", "--tab=settings"}) : arguments({})));
        const WindowFrameLimits limits = WindowRules::frameLimits(phoneLayout);
        const WindowSize size = WindowRules::defaultSize(phoneLayout);
        EXPECT_EQ(view.phoneLayout(), phoneLayout);
        EXPECT_EQ(view.defaultWidth(), WindowRules::windowExtent(size.width));
        EXPECT_EQ(view.defaultHeight(), WindowRules::windowExtent(size.height));
        EXPECT_EQ(view.minimumWidth(), WindowRules::windowExtent(limits.minimumWidth));
        EXPECT_EQ(view.maximumWidth(), limits.maximumWidth ? WindowRules::windowExtent(*limits.maximumWidth)
                                                           : WindowRules::largestWindowExtent);
        EXPECT_EQ(view.activeTab(), int(phoneLayout ? AppTab::settings : AppTab::map));
        if (!phoneLayout) {
            EXPECT_EQ(view.selectionKind(), SelectionKind::Home);
        }
    }
}

TEST(OrvelRootView, WatchersRunOnlyOnceShownAndOnChanges) {
    int asked = 0;
    OrvelRootView view([&] {
        ++asked;
        return arguments({"--initial-view=living"});
    });
    QSignalSpy navigation(&view, &OrvelRootView::navigationChanged);

    // Before the window shows, the household is kept but the watchers do not run.
    view.setHousehold({group({speaker(1, "Living Room")})}, {speaker(1, "Living Room")});
    EXPECT_EQ(view.selectionKind(), SelectionKind::Home);

    view.shown();
    EXPECT_EQ(view.selectionKind(), SelectionKind::Group);
    EXPECT_EQ(view.selectionId(), QString::fromStdString(sp(1).rawValue()));
    EXPECT_EQ(navigation.count(), 1);

    // The same group ids again (a new sweep): no watcher runs, nothing is asked.
    const int askedBefore = asked;
    view.setHousehold({group({speaker(1, "Living Room")}, playingStream())}, {speaker(1, "Living Room")});
    EXPECT_EQ(asked, askedBefore);
    EXPECT_EQ(view.detailKind(), SelectionKind::Group);

    // A second showing does not run the first-show watcher again.
    view.shown();
    EXPECT_EQ(navigation.count(), 1);
}

TEST(OrvelRootView, SelectedOfflineSpeakerFollowsItsGroup) {
    OrvelRootView view(fixed(arguments({})));
    view.shown();
    view.setHousehold({group({speaker(1, "Kitchen")})}, {speaker(1, "Kitchen"), offline(2, "Office")});
    view.select(SidebarDestination::speaker(sp(2)));
    EXPECT_EQ(view.selectionKind(), SelectionKind::Speaker);

    // A sweep that changes nothing about the offline list leaves the selection alone.
    view.setHousehold({group({speaker(1, "Kitchen")}, pausedStream())}, {speaker(1, "Kitchen"), offline(2, "Office")});
    EXPECT_EQ(view.selectionKind(), SelectionKind::Speaker);

    // The speaker answers again and has joined the kitchen.
    view.setHousehold({group({speaker(1, "Kitchen"), speaker(2, "Office")})}, {speaker(1, "Kitchen"), speaker(2, "Office")});
    EXPECT_EQ(view.selectionKind(), SelectionKind::Group);
    EXPECT_EQ(view.selectionId(), QString::fromStdString(sp(1).rawValue()));
}

TEST(OrvelRootView, TabChangesAreReported) {
    OrvelRootView view(fixed(arguments({"--layout=ios"})));
    QSignalSpy changes(&view, &OrvelRootView::navigationChanged);
    view.setActiveTab(int(AppTab::rooms));
    view.setActiveTab(int(AppTab::rooms));
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(view.activeTab(), int(AppTab::rooms));
}

TEST(OrvelRootView, AlertBanner) {
    OrvelRootView view(fixed(arguments({})));
    QSignalSpy changes(&view, &OrvelRootView::alertChanged);
    QSignalSpy dismissals(&view, &OrvelRootView::dismissAlertRequested);
    QSignalSpy signIns(&view, &OrvelRootView::connectSpotifyRequested);

    EXPECT_FALSE(view.hasAlert());
    view.dismissAlert();
    view.runAlertAction();
    EXPECT_EQ(dismissals.count() + signIns.count(), 0);

    // No action for an ordinary alert.
    view.setAlert(OrvelAlert::quarantined("x.json"));
    EXPECT_TRUE(view.hasAlert());
    EXPECT_EQ(view.alertMessage(), "A saved file could not be read");
    EXPECT_EQ(view.alertActionTitle(), "");
    view.runAlertAction();
    EXPECT_EQ(signIns.count(), 0);
    view.dismissAlert();
    EXPECT_EQ(dismissals.count(), 1);

    // The Spotify link missing: the action dismisses, then asks for the sign-in, in that order.
    view.setAlert(OrvelAlert::spotify(SpotifyBridgeError::notConnected()));
    EXPECT_EQ(view.alertActionTitle(), "Connect Spotify");
    std::vector<std::string> order;
    QObject::connect(&view, &OrvelRootView::dismissAlertRequested, [&] { order.push_back("dismiss"); });
    QObject::connect(&view, &OrvelRootView::connectSpotifyRequested, [&] { order.push_back("connect"); });
    view.runAlertAction();
    EXPECT_EQ(order, (std::vector<std::string>{"dismiss", "connect"}));

    // The store clearing its alert removes the banner; an equal alert again changes nothing.
    const int before = changes.count();
    view.setAlert(std::nullopt);
    view.setAlert(std::nullopt);
    EXPECT_EQ(changes.count(), before + 1);
    EXPECT_FALSE(view.hasAlert());
}

TEST(OrvelRootView, ReadsTheStoreState) {
    OrvelRootView view(fixed(arguments({})));
    LoadedFiles loaded;
    loaded.quarantined = {"floorplan-positions.json.corrupt"};
    // Before the first snapshot: no groups yet, and the start-up alert of a file set aside.
    view.setState(OrvelState(loaded, {}));
    EXPECT_EQ(view.alertMessage(), "A saved file could not be read");
}
