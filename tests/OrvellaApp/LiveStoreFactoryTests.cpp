// The live store against a fake household on loopback (127.203.<block>.*): the household's
// seeds come from the cached speakers, discovery finds nothing, and the state shows what the
// speakers report.

#include <gtest/gtest.h>

#include "LoopbackSeeds.h"
#include "OrvellaApp/LiveStoreFactory.h"
#include "SonosProtocolBoundary/HouseholdRig.h"

using namespace orvel;
using namespace orvel::testing;

namespace {

QHostAddress liveAddress(int block, int host) {
    return QHostAddress(QStringLiteral("127.203.%1.%2").arg(block).arg(host));
}

class LiveStore : public ::testing::Test {
protected:
    // Seeds the cache with the first fake speaker, offline at its address, and makes the store.
    void makeStore(fakes::FakeHousehold& fake) {
        const auto id = *SpeakerUUID::make(fake.speakerId(0).toStdString());
        const std::string ip = fake.address(fake.speakerId(0)).toString().toStdString();
        const Speaker cached{id, "Somewhere", SpeakerModel::one(), ReachabilityState::offline(ip, Date::fromUnix(1e9)),
                             DiscreteVolume::snappingPercent(10), {}};
        ASSERT_TRUE(seedCachedSpeakers(folder(), {cached, cached}));
        store = LiveStoreFactory::live(spotify, folder(), withoutDiscovery(clock));
    }

    SonosHousehold& household() const { return liveHousehold(*store); }

    void TearDown() override {
        if (!store) return;
        // Requests still under way would otherwise outlive the fake speakers.
        waitUntil([&] { return !household().isBusy(); });
        store.reset();
        QCoreApplication::processEvents();
    }

    std::filesystem::path folder() const { return temporary.path().toStdString(); }

    ManualClock clock;
    QTemporaryDir temporary;
    std::shared_ptr<FakeSpotifySource> spotify = std::make_shared<FakeSpotifySource>();
    std::unique_ptr<OrvelStore> store;
};

TEST_F(LiveStore, ShowsTheHouseholdFoundThroughTheCachedSpeakers) {
    fakes::FakeHousehold fake(liveAddress(1, 2), 3);
    fake.model().setGroup({fake.speakerId(0), fake.speakerId(1)});
    ASSERT_TRUE(fake.start()) << fake.errorString().toStdString();
    makeStore(fake);
    EXPECT_EQ(household().configuration(), SonosHousehold::Configuration::standard());
    EXPECT_FALSE(household().isSweeping());

    auto loop = std::make_shared<waiting::TaskOutcome<bool>>();
    waiting::collect(store->run(), loop);
    ASSERT_TRUE(waitUntil([&] { return store->state().live() && store->state().live()->speakers().size() == 3; }));

    const OrvelState& state = store->state();
    ASSERT_EQ(state.groups().size(), 2u);
    std::set<std::string> rooms;
    for (const Speaker& speaker : state.speakers()) {
        rooms.insert(speaker.roomName);
        EXPECT_TRUE(speaker.reachability.isOnline()) << speaker.roomName;
    }
    std::set<std::string> reported;
    for (const QString& id : fake.speakerIds()) reported.insert(fake.model().speaker(id).roomName.toStdString());
    EXPECT_EQ(rooms, reported);
    const auto joined = std::find_if(state.groups().begin(), state.groups().end(),
                                     [](const SonosGroup& group) { return group.members.size() == 1; });
    ASSERT_NE(joined, state.groups().end());
    EXPECT_EQ(joined->id.coordinator.rawValue(), fake.speakerId(0).toStdString());

    // The household it found replaces the cached speaker in the file.
    ASSERT_TRUE(waitUntil([&] { return OrvelStorePeer::written(*store).cache.speakers.size() == 3; }));
}

TEST(StoreSeedAddresses, KeepsEachValidAddressOnceInFirstSeenOrder) {
    struct Case {
        const char* name;
        std::vector<std::string> cached;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"nothing cached", {}, {}},
        {"a repeat with another between", {"127.0.2.5", "127.0.2.6", "127.0.2.5"}, {"127.0.2.5", "127.0.2.6"}},
        {"an online and an offline speaker at one address", {"127.0.2.7", "127.0.2.7"}, {"127.0.2.7"}},
        {"texts that are no IPv4 address", {"", "speaker.local", "127.0.2.8:1400", "0127.0.2.9", "::1", "127.0.2.8"},
         {"127.0.2.8"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LiveStoreFactory::mergedSeedIPs(c.cached), c.expected);
    }
}

}  // namespace
