#pragma once

// The few primitives the account link needs, on OpenSSL 3's EVP interface: HKDF-SHA256,
// SHA-256, AES-256-GCM in the combined form (nonce, ciphertext, tag) and secure random bytes.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace orvel::crypto {

// A 256-bit key; its bytes are wiped when it goes.
class SymmetricKey {
public:
    using Bytes = std::array<std::uint8_t, 32>;
    explicit SymmetricKey(const Bytes& bytes) : bytes_(bytes) {}
    SymmetricKey(const SymmetricKey&) = default;
    SymmetricKey& operator=(const SymmetricKey&) = default;
    ~SymmetricKey();

    const Bytes& bytes() const { return bytes_; }
    friend bool operator==(const SymmetricKey&, const SymmetricKey&) = default;

private:
    Bytes bytes_;
};

inline constexpr std::size_t gcmNonceSize = 12;
inline constexpr std::size_t gcmTagSize = 16;

std::span<const std::uint8_t> bytesOf(std::string_view text);

// HKDF (RFC 5869) with SHA-256, 32 bytes of output. Empty when the library refuses.
std::optional<SymmetricKey> hkdfSha256(std::span<const std::uint8_t> inputKeyMaterial,
                                       std::span<const std::uint8_t> salt,
                                       std::span<const std::uint8_t> info);

std::array<std::uint8_t, 32> sha256(std::span<const std::uint8_t> data);

// Fills `out` from the secure generator; false when it cannot.
bool randomBytes(std::span<std::uint8_t> out);

// Gives back what the crypto library keeps for the calling thread (its random generators).
// For a thread that may still run after the library's own clean-up at exit, such as the file
// writer: what it kept then would never be freed.
void releaseThreadState();

// nonce || ciphertext || tag, with no additional authenticated data.
std::optional<std::vector<std::uint8_t>> sealAesGcm(const SymmetricKey& key,
                                                    std::span<const std::uint8_t> plaintext,
                                                    std::span<const std::uint8_t, gcmNonceSize> nonce);
// Empty when the box is too short or does not authenticate under `key`.
std::optional<std::vector<std::uint8_t>> openAesGcm(const SymmetricKey& key,
                                                    std::span<const std::uint8_t> combined);

// Standard base64, and the URL-safe form without padding ("+" → "-", "/" → "_", no "=").
std::string base64(std::span<const std::uint8_t> data);
std::string base64UrlNoPadding(std::span<const std::uint8_t> data);

}  // namespace orvel::crypto
