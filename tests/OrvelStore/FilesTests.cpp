#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "OrvelStore/OrvelFiles.h"
#include "OrvelStore/OrvelState.h"
#include "StateFixtures.h"
#include "testing/ManualClock.h"
#include "common/WaitFor.h"

using namespace orvel;
using namespace orvel::testing;
namespace fs = std::filesystem;

namespace {

class StoreFiles : public ::testing::Test {
protected:
    fs::path folder() const { return fs::path(temporary.path().toStdString()); }
    OrvelFiles files() const { return OrvelFiles(folder(), clock); }

    void write(const std::string& name, const std::string& text) const { std::ofstream(folder() / name) << text; }
    std::string read(const std::string& name) const {
        std::ifstream in(folder() / name);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(folder())) out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

    QTemporaryDir temporary;
    ManualClock clock{Date::fromUnix(1'700'000'123.75)};
};

const std::string validSpeaker =
    R"({"id":"RINCON_00000000000101400","roomName":"Den","model":{"one":{}},)"
    R"("reachability":{"online":{"ip":"127.0.2.2"}},"volume":20,"bondedSatellites":[]})";

std::string cacheWith(const std::string& speaker, const std::string& rf = R"({"bands":[],"strengths":[]})") {
    return R"({"speakers":[)" + speaker + R"(],"rf":)" + rf + "}";
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    return text.replace(text.find(from), from.size(), to);
}

TEST_F(StoreFiles, AFirstRunFindsNothingClearsCrashDebrisAndTheFirstSaveCreatesTheFolder) {
    write(".cached-speakers.json.tmp-0123456789abcdef", "half a file from a crash");
    const LoadedFiles loaded = files().loadAll();
    EXPECT_EQ(loaded, LoadedFiles{});
    EXPECT_TRUE(names().empty());

    const OrvelFiles nested(folder() / "a" / "Orvella", clock);
    ASSERT_EQ(waitForTask(nested.saveAsync(FloorplanPositionsFile{}, fileSlot::floorplanPositions())),
              OrvelFiles::SaveResult{});
    EXPECT_EQ(nested.load(fileSlot::floorplanPositions()), LoadResult<FloorplanPositionsFile>::loaded({}));
}

TEST_F(StoreFiles, AnUnreadableCacheIsDeletedWithoutAlert) {
    const std::pair<const char*, std::string> cases[] = {
        {"invalid JSON", "{"},
        {"missing rf", R"({"speakers":[]})"},
        {"bad id", cacheWith(replaced(validSpeaker, "RINCON_00000000000101400", "RINCON_bad"))},
        {"volume 101", cacheWith(replaced(validSpeaker, "\"volume\":20", "\"volume\":101"))},
        {"volume 35.5", cacheWith(replaced(validSpeaker, "\"volume\":20", "\"volume\":35.5"))},
        {"band 4", cacheWith(validSpeaker, R"({"bands":[{"low":"RINCON_00000000000101400",)"
                                           R"("high":"RINCON_00000000000201400"},4],"strengths":[]})")},
        {"unknown role", cacheWith(replaced(validSpeaker, R"("bondedSatellites":[])",
                                            R"("bondedSatellites":[{"id":"RINCON_00000000000301400",)"
                                            R"("role":"front","isOnline":true}])"))},
    };
    ASSERT_TRUE(files().load(fileSlot::cachedSpeakers()).isMissing());
    write("cached-speakers.json", cacheWith(validSpeaker));
    ASSERT_TRUE(files().load(fileSlot::cachedSpeakers()).isLoaded()) << "the valid fixture must load";
    for (const auto& [name, text] : cases) {
        SCOPED_TRACE(name);
        write("cached-speakers.json", text);
        const LoadedFiles loaded = files().loadAll();
        EXPECT_FALSE(loaded.cache);
        EXPECT_TRUE(loaded.quarantined.empty());
        EXPECT_TRUE(names().empty());
        EXPECT_FALSE(OrvelState(loaded, {}).alert());
    }
}

TEST_F(StoreFiles, UnreadablePositionsAreSetAsideUnderTheSecondsSince1970AndReported) {
    write("floorplan-positions.json", R"({"pins":{"RINCON_nope":{"x":0.5,"y":0.5}}})");
    write("presets.json", "anything");
    const LoadedFiles loaded = files().loadAll();
    const std::string setAside = "floorplan-positions.json.corrupt-1700000123";
    EXPECT_EQ(loaded.quarantined, std::vector{setAside});
    EXPECT_EQ(names(), std::vector{setAside});
    EXPECT_EQ(OrvelState(loaded, {}).alert(), OrvelAlert::quarantined(setAside));
}

TEST_F(StoreFiles, PositionsThatCannotBeMovedStayAndAreReportedUnderTheirOwnName) {
    write("floorplan-positions.json", "not json");
    // Something already holds the new name: it is neither replaced nor merged.
    fs::create_directory(folder() / "floorplan-positions.json.corrupt-1700000123");
    write("floorplan-positions.json.corrupt-1700000123/earlier", "kept");
    EXPECT_EQ(files().load(fileSlot::floorplanPositions()),
              LoadResult<FloorplanPositionsFile>::quarantined("floorplan-positions.json"));
    EXPECT_EQ(read("floorplan-positions.json"), "not json");
    EXPECT_EQ(read("floorplan-positions.json.corrupt-1700000123/earlier"), "kept");
}

TEST_F(StoreFiles, TheCacheFileHasTheDocumentedShape) {
    const auto lastSeen = Date::sinceReferenceDate(700'000'000.5);
    Speaker portable = offlineSpeaker('A', "Patio", lastSeen);
    portable.model = SpeakerModel::move();
    const CachedSpeakersFile cache{{portable}, matrix('A', 'B', 40), std::nullopt};
    ASSERT_EQ(waitForTask(files().saveAsync(cache, fileSlot::cachedSpeakers())), OrvelFiles::SaveResult{});

    const Json written = Json::parse(read("cached-speakers.json"));
    const Json& speakerJson = written["speakers"][0];
    EXPECT_EQ(speakerJson["model"], Json::parse(R"({"move":{}})"));
    EXPECT_EQ(speakerJson["reachability"]["offline"]["lastSeenAt"].get<double>(), 700'000'000.5);
    EXPECT_EQ(written["rf"]["bands"], Json::parse(R"([{"low":")" + sp('A').rawValue() + R"(","high":")" +
                                                  sp('B').rawValue() + R"("},3])"));
    EXPECT_EQ(written["rf"]["strengths"][1], 40);
    EXPECT_FALSE(written.contains("networkName"));
    EXPECT_EQ(files().load(fileSlot::cachedSpeakers()), LoadResult<CachedSpeakersFile>::loaded(cache));
}

TEST_F(StoreFiles, SeedAddressesFollowTheCacheWithDuplicates) {
    LoadedFiles loaded = cacheOf({speaker('A', "Kitchen"), offlineSpeaker('B', "Den", T0), speaker('C', "Hall")});
    loaded.cache->speakers[2].reachability = ReachabilityState::online(ipOf('B'));
    EXPECT_EQ(loaded.seedIPs(), (std::vector{ipOf('A'), ipOf('B'), ipOf('B')}));
}

TEST_F(StoreFiles, AFailedSaveNamesTheFileAndKeepsThePreviousOne) {
    write("blocker", "a file where the folder should be");
    const OrvelFiles blocked(folder() / "blocker" / "Orvella", clock);
    auto result = waitForTask(blocked.saveAsync(FloorplanPositionsFile{}, fileSlot::floorplanPositions()));
    ASSERT_TRUE(result);
    ASSERT_FALSE(*result);
    EXPECT_EQ(result->error().kind, FileWriteError::Kind::creatingFolder);
    EXPECT_EQ(result->error().fileName, "floorplan-positions.json");
}

struct MigrationCase {
    const char* name;
    std::optional<int> oldAge;  // seconds before now; none: no file in the old folder
    std::optional<int> newAge;  // none: no file in the data folder
    bool copied;
};

TEST_F(StoreFiles, MigrationCopiesOnlyMissingOrNewerFiles) {
    const MigrationCase cases[] = {
        {"missing here", 100, std::nullopt, true},
        {"newer there", 10, 100, true},
        {"older there", 100, 10, false},
        {"equally old", 50, 50, false},
        {"nothing there", std::nullopt, 10, false},
    };
    const auto now = fs::file_time_type::clock::now();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path from = folder() / c.name / "old";
        const fs::path to = folder() / c.name / "new";
        fs::create_directories(from);
        fs::create_directories(to);
        for (const auto& [dir, age, text] : {std::tuple{from, c.oldAge, "old"}, std::tuple{to, c.newAge, "new"}}) {
            if (!age) continue;
            std::ofstream(dir / "spotify-vault.enc") << text;
            fs::permissions(dir / "spotify-vault.enc", fs::perms::owner_read | fs::perms::owner_write);
            fs::last_write_time(dir / "spotify-vault.enc", now - std::chrono::seconds(*age));
        }
        OrvelFiles::migrateLegacyDirectoryIfNeeded(from, to);
        std::ifstream in(to / "spotify-vault.enc");
        const std::string content(std::istreambuf_iterator<char>(in), {});
        EXPECT_EQ(content, c.copied ? "old" : (c.newAge ? "new" : ""));
        if (c.copied) {
            EXPECT_EQ(fs::status(to / "spotify-vault.enc").permissions() & fs::perms::all,
                      fs::perms::owner_read | fs::perms::owner_write);
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(to), fs::directory_iterator()), (c.copied || c.newAge) ? 1 : 0);
    }
    OrvelFiles::migrateLegacyDirectoryIfNeeded(folder() / "absent", folder() / "created");
    EXPECT_FALSE(fs::exists(folder() / "created"));
}

}  // namespace
