#pragma once

// A bridge wired to a fake accounts and Web API host on loopback, a manual clock, preferences in
// memory, a vault in a temporary folder, and a browser that the test scripts.

#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "common/WaitFor.h"
#include "ScriptedBrowser.h"
#include "fakes/FakeSpotifyWebApi.h"
#include "SpotifyBridge/SpotifyAPIClient.h"
#include "SpotifyBridge/SpotifyBridge.h"
#include "SpotifyBridge/SpotifyBridgeSignIn.h"
#include "SpotifyBridge/TokenVault.h"
#include "SpotifyBridge/UserDefaults.h"
#include "SpotifyBridge/WebAuthSession.h"
#include "Support/FileWriter.h"
#include "testing/ManualClock.h"

namespace orvel {

// Readable failure messages.
inline void PrintTo(const SpotifyBridge::Authorization& authorization, std::ostream* out) {
    if (const auto* connected = authorization.asConnected()) {
        *out << "connected(" << connected->displayName << ")";
    } else {
        *out << "notConnected";
    }
}
inline void PrintTo(const SpotifyBridgeError& error, std::ostream* out) { *out << error.description(); }

}  // namespace orvel

namespace orvel::testing {

// The task's result. A task that does not finish in time throws, which fails the test.
template <class T>
T run(QCoro::Task<T> task) {
    return waitForTask(std::move(task)).value();
}

// The track context call's answer when it fails with `error`.
inline SpotifyBridge::Result<SpotifyTrackContext> contextFailure(SpotifyBridgeError error) {
    return std::unexpected(std::move(error));
}

inline const QByteArray tokenPath = "/api/token";
inline const QByteArray profilePath = "/v1/me";
inline const QByteArray playerPath = "/v1/me/player";
inline const QByteArray queuePath = "/v1/me/player/queue";
inline const QByteArray playPath = "/v1/me/player/play";
inline const QByteArray someTrack = "spotify:track:0000000000000000000001";

class MemoryDefaults : public UserDefaults {
public:
    std::optional<std::string> string(const std::string& key) const override {
        auto it = values.find(key);
        return it == values.end() ? std::nullopt : std::optional<std::string>(it->second);
    }
    void setString(const std::string& key, const std::string& value) override { values[key] = value; }
    void remove(const std::string& key) override { values.erase(key); }

    std::map<std::string, std::string> values;
};

// The value of the first query item `name` of `url`, if it has one.
inline std::optional<std::string> queryValue(const QUrl& url, std::string_view name) {
    for (const auto& item : SpotifyBridgeSignIn::queryItems(url)) {
        if (item.name == name) return item.value;
    }
    return std::nullopt;
}

// The value of field `name` in a form body ("a=1&b=2"), decoded.
inline std::optional<std::string> formValue(const QByteArray& body, std::string_view name) {
    return queryValue(QUrl(QStringLiteral("x:?") + QString::fromUtf8(body)), name);
}

class SpotifyBridgeTest : public ::testing::Test {
protected:
    static constexpr const char* clientID = "test-client";

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        ASSERT_TRUE(accounts.listen());
        ASSERT_TRUE(fake.listen());
        auto endpoints = SpotifyEndpoints::make(accounts.origin(), fake.origin(), fake.origin());
        ASSERT_TRUE(endpoints);
        client = std::make_unique<SpotifyAPIClient>(WebAPI(*endpoints, &network), clock);
        fake.setReply(profilePath, profile("Alice"));
        fake.setReply(queuePath, fakes::FakeSpotifyWebApi::json(200, fakes::FakeSpotifyWebApi::queue({})));
    }

