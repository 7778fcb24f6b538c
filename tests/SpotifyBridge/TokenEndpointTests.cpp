#include <map>
#include <set>
#include <stdexcept>

#include <gtest/gtest.h>

#include "SpotifyBridge/FormBody.h"
#include "SpotifyBridge/PKCE.h"
#include "SpotifyBridge/SealedClientStore.h"
#include "SpotifyBridge/TokenReply.h"

using namespace orvel;

namespace {

using Table = SealedClientStore::Table;

const Table pad = {0x10, 0x22, 0x3f, 0x47, 0x5a, 0x6b, 0x7c, 0x8d, 0x9e, 0xaf, 0xb0, 0xc1, 0xd2, 0xe3, 0xf4, 0x05,
                   0x16, 0x27, 0x38, 0x49, 0x5a, 0x6b, 0x7c, 0x8d, 0x9e, 0xaf, 0xb0, 0xc1, 0xd2, 0xe3, 0xf4, 0xff};

SealedClientStore::EnvironmentLookup environment(std::map<std::string, std::string> values) {
    return [values = std::move(values)](const char* name) -> std::optional<std::string> {
        auto it = values.find(name);
        if (it == values.end()) return std::nullopt;
        return it->second;
    };
}

bool allZero(const Table& t) {
    return std::all_of(t.begin(), t.end(), [](std::uint8_t b) { return b == 0; });
}

}  // namespace

TEST(SealedClientStore, ResolvesInOrderOfPrecedence) {
    const Table builtIn = SealedClientStore::mask("built-in-id", pad);
    struct Case { const char* name; std::string override; std::map<std::string, std::string> env; std::string expected; };
    const Case cases[] = {
        {"explicit wins", "  explicit\n", {{"SPOTIFY_CLIENT_ID", "env1"}}, "explicit"},
        {"blank explicit is ignored", " \n\t", {{"SPOTIFY_CLIENT_ID", " env1 "}}, "env1"},
        {"first variable before second", "", {{"SPOTIFY_CLIENT_ID", "env1"}, {"ORVELLA_SPOTIFY_CLIENT_ID", "env2"}},
         "env1"},
        {"blank first variable falls through", "",
         {{"SPOTIFY_CLIENT_ID", "  "}, {"ORVELLA_SPOTIFY_CLIENT_ID", "env2"}}, "env2"},
        {"empty variables fall to the built-in id", "",
         {{"SPOTIFY_CLIENT_ID", ""}, {"ORVELLA_SPOTIFY_CLIENT_ID", "\n"}}, "built-in-id"},
        {"nothing set", "", {}, "built-in-id"},
    };
    for (const auto& c : cases) {
        std::string seen = SealedClientStore::withEphemeralClientID(
            c.override, environment(c.env), builtIn, pad, [](const std::string& id) { return id; });
        EXPECT_EQ(seen, c.expected) << c.name;
    }
}

TEST(SealedClientStore, MaskingAndUnmaskingRoundTrip) {
    struct Case { std::string id, expected; };
    const Case cases[] = {
        {"0123456789abcdef0123456789abcdef", "0123456789abcdef0123456789abcdef"},  // exactly 32 bytes
        {"", ""},
        {"0123456789abcdef0123456789abcdefXYZ", "0123456789abcdef0123456789abcdef"},  // cut at 32
        {"caf\xC3\xA9", "caf\xC3\xA9"},
        {"bad\xC3", "bad\xEF\xBF\xBD"},  // a broken sequence becomes U+FFFD
    };
    for (const auto& c : cases) {
        const Table table = SealedClientStore::mask(c.id, pad);
        if (!c.id.empty()) {
            EXPECT_NE(table, pad) << "the table does not show the id in the clear";
        }
        Table buffer{};
        std::string seen = SealedClientStore::withUnmasked(table, pad, buffer, [](const std::string& id) { return id; });
        EXPECT_EQ(seen, c.expected);
        EXPECT_TRUE(allZero(buffer)) << c.id;
    }
}

// The normal path's wipe is checked with the round trip above.
TEST(SealedClientStore, TheBufferIsWipedWhenTheBodyThrowsToo) {
    const Table table = SealedClientStore::mask("secret-client", pad);
    Table buffer{};
    bool sawUnmasked = false;
    const auto body = [&](const std::string& id) -> int {
        sawUnmasked = id == "secret-client" && buffer[0] == 's';
        throw std::runtime_error("refused");
    };
    EXPECT_THROW(SealedClientStore::withUnmasked(table, pad, buffer, body), std::runtime_error);
    EXPECT_TRUE(sawUnmasked);
    EXPECT_TRUE(allZero(buffer));
}

