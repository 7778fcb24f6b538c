#include <fstream>
#include <iterator>

#include <QByteArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "SpotifyBridge/TokenVault.h"
#include "SpotifyBridge/VaultIdentity.h"

using namespace orvel;

namespace {

std::string hex(const crypto::SymmetricKey::Bytes& bytes) {
    const QByteArray raw(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
    return raw.toHex().toStdString();
}

std::vector<char> fileBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const VaultIdentity here{"0123456789abcdef0123456789abcdef.alice", {}};

class TokenVaultTest : public ::testing::Test {
protected:
    std::filesystem::path folder() const { return std::filesystem::path(dir_.path().toStdString()) / "Orvella"; }
    TokenVault vault(const VaultIdentity& identity = here) const {
        return TokenVault("Orvella.Spotify", folder(), identity);
    }

private:
    QTemporaryDir dir_;
};

}  // namespace

TEST(VaultIdentity, MachineIdentityTakesTheFirstNonEmptySource) {
    struct Case {
        std::optional<std::string> machineID, fallbackID;
        std::string expected;
    };
    const Case cases[] = {
        {"4c4c4544004d\n", "ffff", "4c4c4544004d.alice"},
        {"  \n", "d0d0\n", "d0d0.alice"},
        {std::nullopt, "d0d0", "d0d0.alice"},
        {std::nullopt, " ", "mac.alice"},
        {std::nullopt, std::nullopt, "mac.alice"},
    };
    for (const auto& c : cases) EXPECT_EQ(machineIdentity(c.machineID, c.fallbackID, "alice"), c.expected);
}

TEST(VaultIdentity, LegacyCandidatesFollowTheHostNamesInOrder) {
    struct Case {
        const char* name;
        HostNameSources sources;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"nothing known", {"alice", "", std::nullopt, std::nullopt, std::nullopt}, {"localhost.alice"}},
        {"studio",
         {"alice", "Studios-Mac-mini.local", "Studios-Mac-mini", "Studio\u2019s Mac mini",
          std::vector<std::string>{"example.org"}},
         {"Studios-Mac-mini.local.alice", "studios-mac-mini.local.alice", "localhost.alice",
          "Studios-Mac-mini.alice", "studios-mac-mini.alice", "Studio\u2019s Mac mini.alice",
          "studio\u2019s mac mini.alice", "studios-mac-mini.example.org.alice",
          "studios-mac-mini-1.example.org.alice", "studios-mac-mini-2.example.org.alice",
          "studios-mac-mini-3.example.org.alice", "studios-mac-mini-4.example.org.alice"}},
        {"two short names and two domains, empty domain skipped",
         {"bo", "box", "Box", "Bo's Box", std::vector<std::string>{"a.net", "", "b.net"}},
         {"box.bo", "localhost.bo", "Box.bo", "box.local.bo", "Bo's Box.bo", "bo's box.bo", "bos-box.bo",
          "bos-box.local.bo", "box.a.net.bo", "box-1.a.net.bo", "box-2.a.net.bo", "box-3.a.net.bo",
          "box-4.a.net.bo", "bos-box.a.net.bo", "bos-box-1.a.net.bo", "bos-box-2.a.net.bo",
          "bos-box-3.a.net.bo", "bos-box-4.a.net.bo", "box.b.net.bo", "box-1.b.net.bo", "box-2.b.net.bo",
          "box-3.b.net.bo", "box-4.b.net.bo", "bos-box.b.net.bo", "bos-box-1.b.net.bo",
          "bos-box-2.b.net.bo", "bos-box-3.b.net.bo", "bos-box-4.b.net.bo"}},
        {"empty local and computer names add nothing",
         {"u", "h", std::string(), std::string(), std::vector<std::string>{"x.org"}},
         {"h.u", "localhost.u"}},
    };
    for (const auto& c : cases) EXPECT_EQ(legacyHostCandidates(c.sources), c.expected) << c.name;
}

