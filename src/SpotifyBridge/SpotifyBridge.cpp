#include "SpotifyBridge.h"

#include <utility>

#include "OrvelDomain/Text.h"
#include "OrvelDomain/Uuid.h"
#include "SpotifyBridge/PKCE.h"
#include "SpotifyBridge/SealedClientStore.h"
#include "SpotifyBridge/Secret.h"
#include "SpotifyBridge/SpotifyAPIClient.h"
#include "SpotifyBridge/SpotifyBridgeSignIn.h"
#include "SpotifyBridge/UserDefaults.h"
#include "SpotifyBridge/WebAuthSession.h"
#include "Support/Sleep.h"

namespace orvel {

namespace {

using Tokens = SpotifyBridgeTokens;

QCoro::Task<SpotifyBridge::Result<SpotifyTrackContext>> askCurrentContext(std::shared_ptr<Tokens> tokens,
                                                                          SpotifyAPIClient& client) {
    using Failure = std::unexpected<SpotifyBridgeError>;
    auto gettingToken = Tokens::validAccessToken(tokens);
    const Tokens::TokenResult token = co_await std::move(gettingToken);
    if (!token) co_return Failure(token.error());
    if (!*token) co_return Failure(SpotifyBridgeError::notConnected());

    auto askingPlaying = client.currentlyPlaying(**token, SpotifyBridge::currentContextCacheAge);
    auto playing = co_await std::move(askingPlaying);
    if (!playing) {
        // A rejected token is the one failure worth a second try: it may have been revoked or
        // expired early, and a refresh repairs that.
        if (!playing.error().isAuthorizationFailed()) co_return Failure(playing.error());
        auto refreshing = Tokens::forceRefreshAccessToken(tokens);
        const Tokens::TokenResult renewed = co_await std::move(refreshing);
        if (!renewed) co_return Failure(renewed.error());
        if (!*renewed) co_return Failure(SpotifyBridgeError::notConnected());
        auto askingAgain = client.currentlyPlaying(**renewed, SpotifyBridge::currentContextCacheAge);
        playing = co_await std::move(askingAgain);
        if (!playing) co_return Failure(playing.error());
    }
    if (!*playing) co_return Failure(SpotifyBridgeError::nothingPlaying());
    co_return std::move(**playing);
}

QCoro::Task<> askToPause(std::shared_ptr<Tokens> tokens) {
    auto gettingToken = Tokens::validAccessToken(tokens);
    const Tokens::TokenResult token = co_await std::move(gettingToken);
    if (!token || !*token) co_return;
    auto pausing = tokens->api().pause(**token);
    co_await std::move(pausing);
}

QCoro::Task<bool> askToResume(std::shared_ptr<Tokens> tokens) {
    auto gettingToken = Tokens::validAccessToken(tokens);
    const Tokens::TokenResult token = co_await std::move(gettingToken);
    if (!token || !*token) co_return false;
    auto resuming = tokens->api().resume(**token);
    co_return co_await std::move(resuming);
}

// Lets a task run to its end with nobody waiting for it.
QCoro::Task<> runUnobserved(QCoro::Task<WebAuthSession::Result> task) { co_await std::move(task); }

}  // namespace

SpotifyBridge::SpotifyBridge(const QString& clientID, QUrl redirectURI, TokenVault vault, QObject* parent)
    : SpotifyBridge(clientID, std::move(redirectURI), std::move(vault), std::make_unique<SettingsUserDefaults>(),
                    parent) {}

SpotifyBridge::SpotifyBridge(const QString& clientID, QUrl redirectURI, TokenVault vault,
                             std::unique_ptr<UserDefaults> defaults, QObject* parent)
    : SpotifyBridge(clientID, std::move(redirectURI), std::move(vault),
                    Services{SpotifyAPIClient::shared(), Clock::system(), *defaults}, parent) {
    ownedDefaults_ = std::move(defaults);
}

SpotifyBridge::SpotifyBridge(const QString& clientID, QUrl redirectURI, TokenVault vault, Services services,
                             QObject* parent)
    : QObject(parent),
      client_(services.client),
      defaults_(services.defaults),
      redirectURI_(std::move(redirectURI)),
      tokens_(std::make_shared<Tokens>(text::trimmed(clientID.toStdString()), std::move(vault),
                                       services.client.api(), services.clock)) {
    restore();
}

SpotifyBridge::~SpotifyBridge() { lifetime_.end(); }

QString SpotifyBridge::displayName() const {
    const auto* connected = authorization_.asConnected();
    return connected ? QString::fromStdString(connected->displayName) : QString();
}

void SpotifyBridge::restore() {
    const TokenVault::Snapshot snapshot = tokens_->vault().loadSnapshot();
    if (!tokens_->restore(snapshot)) return;

    const std::optional<std::string> storedName = defaults_.string(displayNameKey);
    std::string name = snapshot.displayName ? *snapshot.displayName : storedName.value_or(std::string());
    if (name.empty()) name = fallbackDisplayName;

    defaults_.setString(displayNameKey, name);
    if (!snapshot.displayName) tokens_->vault().storeDisplayNameAsync(name);
    setAuthorization(Authorization::connected(name));
    startBackgroundRefreshLoop();
    // A stored name, even an empty one, was settled by an earlier run; only a name stored
    // nowhere is looked up.
    if (!snapshot.displayName && !storedName) lookUpProfileName(lifetime_.token(), tokens_);
}

void SpotifyBridge::setAuthorization(Authorization authorization) {
    if (authorization == authorization_) return;
    authorization_ = std::move(authorization);
    emit authorizationChanged();
}

void SpotifyBridge::startBackgroundRefreshLoop() {
    if (refreshLoopStop_) refreshLoopStop_->cancel();
    refreshLoopStop_.emplace(lifetime_.ended());
    refreshLoop(tokens_, refreshLoopStop_->token(), tokens_->clock());
}

QCoro::Task<> SpotifyBridge::refreshLoop(std::weak_ptr<SpotifyBridgeTokens> weakTokens, CancellationToken stop,
                                         Clock& clock) {
    while (!stop.isCancelled()) {
        if (std::shared_ptr<Tokens> tokens = weakTokens.lock()) {
            // Failures are left to the callers that need a token; the next pass tries again.
            if (tokens->needsRefresh()) {
                auto refreshing = Tokens::forceRefreshAccessToken(tokens);
                static_cast<void>(co_await std::move(refreshing));
            }
        } else {
            co_return;
        }
        if (stop.isCancelled()) co_return;
        auto sleeping = sleepFor(clock, backgroundRefreshInterval, stop);
        const auto slept = co_await std::move(sleeping);
        if (!slept) co_return;
    }
}

QCoro::Task<> SpotifyBridge::lookUpProfileName(BridgeRef bridge,
                                               std::shared_ptr<SpotifyBridgeTokens> tokens) {
    const std::uint64_t generation = tokens->generation();
    auto gettingToken = Tokens::validAccessToken(tokens);
    const Tokens::TokenResult token = co_await std::move(gettingToken);
    if (!bridge || tokens->generation() != generation || !token || !*token) co_return;
    auto lookingUp = tokens->api().profileName(**token);
    const auto name = co_await std::move(lookingUp);
    // Unlinked, or linked to another account, while the name was on its way: it is not ours.
    if (!bridge || tokens->generation() != generation || !name || name->empty()) co_return;
    bridge->defaults_.setString(displayNameKey, *name);
    auto storing = tokens->vault().storeDisplayNameAsync(*name);
    bridge->setAuthorization(Authorization::connected(*name));
    co_await std::move(storing);
}

QCoro::Task<SpotifyBridge::Result<void>> SpotifyBridge::connect(WebAuthSession& session) {
    if (signIn_.isRunning()) {
        // Two sign-ins cannot share one redirect: a second request only brings the pending page
        // back, and waits for the same outcome.
        if (pendingSignInPage_) {
            runUnobserved(session.authenticate(*pendingSignInPage_, SpotifyBridgeSignIn::callbackScheme(redirectURI_)));
        }
        auto join = []() -> QCoro::Task<Result<void>> {
            co_return std::unexpected(SpotifyBridgeError::authorizationFailed("no sign-in under way"));
        };
        return signIn_.run(std::move(join));
    }
    auto attempt = [bridge = lifetime_.token(), tokens = tokens_, redirect = redirectURI_,
                    session = &session] { return signIn(bridge, tokens, redirect, *session); };
    return signIn_.run(std::move(attempt));
}

QCoro::Task<SpotifyBridge::Result<void>> SpotifyBridge::signIn(BridgeRef bridge,
                                                               std::shared_ptr<SpotifyBridgeTokens> tokens,
                                                               QUrl redirectURI, WebAuthSession& session) {
    using Failure = std::unexpected<SpotifyBridgeError>;
    std::string verifier = PKCE::makeVerifier();
    secret::WipeOnExit wipeVerifier(verifier);
    const std::string challenge = PKCE::challenge(verifier);
    const std::string state = uuid::randomString();

    const QString accountsOrigin = tokens->api().endpoints().accountsOrigin();
    const std::optional<QUrl> page =
        SealedClientStore::withEphemeralClientID(tokens->explicitClientID(), [&](const std::string& clientID) {
            return SpotifyBridgeSignIn::authorizeURL(accountsOrigin, clientID, redirectURI, state, challenge);
        });
    if (!page) co_return Failure(SpotifyBridgeError::authorizationFailed("Spotify client credentials unavailable"));

    if (bridge) bridge->pendingSignInPage_ = *page;
    auto authenticating = session.authenticate(*page, SpotifyBridgeSignIn::callbackScheme(redirectURI));
    const WebAuthSession::Result callback = co_await std::move(authenticating);
    if (bridge) bridge->pendingSignInPage_.reset();
    if (!callback) co_return Failure(SpotifyBridgeError::authorizationFailed(callback.error().description()));

    auto code = SpotifyBridgeSignIn::codeFromCallback(*callback, state);
    if (!code) co_return Failure(code.error());
    secret::WipeOnExit wipeCode(*code);

    auto exchanging = tokens->api().exchange(*code, verifier, tokens->explicitClientID(), redirectURI);
    const auto granted = co_await std::move(exchanging);
    if (!granted) co_return Failure(granted.error());
    auto lookingUp = tokens->api().profileName(granted->accessToken);
    const auto profile = co_await std::move(lookingUp);
    const std::string name = profile && !profile->empty() ? *profile : std::string(fallbackDisplayName);

    if (!bridge) co_return Failure(SpotifyBridgeError::notConnected());
    auto storing = bridge->completeLink(*granted, name);
    co_await std::move(storing);
    co_return Result<void>();
}

QCoro::Task<> SpotifyBridge::completeLink(const SpotifyTokenSet& tokens, const std::string& displayName) {
    defaults_.setString(displayNameKey, displayName);
    // Refreshes still out for a previous link must not write over the new account's tokens.
    tokens_->beginLink();
    auto storing = tokens_->remember(tokens, std::nullopt, displayName);
    setAuthorization(Authorization::connected(displayName));
    startBackgroundRefreshLoop();
    return storing;
}

void SpotifyBridge::disconnect() {
    if (refreshLoopStop_) refreshLoopStop_->cancel();
    refreshLoopStop_.reset();
    // The vault file goes on the file writer, ahead of any write a later link asks for.
    tokens_->forget();
    defaults_.remove(displayNameKey);
    setAuthorization(Authorization::notConnected());
}

QCoro::Task<SpotifyBridge::Result<SpotifyTrackContext>> SpotifyBridge::currentContext() {
    return askCurrentContext(tokens_, client_);
}

QCoro::Task<> SpotifyBridge::pauseSourcePlayback() { return askToPause(tokens_); }

QCoro::Task<bool> SpotifyBridge::resumeSourcePlayback() { return askToResume(tokens_); }

}  // namespace orvel
