#include "TokenVault.h"

#include <QCoroFuture>

#include <array>
#include <set>
#include <utility>

#include "OrvelDomain/Json.h"
#include "SpotifyBridge/Secret.h"
#include "Support/FileWriter.h"
#include "Support/PrivateFiles.h"

namespace orvel {

namespace {

constexpr std::string_view keySalt = "Hobnail.Q7RZKP.Wick.v4";
// A vault holds three short strings and a number; a bigger file is not ours.
constexpr std::size_t maximumFileSize = 1024 * 1024;

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path) {
    auto content = privateFiles::readIfPresent(path, maximumFileSize);
    if (!content || !*content) return std::nullopt;
    std::string& text = **content;
    std::vector<std::uint8_t> bytes(text.begin(), text.end());
    // Sealed bytes only, but no stray copy is left behind either.
    secret::wipe(text);
    return bytes;
}

}  // namespace

struct TokenVault::Record {
    Record() = default;
    Record(const Record&) = default;
    Record& operator=(const Record&) = default;
    // Every copy of the tokens is wiped when it goes; moving is copying here, so a moved-from
    // record holds nothing that outlives its wiping either.
    ~Record() {
        if (refreshToken) secret::wipe(*refreshToken);
        if (accessToken) secret::wipe(*accessToken);
    }

    std::optional<std::string> refreshToken;
    std::optional<std::string> accessToken;
    std::optional<double> accessExpiry;  // seconds since 1970
    std::optional<std::string> displayName;

    Json toJson() const {
        Json out = Json::object();
        if (refreshToken) out["refreshToken"] = *refreshToken;
        if (accessToken) out["accessToken"] = *accessToken;
        if (accessExpiry) out["accessExpiry"] = *accessExpiry;
        if (displayName) out["displayName"] = *displayName;
        return out;
    }

    static Decoded<Record> fromJson(const Json& value) {
        ORVEL_TRY(const Json* object, json::expectObject(value));
        Record record;
        ORVEL_TRY(record.refreshToken, json::optionalString(*object, "refreshToken"));
        ORVEL_TRY(record.accessToken, json::optionalString(*object, "accessToken"));
        ORVEL_TRY(record.accessExpiry, json::optionalDouble(*object, "accessExpiry"));
        ORVEL_TRY(record.displayName, json::optionalString(*object, "displayName"));
        return record;
    }

    std::optional<AccessToken> usableAccessToken() const {
        if (!accessToken || !accessExpiry || !(*accessExpiry > 0.0)) return std::nullopt;
        return AccessToken{*accessToken, Date::fromUnix(*accessExpiry)};
    }
};

std::optional<crypto::SymmetricKey> TokenVault::deriveKey(std::string_view service, std::string_view identity) {
    std::string material = "Orvella.TokenVault." + std::string(service) + "." + std::string(identity);
    auto key = crypto::hkdfSha256(crypto::bytesOf(material), crypto::bytesOf(keySalt), crypto::bytesOf(service));
    secret::wipe(material);
    return key;
}

TokenVault::TokenVault(std::string service, std::filesystem::path directory)
    : TokenVault(std::move(service), std::move(directory), VaultIdentity::forThisMachine()) {}

TokenVault::TokenVault(std::string service, std::filesystem::path directory, const VaultIdentity& identity)
    : service_(std::move(service)),
      vaultFilePath_(std::move(directory) / fileName),
      derivedKey_(deriveKey(service_, identity.machineIdentity)) {
    std::vector<std::string> names{service_};
    if (service_ != defaultService) names.emplace_back(defaultService);
    for (const std::string& name : names) {
        for (const std::string& candidate : identity.legacyHostCandidates) {
            if (auto key = deriveKey(name, candidate)) fallbackKeys_.push_back(std::move(*key));
        }
    }
}

std::optional<TokenVault::Record> TokenVault::readRecord() const {
    auto sealed = readWholeFile(vaultFilePath_);
    if (!sealed || sealed->size() < crypto::gcmNonceSize + crypto::gcmTagSize) return std::nullopt;

    auto openWith = [&](const crypto::SymmetricKey& key) -> std::optional<Record> {
        auto plaintext = crypto::openAesGcm(key, *sealed);
        if (!plaintext) return std::nullopt;
        secret::WipeOnExit wipePlaintext(*plaintext);
        auto parsed = json::parse(std::string_view(reinterpret_cast<const char*>(plaintext->data()),
                                                   plaintext->size()));
        if (!parsed) return std::nullopt;
        secret::WipeOnExit wipeParsed(*parsed);
        auto record = Record::fromJson(*parsed);
        if (!record) return std::nullopt;
        return *record;
    };

    if (derivedKey_) {
        if (auto record = openWith(*derivedKey_)) return record;
    }
    for (const crypto::SymmetricKey& key : fallbackKeys_) {
        if (auto record = openWith(key)) {
            writeRecord(*record);
            return record;
        }
    }
    return std::nullopt;
}

