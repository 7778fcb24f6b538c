#include <algorithm>
#include <optional>
#include <vector>

#include <QFileInfo>
#include <QLocalSocket>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "SpotifyBridge/CallbackRelay.h"
#include "common/WaitFor.h"

using namespace orvel;

namespace {

const int waitBound = static_cast<int>(defaultWaitLimit.count());  // ms, for the socket's own waits

const QByteArray callback = "orvella://spotify-callback?code=c0de&state=5e1f";

// A listening relay in a folder of its own, recording what it hands on.
struct ListeningRelay {
    ListeningRelay() {
        relay.setReceiver([this](const QUrl& url) { received.push_back(url.toEncoded()); });
    }

    QTemporaryDir folder;
    CallbackRelay relay{folder.filePath(QStringLiteral("relay"))};
    std::vector<QByteArray> received;
};

// A client that writes `chunks` one by one, giving the relay's event loop a turn between them.
void send(const QString& serverName, const std::vector<QByteArray>& chunks) {
    QLocalSocket socket;
    socket.connectToServer(serverName);
    ASSERT_TRUE(socket.waitForConnected(waitBound));
    for (const QByteArray& chunk : chunks) {
        socket.write(chunk);
        ASSERT_TRUE(socket.waitForBytesWritten(waitBound));
        QCoreApplication::processEvents();
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(waitBound);
}

}  // namespace

TEST(CallbackRelay, AcceptsOnlyCallbackURLsOfItsScheme) {
    const QString scheme = QStringLiteral("orvella");
    struct Case { QByteArray encoded; bool accepted; };
    const Case cases[] = {
        {callback, true},
        {"ORVELLA://spotify-callback?code=1", true},  // schemes are case-insensitive
        {"orvella://spotify-callback#state=1&code=2", true},
        {"", false},
        {"https://accounts.example.test/?code=1", false},
        {"orvella://spotify-callback?code=a b", false},      // a space is never part of an encoded URL
        {"orvella://spotify-callback?code=1\n", false},      // nor a control character
        {"orvella://spotify-callback?code=\xC3\xA9", false},  // nor raw UTF-8
        {"orvella://spotify-callback?code=%zz", false},      // broken percent-encoding
        {"orvella://spotify-callback?code=" + QByteArray(CallbackRelay::maximumCallbackSize - 32, 'a'), true},
        {"orvella://spotify-callback?code=" + QByteArray(CallbackRelay::maximumCallbackSize - 31, 'a'), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CallbackRelay::parseCallback(c.encoded, scheme).has_value(), c.accepted) << c.encoded.left(80).constData();
    }
}

TEST(CallbackRelay, FindsTheCallbackAmongTheProgramArguments) {
    const QString scheme = QStringLiteral("orvella");
    struct Case { const char* name; QStringList arguments; std::optional<QByteArray> expected; };
    const Case cases[] = {
        {"as the desktop passes it", {"/usr/bin/orvella", QString::fromLatin1(callback)}, callback},
        {"the program name is never taken", {QString::fromLatin1(callback)}, std::nullopt},
        {"first of two", {"orvella", "orvella://spotify-callback?code=1", "orvella://spotify-callback?code=2"},
         QByteArray("orvella://spotify-callback?code=1")},
        {"text is encoded", {"orvella", QStringLiteral("orvella://spotify-callback?code=a b\u00e9")},
         QByteArray("orvella://spotify-callback?code=a%20b%C3%A9")},
        {"too long", {"orvella", "orvella://spotify-callback?code=" + QString(CallbackRelay::maximumCallbackSize, u'a')},
         std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CallbackRelay::callbackFromArguments(c.arguments, scheme), c.expected) << c.name;
    }
}

TEST(CallbackRelay, HandsOnWhatClientsSendAndDropsTheRest) {
    ListeningRelay r;
    ASSERT_TRUE(r.relay.listen().has_value());

    send(r.relay.serverName(), {"orvella://spotify-", "callback?code=1", "\n"});  // split up
    send(r.relay.serverName(), {"orvella://spotify-callback?code=2"});             // ended by closing
    send(r.relay.serverName(), {"orvella://spotify-callback?code=3\r\norvella://spotify-callback?code=4\n"});
    send(r.relay.serverName(), {"https://accounts.example.test/?code=5\n"});
    send(r.relay.serverName(), {});  // a copy started without a URL
    send(r.relay.serverName(), {"orvella://spotify-callback?code=6\n"});

    ASSERT_TRUE(waitUntil([&] { return r.received.size() >= 4; }));
    // Connections finish in any order; what matters is which URLs come through.
    std::sort(r.received.begin(), r.received.end());
    EXPECT_EQ(r.received, (std::vector<QByteArray>{"orvella://spotify-callback?code=1", "orvella://spotify-callback?code=2",
                                                   "orvella://spotify-callback?code=3",
                                                   "orvella://spotify-callback?code=6"}))
        << "one URL per connection; other schemes dropped";
}

TEST(CallbackRelay, CutsOffASenderThatGoesOnTooLong) {
    ListeningRelay r;
    ASSERT_TRUE(r.relay.listen().has_value());
    QLocalSocket flood;
    flood.connectToServer(r.relay.serverName());
    ASSERT_TRUE(flood.waitForConnected(waitBound));
    flood.write("orvella://spotify-callback?code=" + QByteArray(CallbackRelay::maximumCallbackSize, 'a'));

    ASSERT_TRUE(waitUntil([&] { return flood.state() == QLocalSocket::UnconnectedState; }))
        << "the relay hangs up";
    send(r.relay.serverName(), {callback + "\n"});
    ASSERT_TRUE(waitUntil([&] { return !r.received.empty(); }));
    EXPECT_EQ(r.received, std::vector<QByteArray>{callback});
}

TEST(CallbackRelay, HandsAURLFromASecondClientToTheFirst) {
    ListeningRelay r;
    ASSERT_TRUE(r.relay.listen().has_value());
    const QString name = r.relay.serverName();

    EXPECT_TRUE(CallbackRelay::forwardToRunningInstance({"orvella", QString::fromLatin1(callback)}, name));
    EXPECT_TRUE(CallbackRelay::forwardToRunningInstance({"orvella"}, name)) << "a copy without a URL also leaves";
    EXPECT_TRUE(CallbackRelay::forwardToRunningInstance({"orvella", "https://elsewhere.test/"}, name));
    EXPECT_FALSE(CallbackRelay::forwardToRunningInstance({"orvella", QString::fromLatin1(callback)}, name + "-none"))
        << "with nobody listening the caller starts itself";

    ASSERT_TRUE(waitUntil([&] { return !r.received.empty(); }));
    EXPECT_EQ(r.received, std::vector<QByteArray>{callback});
}

TEST(CallbackRelay, TakesOverTheSocketOfACopyThatCrashedButLeavesALiveListenerAlone) {
    ListeningRelay r;
    // A socket file nobody listens on, as a crashed copy leaves it.
    const QByteArray path = QFile::encodeName(r.relay.serverName());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof address.sun_path);
    std::copy(path.begin(), path.end(), address.sun_path);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFileInfo::exists(r.relay.serverName()));
    ASSERT_TRUE(r.relay.listen().has_value());

    CallbackRelay second(r.relay.serverName());
    const auto claimed = second.listen();
    ASSERT_FALSE(claimed.has_value());
    EXPECT_NE(claimed.error().find("already listens"), std::string::npos);
    EXPECT_TRUE(CallbackRelay::forwardToRunningInstance({"orvella", QString::fromLatin1(callback)}, r.relay.serverName()));
    ASSERT_TRUE(waitUntil([&] { return !r.received.empty(); }));
}
