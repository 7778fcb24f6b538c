#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "OrvelDomain/Date.h"
#include "OrvelDomain/Duration.h"
#include "OrvelDomain/Uuid.h"

using namespace orvel;

TEST(Date, ReferenceDateAndUnixConversion) {
    EXPECT_DOUBLE_EQ(Date::fromUnix(978307200.0).secondsSinceReferenceDate(), 0.0);
    auto d = Date::sinceReferenceDate(123.25);
    EXPECT_DOUBLE_EQ(d.unixSeconds(), 978307323.25);
    EXPECT_EQ(*Date::fromJson(d.toJson()), d);
    EXPECT_DOUBLE_EQ(d.addingSeconds(2).secondsSince(d), 2.0);
    EXPECT_FALSE(Date::fromJson("x"));
    auto sys = Date::fromSystemClock(d.toSystemClock());
    EXPECT_NEAR(sys.secondsSinceReferenceDate(), 123.25, 1e-6);
}

TEST(Duration, JsonIsHighAndLowHalves) {
    struct Case { Duration value; const char* json; };
    const Case cases[] = {
        {Duration::seconds(std::int64_t{0}), "[0,0]"},
        {Duration::seconds(std::int64_t{1}), "[0,1000000000000000000]"},
        {Duration::seconds(std::int64_t{-1}), "[-1,17446744073709551616]"},
        {Duration::seconds(std::int64_t{20}), "[1,1553255926290448384]"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.value.toJson().dump(), c.json);
        EXPECT_EQ(*Duration::fromJson(*json::parse(c.json)), c.value) << c.json;
    }
    EXPECT_FALSE(Duration::fromJson(*json::parse("[1]")));
    EXPECT_FALSE(Duration::fromJson(*json::parse("[1,-2]")));
    EXPECT_FALSE(Duration::fromJson(*json::parse("[1.5,2]")));
}

TEST(Duration, DoubleConversionNeverOverflows) {
    EXPECT_DOUBLE_EQ(Duration::seconds(1.5).inSeconds(), 1.5);
    EXPECT_DOUBLE_EQ(Duration::seconds(-2.25).inSeconds(), -2.25);
    EXPECT_EQ(Duration::seconds(std::nan("")), Duration());
    EXPECT_EQ(Duration::seconds(std::numeric_limits<double>::infinity()), Duration());
    EXPECT_GT(Duration::seconds(1e300), Duration::seconds(1e20));
    EXPECT_LT(Duration::seconds(-1e300), Duration());
    EXPECT_EQ(Duration::milliseconds(1500).toChrono(), std::chrono::milliseconds(1500));
}

TEST(Uuid, RandomIsUpperCaseVersion4AndCanonicalAcceptsEitherCase) {
    auto a = uuid::randomString();
    EXPECT_EQ(a.size(), 36u);
    EXPECT_EQ(a[14], '4');
    EXPECT_EQ(uuid::canonical(a), a);
    EXPECT_NE(a, uuid::randomString());
    EXPECT_EQ(uuid::canonical("e621e1f8-c36c-495a-93fc-0c247a3e6e5f"), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(uuid::canonical("e621e1f8c36c495a93fc0c247a3e6e5f"), std::nullopt);
    EXPECT_EQ(uuid::canonical("G621E1F8-C36C-495A-93FC-0C247A3E6E5F"), std::nullopt);
}
