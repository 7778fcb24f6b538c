#include <gtest/gtest.h>

#include "SpotifyBridge/RateLimit.h"
#include "SpotifyBridge/ReplyReading.h"
#include "SpotifyBridge/SpotifyEndpoints.h"

using namespace orvel;

TEST(ReplyReading, IntegersAreCheckedBeforeConversion) {
    struct Case { const char* json; std::optional<std::int64_t> expected; };
    const Case cases[] = {
        {"-42", -42},
        {"2.9", 2},
        {"-2.9", -2},
        {"9223372036854775807", INT64_MAX},
        {"9223372036854775808", std::nullopt},
        {"-9223372036854775808", INT64_MIN},
        {"9.3e18", std::nullopt},
        {"-9.3e18", std::nullopt},
        {"1e300", std::nullopt},
        {"\"3600\"", std::nullopt},
        {"true", std::nullopt},
    };
    for (const auto& c : cases) {
        auto value = reply::parse(c.json);
        ASSERT_TRUE(value.has_value()) << c.json;
        EXPECT_EQ(reply::integer(&*value), c.expected) << c.json;
    }
    EXPECT_EQ(reply::integer(nullptr), std::nullopt);
    // A number beyond the double range costs only itself: it reads as a field that cannot be read.
    const auto huge = reply::parse(R"({"duration_ms":1e400,"progress_ms":5})");
    ASSERT_TRUE(huge);
    EXPECT_EQ(reply::integerMember(*huge, "duration_ms"), std::nullopt);
    EXPECT_EQ(reply::integerMember(*huge, "progress_ms"), 5);
}

TEST(ReplyReading, RetryAfterIsAWholeFiniteNonNegativeNumber) {
    struct Case { std::optional<std::string_view> header; std::optional<double> expected; };
    const Case cases[] = {
        {"30", 30.0},       {"2.5", 2.5},       {"0", 0.0},
        {std::nullopt, {}}, {"", {}},           {" 30", {}},
        {"30 ", {}},        {"-1", {}},         {"+5", {}},
        {"inf", {}},        {"nan", {}},        {"1e999", {}},
        {"0x10", {}},       {"Wed, 21 Oct 2015 07:28:00 GMT", {}},
        {"12abc", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(reply::retryAfterSeconds(c.header), c.expected) << c.header.value_or("<none>");
}

TEST(RateLimit, BackOffDoublesAndRespectsRetryAfterWithinFiveMinutes) {
    struct Case { int previousCount; std::optional<double> retryAfter; int count; double wait; };
    const Case cases[] = {
        {0, 2.0, 1, 5},      {0, 30.0, 1, 30},    {0, std::nullopt, 1, 10}, {1, std::nullopt, 2, 10},
        {2, std::nullopt, 3, 20}, {3, 1.0, 4, 40}, {4, 0.0, 5, 80},          {5, std::nullopt, 6, 160},
        {6, std::nullopt, 6, 160}, {0, 1000.0, 1, 300}, {6, 299.5, 6, 299.5},
    };
    for (const auto& c : cases) {
        const int count = rateLimit::nextConsecutiveCount(c.previousCount);
        EXPECT_EQ(count, c.count);
        EXPECT_EQ(rateLimit::wait(count, c.retryAfter), c.wait) << c.previousCount;
    }
}

TEST(SpotifyEndpoints, OnlyHttpsOrLoopbackHttpOrigins) {
    struct Case { const char* origin; bool accepted; };
    // The private address is refused when the endpoints are made: nothing is ever sent to it.
    const Case cases[] = {
        {"https://api.spotify.com", true}, {"https://api.spotify.com/", true}, {"http://127.0.0.1:8080", true},
        {"http://127.3.4.5:1", true},      {"http://[::1]:99", true},         {"http://api.spotify.com", false},
        {"http://203.0.113.2:80", false},     {"http://localhost:80", false},    {"ftp://127.0.0.1", false},
        {"https://h/v1", false},           {"https://h?x=1", false},          {"https://u:p@h", false},
        {"not a url", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SpotifyEndpoints::make(c.origin, "https://a", "https://b").has_value(), c.accepted) << c.origin;
    }
    const auto local = SpotifyEndpoints::make("http://127.0.0.1:5000", "http://127.0.0.1:5001/", "http://127.0.0.1:5002");
    ASSERT_TRUE(local);
    EXPECT_EQ(local->tokenURL().toString(), "http://127.0.0.1:5000/api/token");
    EXPECT_EQ(local->queueURL().toString(), "http://127.0.0.1:5001/v1/me/player/queue");
    EXPECT_EQ(local->shareLinkAuthority(), "127.0.0.1:5002");
}
