#include "CallbackRelay.h"

#include <algorithm>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/un.h>
#include <unistd.h>

namespace orvel {

namespace {

// The socket's file mode already keeps other users out; the peer's credentials also cover a
// name squatted in the shared temporary folder, where a stranger could listen first.
bool peerIsCurrentUser(const QLocalSocket& socket) {
    const qintptr descriptor = socket.socketDescriptor();
    if (descriptor < 0) return false;
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) return false;
    return size == sizeof credentials && credentials.uid == ::getuid();
}

// What is left of `deadline` for one blocking step; never "forever".
int remainingMilliseconds(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}

// Where Qt puts the socket of a server name.
QString socketPath(const QString& serverName) {
    return QDir::isAbsolutePath(serverName) ? serverName : QDir::tempPath() + u'/' + serverName;
}

// Asked without waiting: connecting to a local socket succeeds or fails at once, and a full
// backlog (EAGAIN) also means someone listens.
bool hasLiveListener(const QString& serverName) {
    const QByteArray path = QFile::encodeName(socketPath(serverName));
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int probe = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (probe < 0) return false;
    const int connected = ::connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    const bool live = connected == 0 || errno == EAGAIN || errno == EINPROGRESS;
    ::close(probe);
    return live;
}

}  // namespace

QString CallbackRelay::defaultServerName() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty()) {
        const QFileInfo folder(runtime);
        const QString path = QDir::cleanPath(runtime) + QStringLiteral("/orvella-callback");
        // A socket path longer than sockaddr_un allows cannot be bound.
        if (folder.isAbsolute() && folder.isDir() && QFile::encodeName(path).size() < 100) return path;
    }
    return QDir::tempPath() + QStringLiteral("/orvella-%1/orvella-callback").arg(::getuid());
}

std::expected<void, std::string> CallbackRelay::ensurePrivateFolder(const QString& folder, uid_t owner) {
    const QByteArray path = QFile::encodeName(folder);
    const std::string name = folder.toStdString();
    struct stat status {};
    if (::lstat(path.constData(), &status) != 0) {
        if (errno != ENOENT) return std::unexpected("cannot inspect " + name + ": " + std::strerror(errno));
        // Created with the final mode, so it is never open, not even for a moment; a name taken
        // meanwhile fails here or in the check below.
        if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
            return std::unexpected("cannot create " + name + ": " + std::strerror(errno));
        }
        if (::lstat(path.constData(), &status) != 0) return std::unexpected("cannot inspect " + name);
    }
    if (S_ISLNK(status.st_mode)) return std::unexpected(name + " is a symbolic link");
    if (!S_ISDIR(status.st_mode)) return std::unexpected(name + " is not a folder");
    if (status.st_uid != owner) return std::unexpected(name + " belongs to another user");
    if ((status.st_mode & 077) != 0) return std::unexpected(name + " is open to other users");
    return {};
}

CallbackRelay::CallbackRelay(QString serverName, QString scheme)
    : serverName_(std::move(serverName)), scheme_(std::move(scheme)), server_(std::make_unique<QLocalServer>()) {
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] { acceptConnections(); });
}

CallbackRelay::~CallbackRelay() {
    for (Connection& connection : connections_) {
        QObject::disconnect(connection.socket, nullptr, server_.get(), nullptr);
        delete connection.socket;
    }
    connections_.clear();
    server_->close();
}

std::expected<void, std::string> CallbackRelay::listen() {
    if (server_->isListening()) return {};
    const QString folder = QFileInfo(socketPath(serverName_)).absolutePath();
    if (auto privateFolder = ensurePrivateFolder(folder, ::getuid()); !privateFolder) {
        return std::unexpected("the callback socket's folder is not private: " + privateFolder.error());
    }
    // Asked first: with access options Qt binds beside the name and renames over it, which
    // would silently take the name from a live first copy.
    if (hasLiveListener(serverName_)) {
        return std::unexpected("another copy of the program already listens on " + serverName_.toStdString());
    }
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (server_->listen(serverName_)) return {};
    if (server_->serverError() == QAbstractSocket::AddressInUseError) {
        // Left behind by a copy that crashed.
        QLocalServer::removeServer(serverName_);
        if (server_->listen(serverName_)) return {};
    }
    return std::unexpected(server_->errorString().toStdString());
}

bool CallbackRelay::isListening() const { return server_->isListening(); }

void CallbackRelay::setReceiver(Receiver receiver) { receiver_ = std::move(receiver); }

void CallbackRelay::setActivation(std::function<void()> activation) { activation_ = std::move(activation); }

bool CallbackRelay::deliver(QByteArrayView encoded) {
    const std::optional<QUrl> url = parseCallback(encoded, scheme_);
    if (!url || !receiver_) return false;
    // A copy, so the receiver may replace itself while it runs.
    const Receiver receiver = receiver_;
    receiver(*url);
    return true;
}

