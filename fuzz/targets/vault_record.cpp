// The token vault's file. The first byte picks how the rest reaches the file: sealed with the
// current key (bit 0 clear) or written as it is (bit 0 set); bit 1 seals with a legacy key
// instead, which makes the vault re-seal what it read. The file lives in a private temporary
// folder that is removed at exit; in memory (/dev/shm) where there is one, since every input
// writes and syncs the file.

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>

#include "FuzzInput.h"
#include "SpotifyBridge/TokenVault.h"

namespace {

struct VaultRig {
    std::filesystem::path folder;
    orvel::VaultIdentity identity{"fuzz-machine.fuzz-user", {"fuzz-host.fuzz-user"}};
    std::optional<orvel::TokenVault> vault;
    std::optional<orvel::crypto::SymmetricKey> legacyKey;

    VaultRig() {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "orvella-fuzz-vault.XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        folder = pattern;
        vault.emplace(std::string(orvel::TokenVault::defaultService), folder, identity);
        legacyKey = orvel::TokenVault::deriveKey(orvel::TokenVault::defaultService, identity.legacyHostCandidates.front());
        if (!vault->derivedKey() || !legacyKey) std::abort();
    }
    ~VaultRig() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
};

void writeFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static VaultRig rig;
    if (size == 0) return 0;
    const std::uint8_t mode = data[0];
    const std::span<const std::uint8_t> rest(data + 1, size - 1);
    if (mode & 1) {
        writeFile(rig.vault->vaultFilePath(), rest);
    } else {
        const auto& key = (mode & 2) ? *rig.legacyKey : *rig.vault->derivedKey();
        const std::array<std::uint8_t, orvel::crypto::gcmNonceSize> nonce{};
        auto sealed = orvel::crypto::sealAesGcm(key, rest, nonce);
        if (!sealed) return 0;
        writeFile(rig.vault->vaultFilePath(), *sealed);
    }
    (void)rig.vault->loadSnapshot();
    return 0;
}
