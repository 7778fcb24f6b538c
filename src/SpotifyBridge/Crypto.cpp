#include "Crypto.h"

#include <memory>
#include <string>

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/kdf.h>
#include <openssl/rand.h>

#include "Secret.h"

namespace orvel::crypto {

namespace {
struct KdfDeleter {
    void operator()(EVP_KDF* p) const { EVP_KDF_free(p); }
    void operator()(EVP_KDF_CTX* p) const { EVP_KDF_CTX_free(p); }
    void operator()(EVP_CIPHER_CTX* p) const { EVP_CIPHER_CTX_free(p); }
};

// OpenSSL takes non-const pointers in its parameter arrays even for inputs.
void* mutableBytes(std::span<const std::uint8_t> bytes) {
    static std::uint8_t empty = 0;
    return bytes.empty() ? &empty : const_cast<std::uint8_t*>(bytes.data());
}
}  // namespace

SymmetricKey::~SymmetricKey() { secret::wipe(bytes_); }

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::optional<SymmetricKey> hkdfSha256(std::span<const std::uint8_t> inputKeyMaterial,
                                       std::span<const std::uint8_t> salt,
                                       std::span<const std::uint8_t> info) {
    std::unique_ptr<EVP_KDF, KdfDeleter> kdf(EVP_KDF_fetch(nullptr, "HKDF", nullptr));
    if (!kdf) return std::nullopt;
    std::unique_ptr<EVP_KDF_CTX, KdfDeleter> context(EVP_KDF_CTX_new(kdf.get()));
    if (!context) return std::nullopt;
    char digest[] = "SHA256";
    OSSL_PARAM params[] = {
        OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, digest, 0),
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_KEY, mutableBytes(inputKeyMaterial),
                                          inputKeyMaterial.size()),
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_SALT, mutableBytes(salt), salt.size()),
        OSSL_PARAM_construct_octet_string(OSSL_KDF_PARAM_INFO, mutableBytes(info), info.size()),
        OSSL_PARAM_construct_end(),
    };
    SymmetricKey::Bytes out{};
    if (EVP_KDF_derive(context.get(), out.data(), out.size(), params) != 1) return std::nullopt;
    SymmetricKey key(out);
    secret::wipe(out);
    return key;
}

std::array<std::uint8_t, 32> sha256(std::span<const std::uint8_t> data) {
    std::array<std::uint8_t, 32> out{};
    unsigned int length = 0;
    EVP_Digest(data.data(), data.size(), out.data(), &length, EVP_sha256(), nullptr);
    return out;
}

bool randomBytes(std::span<std::uint8_t> out) {
    if (out.empty()) return true;
    return RAND_bytes(out.data(), static_cast<int>(out.size())) == 1;
}

std::optional<std::vector<std::uint8_t>> sealAesGcm(const SymmetricKey& key,
                                                    std::span<const std::uint8_t> plaintext,
                                                    std::span<const std::uint8_t, gcmNonceSize> nonce) {
    std::unique_ptr<EVP_CIPHER_CTX, KdfDeleter> context(EVP_CIPHER_CTX_new());
    if (!context) return std::nullopt;
    if (EVP_EncryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, key.bytes().data(), nonce.data()) != 1) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> out(gcmNonceSize + plaintext.size() + gcmTagSize);
    std::copy(nonce.begin(), nonce.end(), out.begin());
    int written = 0;
    if (!plaintext.empty() &&
        EVP_EncryptUpdate(context.get(), out.data() + gcmNonceSize, &written, plaintext.data(),
                          static_cast<int>(plaintext.size())) != 1) {
        return std::nullopt;
    }
    int finalWritten = 0;
    if (EVP_EncryptFinal_ex(context.get(), out.data() + gcmNonceSize + written, &finalWritten) != 1) {
        return std::nullopt;
    }
    if (static_cast<std::size_t>(written + finalWritten) != plaintext.size()) return std::nullopt;
    if (EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, gcmTagSize,
                            out.data() + gcmNonceSize + plaintext.size()) != 1) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> openAesGcm(const SymmetricKey& key,
                                                    std::span<const std::uint8_t> combined) {
    if (combined.size() < gcmNonceSize + gcmTagSize) return std::nullopt;
    const std::size_t cipherLength = combined.size() - gcmNonceSize - gcmTagSize;
    std::unique_ptr<EVP_CIPHER_CTX, KdfDeleter> context(EVP_CIPHER_CTX_new());
    if (!context) return std::nullopt;
    if (EVP_DecryptInit_ex(context.get(), EVP_aes_256_gcm(), nullptr, key.bytes().data(),
                           combined.data()) != 1) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> plaintext(cipherLength);
    int written = 0;
    if (cipherLength > 0 &&
        EVP_DecryptUpdate(context.get(), plaintext.data(), &written, combined.data() + gcmNonceSize,
                          static_cast<int>(cipherLength)) != 1) {
        secret::wipe(plaintext);
        return std::nullopt;
    }
    std::array<std::uint8_t, gcmTagSize> tag{};
    std::copy(combined.end() - gcmTagSize, combined.end(), tag.begin());
    if (EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, gcmTagSize, tag.data()) != 1) {
        secret::wipe(plaintext);
        return std::nullopt;
    }
    int finalWritten = 0;
    if (EVP_DecryptFinal_ex(context.get(), plaintext.data() + written, &finalWritten) != 1) {
        // The tag did not authenticate: what was decrypted is not to be trusted or kept.
        secret::wipe(plaintext);
        return std::nullopt;
    }
    return plaintext;
}

std::string base64(std::span<const std::uint8_t> data) {
    std::string out(4 * ((data.size() + 2) / 3) + 1, '\0');
    int length = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()), data.data(),
                                 static_cast<int>(data.size()));
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::string base64UrlNoPadding(std::span<const std::uint8_t> data) {
    std::string text = base64(data);
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '+') out.push_back('-');
        else if (c == '/') out.push_back('_');
        else if (c != '=') out.push_back(c);
    }
    secret::wipe(text);
    return out;
}

void releaseThreadState() { OPENSSL_thread_stop(); }

}  // namespace orvel::crypto
