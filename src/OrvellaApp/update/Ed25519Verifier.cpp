#include "OrvellaApp/update/Ed25519Verifier.h"

#include <memory>

#include <openssl/evp.h>

namespace orvel {

std::expected<Ed25519Verifier, std::string> Ed25519Verifier::fromBase64(QByteArrayView base64) {
    const auto decoded = QByteArray::fromBase64Encoding(base64.toByteArray(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded) return std::unexpected(std::string("the public key is not base64"));
    if (decoded.decoded.size() != publicKeyBytes) return std::unexpected(std::string("the public key is not 32 bytes"));
    return Ed25519Verifier(decoded.decoded);
}

bool Ed25519Verifier::verify(QByteArrayView message, QByteArrayView signature) const {
    if (signature.size() != signatureBytes) return false;
    const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(
        EVP_PKEY_new_raw_public_key(EVP_PKEY_ED25519, nullptr, reinterpret_cast<const unsigned char*>(key_.constData()),
                                    static_cast<size_t>(key_.size())),
        &EVP_PKEY_free);
    if (!key) return false;
    const std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (!context || EVP_DigestVerifyInit(context.get(), nullptr, nullptr, nullptr, key.get()) != 1) return false;
    return EVP_DigestVerify(context.get(), reinterpret_cast<const unsigned char*>(signature.data()),
                            static_cast<size_t>(signature.size()),
                            reinterpret_cast<const unsigned char*>(message.data()),
                            static_cast<size_t>(message.size())) == 1;
}

}  // namespace orvel