void TokenVault::writeRecord(const Record& record) const {
    if (!derivedKey_) return;
    if (!privateFiles::ensureFolder(vaultFilePath_.parent_path())) return;

    std::string plaintext;
    secret::WipeOnExit wipePlaintext(plaintext);
    Json document = record.toJson();
    secret::WipeOnExit wipeDocument(document);
    try {
        plaintext = document.dump();
    } catch (const Json::exception&) {
        return;  // text that is not UTF-8 cannot be written as JSON
    }

    std::array<std::uint8_t, crypto::gcmNonceSize> nonce{};
    if (!crypto::randomBytes(nonce)) return;
    auto sealed = crypto::sealAesGcm(*derivedKey_, crypto::bytesOf(plaintext), nonce);
    if (!sealed) return;
    // A fresh 0600 file replaces whatever was there (a wider one, a symbolic link), so no
    // other file is ever changed through it.
    const std::string_view bytes(reinterpret_cast<const char*>(sealed->data()), sealed->size());
    (void)privateFiles::writeAtomically(vaultFilePath_, bytes);
}

TokenVault::Snapshot TokenVault::loadSnapshot() const {
    auto record = readRecord();
    if (!record) return {};
    return Snapshot{record->refreshToken, record->usableAccessToken(), record->displayName};
}

std::optional<TokenVault::AccessToken> TokenVault::accessToken() const {
    auto record = readRecord();
    return record ? record->usableAccessToken() : std::nullopt;
}

std::optional<std::string> TokenVault::refreshToken() const {
    auto record = readRecord();
    return record ? record->refreshToken : std::nullopt;
}

std::optional<std::string> TokenVault::displayName() const {
    auto record = readRecord();
    return record ? record->displayName : std::nullopt;
}

void TokenVault::store(const std::string& accessToken, Date expiry, const std::optional<std::string>& refreshToken,
                       const std::optional<std::string>& displayName) const {
    Record record = readRecord().value_or(Record{});
    record.accessToken = accessToken;
    record.accessExpiry = expiry.unixSeconds();
    if (refreshToken) record.refreshToken = *refreshToken;
    if (displayName && !displayName->empty()) record.displayName = *displayName;
    writeRecord(record);
}

void TokenVault::store(const std::string& accessToken, Date expiry) const {
    store(accessToken, expiry, std::nullopt, std::nullopt);
}

void TokenVault::storeRefreshToken(const std::string& refreshToken) const {
    Record record = readRecord().value_or(Record{});
    record.refreshToken = refreshToken;
    writeRecord(record);
}

void TokenVault::storeDisplayName(const std::string& name) const {
    if (name.empty()) return;
    Record record = readRecord().value_or(Record{});
    record.displayName = name;
    writeRecord(record);
}

void TokenVault::clear() const { privateFiles::removeQuietly(vaultFilePath_); }

// The jobs hold their own copy of the vault, so a write outlives whoever asked for it.

QCoro::Task<> TokenVault::storeAsync(std::string accessToken, Date expiry, std::optional<std::string> refreshToken,
                                     std::optional<std::string> displayName) const {
    auto job = [vault = *this, accessToken = std::move(accessToken), expiry, refreshToken = std::move(refreshToken),
                displayName = std::move(displayName)]() mutable {
        secret::WipeOnExit wipeAccess(accessToken);
        vault.store(accessToken, expiry, refreshToken, displayName);
        if (refreshToken) secret::wipe(*refreshToken);
        crypto::releaseThreadState();
    };
    auto writing = FileWriter::shared().submit(std::move(job));
    co_await std::move(writing);
}

QCoro::Task<> TokenVault::storeDisplayNameAsync(std::string name) const {
    auto job = [vault = *this, name = std::move(name)] {
        vault.storeDisplayName(name);
        crypto::releaseThreadState();
    };
    auto writing = FileWriter::shared().submit(std::move(job));
    co_await std::move(writing);
}

QCoro::Task<> TokenVault::clearAsync() const {
    auto job = [vault = *this] { vault.clear(); };
    auto removing = FileWriter::shared().submit(std::move(job));
    co_await std::move(removing);
}

QCoro::Task<std::optional<std::string>> TokenVault::refreshTokenAsync() const {
    auto job = [vault = *this] {
        auto token = vault.refreshToken();
        crypto::releaseThreadState();
        return token;
    };
    auto reading = FileWriter::shared().submit(std::move(job));
    std::optional<std::string> token = co_await std::move(reading);
    co_return token;
}

}  // namespace orvel
