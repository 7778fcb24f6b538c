#include <filesystem>
#include <future>

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/WaitFor.h"
#include "SpotifyBridge/TokenVault.h"
#include "SpotifyBridge/VaultIdentity.h"
#include "Support/FileWriter.h"

using namespace orvel;

namespace {

// The task's result; a task that does not finish in time fails the test.
template <class T>
T run(QCoro::Task<T> task) {
    return waitForTask(std::move(task)).value();
}
void run(QCoro::Task<> task) { EXPECT_TRUE(waitForTask(std::move(task))); }

const VaultIdentity here{"0123456789abcdef0123456789abcdef.alice", {}};

// Holds the shared file writer until release(), so whatever is queued meanwhile waits behind it.
class HeldWriter {
public:
    HeldWriter() {
        std::shared_future<void> held = release_.get_future().share();
        FileWriter::shared().enqueue([held] { held.wait(); });
    }
    ~HeldWriter() { release(); }
    void release() {
        if (!released_) release_.set_value();
        released_ = true;
    }

private:
    std::promise<void> release_;
    bool released_ = false;
};

}  // namespace

TEST(TokenVaultWriter, WritesWaitForTheWriterAndApplyInTheOrderAsked) {
    QTemporaryDir dir;
    const TokenVault vault("Orvella.Spotify", std::filesystem::path(dir.path().toStdString()) / "Orvella", here);
    const Date expiry = Date::fromUnix(2'000'000'000);

    HeldWriter writer;
    auto storing = vault.storeAsync("A1", expiry, "R1", "Alice");
    auto renaming = vault.storeDisplayNameAsync("Bob");
    auto reading = vault.refreshTokenAsync();
    EXPECT_FALSE(std::filesystem::exists(vault.vaultFilePath())) << "nothing is written on the caller's thread";
    writer.release();

    run(std::move(storing));
    run(std::move(renaming));
    EXPECT_EQ(run(std::move(reading)), "R1") << "a read sees the writes asked for before it";
    EXPECT_EQ(vault.loadSnapshot(), (TokenVault::Snapshot{"R1", TokenVault::AccessToken{"A1", expiry}, "Bob"}));

    // A clear asked for before a write removes only what came before it.
    auto clearing = vault.clearAsync();
    auto naming = vault.storeDisplayNameAsync("Carol");
    run(std::move(clearing));
    run(std::move(naming));
    EXPECT_EQ(vault.loadSnapshot(), (TokenVault::Snapshot{std::nullopt, std::nullopt, "Carol"}));
}
