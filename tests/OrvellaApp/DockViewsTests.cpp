// The now-playing dock in the real window: its buttons, volume row and queue card are found by
// name and clicked, and what reaches the speakers is checked.
#include <gtest/gtest.h>

#include <algorithm>

#include "OrvelStore/StateFixtures.h"
#include "OrvelStore/VolumeCoalescer.h"
#include "OrvelUI/PlaybackFixtures.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "ViewRig.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

// A lone bathroom (first by name) playing a skippable track with one entry queued, and two rooms
// playing beside it; or the bathroom paused on that track and the two rooms stopped.
HouseholdSnapshot household(bool bathPaused = false) {
    Household household;
    household.speakers = {speaker(1, "Bath"), speaker(2, "Den"), speaker(3, "Hall")};
    household.grouping = "AA BB CB";
    const QueueItem nextUp("n1", "Next Up", "Nina", std::nullopt, std::nullopt, std::nullopt, 4, std::nullopt);
    const NowPlayingTrack song = track("Song", "Nina", "spotify:track:abcdefabcdef000000000000000",
                                       PlaybackSource::sonosQueue(), {nextUp});
    const PlaybackState bath = bathPaused ? paused(NowPlaying::track(song)) : playing(NowPlaying::track(song));
    household.status.insert_or_assign(gid(1), GroupStatus{bath, DiscreteVolume::snappingPercent(20)});
    if (!bathPaused) {
        household.status.insert_or_assign(gid(2), GroupStatus{playing(plainTrack("Other")), DiscreteVolume::snappingPercent(20)});
    }
    return household.build();
}

// Volume sends wait a moment for later steps of the same drag; the store's clock is the test's.
bool volumeSent(AppRig& rig, DiscreteVolume volume, VolumeTarget target) {
    const SonosCommand command = SonosCommand::setVolume(volume, target);
    return QTest::qWaitFor(
        [&] {
            rig.clock.advance(VolumeCoalescer::firstSendDelay);
            return wasSent(rig, command);
        },
        patience);
}

bool titleIs(QQuickWindow* window, const QString& title) {
    return QTest::qWaitFor([&] { return textsNamed(window, "dock.primaryTitle") == QStringList{title}; }, patience);
}

// The play/pause button's outgoing symbol, the one its morph fades out.
QString leavingSymbol(QQuickWindow* window) {
    QList<QQuickItem*> found;
    if (QQuickItem* button = only(window, "dock.playPause")) collectNamed(button, "transportSymbolLeaving", found);
    return found.size() == 1 ? found.front()->property("name").toString() : QString();
}

}  // namespace

// When the shown group pauses, the pause symbol gives way to play in place.
TEST(DockViews, PlayAndPauseMorphIntoEachOther) {
    LiveWindow dock(arguments({}), household());
    ASSERT_NE(dock.window, nullptr);
    ASSERT_TRUE(titleIs(dock.window, "Song"));
    // Chosen, so the dock stays on it once it ranks below the playing rooms.
    dock.app->rootView()->selectDockGroup(gid(1));

    dock.rig.sonos->publish(household(true));
    EXPECT_TRUE(QTest::qWaitFor([&] { return leavingSymbol(dock.window) == "pause.fill"; }, patience));
}

// Transport, the one room's volume and a chosen queue row reach the shown group.
TEST(DockViews, TransportVolumeAndQueueReachTheShownGroup) {
    LiveWindow dock(arguments({}), household());
    ASSERT_NE(dock.window, nullptr);
    ASSERT_TRUE(titleIs(dock.window, "Song"));

    clickNamed(dock.window, "dock.next");
    EXPECT_TRUE(eventuallySent(dock.rig, SonosCommand::nextTrack(gid(1))));
    clickNamed(dock.window, "dock.volume.plus");
    EXPECT_TRUE(volumeSent(dock.rig, DiscreteVolume::snappingPercent(21), VolumeTarget::speaker(sp(1))));

    clickNamed(dock.window, "dock.queueButton");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            QQuickItem* card = only(dock.window, "dock.queueCard");
            return card && card->opacity() == 1.0 && card->scale() == 1.0;
        },
        patience));
    clickNamed(dock.window, "upNext.row.0");
    EXPECT_TRUE(eventuallySent(dock.rig, SonosCommand::seekToQueueTrack(4, gid(1))));
    EXPECT_FALSE(dock.app->rootView()->dock()->showingQueuePopover());

    // Last: paused while the other rooms play, the bathroom shows as stopped and leaves the dock.
    clickNamed(dock.window, "dock.playPause");
    EXPECT_TRUE(eventuallySent(dock.rig, SonosCommand::playPause(PlayPause::pause, gid(1))));
}

// A click leaves the keyboard focus with the window: Space then plays or pauses the playing
// group, it does not press the clicked button a second time.
TEST(DockViews, SpaceAfterClickingNextPauses) {
    LiveWindow dock(arguments({}), household());
    ASSERT_NE(dock.window, nullptr);
    ASSERT_TRUE(titleIs(dock.window, "Song"));

    clickNamed(dock.window, "dock.next");
    ASSERT_TRUE(eventuallySent(dock.rig, SonosCommand::nextTrack(gid(1))));
    QTest::keyClick(dock.window, Qt::Key_Space);
    EXPECT_TRUE(eventuallySent(dock.rig, SonosCommand::playPause(PlayPause::pause, gid(1))));
    EXPECT_EQ(std::ranges::count(dock.rig.sonos->sent, SonosCommand::nextTrack(gid(1))), 1);
}

// The step just taken for the lone room neither shows for the grouped rooms nor is counted on.
TEST(DockViews, SwitchedToGroupedRoomsTheVolumeGoesToTheGroup) {
    LiveWindow dock(arguments({}), household());
    ASSERT_NE(dock.window, nullptr);
    ASSERT_TRUE(titleIs(dock.window, "Song"));
    clickNamed(dock.window, "dock.volume.plus");
    ASSERT_EQ(textsNamed(dock.window, "dock.volume.percent"), QStringList{"21%"});
    clickNamed(dock.window, "dock.groupSwitcher", false);
    // The entry is clicked once the opening menu has put it in its place.
    clickNamed(dock.window, "dock.groupSwitcher." + QString::fromStdString(gid(2).description()));
    ASSERT_TRUE(titleIs(dock.window, "Other"));
    EXPECT_EQ(textsNamed(dock.window, "dock.volume.percent"), QStringList{"20%"});
    clickNamed(dock.window, "dock.volume.plus");
    EXPECT_TRUE(volumeSent(dock.rig, DiscreteVolume::snappingPercent(21), VolumeTarget::group(gid(2))));
}

TEST(DockViews, NarrowWindowShowsTheCompactArrangement) {
    LiveWindow dock(arguments({}), household());
    ASSERT_NE(dock.window, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return only(dock.window, "dock.wide") != nullptr; }, patience));
    dock.window->resize(dock.window->minimumSize());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return only(dock.window, "dock.compact") && itemsNamed(dock.window, "dock.wide").empty(); }, patience));
}

TEST(DockViews, PillVolumeCardSetsTheSpeakerVolume) {
    LiveWindow dock(launch({{"ORVELLA_LAYOUT", "ios"}}), household());
    ASSERT_NE(dock.window, nullptr);
    clickNamed(dock.window, "pill.volumeChip");
    clickNamed(dock.window, "pill.volume.plus");
    EXPECT_TRUE(volumeSent(dock.rig, DiscreteVolume::snappingPercent(21), VolumeTarget::speaker(sp(1))));
}
