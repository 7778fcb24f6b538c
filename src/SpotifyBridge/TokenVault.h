#pragma once

// The sealed store of a linked account: refresh token, latest access token with its expiry,
// and display name, in one AES-256-GCM sealed file "spotify-vault.enc" in the data folder.
// The key comes from HKDF over the machine-and-user identity, so the file opens only for the
// same user on the same machine; files sealed under an older host-name key are still opened
// once and sealed again under the current key.
//
// Every operation reads the file afresh and reports nothing: a file that cannot be read reads
// as empty, and failed writes are dropped. The plain calls block on the disk: the GUI thread
// uses them only for the read at start-up, before the window shows, and otherwise goes through
// the ...Async calls, which run on the shared file writer in the order they were made.

#include <QCoroTask>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "OrvelDomain/Date.h"
#include "SpotifyBridge/Crypto.h"
#include "SpotifyBridge/VaultIdentity.h"

namespace orvel {

class TokenVault {
public:
    struct AccessToken {
        std::string token;
        Date expiry;
        friend bool operator==(const AccessToken&, const AccessToken&) = default;
    };
    struct Snapshot {
        std::optional<std::string> refreshToken;
        // Present only when the file holds both a token and an expiry after 1970.
        std::optional<AccessToken> accessToken;
        std::optional<std::string> displayName;
        friend bool operator==(const Snapshot&, const Snapshot&) = default;
    };

    static constexpr std::string_view fileName = "spotify-vault.enc";
    static constexpr std::string_view defaultService = "Orvella.Spotify";

    // For this machine and user. Creates no file and no folder.
    TokenVault(std::string service, std::filesystem::path directory);
    TokenVault(std::string service, std::filesystem::path directory, const VaultIdentity& identity);

    const std::string& service() const { return service_; }
    const std::filesystem::path& vaultFilePath() const { return vaultFilePath_; }

    Snapshot loadSnapshot() const;
    std::optional<AccessToken> accessToken() const;
    std::optional<std::string> refreshToken() const;
    std::optional<std::string> displayName() const;

    // Each store is one read-modify-write: fields it does not set keep their stored values.
    // An absent refresh token, and an absent or empty display name, keep the stored ones.
    void store(const std::string& accessToken, Date expiry, const std::optional<std::string>& refreshToken,
               const std::optional<std::string>& displayName) const;
    void store(const std::string& accessToken, Date expiry) const;
    void storeRefreshToken(const std::string& refreshToken) const;
    // An empty name writes nothing.
    void storeDisplayName(const std::string& name) const;
    // Removes the file; a missing file is no failure.
    void clear() const;

    // The same, queued on the shared file writer behind every write asked for before; each
    // resumes once its work is done. A read queued there sees every earlier write.
    QCoro::Task<> storeAsync(std::string accessToken, Date expiry, std::optional<std::string> refreshToken,
                             std::optional<std::string> displayName) const;
    QCoro::Task<> storeDisplayNameAsync(std::string name) const;
    QCoro::Task<> clearAsync() const;
    QCoro::Task<std::optional<std::string>> refreshTokenAsync() const;

    // HKDF-SHA256 of "Orvella.TokenVault.<service>.<identity>" with the vault's fixed salt and
    // the service as info.
    // Absent only when the crypto library refuses, and then the vault reads nothing and
    // writes nothing.
    static std::optional<crypto::SymmetricKey> deriveKey(std::string_view service, std::string_view identity);

    const std::optional<crypto::SymmetricKey>& derivedKey() const { return derivedKey_; }
    const std::vector<crypto::SymmetricKey>& fallbackKeys() const { return fallbackKeys_; }

private:
    struct Record;
    std::optional<Record> readRecord() const;
    void writeRecord(const Record& record) const;

    std::string service_;
    std::filesystem::path vaultFilePath_;
    std::optional<crypto::SymmetricKey> derivedKey_;
    std::vector<crypto::SymmetricKey> fallbackKeys_;
};

}  // namespace orvel
