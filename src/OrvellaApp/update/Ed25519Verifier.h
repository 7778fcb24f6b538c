#pragma once

// Checks an Ed25519 signature over a whole message with the build's public key (OpenSSL).
// Verification reads the message once in full; callers run it off the GUI thread.

#include <QByteArray>
#include <QByteArrayView>

#include <expected>
#include <string>

namespace orvel {

class Ed25519Verifier {
public:
    static constexpr qsizetype publicKeyBytes = 32;
    static constexpr qsizetype signatureBytes = 64;

    // From the base64 text of the 32-byte raw key; an error names what is wrong with it.
    static std::expected<Ed25519Verifier, std::string> fromBase64(QByteArrayView base64);

    bool verify(QByteArrayView message, QByteArrayView signature) const;

    const QByteArray& publicKey() const { return key_; }

private:
    explicit Ed25519Verifier(QByteArray key) : key_(std::move(key)) {}
    QByteArray key_;
};

}  // namespace orvel
