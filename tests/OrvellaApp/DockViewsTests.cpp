// The now-playing dock in the real window: its buttons, volume row and queue card are found by
// name and clicked, and what reaches the speakers is checked.
#include <gtest/gtest.h>

#include <algorithm>

#include "AppRig.h"
#include "OrvelStore/StateFixtures.h"
#include "OrvelStore/VolumeCoalescer.h"
#include "OrvelUI/PlaybackFixtures.h"
#include "OrvelUI/shell/OrvelRootView.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

const QueueItem nextUp("n1", "Next Up", "Nina", std::nullopt, std::nullopt, std::nullopt, 4, std::nullopt);

// A lone bathroom (first by name) playing a skippable track with one entry queued, and two rooms playing beside it.
HouseholdSnapshot household() {
    Household household;
    household.speakers = {speaker(1, "Bath"), speaker(2, "Den"), speaker(3, "Hall")};
    household.grouping = "AA BB CB";
    const NowPlayingTrack song = track("Song", "Nina", "spotify:track:abcdefabcdef000000000000000",
                                       PlaybackSource::sonosQueue(), {nextUp});
    household.status.insert_or_assign(gid(1), GroupStatus{playing(NowPlaying::track(song)), DiscreteVolume::snappingPercent(20)});
    household.status.insert_or_assign(gid(2), GroupStatus{playing(plainTrack("Other")), DiscreteVolume::snappingPercent(20)});
    return household.build();
}

// Clicks the one visible item of that name once it can take the click.
void click(QQuickWindow* window, const QString& name) {
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QList<QQuickItem*> items = itemsNamed(window, name);
            return items.size() == 1 && items.front()->isEnabled();
        },
        patience))
        << name.toStdString();
    QQuickItem* item = itemsNamed(window, name).front();
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window, Qt::LeftButton, {}, centre.toPoint());
}

// Volume sends wait a moment for later steps of the same drag; the store's clock is the test's.
bool volumeSent(AppRig& rig, const SonosCommand& command) {
    return QTest::qWaitFor(
        [&] {
            rig.clock.advance(VolumeCoalescer::firstSendDelay);
            return std::ranges::find(rig.sonos->sent, command) != rig.sonos->sent.end();
        },
        patience);
}

bool wasSent(const AppRig& rig, const SonosCommand& command) {
    return std::ranges::find(rig.sonos->sent, command) != rig.sonos->sent.end();
}

struct DockWindow {
    AppRig rig;
    std::unique_ptr<OrvellaApp> app;
    QQuickWindow* window = nullptr;

    explicit DockWindow(LaunchInputs inputs) {
        app = rig.start(std::move(inputs));
        if (!app) return;
        window = app->showWindow();
        // Through the store, so what the commands project reaches the window too.
        if (!waitUntil([&] { return rig.sonos->subscriptionCount() == 1; })) return;
        rig.sonos->publish(household());
    }
};

}  // namespace

TEST(DockViews, TransportAndVolumeReachTheGroup) {
    DockWindow dock(arguments({}));
    ASSERT_NE(dock.window, nullptr);
    AppRig& rig = dock.rig;
    ASSERT_TRUE(QTest::qWaitFor([&] { return textsNamed(dock.window, "dock.primaryTitle") == QStringList{"Song"}; },
                                patience));

    click(dock.window, "dock.next");
    click(dock.window, "dock.previous");
    click(dock.window, "dock.playPause");
    for (const SonosCommand& command : {SonosCommand::nextTrack(gid(1)), SonosCommand::previousTrack(gid(1)),
                                        SonosCommand::playPause(PlayPause::pause, gid(1))}) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return wasSent(rig, command); }, patience));
    }

    // One room: its speaker.
    click(dock.window, "dock.volume.plus");
    EXPECT_TRUE(volumeSent(rig, SonosCommand::setVolume(DiscreteVolume::snappingPercent(21), VolumeTarget::speaker(sp(1)))));
}

TEST(DockViews, SwitchedToGroupedRoomsTheVolumeGoesToTheGroup) {
    DockWindow dock(arguments({}));
    ASSERT_NE(dock.window, nullptr);
    AppRig& rig = dock.rig;
    ASSERT_TRUE(QTest::qWaitFor([&] { return textsNamed(dock.window, "dock.primaryTitle") == QStringList{"Song"}; },
                                patience));
    // Chosen in the group switcher's menu.
    click(dock.window, "dock.groupSwitcher");
    click(dock.window, "dock.groupSwitcher." + QString::fromStdString(gid(2).description()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return textsNamed(dock.window, "dock.primaryTitle") == QStringList{"Other"}; },
                                patience));
    click(dock.window, "dock.volume.plus");
    EXPECT_TRUE(volumeSent(rig, SonosCommand::setVolume(DiscreteVolume::snappingPercent(21), VolumeTarget::group(gid(2)))));
}

TEST(DockViews, ChosenQueueRowPlaysAndClosesTheCard) {
    DockWindow dock(arguments({}));
    ASSERT_NE(dock.window, nullptr);
    click(dock.window, "dock.queueButton");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QList<QQuickItem*> cards = itemsNamed(dock.window, "dock.queueCard");
            return cards.size() == 1 && cards.front()->opacity() == 1.0 && cards.front()->scale() == 1.0;
        },
        patience));

    click(dock.window, "upNext.row.0");
    EXPECT_TRUE(QTest::qWaitFor([&] { return wasSent(dock.rig, SonosCommand::seekToQueueTrack(4, gid(1))); }, patience));
    EXPECT_FALSE(dock.app->rootView()->dock()->showingQueuePopover());
}

TEST(DockViews, NarrowWindowShowsTheCompactArrangement) {
    DockWindow dock(arguments({}));
    ASSERT_NE(dock.window, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return itemsNamed(dock.window, "dock.wide").size() == 1; }, patience));
    dock.window->resize(dock.window->minimumSize());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return itemsNamed(dock.window, "dock.compact").size() == 1 && itemsNamed(dock.window, "dock.wide").empty(); },
        patience));
}

TEST(DockViews, PillVolumeCardSetsTheSpeakerVolume) {
    DockWindow dock(launch({{"ORVELLA_LAYOUT", "ios"}}));
    ASSERT_NE(dock.window, nullptr);
    click(dock.window, "pill.volumeChip");
    click(dock.window, "pill.volume.plus");
    EXPECT_TRUE(
        volumeSent(dock.rig, SonosCommand::setVolume(DiscreteVolume::snappingPercent(21), VolumeTarget::speaker(sp(1)))));
}
