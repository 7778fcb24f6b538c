#include "PKCE.h"

#include <array>
#include <random>

#include "SpotifyBridge/Crypto.h"
#include "SpotifyBridge/Secret.h"

namespace orvel {

std::string PKCE::makeVerifier() { return makeVerifier(crypto::randomBytes); }

std::string PKCE::makeVerifier(const RandomSource& secureSource) {
    std::array<std::uint8_t, 64> bytes{};
    secret::WipeOnExit wipeBytes(bytes);
    if (!secureSource(bytes)) {
        std::random_device generator;
        std::uniform_int_distribution<int> byte(0, 255);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(generator));
    }
    return crypto::base64UrlNoPadding(bytes);
}

std::string PKCE::challenge(std::string_view verifier) {
    return crypto::base64UrlNoPadding(crypto::sha256(crypto::bytesOf(verifier)));
}

}  // namespace orvel