TEST(VaultIdentity, ReadsPrettyHostNameAndSearchDomains) {
    struct InfoCase {
        const char* text;
        std::optional<std::string> expected;
    };
    const InfoCase infos[] = {
        {"PRETTY_HOSTNAME=\"Studio\u2019s Mac mini\"\nICON_NAME=computer\n", "Studio\u2019s Mac mini"},
        {"CHASSIS=desktop\nPRETTY_HOSTNAME='Bo\\'s'\n", "Bo\\s"},
        {"PRETTY_HOSTNAME=Den\\ PC", "Den PC"},
        {"PRETTY_HOSTNAME=\"\"\n", std::nullopt},
        {"ICON_NAME=computer\n", std::nullopt},
    };
    for (const auto& c : infos) EXPECT_EQ(prettyHostNameFromMachineInfo(c.text), c.expected) << c.text;

    using Domains = std::optional<std::vector<std::string>>;
    struct ResolvCase {
        const char* text;
        Domains expected;
    };
    const ResolvCase resolvs[] = {
        {"nameserver 127.0.0.53\nsearch lan example.org\n", Domains{{"lan", "example.org"}}},
        {"domain home.arpa\n", Domains{{"home.arpa"}}},
        {"search one\nsearch two three\n", Domains{{"two", "three"}}},
        {"search a\ndomain b\n", Domains{{"b"}}},
        {"# search commented\nnameserver ::1\n", std::nullopt},
    };
    for (const auto& c : resolvs) EXPECT_EQ(searchDomainsFromResolvConf(c.text), c.expected) << c.text;
}

TEST(TokenVaultKeys, DerivedKeyBytesForAFixedIdentity) {
    // HKDF-SHA256 computed independently for these inputs.
    struct Case {
        std::string identity, keyHex;
    };
    const Case cases[] = {
        {"0123456789abcdef0123456789abcdef.alice",
         "3932f524699f895b4fd7d8ade8cabc9731ee028835690d112a5c44e83e41f27e"},
        {"mac.alice", "c870370575d42ad5867f5424e16814a12329ac64729531b18a28d8dbdb9dcf54"},
    };
    for (const auto& c : cases) {
        auto key = TokenVault::deriveKey("Orvella.Spotify", c.identity);
        ASSERT_TRUE(key.has_value());
        EXPECT_EQ(hex(key->bytes()), c.keyHex);
    }
}

TEST(TokenVaultKeys, FallbackKeysCoverEachServiceNameOnce) {
    const VaultIdentity identity{"m.alice", {"a.alice", "b.alice"}};
    EXPECT_EQ(TokenVault("Orvella.Spotify", "/nonexistent", identity).fallbackKeys().size(), 2u);
    const TokenVault other("Other", "/nonexistent", identity);
    ASSERT_EQ(other.fallbackKeys().size(), 4u);
    EXPECT_EQ(other.fallbackKeys()[1], *TokenVault::deriveKey("Other", "b.alice"));
    EXPECT_EQ(other.fallbackKeys()[2], *TokenVault::deriveKey("Orvella.Spotify", "a.alice"));
}

