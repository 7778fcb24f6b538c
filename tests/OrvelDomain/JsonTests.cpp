#include <gtest/gtest.h>

#include "OrvelDomain/Json.h"

using namespace orvel;

TEST(Json, IntegersMustBeIntegralAndInRange) {
    struct Case { const char* text; bool ok; std::int64_t value; };
    const Case cases[] = {
        {"35", true, 35}, {"35.0", true, 35}, {"35.5", false, 0}, {"-1", false, 0},
        {"101", false, 0}, {"\"35\"", false, 0}, {"1e300", false, 0}, {"true", false, 0},
    };
    for (const auto& c : cases) {
        auto parsed = json::parse(c.text);
        ASSERT_TRUE(parsed) << c.text;
        auto r = json::decodeInteger(*parsed, 0, 100);
        EXPECT_EQ(r.has_value(), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(*r, c.value);
        }
    }
    auto huge = json::parse("18446744073709551615");
    EXPECT_FALSE(json::decodeInteger(*huge));
    EXPECT_EQ(*json::decodeUnsigned(*huge), UINT64_MAX);
    EXPECT_FALSE(json::decodeUnsigned(*json::parse("-3")));
}

TEST(Json, MembersRequiredOptionalAndNull) {
    auto object = *json::parse(R"({"a":"x","n":null,"d":1.5})");
    EXPECT_EQ(*json::requiredString(object, "a"), "x");
    EXPECT_EQ(json::requiredString(object, "missing").error().kind, DecodingError::Kind::keyNotFound);
    EXPECT_EQ(json::requiredString(object, "n").error().kind, DecodingError::Kind::valueNotFound);
    EXPECT_EQ(*json::optionalString(object, "n"), std::nullopt);
    EXPECT_EQ(*json::optionalString(object, "missing"), std::nullopt);
    EXPECT_EQ(json::requiredString(object, "d").error().kind, DecodingError::Kind::typeMismatch);
    EXPECT_EQ(json::requiredString(object, "d").error().path, "d");
    EXPECT_DOUBLE_EQ(*json::requiredDouble(object, "d"), 1.5);
    EXPECT_FALSE(json::requiredString(Json::array(), "a"));
}

TEST(Json, TaggedVariantsNeedExactlyOneKnownCase) {
    const char* bad[] = {R"({})", R"({"a":{},"b":{}})", R"({"other":{}})"};
    for (auto text : bad) {
        auto r = json::decodeTagged(*json::parse(text), {"a", "b"});
        ASSERT_FALSE(r) << text;
        EXPECT_EQ(r.error().description, "Invalid number of keys found, expected one.");
        EXPECT_EQ(r.error().kind, DecodingError::Kind::typeMismatch);
    }
    auto ok = json::decodeTagged(*json::parse(R"({"b":{"x":1},"ignored":2})"), {"a", "b"});
    ASSERT_TRUE(ok);
    EXPECT_EQ(ok->name, "b");
    EXPECT_EQ(json::tagged("a").dump(), R"({"a":{}})");
}

TEST(Json, InvalidTextIsDataCorrupted) {
    auto r = json::parse("{nope");
    ASSERT_FALSE(r);
    EXPECT_EQ(r.error().kind, DecodingError::Kind::dataCorrupted);
}
