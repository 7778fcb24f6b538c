#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QCoroTask>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include "SonosProtocolBoundary/HttpClient.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"
#include "testing/ManualClock.h"
#include "common/WaitFor.h"
#include "fakes/FakeHttpServer.h"

using namespace orvel;
using namespace std::chrono_literals;

namespace {

QUrl urlOf(const char* address, std::string_view path) { return SpeakerAddress::make(address)->url(path); }

// A speaker whose reply header never ends: after the status line it either sends header lines
// for as long as the client keeps reading, or nothing more.
class EndlessHeaderSpeaker {
public:
    EndlessHeaderSpeaker(const char* address, bool flood) : flood_(flood) {
        listening_ = server_.listen(QHostAddress(QString::fromLatin1(address)), 1400);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                sockets_.emplace_back(socket);
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    socket->readAll();
                    if (started_.contains(socket)) return;
                    started_.push_back(socket);
                    socket->write("HTTP/1.1 200 OK\r\n");
                    feed(socket);
                });
                QObject::connect(socket, &QTcpSocket::bytesWritten, socket, [this, socket] { feed(socket); });
            }
        });
    }

    bool listening() const { return listening_; }
    bool answering() const { return !started_.isEmpty(); }
    int openConnections() const {
        int open = 0;
        for (const auto& socket : sockets_) open += socket && socket->state() == QAbstractSocket::ConnectedState;
        return open;
    }

private:
    void feed(QTcpSocket* socket) {
        if (!flood_ || socket->bytesToWrite() > 64 * 1024) return;
        socket->write(QByteArray("X-Filler: ").append(QByteArray(100, 'x')).append("\r\n").repeated(256));
    }

    bool flood_;
    QTcpServer server_;
    bool listening_ = false;
    std::vector<QPointer<QTcpSocket>> sockets_;
    QList<QTcpSocket*> started_;
};

}  // namespace

TEST(HostileSpeaker, AnEndlessHeaderEndsItsRequestAndStallsNoOtherSpeaker) {
    struct Case {
        const char* name;
        const char* address;
        bool flood;
        TransportError::Kind outcome;
    };
    const Case cases[] = {
        {"header lines without end", "127.77.43.1", true, TransportError::Kind::networkFailure},
        {"a header that stops coming", "127.77.43.3", false, TransportError::Kind::timedOut},
    };
    fakes::FakeHttpServer healthy;
    ASSERT_TRUE(healthy.listen(QHostAddress("127.77.43.2"), 1400));
    healthy.setHandler([](const fakes::HttpRequest&) { return fakes::HttpReply::ok("<ok/>", "text/xml"); });

    for (const Case& c : cases) {
        EndlessHeaderSpeaker hostile(c.address, c.flood);
        ASSERT_TRUE(hostile.listening()) << c.name;
        ManualClock clock;
        HttpClient http(clock);
        auto stuck = http.get(urlOf(c.address, "/xml/device_description.xml"), HttpLimits::sweepRead());
        ASSERT_TRUE(waitUntil([&] { return hostile.answering(); })) << c.name;

        for (int round = 0; round < 3; ++round) {
            auto fine = http.get(urlOf("127.77.43.2", "/status"), HttpLimits::sweepRead());
            ASSERT_TRUE(waitUntil([&] { return fine.isReady(); })) << c.name << ", round " << round;
            auto answer = QCoro::waitFor(std::move(fine));
            ASSERT_TRUE(answer) << c.name << ": " << answer.error().message();
            EXPECT_EQ(answer->body, "<ok/>") << c.name;
        }

        // A header that never ends is cut off at its cap; one that stops coming, at the deadline.
        if (!stuck.isReady()) clock.advance(HttpLimits::sweepRead().deadline);
        ASSERT_TRUE(waitUntil([&] { return stuck.isReady(); })) << c.name;
        auto result = QCoro::waitFor(std::move(stuck));
        ASSERT_FALSE(result) << c.name;
        EXPECT_EQ(result.error().kind, c.outcome) << c.name << ": " << result.error().message();
        // The ended request lets go of its connection instead of reading on.
        EXPECT_TRUE(waitUntil([&] { return hostile.openConnections() == 0; })) << c.name;
    }
}
