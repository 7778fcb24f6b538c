#pragma once

// Brings sign-in callbacks into the running application. The browser hands a URL such as
// "orvella://spotify-callback?code=…" to the desktop, which starts a second copy of the
// program with the URL as its argument (the scheme's desktop entry). That copy calls
// forwardToRunningInstance() first thing in main(): it connects to the first copy's local
// socket, writes the URL and exits. The first copy listens on that socket and passes every
// acceptable URL to its receiver, the sign-in session.
//
// Wire format: the fully encoded URL, then a line feed (or the end of the connection); one URL
// per connection. A copy started without a callback connects and closes without a word: it asks
// the first copy to show its window, as a hand-over of a callback does too. The socket is reachable by the current user only (file mode and peer
// credentials, checked on both ends), and what arrives is checked: a URL of the callback
// scheme, printable ASCII, at most maximumCallbackSize bytes. Anything else is dropped
// without a word.

#include <chrono>
#include <cstddef>
#include <expected>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <sys/types.h>

class QLocalServer;
class QLocalSocket;

namespace orvel {

class CallbackRelay {
public:
    using Receiver = std::function<void(const QUrl& callback)>;

    static constexpr const char* defaultScheme = "orvella";
    // Real callbacks carry a code of a few hundred characters; this leaves ample room.
    static constexpr qsizetype maximumCallbackSize = 8 * 1024;
    // Connections that have not finished their URL yet; the oldest is dropped beyond this.
    static constexpr std::size_t maximumOpenConnections = 16;
    // Bound of the whole hand-over to a live listener, which answers at once; a hung first copy
    // costs the second copy no more than this. Nobody listening is seen without any wait.
    static constexpr std::chrono::milliseconds forwardingDeadline{500};

    // "$XDG_RUNTIME_DIR/orvella-callback" when the runtime folder is usable, else
    // "orvella-callback" in a folder of this user's own in the system's temporary folder
    // ("/tmp/orvella-<uid>"), where no other user can take the name first.
    static QString defaultServerName();

    // Makes sure `folder` is a folder only `owner` can enter: created 0700 when missing, and
    // refused when it is a symbolic link, not a folder, owned by someone else, or open to
    // group or others. listen() checks the folder of its socket this way with this user's id.
    static std::expected<void, std::string> ensurePrivateFolder(const QString& folder, uid_t owner);

    explicit CallbackRelay(QString serverName = defaultServerName(),
                           QString scheme = QString::fromLatin1(defaultScheme));
    ~CallbackRelay();
    CallbackRelay(const CallbackRelay&) = delete;
    CallbackRelay& operator=(const CallbackRelay&) = delete;

    const QString& serverName() const { return serverName_; }
    const QString& scheme() const { return scheme_; }

    // Starts listening, without waiting on anything. A socket left behind by a copy that
    // crashed is replaced; a socket with a live listener is not (the failure says so), and
    // neither is a socket in a folder that is not private (see ensurePrivateFolder). Failing here costs only the callbacks:
    // the caller keeps running.
    std::expected<void, std::string> listen();
    bool isListening() const;

    // The one receiver of accepted URLs; an empty function drops them. Called from the event
    // loop, never from inside listen().
    void setReceiver(Receiver receiver);
    // Called from the event loop each time another copy of the program was started: after it
    // handed over nothing, or after its callback went to the receiver. Empty: nothing happens.
    void setActivation(std::function<void()> activation);

    // Checks an encoded URL as if it had come over the socket and passes it on when it is
    // acceptable; also the way in for a URL that the first copy got as its own argument.
    bool deliver(QByteArrayView encoded);

    // The URL that `encoded` holds when it is an acceptable callback of `scheme`.
    static std::optional<QUrl> parseCallback(QByteArrayView encoded, const QString& scheme);
    // The first argument after the program name that is a URL of `scheme`, fully encoded and
    // acceptable as a callback.
    static std::optional<QByteArray> callbackFromArguments(const QStringList& arguments, const QString& scheme);

    // For main(), before anything else is set up (a QCoreApplication must exist, no window
    // yet: this blocks, within forwardingDeadline): when a copy of the program already listens
    // on `serverName`, hands it the callback URL among `arguments` (if any) and returns true,
    // and the caller should exit. False when no copy runs there.
    static bool forwardToRunningInstance(const QStringList& arguments, const QString& serverName = defaultServerName(),
                                         const QString& scheme = QString::fromLatin1(defaultScheme));

private:
    struct Connection {
        QLocalSocket* socket;
        QByteArray buffer;
    };

    void acceptConnections();
    void readFrom(QLocalSocket* socket);
    void finishConnection(QLocalSocket* socket);
    void drop(QLocalSocket* socket);
    std::vector<Connection>::iterator find(QLocalSocket* socket);

    QString serverName_;
    QString scheme_;
    std::unique_ptr<QLocalServer> server_;
    Receiver receiver_;
    std::function<void()> activation_;
    std::vector<Connection> connections_;  // in order of arrival
};

}  // namespace orvel