    TokenVault vault() const {
        // Made first: deriving its key starts the crypto library before the file writer, so at
        // exit the writer finishes before the library cleans up, as in the application.
        TokenVault made(std::string(TokenVault::defaultService), std::filesystem::path(folder.path().toStdString()),
                        VaultIdentity{"feedface.tester", {}});
        // The bridge writes the vault on the file writer: what a test reads comes after every
        // write asked for so far.
        FileWriter::shared().submit([] {}).waitForFinished();
        return made;
    }
    // An access token that expires `secondsLeft` from now, stored with `refreshToken` and `name`.
    void seedVault(std::optional<std::string> refreshToken, std::optional<double> secondsLeft,
                   std::optional<std::string> name = std::nullopt, const std::string& accessToken = "A0") const {
        const TokenVault v = vault();
        if (secondsLeft) v.store(accessToken, clock.now().addingSeconds(*secondsLeft));
        if (refreshToken) v.storeRefreshToken(*refreshToken);
        if (name) v.storeDisplayName(*name);
    }

    // A fresh start for the next row of a table: no bridge, nothing stored, no request seen.
    void startOver() {
        bridge.reset();
        vault().clear();
        defaults.values.clear();
        accounts.server().clearRequests();
        fake.server().clearRequests();
    }

    SpotifyBridge& startBridge(const QString& explicitClientID = QString::fromLatin1(clientID)) {
        bridge = std::make_unique<SpotifyBridge>(explicitClientID, QUrl(QStringLiteral("orvella://spotify-callback")),
                                                 vault(), SpotifyBridge::Services{*client, clock, defaults});
        return *bridge;
    }

    static fakes::HttpReply tokens(const std::string& access, std::optional<std::string> refresh = std::nullopt,
                                   int expiresIn = 3600) {
        QByteArray body = R"({"access_token":")" + QByteArray::fromStdString(access) + R"(","token_type":"Bearer")";
        if (refresh) body += R"(,"refresh_token":")" + QByteArray::fromStdString(*refresh) + '"';
        body += R"(,"expires_in":)" + QByteArray::number(expiresIn) + "}";
        return fakes::FakeSpotifyWebApi::json(200, body);
    }
    static fakes::HttpReply profile(const QByteArray& name) {
        return fakes::FakeSpotifyWebApi::json(200, R"({"id":"u1","display_name":")" + name + R"("})");
    }
    static fakes::HttpReply playing() {
        return fakes::FakeSpotifyWebApi::json(200, fakes::FakeSpotifyWebApi::playerState(someTrack, "Song"));
    }

    qsizetype tokenRequests() const { return accounts.requestCount(tokenPath); }
    qsizetype allRequests() const { return accounts.requestCount() + fake.requestCount(); }
    // The bearer token of every request to `path`, in order.
    std::vector<std::string> bearers(const QByteArray& path) const {
        std::vector<std::string> out;
        for (const auto& request : fake.requestsTo(path)) {
            out.push_back(request.header("Authorization").replace("Bearer ", "").toStdString());
        }
        return out;
    }
    // Runs the event loop until no token refresh is out.
    void settleRefresh() { ASSERT_TRUE(waitUntil([&] { return !bridge->isRefreshingToken(); })); }
    // Runs everything already queued on the event loop. A coroutine waiting for a reply resumes
    // through a queued call once the reply has finished, so after this it has gone as far as it
    // can without another reply.
    static void drainQueuedCalls() {
        bool reached = false;
        QMetaObject::invokeMethod(QCoreApplication::instance(), [&reached] { reached = true; }, Qt::QueuedConnection);
        ASSERT_TRUE(waitUntil([&] { return reached; }));
    }
    // Requests to `path` that have started and not finished yet.
    qsizetype openRequestsTo(const QByteArray& path) const {
        qsizetype open = 0;
        for (const QNetworkReply* reply : network.findChildren<QNetworkReply*>()) {
            open += !reply->isFinished() && reply->url().path().toUtf8() == path ? 1 : 0;
        }
        return open;
    }

    QTemporaryDir folder;
    // The accounts host (sign-in, tokens) apart from the Web API host, so a test can hold back
    // the answers of one while the other answers.
    fakes::FakeSpotifyWebApi accounts;
    fakes::FakeSpotifyWebApi fake;
    QNetworkAccessManager network;
    ManualClock clock;
    MemoryDefaults defaults;
    std::unique_ptr<SpotifyAPIClient> client;
    // Last, so it goes first: it must not outlive what it talks to.
    std::unique_ptr<SpotifyBridge> bridge;
};

}  // namespace orvel::testing