TEST(SealedClientStore, ThisBuildCarriesNoClientID) {
    std::string seen = SealedClientStore::withEphemeralClientID(
        "", environment({}), SealedClientStore::builtInTable, SealedClientStore::builtInPad,
        [](const std::string& id) { return id; });
    EXPECT_EQ(seen, "");
}

TEST(PKCE, VerifiersAreFreshAndUseTheUrlSafeAlphabet) {
    auto secureFails = [](std::span<std::uint8_t>) { return false; };
    std::set<std::string> seen;
    for (const std::string& verifier :
         {PKCE::makeVerifier(), PKCE::makeVerifier(), PKCE::makeVerifier(secureFails), PKCE::makeVerifier(secureFails)}) {
        EXPECT_EQ(verifier.size(), 86u);
        EXPECT_EQ(verifier.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"),
                  std::string::npos)
            << verifier;
        seen.insert(verifier);
    }
    EXPECT_EQ(seen.size(), 4u);
}

TEST(PKCE, ChallengeOfTheRfc7636Example) {
    EXPECT_EQ(PKCE::challenge("dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk"), "E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM");
}

TEST(FormBody, PercentEncodesOutsideLettersMarksNumbersAndFourMarks) {
    struct Case { std::string in, out; };
    const Case cases[] = {
        {"orvella://spotify-callback", "orvella%3A%2F%2Fspotify-callback"},
        {"a-b.c_d~e", "a-b.c_d~e"},
        {"a b+c&d=e", "a%20b%2Bc%26d%3De"},
        {"caf\xC3\xA9 \xE2\x91\xA0", "caf\xC3\xA9%20\xE2\x91\xA0"},  // letters and numbers beyond ASCII stay
        {"\xF0\x9F\x8E\xB5", "%F0%9F%8E%B5"},                         // a symbol does not
        {"x\xFFy", "x%FFy"},                                          // a stray byte is escaped
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(formPercentEncoded(c.in), c.out) << c.in;
    // Fields are sorted whole, after encoding.
    EXPECT_EQ(formBody({{"a", "2"}, {"a b", "1"}, {"B", "x"}}), "B=x&a%20b=1&a=2");
}

TEST(TokenReply, ReadsGrantsAndRefusesEverythingElse) {
    using Result = std::expected<SpotifyTokenSet, SpotifyBridgeError>;
    auto ok = [](std::string access, std::optional<std::string> refresh, std::int64_t expiresIn) {
        return Result(SpotifyTokenSet{std::move(access), std::move(refresh), expiresIn});
    };
    auto refused = [](const char* text) { return Result(std::unexpected(SpotifyBridgeError::authorizationFailed(text))); };
    struct Case { int status; std::string body; Result expected; };
    const Case cases[] = {
        {200, R"({"access_token":"A","refresh_token":"R","expires_in":1800})", ok("A", "R", 1800)},
        {200, R"({"access_token":"A"})", ok("A", std::nullopt, 3600)},
        {200, R"({"access_token":"A","expires_in":59.9})", ok("A", std::nullopt, 59)},
        {200, R"({"access_token":"A","expires_in":"3600"})", ok("A", std::nullopt, 3600)},
        {200, R"({"access_token":"A","expires_in":1e300})", ok("A", std::nullopt, 3600)},
        {200, R"({"access_token":"A","refresh_token":7})", ok("A", std::nullopt, 3600)},
        {201, R"({"access_token":"A"})", ok("A", std::nullopt, 3600)},
        {200, R"({"token_type":"Bearer"})", refused("token HTTP 200")},
        {200, R"({"access_token":5})", refused("token HTTP 200")},
        {200, R"(["access_token"])", refused("token HTTP 200")},
        {200, "not json", refused("token HTTP 200")},
        // A token is sent back as a credential, so one the parser would have to mend is refused.
        {200, R"({"access_token":"A\ud83d"})", refused("token HTTP 200")},
        {200, R"({"access_token":"A","refresh_token":"\ude00R"})", refused("token HTTP 200")},
        {200, R"({"access_token":"A","expires_in":1e400})", refused("token HTTP 200")},
        {200, R"({"access_token":"A\ud83d\ude00"})", ok("A\xF0\x9F\x98\x80", std::nullopt, 3600)},
        {400, R"({"access_token":"A"})", refused("token HTTP 400")},
        {500, "", refused("token HTTP 500")},
    };
    for (const auto& c : cases) EXPECT_EQ(parseTokenReply(c.status, c.body), c.expected) << c.status << " " << c.body;
}
