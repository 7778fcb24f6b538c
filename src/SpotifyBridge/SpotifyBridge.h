#pragma once

// The link to the user's Spotify account. It shows whether an account is linked and under which
// name (`authorization`), restores the link from the token vault at start-up, links an account
// through a browser sign-in, keeps the access token fresh (in the background every 600 s and on
// demand) and serves what the account plays to the store.
//
// Lives on the GUI thread. The returned tasks do not touch the bridge after they start, so they
// may be awaited after it is gone; the API client, the clock and the user defaults must outlive
// the bridge and its tasks.

#include <chrono>
#include <cstddef>
#include <expected>
#include <memory>
#include <optional>
#include <string>
#include <variant>

#include <QObject>
#include <QString>
#include <QUrl>

#include <qcoro/qcorotask.h>

#include "OrvelDomain/Overloaded.h"
#include "OrvelDomain/SpotifyTrackContext.h"
#include "OrvelDomain/SpotifyBridgeError.h"
#include "SpotifyBridge/SpotifyBridgeTokens.h"
#include "SpotifyBridge/TokenVault.h"
#include "Support/CancellationToken.h"
#include "Support/LifetimeGuard.h"
#include "Support/SingleFlight.h"

namespace orvel {

class Clock;
class SpotifyAPIClient;
class UserDefaults;
class WebAuthSession;

class SpotifyBridge : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool connected READ isConnected NOTIFY authorizationChanged)
    Q_PROPERTY(QString displayName READ displayName NOTIFY authorizationChanged)

public:
    // The link state the views show.
    class Authorization {
    public:
        struct NotConnected {
            friend bool operator==(const NotConnected&, const NotConnected&) = default;
        };
        struct Connected {
            std::string displayName;
            friend bool operator==(const Connected&, const Connected&) = default;
        };

        static Authorization notConnected() { return Authorization(NotConnected{}); }
        static Authorization connected(std::string displayName) {
            return Authorization(Connected{std::move(displayName)});
        }

        bool isNotConnected() const { return std::holds_alternative<NotConnected>(value_); }
        bool isConnected() const { return std::holds_alternative<Connected>(value_); }
        const Connected* asConnected() const { return std::get_if<Connected>(&value_); }
        // Position of the case in declaration order.
        std::size_t caseIndex() const { return value_.index(); }

        friend bool operator==(const Authorization&, const Authorization&) = default;

    private:
        using Value = std::variant<NotConnected, Connected>;
        explicit Authorization(Value value) : value_(std::move(value)) {}
        Value value_;

    public:
        // Exhaustive: a visit that leaves out a case does not compile (see Overloaded.h).
        ORVEL_EXHAUSTIVE_VISIT(value_)
    };

    template <class T>
    using Result = std::expected<T, SpotifyBridgeError>;

    // The user default that mirrors the linked account's name.
    static constexpr const char* displayNameKey = "Orvella.Spotify.displayName";
    // The name of an account whose profile could not be read.
    static constexpr const char* fallbackDisplayName = "Spotify";
    static constexpr std::chrono::seconds backgroundRefreshInterval{600};
    // Results younger than this come from the API client's memory.
    static constexpr double currentContextCacheAge = 4.0;

    // What the bridge talks to. All three must outlive the bridge and its tasks.
    struct Services {
        // Its requests answer what the account plays; its hosts serve the sign-in and tokens.
        SpotifyAPIClient& client;
        Clock& clock;
        UserDefaults& defaults;
    };

    // The real service through SpotifyAPIClient::shared(), the system clock and the user's
    // settings. `clientID` may be empty: the client id is then resolved for each use.
    SpotifyBridge(const QString& clientID, QUrl redirectURI, TokenVault vault, QObject* parent = nullptr);
    SpotifyBridge(const QString& clientID, QUrl redirectURI, TokenVault vault, Services services,
                  QObject* parent = nullptr);
    ~SpotifyBridge() override;

    const Authorization& authorization() const { return authorization_; }
    bool isConnected() const { return authorization_.isConnected(); }
    // Empty while no account is linked.
    QString displayName() const;
    const QUrl& redirectURI() const { return redirectURI_; }
    // Whether a token refresh for the current link is out.
    bool isRefreshingToken() const { return tokens_->isRefreshing(); }

    // Links an account through a sign-in in the user's browser: on success the account is linked
    // under its profile name (or "Spotify"). A failure leaves the bridge as it was. While one
    // sign-in is pending, another request shows the same sign-in page again and shares its
    // outcome instead of starting a competing attempt. `session` must outlive the sign-in.
    QCoro::Task<Result<void>> connect(WebAuthSession& session);
    // Unlinks: forgets the tokens (the vault file is deleted) and the stored name. Work still
    // out for the old link is dropped when it answers. The grant is not revoked at the service.
    void disconnect();

    // What the linked account plays now. A token that the service rejects is refreshed once.
    QCoro::Task<Result<SpotifyTrackContext>> currentContext();
    // Asks the account's own device to pause; reports nothing.
    QCoro::Task<> pauseSourcePlayback();
    // Asks the account's own device to resume; true when the service accepted.
    QCoro::Task<bool> resumeSourcePlayback();

signals:
    // Only when the link state actually changes.
    void authorizationChanged();

private:
    SpotifyBridge(const QString& clientID, QUrl redirectURI, TokenVault vault, std::unique_ptr<UserDefaults> defaults,
                  QObject* parent);

    void restore();
    void setAuthorization(Authorization authorization);
    void startBackgroundRefreshLoop();
    // Resumes once the vault holds the new tokens.
    QCoro::Task<> completeLink(const SpotifyTokenSet& tokens, const std::string& displayName);

    static QCoro::Task<> refreshLoop(std::weak_ptr<SpotifyBridgeTokens> weakTokens, CancellationToken stop,
                                     Clock& clock);
    // What tasks carry instead of `this`: empty from the start of the bridge's destruction.
    using BridgeRef = LifetimeGuard<SpotifyBridge>::Token;
    static QCoro::Task<> lookUpProfileName(BridgeRef bridge, std::shared_ptr<SpotifyBridgeTokens> tokens);
    static QCoro::Task<Result<void>> signIn(BridgeRef bridge, std::shared_ptr<SpotifyBridgeTokens> tokens,
                                            QUrl redirectURI, WebAuthSession& session);

    std::unique_ptr<UserDefaults> ownedDefaults_;
    SpotifyAPIClient& client_;
    UserDefaults& defaults_;
    QUrl redirectURI_;
    Authorization authorization_ = Authorization::notConnected();
    std::shared_ptr<SpotifyBridgeTokens> tokens_;
    std::optional<CancellationSource> refreshLoopStop_;
    SingleFlight<Result<void>> signIn_;
    // The sign-in page while a sign-in waits for the browser, to show it again.
    std::optional<QUrl> pendingSignInPage_;
    // Ended first thing when the bridge goes; the refresh loop's sleep wakes with it.
    LifetimeGuard<SpotifyBridge> lifetime_{this};
};

}  // namespace orvel

template <>
struct std::hash<orvel::SpotifyBridge::Authorization> {
    std::size_t operator()(const orvel::SpotifyBridge::Authorization& a) const noexcept {
        const auto* connected = a.asConnected();
        return std::hash<std::size_t>{}(a.caseIndex()) * 31 +
               (connected ? std::hash<std::string>{}(connected->displayName) : 0);
    }
};
