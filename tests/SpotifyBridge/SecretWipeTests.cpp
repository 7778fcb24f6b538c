#include <gtest/gtest.h>

#include <vector>

#include "SpotifyBridge/Secret.h"

using namespace orvel;

TEST(SecretWipe, EmptiesEveryStringOfADocumentHoweverDeep) {
    struct Case {
        const char* document;
        const char* wiped;
    };
    const std::vector<Case> cases = {
        {R"("token")", R"("")"},
        {R"({"accessToken":"a","expiry":3.5,"ok":true,"none":null})", R"({"accessToken":"","expiry":3.5,"none":null,"ok":true})"},
        {R"({"outer":[{"refresh":"r"},["x",1,"y"]],"name":"n"})", R"({"name":"","outer":[{"refresh":""},["",1,""]]})"},
    };
    for (const Case& c : cases) {
        Json document = Json::parse(c.document);
        secret::wipe(document);
        EXPECT_EQ(document, Json::parse(c.wiped)) << c.document;
    }
}
