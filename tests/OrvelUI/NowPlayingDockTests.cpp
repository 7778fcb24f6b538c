// The dock's presenter: which controls exist and are enabled for each kind of playback, the
// group switcher, the floating cards' flags and where every action goes.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "OrvelUI/playback/NowPlayingDock.h"
#include "OrvelUI/shell/OrvelRootView.h"
#include "PlaybackFixtures.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

struct Recorded {
    std::vector<SonosCommand> sent;
    std::vector<GroupID> toggled;
    std::vector<GroupID> dissolved;
    int refreshes = 0;
    std::vector<std::pair<QueueItem, bool>> played;  // the entry, and whether the card was open
};

struct Rig {
    Recorded recorded;
    std::vector<GroupID> selected;
    NowPlayingDock dock;

    explicit Rig(bool phone = false, bool showQueue = false)
        : dock(phone, showQueue, {}, [this](const GroupID& id) { selected.push_back(id); }) {
        dock.setIntents(DockIntents{
            .togglePlayOrHandOffSpotify = [this](const SonosGroup& g) { recorded.toggled.push_back(g.id); },
            .send = [this](SonosCommand c) { recorded.sent.push_back(std::move(c)); },
            .playQueueItem =
                [this](const QueueItem& item, const GroupID&) {
                    recorded.played.emplace_back(item, dock.showingQueuePopover());
                },
            .dissolveGroup = [this](const GroupID& id) { recorded.dissolved.push_back(id); },
            .refreshSpotifyQueueIfNeeded = [this] { ++recorded.refreshes; },
        });
    }
    void show(SonosGroup group, std::vector<SonosGroup> eligible = {}) { dock.setGroups(std::move(group), std::move(eligible)); }
};

const QueueItem entry("e1", "Next", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2, std::nullopt);

NowPlaying queuedTrack() {
    return NowPlaying::track(track("Now", "Nina", "spotify:track:abcdefabcdef000000000000000", std::nullopt, {entry}));
}

}  // namespace

