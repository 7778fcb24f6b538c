#include "SpotifyBridgeTokens.h"

#include <exception>
#include <utility>

#include "SpotifyBridge/Secret.h"

namespace orvel {

SpotifyBridgeTokens::SpotifyBridgeTokens(std::string explicitClientID, TokenVault vault, WebAPI api, Clock& clock)
    : explicitClientID_(std::move(explicitClientID)), vault_(std::move(vault)), api_(std::move(api)), clock_(clock) {}

bool SpotifyBridgeTokens::restore(const TokenVault::Snapshot& snapshot) {
    if (snapshot.accessToken) {
        accessToken_ = snapshot.accessToken->token;
        accessExpiry_ = snapshot.accessToken->expiry;
    }
    refreshToken_ = snapshot.refreshToken;
    return accessToken_ || refreshToken_;
}

void SpotifyBridgeTokens::beginLink() {
    ++generation_;
    refresh_ = {};
}

QCoro::Task<> SpotifyBridgeTokens::forget() {
    beginLink();
    if (accessToken_) secret::wipe(*accessToken_);
    if (refreshToken_) secret::wipe(*refreshToken_);
    accessToken_.reset();
    accessExpiry_.reset();
    refreshToken_.reset();
    return vault_.clearAsync();
}

bool SpotifyBridgeTokens::needsRefresh() const {
    if (!accessToken_ || !accessExpiry_) return true;
    const double secondsLeft = accessExpiry_->secondsSince(clock_.now());
    return !(secondsLeft > static_cast<double>(refreshMargin.count()));
}

QCoro::Task<> SpotifyBridgeTokens::remember(const SpotifyTokenSet& tokens,
                                            const std::optional<std::string>& previousRefresh,
                                            const std::optional<std::string>& displayName) {
    const Date expiry = clock_.now().addingSeconds(static_cast<double>(tokens.expiresIn));
    accessToken_ = tokens.accessToken;
    accessExpiry_ = expiry;
    // A reply that repeats the refresh token just used changes nothing; one without a refresh
    // token keeps the current one, in memory and in the vault.
    if (tokens.refreshToken && (!previousRefresh || *tokens.refreshToken != *previousRefresh)) {
        refreshToken_ = tokens.refreshToken;
    }
    return vault_.storeAsync(tokens.accessToken, expiry, refreshToken_, displayName);
}

QCoro::Task<SpotifyBridgeTokens::TokenResult> SpotifyBridgeTokens::validAccessToken(
    std::shared_ptr<SpotifyBridgeTokens> self) {
    // A prvalue on purpose: QCoro's co_return moves from an lvalue of another type than the
    // task's, which would empty the token kept here.
    if (!self->needsRefresh()) co_return TokenResult(self->accessToken_);
    auto refreshing = forceRefreshAccessToken(self);
    co_return co_await std::move(refreshing);
}

QCoro::Task<SpotifyBridgeTokens::TokenResult> SpotifyBridgeTokens::forceRefreshAccessToken(
    std::shared_ptr<SpotifyBridgeTokens> self) {
    try {
        if (self->refresh_.isRunning()) {
            // Joining: the flight under way supplies the outcome; this start is never called.
            auto join = []() -> QCoro::Task<TokenResult> {
                co_return std::unexpected(SpotifyBridgeError::authorizationFailed("no refresh under way"));
            };
            auto joining = self->refresh_.run(std::move(join));
            co_return co_await std::move(joining);
        }
        std::optional<std::string> refreshToken = self->refreshToken_;
        if (!refreshToken) {
            const std::uint64_t generation = self->generation_;
            auto reading = self->vault_.refreshTokenAsync();
            refreshToken = co_await std::move(reading);
            // A link made or ended while the file was read has settled the tokens itself.
            if (generation != self->generation_) co_return std::optional<std::string>{};
        }
        if (!refreshToken) co_return std::optional<std::string>{};
        self->refreshToken_ = refreshToken;
        auto start = [self, generation = self->generation_, token = std::move(*refreshToken)] {
            return refreshOnce(self, generation, token);
        };
        auto starting = self->refresh_.run(std::move(start));
        co_return co_await std::move(starting);
    } catch (const std::exception& failure) {
        co_return std::unexpected(SpotifyBridgeError::authorizationFailed(failure.what()));
    }
}

QCoro::Task<SpotifyBridgeTokens::TokenResult> SpotifyBridgeTokens::refreshOnce(std::shared_ptr<SpotifyBridgeTokens> self,
                                                                              std::uint64_t generation,
                                                                              std::string refreshToken) {
    secret::WipeOnExit wipeToken(refreshToken);
    auto asking = self->api_.refresh(self->explicitClientID_, refreshToken);
    auto granted = co_await std::move(asking);
    if (!granted) co_return std::unexpected(granted.error());
    // The link this refresh was made for has ended (unlinked, or linked anew) meanwhile.
    if (generation != self->generation_) co_return std::optional<std::string>{};
    auto storing = self->remember(*granted, refreshToken, std::nullopt);
    co_await std::move(storing);
    co_return std::optional<std::string>(granted->accessToken);
}

}  // namespace orvel