TEST_F(TokenVaultTest, StoresReadsBackAndClearsEveryField) {
    const TokenVault v = vault();
    EXPECT_EQ(v.loadSnapshot(), TokenVault::Snapshot{});
    EXPECT_FALSE(v.refreshToken() || v.accessToken() || v.displayName());
    EXPECT_FALSE(std::filesystem::exists(folder())) << "reading creates nothing";

    const Date expiry = Date::fromUnix(1'700'000'000.25);
    v.store("access", expiry, std::string("refresh"), std::string("Alice"));
    const TokenVault::Snapshot expected{"refresh", TokenVault::AccessToken{"access", expiry}, "Alice"};
    EXPECT_EQ(v.loadSnapshot(), expected);
    EXPECT_EQ(vault().loadSnapshot(), expected) << "a second vault for the same identity opens it";

    v.clear();
    EXPECT_FALSE(std::filesystem::exists(v.vaultFilePath()));
    v.clear();  // and again, with no file
    EXPECT_EQ(v.loadSnapshot(), TokenVault::Snapshot{});
}

TEST_F(TokenVaultTest, PartialStoresKeepTheOtherFields) {
    const TokenVault v = vault();
    v.store("a1", Date::fromUnix(100), std::string("r1"), std::string("Alice"));

    struct Step {
        const char* name;
        std::function<void()> store;
        TokenVault::Snapshot expected;
    };
    const Step steps[] = {
        {"no refresh token, no name",
         [&] { v.store("a2", Date::fromUnix(200), std::nullopt, std::nullopt); },
         {"r1", TokenVault::AccessToken{"a2", Date::fromUnix(200)}, "Alice"}},
        {"empty name keeps the stored one",
         [&] { v.store("a3", Date::fromUnix(300), std::nullopt, std::string()); },
         {"r1", TokenVault::AccessToken{"a3", Date::fromUnix(300)}, "Alice"}},
        {"access token only", [&] { v.store("a4", Date::fromUnix(400)); },
         {"r1", TokenVault::AccessToken{"a4", Date::fromUnix(400)}, "Alice"}},
        {"refresh token only", [&] { v.storeRefreshToken("r2"); },
         {"r2", TokenVault::AccessToken{"a4", Date::fromUnix(400)}, "Alice"}},
        {"name only", [&] { v.storeDisplayName("Bob"); },
         {"r2", TokenVault::AccessToken{"a4", Date::fromUnix(400)}, "Bob"}},
        {"an expiry not after 1970 keeps no access token", [&] { v.store("a5", Date::fromUnix(0)); },
         {"r2", std::nullopt, "Bob"}},
    };
    for (const auto& step : steps) {
        step.store();
        EXPECT_EQ(v.loadSnapshot(), step.expected) << step.name;
    }
}

TEST_F(TokenVaultTest, EveryWriteUsesAFreshNonceAndAnEmptyNameWritesNothing) {
    const TokenVault v = vault();
    v.storeDisplayName("");
    EXPECT_FALSE(std::filesystem::exists(v.vaultFilePath()));
    v.storeRefreshToken("same");
    const auto first = fileBytes(v.vaultFilePath());
    v.storeDisplayName("");
    EXPECT_EQ(fileBytes(v.vaultFilePath()), first);

    v.storeRefreshToken("same");
    const auto second = fileBytes(v.vaultFilePath());
    ASSERT_EQ(first.size(), second.size());
    EXPECT_NE(std::vector<char>(first.begin(), first.begin() + 12), std::vector<char>(second.begin(), second.begin() + 12));
    EXPECT_EQ(v.refreshToken(), "same");
    // Nonce, sealed JSON, tag.
    EXPECT_EQ(first.size(), 12 + std::string(R"({"refreshToken":"same"})").size() + 16);
}

TEST_F(TokenVaultTest, FileFromALegacyHostKeyIsResealedUnderTheCurrentKey) {
    HostNameSources sources{"alice", "Studios-Mac-mini.local", "Studios-Mac-mini", std::nullopt, std::nullopt};
    const auto candidates = legacyHostCandidates(sources);
    ASSERT_NE(std::find(candidates.begin(), candidates.end(), "studios-mac-mini.local.alice"), candidates.end());

    // A file sealed when the host name was the machine's key.
    vault(VaultIdentity{"studios-mac-mini.local.alice", {}}).store("a", Date::fromUnix(10), std::string("r"),
                                                                     std::string("Alice"));
    const TokenVault withoutLegacy = vault(VaultIdentity{here.machineIdentity, {}});
    EXPECT_EQ(withoutLegacy.loadSnapshot(), TokenVault::Snapshot{});

    const auto before = fileBytes(withoutLegacy.vaultFilePath());
    const TokenVault current = vault(VaultIdentity{here.machineIdentity, candidates});
    EXPECT_EQ(current.refreshToken(), "r");
    EXPECT_NE(fileBytes(current.vaultFilePath()), before) << "sealed again on that first read";
    EXPECT_EQ(withoutLegacy.loadSnapshot(),
              (TokenVault::Snapshot{"r", TokenVault::AccessToken{"a", Date::fromUnix(10)}, "Alice"}));
}

TEST_F(TokenVaultTest, ForeignOrDamagedFilesReadAsEmptyAndAreReplacedOnTheNextStore) {
    struct Case {
        const char* name;
        std::function<void(const std::filesystem::path&)> make;
    };
    const Case cases[] = {
        {"another user's vault",
         [this](const std::filesystem::path&) {
             vault(VaultIdentity{"0123456789abcdef0123456789abcdef.bob", {}})
                 .store("a", Date::fromUnix(10), std::string("r"), std::string("Bob"));
         }},
        {"too short",
         [](const std::filesystem::path& file) { std::ofstream(file, std::ios::binary) << "short"; }},
        {"not sealed at all",
         [](const std::filesystem::path& file) {
             std::ofstream(file, std::ios::binary) << R"({"refreshToken":"plain text, not sealed"})";
         }},
    };
    for (const auto& c : cases) {
        const TokenVault v = vault();
        v.clear();
        std::filesystem::create_directories(folder());
        c.make(v.vaultFilePath());
        const auto before = fileBytes(v.vaultFilePath());
        EXPECT_EQ(v.loadSnapshot(), TokenVault::Snapshot{}) << c.name;
        EXPECT_EQ(fileBytes(v.vaultFilePath()), before) << c.name << ": reading leaves the file alone";
        v.storeDisplayName("Alice");
        EXPECT_EQ(v.loadSnapshot(), (TokenVault::Snapshot{std::nullopt, std::nullopt, "Alice"})) << c.name;
    }
}

