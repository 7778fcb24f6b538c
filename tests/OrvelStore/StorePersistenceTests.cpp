#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>

#include "FakePorts.h"
#include "StateFixtures.h"

using namespace orvel;
using namespace orvel::testing;
namespace fs = std::filesystem;
using std::chrono::milliseconds;

namespace {

const std::string cacheName = "cached-speakers.json";
const std::string positionsName = "floorplan-positions.json";

template <class T>
std::optional<T> readFile(const fs::path& path) {
    std::ifstream in(path);
    if (!in) return std::nullopt;
    const std::string text(std::istreambuf_iterator<char>(in), {});
    auto parsed = json::parse(text);
    if (!parsed) return std::nullopt;
    auto decoded = T::fromJson(*parsed);
    if (!decoded) return std::nullopt;
    return *decoded;
}

Household kitchenAndOffice(Date at, int kitchenVolume = 20) {
    return Household{.at = at,
                     .speakers = {speaker('A', "Kitchen", kitchenVolume), speaker('B', "Office")},
                     .grouping = "AA BB"};
}

class StorePersistence : public ::testing::Test {
protected:
    void SetUp() override {
        h.startLoop();
        ASSERT_TRUE(h.publishAndSettle(kitchenAndOffice(T0).build()));
    }

    std::optional<CachedSpeakersFile> cacheOnDisk() const {
        return readFile<CachedSpeakersFile>(h.dataFolder() / cacheName);
    }
    int kitchenVolumeOnDisk() const {
        auto cache = cacheOnDisk();
        return cache ? static_cast<int>(cache->speakers.front().volume.rawValue()) : -1;
    }
    void pin(char id, double x) {
        OrvelState next = h.store->state();
        next.pin(sp(id), RoomCoordinate::clamping(x, 0.5));
        h.store->setState(next);
    }
    // A folder in the file's place makes its atomic replacement fail.
    void blockFile(const std::string& name) const {
        fs::remove(h.dataFolder() / name);
        fs::create_directory(h.dataFolder() / name);
    }
    void unblockFile(const std::string& name) const { fs::remove(h.dataFolder() / name); }

