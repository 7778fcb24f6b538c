#pragma once

// What the token endpoint grants: an access token, perhaps a new refresh token (a refresh may
// leave it out), and the access token's lifetime in seconds from receipt.

#include <cstdint>
#include <optional>
#include <string>

namespace orvel {

struct SpotifyTokenSet {
    std::string accessToken;
    std::optional<std::string> refreshToken;
    std::int64_t expiresIn = 3600;

    friend bool operator==(const SpotifyTokenSet&, const SpotifyTokenSet&) = default;
};

}  // namespace orvel