std::optional<QUrl> CallbackRelay::parseCallback(QByteArrayView encoded, const QString& scheme) {
    if (encoded.isEmpty() || encoded.size() > maximumCallbackSize) return std::nullopt;
    const bool printable = std::all_of(encoded.begin(), encoded.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte > 0x20 && byte < 0x7f;
    });
    if (!printable) return std::nullopt;
    QUrl url = QUrl::fromEncoded(encoded.toByteArray(), QUrl::StrictMode);
    if (!url.isValid() || url.scheme().compare(scheme, Qt::CaseInsensitive) != 0) return std::nullopt;
    return url;
}

std::optional<QByteArray> CallbackRelay::callbackFromArguments(const QStringList& arguments, const QString& scheme) {
    const QString prefix = scheme + u':';
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(prefix, Qt::CaseInsensitive)) continue;
        if (argument.size() > maximumCallbackSize) continue;
        const QByteArray encoded = QUrl(argument, QUrl::TolerantMode).toEncoded();
        if (parseCallback(encoded, scheme)) return encoded;
    }
    return std::nullopt;
}

bool CallbackRelay::forwardToRunningInstance(const QStringList& arguments, const QString& serverName,
                                             const QString& scheme) {
    // The usual case, a first start with nobody listening, costs no wait at all.
    if (!hasLiveListener(serverName)) return false;
    const QDeadlineTimer deadline(forwardingDeadline);
    QLocalSocket socket;
    socket.connectToServer(serverName);
    if (!socket.waitForConnected(remainingMilliseconds(deadline))) return false;
    if (!peerIsCurrentUser(socket)) {
        // Not ours to talk to; the caller starts normally and finds the name taken.
        socket.abort();
        return false;
    }
    if (const std::optional<QByteArray> callback = callbackFromArguments(arguments, scheme)) {
        socket.write(*callback + '\n');
        while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(remainingMilliseconds(deadline))) {
        }
    }
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState) {
        static_cast<void>(socket.waitForDisconnected(remainingMilliseconds(deadline)));
    }
    return true;
}

std::vector<CallbackRelay::Connection>::iterator CallbackRelay::find(QLocalSocket* socket) {
    return std::find_if(connections_.begin(), connections_.end(),
                        [socket](const Connection& connection) { return connection.socket == socket; });
}

void CallbackRelay::acceptConnections() {
    while (server_->hasPendingConnections()) {
        QLocalSocket* socket = server_->nextPendingConnection();
        if (socket == nullptr) break;
        if (!peerIsCurrentUser(*socket)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        if (connections_.size() >= maximumOpenConnections) drop(connections_.front().socket);
        connections_.push_back({socket, {}});
        QObject::connect(socket, &QLocalSocket::readyRead, server_.get(), [this, socket] { readFrom(socket); });
        QObject::connect(socket, &QLocalSocket::disconnected, server_.get(), [this, socket] {
            readFrom(socket);
            if (find(socket) != connections_.end()) finishConnection(socket);
        });
        // Bytes may have arrived before the signals were connected.
        readFrom(socket);
        if (find(socket) != connections_.end() && socket->state() == QLocalSocket::UnconnectedState) {
            finishConnection(socket);
        }
    }
}

void CallbackRelay::readFrom(QLocalSocket* socket) {
    auto it = find(socket);
    if (it == connections_.end()) return;
    // One byte beyond the URL and its line feed is enough to see that a sender went too far.
    const qsizetype room = maximumCallbackSize + 2 - it->buffer.size();
    if (room > 0) it->buffer += socket->read(room);
    const qsizetype end = it->buffer.indexOf('\n');
    if (end >= 0) {
        it->buffer.truncate(end);
        if (it->buffer.endsWith('\r')) it->buffer.chop(1);
        finishConnection(socket);
    } else if (it->buffer.size() > maximumCallbackSize) {
        drop(socket);
    }
}

void CallbackRelay::finishConnection(QLocalSocket* socket) {
    auto it = find(socket);
    if (it == connections_.end()) return;
    const QByteArray received = std::move(it->buffer);
    connections_.erase(it);
    QObject::disconnect(socket, nullptr, server_.get(), nullptr);
    socket->disconnectFromServer();
    socket->deleteLater();
    // A copy started by hand says nothing; one started by the browser hands its callback over.
    // Either way the user expects the running copy in front. Anything else is dropped quietly.
    if (!received.isEmpty() && !deliver(received)) return;
    // A copy, so the callback may replace itself while it runs.
    if (const std::function<void()> activation = activation_) activation();
}

void CallbackRelay::drop(QLocalSocket* socket) {
    auto it = find(socket);
    if (it == connections_.end()) return;
    connections_.erase(it);
    QObject::disconnect(socket, nullptr, server_.get(), nullptr);
    socket->abort();
    socket->deleteLater();
}

}  // namespace orvel