    StoreHarness h;
};

TEST(StoreStartup, WritesNothingAtStart) {
    StoreHarness h(cacheOf({offlineSpeaker('A', "Kitchen", T0)}));
    EXPECT_TRUE(fs::is_empty(h.dataFolder()));
}

struct CacheChange {
    const char* name;
    milliseconds after;
    Household household;
    bool writtenAtOnce;
};

TEST(StoreCacheTiming, TheFirstDifferenceNewSpeakersAndANewNameAreWrittenAtOnceAVolumeAfter30Seconds) {
    auto withSpeakerC = [](Date at) {
        Household household = kitchenAndOffice(at);
        household.speakers.push_back(speaker('C', "Hall"));
        household.grouping = "AA BB CC";
        return household;
    };
    auto named = [](Date at) {
        Household household = kitchenAndOffice(at);
        household.name = "Cabin";
        return household;
    };
    const Date later = T0.addingSeconds(1);
    const CacheChange cases[] = {
        {"a volume 29.9 s after the last write", milliseconds(29'900), kitchenAndOffice(later, 45), false},
        {"a volume 30.0 s after the last write", milliseconds(30'000), kitchenAndOffice(later, 45), true},
        {"a new speaker 1 s after the last write", milliseconds(1'000), withSpeakerC(later), true},
        {"a new network name 1 s after the last write", milliseconds(1'000), named(later), true},
        {"the same household a minute later", milliseconds(60'000), kitchenAndOffice(later), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StoreHarness store;
        store.startLoop();
        ASSERT_TRUE(store.publishAndSettle(kitchenAndOffice(T0).build()));
        const auto first = readFile<CachedSpeakersFile>(store.dataFolder() / cacheName);
        ASSERT_TRUE(first);
        EXPECT_EQ(*first, OrvelStorePeer::written(*store.store).cache);
        EXPECT_FALSE(fs::exists(store.dataFolder() / positionsName));

        fs::remove(store.dataFolder() / cacheName);
        store.clock.advance(c.after);
        ASSERT_TRUE(store.publishAndSettle(c.household.build()));
        const auto onDisk = readFile<CachedSpeakersFile>(store.dataFolder() / cacheName);
        ASSERT_EQ(onDisk.has_value(), c.writtenAtOnce);
        if (onDisk) {
            EXPECT_EQ(*onDisk, store.store->state().persisted().cache);
        }
    }
}

TEST_F(StorePersistence, AHeldBackChangeIsWrittenByTheFirstCallAfter30Seconds) {
    h.clock.advance(milliseconds(10'000));
    ASSERT_TRUE(h.publishAndSettle(kitchenAndOffice(T0.addingSeconds(10), 45).build()));
    EXPECT_EQ(kitchenVolumeOnDisk(), 20);

    // The same household again: the state stays, the held-back slice goes out once it is due.
    h.clock.advance(milliseconds(19'999));
    ASSERT_TRUE(h.publishAndSettle(kitchenAndOffice(T0.addingSeconds(30), 45).build()));
    EXPECT_EQ(kitchenVolumeOnDisk(), 20);
    h.clock.advance(milliseconds(1));
    ASSERT_TRUE(h.publishAndSettle(kitchenAndOffice(T0.addingSeconds(31), 45).build()));
    EXPECT_EQ(kitchenVolumeOnDisk(), 45);
}

TEST_F(StorePersistence, AFailedCacheWriteRaisesTheAlertAndIsTriedAgainAtTheNextDueCall) {
    blockFile(cacheName);
    h.clock.advance(milliseconds(30'000));
    ASSERT_TRUE(h.publishAndSettle(kitchenAndOffice(T0.addingSeconds(30), 45).build()));
    EXPECT_EQ(h.store->state().alert(), OrvelAlert::quarantined(cacheName));
    EXPECT_EQ(OrvelStorePeer::written(*h.store).cache.speakers.front().volume, DiscreteVolume::snappingPercent(20));

    // The last successful write is still 30 s back, so the very next call is due.
    unblockFile(cacheName);
    ASSERT_TRUE(h.publishAndSettle(kitchenAndOffice(T0.addingSeconds(31), 45).build()));
    EXPECT_EQ(kitchenVolumeOnDisk(), 45);
}

TEST_F(StorePersistence, AFailedPositionsWriteLeavesItsRecordWhileTheCacheWriteInTheSameCallIsRecorded) {
    blockFile(positionsName);
    pin('B', 0.5);
    Household household = kitchenAndOffice(T0.addingSeconds(1));
    household.name = "Cabin";
    ASSERT_TRUE(h.publishAndSettle(household.build()));

    EXPECT_EQ(h.store->state().alert(), OrvelAlert::quarantined(positionsName));
    EXPECT_TRUE(OrvelStorePeer::written(*h.store).positions.pins.empty());
    EXPECT_EQ(OrvelStorePeer::written(*h.store).cache.networkName, "Cabin");
    EXPECT_EQ(cacheOnDisk()->networkName, "Cabin");
}

TEST_F(StorePersistence, AnOlderCacheSliceNeverOvertakesANewerOneOnDisk) {
    // Hold the writer so the loop's writes stay queued.
    std::promise<void> holdWriter;
    FileWriter::shared().enqueue([held = holdWriter.get_future().share()] { held.wait(); });

    // The loop takes its slices (a pin and a louder kitchen) and waits on its positions write.
    pin('A', 0.25);
    h.clock.advance(milliseconds(30'000));
    h.sonos->publish(kitchenAndOffice(T0.addingSeconds(30), 45).build());
    ASSERT_TRUE(waitUntil([] { return FileWriter::shared().pendingCount() == 2; }));

    // Meanwhile the household is renamed and a write asked for from the GUI thread: it queues
    // its positions write behind the loop's and awaits it too.
    OrvelState renamed = h.store->state();
    renamed.renameSystem("Cabin");
    h.store->setState(renamed);
    auto renamedWrite = OrvelStorePeer::persistChangedSlices(*h.store);
    EXPECT_EQ(FileWriter::shared().pendingCount(), 3u);
    holdWriter.set_value();
    ASSERT_TRUE(waitForTask(std::move(renamedWrite)));
    ASSERT_TRUE(h.settle());

    const auto cache = cacheOnDisk();
    ASSERT_TRUE(cache);
    EXPECT_EQ(cache->networkName, "Cabin");
    EXPECT_EQ(cache->speakers.front().volume, DiscreteVolume::snappingPercent(45));
    EXPECT_EQ(OrvelStorePeer::written(*h.store), h.store->state().persisted());
}

}  // namespace
