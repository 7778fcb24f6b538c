#pragma once

// The tokens of the linked account and their upkeep: the access token with its expiry and the
// refresh token in memory, mirrored into the vault, refreshed when 300 s or less remain, with one
// shared refresh for every caller that needs one at the same time.
//
// Shared between the bridge and the refreshes it starts: a refresh under way keeps this state
// alive and stores its tokens even when the bridge is gone. Every link gets a new generation;
// a refresh begun under an earlier generation hands back no token and stores nothing, so an
// unlinked account is never linked again by an answer that arrives late.
//
// Lives on the GUI thread. The clock must outlive it.

#include <chrono>
#include <cstdint>
#include <expected>
#include <memory>
#include <optional>
#include <string>

#include <qcoro/qcorotask.h>

#include "OrvelDomain/Date.h"
#include "OrvelDomain/SpotifyBridgeError.h"
#include "SpotifyBridge/SpotifyTokenSet.h"
#include "SpotifyBridge/TokenVault.h"
#include "SpotifyBridge/WebAPI.h"
#include "Support/Clock.h"
#include "Support/SingleFlight.h"

namespace orvel {

class SpotifyBridgeTokens {
public:
    // A token; none when the link has no way to get one.
    using TokenResult = std::expected<std::optional<std::string>, SpotifyBridgeError>;

    // An access token is used only while more than this is left of its life.
    static constexpr std::chrono::seconds refreshMargin{300};

    SpotifyBridgeTokens(std::string explicitClientID, TokenVault vault, WebAPI api, Clock& clock);

    const std::string& explicitClientID() const { return explicitClientID_; }
    const TokenVault& vault() const { return vault_; }
    const WebAPI& api() const { return api_; }
    Clock& clock() const { return clock_; }

    // Takes the tokens of a vault read at start-up. True when there is any token to go on.
    bool restore(const TokenVault::Snapshot& snapshot);

    std::uint64_t generation() const { return generation_; }
    // Starts a new link: refreshes still out for the previous one are dropped when they answer.
    void beginLink();
    // Unlinks: drops the tokens in memory at once and every refresh still out; the vault file
    // goes on the file writer, and the task resumes once it is gone.
    QCoro::Task<> forget();

    bool isRefreshing() const { return refresh_.isRunning(); }
    // No access token, or 300 s or less of its life left.
    bool needsRefresh() const;

    // Takes a token reply into memory and the vault. A reply without a refresh token keeps the
    // current one; `displayName` none or empty keeps the stored name. Memory changes at once; the
    // task resumes once the vault is written.
    QCoro::Task<> remember(const SpotifyTokenSet& tokens, const std::optional<std::string>& previousRefresh,
                           const std::optional<std::string>& displayName);

    // The access token while it has more than 300 s left, else a refreshed one.
    static QCoro::Task<TokenResult> validAccessToken(std::shared_ptr<SpotifyBridgeTokens> self);
    // Refreshes now, or joins the refresh under way. None without a refresh token in memory or in
    // the vault, and when the link ended while the refresh was out.
    static QCoro::Task<TokenResult> forceRefreshAccessToken(std::shared_ptr<SpotifyBridgeTokens> self);

private:
    static QCoro::Task<TokenResult> refreshOnce(std::shared_ptr<SpotifyBridgeTokens> self, std::uint64_t generation,
                                                std::string refreshToken);

    std::string explicitClientID_;
    TokenVault vault_;
    WebAPI api_;
    Clock& clock_;

    std::optional<std::string> accessToken_;
    std::optional<Date> accessExpiry_;
    std::optional<std::string> refreshToken_;

    std::uint64_t generation_ = 0;
    // Replaced, not reset, when a link ends: callers already waiting keep their flight.
    SingleFlight<TokenResult> refresh_;
};

}  // namespace orvel
