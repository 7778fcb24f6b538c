#include "TokenVault.h"

#include <array>
#include <cerrno>
#include <set>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "OrvelDomain/Json.h"
#include "SpotifyBridge/Secret.h"

namespace orvel {

namespace {

constexpr std::string_view keySalt = "Hobnail.Q7RZKP.Wick.v4";
// A vault holds three short strings and a number; a bigger file is not ours.
constexpr std::size_t maximumFileSize = 1024 * 1024;

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 4096> chunk{};
    bool ok = true;
    for (;;) {
        ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) { ok = false; break; }
        if (n == 0) break;
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + n);
        if (bytes.size() > maximumFileSize) { ok = false; break; }
    }
    ::close(fd);
    if (!ok) return std::nullopt;
    return bytes;
}

// Creates the missing folders of `directory` with mode 0700; existing ones are left as they are.
void createPrivateDirectories(const std::filesystem::path& directory) {
    std::filesystem::path partial;
    for (const auto& component : directory) {
        partial /= component;
        if (partial.empty() || partial == partial.root_path()) continue;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return;
    }
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(n));
    }
    return true;
}

// Writes beside the target and renames over it. The temporary file is created 0600, so the
// sealed bytes are never readable by anyone else, not even for a moment.
void writeFileAtomically(const std::filesystem::path& target, std::span<const std::uint8_t> bytes) {
    std::string pattern = (target.parent_path() / ("." + target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (fd < 0) return;
    bool ok = ::fchmod(fd, 0600) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (!ok || ::rename(pattern.c_str(), target.c_str()) != 0) ::unlink(pattern.c_str());
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
    createPrivateDirectories(vaultFilePath_.parent_path());

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
    if (sealed) writeFileAtomically(vaultFilePath_, *sealed);
    // Also tightens a file that an earlier version or a person left with a wider mode; never
    // through a symbolic link, which would change some other file.
    ::fchmodat(AT_FDCWD, vaultFilePath_.c_str(), 0600, AT_SYMLINK_NOFOLLOW);
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

void TokenVault::clear() const {
    std::error_code ignored;
    std::filesystem::remove(vaultFilePath_, ignored);
}

}  // namespace orvel
