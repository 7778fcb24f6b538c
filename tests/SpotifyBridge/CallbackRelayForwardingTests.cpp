#include <algorithm>

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "SpotifyBridge/CallbackRelay.h"

using namespace orvel;

namespace {

const QString callback = QStringLiteral("orvella://spotify-callback?code=c0de&state=5e1f");

// A socket file with nobody behind it, as a copy that crashed leaves it.
bool leaveStaleSocket(const QString& name) {
    const QByteArray path = QFile::encodeName(name);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::copy(path.begin(), path.end(), address.sun_path);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

bool leavePlainFile(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::WriteOnly) && file.write("not a socket") > 0;
}

}  // namespace

// Every form of "nobody listens" is seen by the probe alone, so a first start never waits on it.
TEST(CallbackRelayForwarding, StartsItselfWhenNobodyListens) {
    struct Case {
        const char* what;
        bool (*leave)(const QString&);
    };
    const Case cases[] = {
        {"no socket", nullptr},
        {"a socket a crashed copy left", leaveStaleSocket},
        {"a plain file", leavePlainFile},
    };
    for (const Case& c : cases) {
        QTemporaryDir folder;
        const QString name = folder.filePath(QStringLiteral("relay"));
        if (c.leave != nullptr) {
            ASSERT_TRUE(c.leave(name)) << c.what;
        }
        EXPECT_FALSE(CallbackRelay::forwardToRunningInstance({QStringLiteral("orvella"), callback}, name)) << c.what;

        // The copy then listens in its place.
        CallbackRelay relay(name);
        EXPECT_TRUE(relay.listen().has_value()) << c.what;
    }
}
