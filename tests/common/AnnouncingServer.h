#pragma once

// An HTTP server on 127.0.0.1 (a port the system picks) for one GET: it declares a body of
// `announced` bytes, sends `body` and then filler up to that length, as fast as the client takes
// it, from a thread of its own so that the client's event loop does not pace it. It counts what
// got through until the client closed the connection.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

#include <QByteArray>
#include <QString>
#include <QUrl>

namespace orvel::testing {

class AnnouncingServer {
public:
    AnnouncingServer(QByteArray body, std::int64_t announced) : body_(std::move(body)), announced_(announced) {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 || ::listen(listener_, 1) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~AnnouncingServer() {
        ::shutdown(listener_, SHUT_RDWR);
        if (thread_.joinable()) thread_.join();
        ::close(listener_);
    }
    AnnouncingServer(const AnnouncingServer&) = delete;
    AnnouncingServer& operator=(const AnnouncingServer&) = delete;

    bool listening() const { return port_ != 0; }
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/art.jpg").arg(port_)); }
    // The connection ended: the client closed it, or the whole body went out.
    bool closed() const { return closed_; }
    std::int64_t bytesSent() const { return sent_; }

private:
    bool sendAll(int connection, const char* data, std::int64_t size) {
        while (size > 0) {
            const ssize_t put = ::send(connection, data, static_cast<std::size_t>(size), MSG_NOSIGNAL);
            if (put <= 0) return false;
            sent_ += put;
            data += put;
            size -= put;
        }
        return true;
    }

    void serve() {
        const int connection = ::accept(listener_, nullptr, nullptr);
        if (connection < 0) return;
        // Bounded, so a client that neither reads nor closes cannot hold the caller.
        const timeval limit{10, 0};
        ::setsockopt(connection, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        ::setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
            if (got <= 0) break;
            request.append(buffer, static_cast<std::size_t>(got));
        }
        const std::string headers = "HTTP/1.1 200 OK\r\nContent-Type: image/jpeg\r\nContent-Length: " +
                                    std::to_string(announced_) + "\r\nConnection: close\r\n\r\n";
        bool open = sendAll(connection, headers.data(), std::int64_t(headers.size())) &&
                    sendAll(connection, body_.constData(), std::min<std::int64_t>(body_.size(), announced_));
        const std::string filler(64 * 1024, 'x');
        for (std::int64_t left = announced_ - body_.size(); open && left > 0; left -= std::int64_t(filler.size())) {
            open = sendAll(connection, filler.data(), std::min<std::int64_t>(left, std::int64_t(filler.size())));
        }
        ::shutdown(connection, SHUT_WR);
        // Until the client has read everything and closed, or gave up.
        while (open && ::recv(connection, buffer, sizeof buffer, 0) > 0) {
        }
        ::close(connection);
        closed_ = true;
    }

    QByteArray body_;
    std::int64_t announced_;
    int listener_ = -1;
    quint16 port_ = 0;
    std::thread thread_;
    std::atomic<std::int64_t> sent_ = 0;
    std::atomic<bool> closed_ = false;
};

}  // namespace orvel::testing
