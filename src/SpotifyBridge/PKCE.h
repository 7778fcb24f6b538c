#pragma once

// Proof key for code exchange, method S256: an 86-character verifier from 64 random bytes and
// its 43-character challenge, both in the URL-safe base64 alphabet without padding.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace orvel {

class PKCE {
public:
    using RandomSource = std::function<bool(std::span<std::uint8_t>)>;

    static std::string makeVerifier();
    // With a secure source that may fail; the general generator fills in when it does.
    static std::string makeVerifier(const RandomSource& secureSource);
    static std::string challenge(std::string_view verifier);
};

}  // namespace orvel