TEST(NowPlayingDock, TransportFollowsWhatPlays) {
    const struct {
        const char* name;
        PlaybackState playback;
        bool queueButton;
        bool skip;
        const char* playSymbol;
    } cases[] = {
        {"stopped", PlaybackState::stopped(), false, false, "play.fill"},
        {"stream", playingStream(), false, false, "pause.fill"},
        {"tv audio", playing(NowPlaying::tvAudio()), false, false, "pause.fill"},
        {"track that cannot skip", playing(plainTrack("Song")), true, false, "pause.fill"},
        {"paused track that can skip", paused(queuedTrack()), true, true, "play.fill"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        rig.show(single(1, c.playback));
        EXPECT_EQ(rig.dock.showsQueueButton(), c.queueButton);
        EXPECT_EQ(rig.dock.skipAllowed(), c.skip);
        EXPECT_EQ(rig.dock.playSymbol(), QString::fromLatin1(c.playSymbol));

        rig.dock.previous();
        rig.dock.next();
        rig.dock.togglePlay();
        const GroupID id = gid(1);
        const std::vector<SonosCommand> skips = {SonosCommand::previousTrack(id), SonosCommand::nextTrack(id)};
        EXPECT_EQ(rig.recorded.sent, c.skip ? skips : std::vector<SonosCommand>{});
        EXPECT_EQ(rig.recorded.toggled, std::vector<GroupID>{id});
    }
}

TEST(NowPlayingDock, VolumeAndUngroupDependOnTheRoomCount) {
    Rig rig;
    rig.show(single(1, PlaybackState::stopped()));
    EXPECT_FALSE(rig.dock.showsUngroupButton());
    rig.dock.changeVolume(40);
    rig.dock.ungroup();
    rig.show(pair(1, PlaybackState::stopped()));
    EXPECT_TRUE(rig.dock.showsUngroupButton());
    rig.dock.changeVolume(41);
    rig.dock.ungroup();

    const std::vector<SonosCommand> expected = {
        SonosCommand::setVolume(DiscreteVolume::snappingPercent(40), VolumeTarget::speaker(sp(1))),
        SonosCommand::setVolume(DiscreteVolume::snappingPercent(41), VolumeTarget::group(gid(1))),
    };
    EXPECT_EQ(rig.recorded.sent, expected);
    EXPECT_EQ(rig.recorded.dissolved, std::vector<GroupID>{gid(1)});
}

TEST(NowPlayingDock, SwitcherOffersTwoOrMoreGroupsAndMarksTheShownOne) {
    Rig rig;
    const SonosGroup one = single(1, playing(plainTrack("A")));
    const SonosGroup two = single(2, playing(plainTrack("B")));
    const SonosGroup three = single(3, playing(plainTrack("C")));
    for (const auto& eligible : {std::vector<SonosGroup>{}, std::vector<SonosGroup>{one}}) {
        rig.show(one, eligible);
        EXPECT_FALSE(rig.dock.showsGroupSwitcher());
    }

    rig.show(one, {two, one});
    EXPECT_TRUE(rig.dock.showsGroupSwitcher());
    const QVariantList entries = rig.dock.groupSwitcherEntries();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_EQ(entries[0].toMap()["groupId"].toString(), QString::fromStdString(gid(2).description()));
    EXPECT_FALSE(entries[0].toMap()["checked"].toBool());
    EXPECT_TRUE(entries[1].toMap()["checked"].toBool());

    rig.show(three, {two, one});
    for (const QVariant& e : rig.dock.groupSwitcherEntries()) EXPECT_FALSE(e.toMap()["checked"].toBool());

    rig.dock.selectGroup(QString::fromStdString(gid(2).description()));
    rig.dock.selectGroup(QString::fromStdString(gid(3).description()));  // not offered
    EXPECT_EQ(rig.selected, std::vector<GroupID>{gid(2)});
}

TEST(NowPlayingDock, FloatingCardsOpenOneAtATime) {
    Rig rig(/*phone=*/true);
    rig.show(single(1, playing(queuedTrack())));

    rig.dock.toggleVolumePopover();
    EXPECT_TRUE(rig.dock.volumeCardVisible());
    rig.dock.toggleQueuePopover();
    EXPECT_FALSE(rig.dock.showingVolumePopover());
    EXPECT_TRUE(rig.dock.queueCardVisible());
    rig.dock.toggleVolumePopover();
    EXPECT_FALSE(rig.dock.showingQueuePopover());
    rig.dock.toggleQueuePopover();
    rig.dock.toggleQueuePopover();
    EXPECT_EQ(rig.recorded.refreshes, 2);  // each opening, no closing

    Rig desktop;
    desktop.show(single(1, playing(queuedTrack())));
    desktop.dock.toggleVolumePopover();
    EXPECT_FALSE(desktop.dock.volumeCardVisible());
}

TEST(NowPlayingDock, QueueFlagFromLaunchSurvivesGroupChangesAndWaitsForATrack) {
    Rig rig(false, /*showQueue=*/true);
    QSignalSpy popovers(&rig.dock, &NowPlayingDock::popoversChanged);
    rig.show(single(1, playingStream()));
    EXPECT_TRUE(rig.dock.showingQueuePopover());
    EXPECT_FALSE(rig.dock.queueCardVisible());

    rig.show(single(2, playing(queuedTrack())));
    EXPECT_TRUE(rig.dock.queueCardVisible());
    EXPECT_EQ(popovers.count(), 1);

    ASSERT_TRUE(rig.dock.queue()->selectQueueItem(QStringLiteral("e1"), 0));
    ASSERT_EQ(rig.recorded.played.size(), 1u);
    EXPECT_EQ(rig.recorded.played.front().first, entry);
    EXPECT_FALSE(rig.recorded.played.front().second);  // closed before the entry was asked for
}

TEST(NowPlayingDock, SameGroupAgainEmitsNothing) {
    Rig rig;
    QSignalSpy changes(&rig.dock, &NowPlayingDock::groupChanged);
    rig.show(single(1, playing(plainTrack("A"))));
    rig.show(single(1, playing(plainTrack("A"))));
    EXPECT_EQ(changes.count(), 1);
}

TEST(NowPlayingDock, RootViewKeepsOneDockAcrossGroupSwitches) {
    OrvelRootView view([] { return arguments({"--show-queue"}); });
    const SonosGroup first = single(1, playing(queuedTrack()));
    const SonosGroup second = pair(2, playing(plainTrack("B")));
    view.setHousehold({first, second}, {});
    NowPlayingDock* dock = view.dock();
    EXPECT_EQ(dock->groupId(), QString::fromStdString(gid(1).description()));
    EXPECT_TRUE(dock->showsGroupSwitcher());

    dock->closeQueuePopover();
    dock->selectGroup(QString::fromStdString(gid(2).description()));
    EXPECT_EQ(view.dock(), dock);
    EXPECT_EQ(dock->groupId(), QString::fromStdString(gid(2).description()));
    EXPECT_FALSE(dock->showingQueuePopover());  // the launch option counted once

    dock->open();
    EXPECT_EQ(view.selectionId(), QString::fromStdString(gid(2).description()));
}
