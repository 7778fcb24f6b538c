#include <gtest/gtest.h>

#include <limits>

#include "OrvelDomain/RFPeerMatrix.h"

using namespace orvel;

namespace {

using Band = RFPeerMatrix::Band;

const SpeakerUUID A = *SpeakerUUID::make("RINCON_00000000000A01400");
const SpeakerUUID B = *SpeakerUUID::make("RINCON_00000000000B01400");
const SpeakerUUID C = *SpeakerUUID::make("RINCON_00000000000C01400");

RFPeerMatrix recorded(std::initializer_list<std::tuple<SpeakerUUID, SpeakerUUID, int, int>> readings) {
    RFPeerMatrix m = RFPeerMatrix::empty();
    for (const auto& [a, b, from, to] : readings) m.record(a, b, from, to);
    return m;
}

TEST(RFPeerMatrix, IgnoredReadingsChangeNothing) {
    struct Case { const char* name; SpeakerUUID a, b; std::int64_t from, to; };
    const Case cases[] = {
        {"speaker with itself", A, A, 50, 50},
        {"nothing heard", A, B, 0, 0},
        {"negative and zero", A, B, -40, 0},
        {"smallest integers", A, B, std::numeric_limits<std::int64_t>::min(), -1},
    };
    RFPeerMatrix base = recorded({{A, C, 30, 0}});
    for (const auto& c : cases) {
        RFPeerMatrix m = base;
        m.record(c.a, c.b, c.from, c.to);
        EXPECT_EQ(m, base) << c.name;
    }
}

TEST(RFPeerMatrix, BandThresholds) {
    struct Case { std::int64_t from, to; Band band; std::int64_t strength; };
    const Case cases[] = {
        {-40, 1, Band::weak, 1},          {19, 0, Band::weak, 19},      {0, 20, Band::moderate, 20},
        {34, 34, Band::moderate, 34},     {35, -1, Band::strong, 35},
        {std::numeric_limits<std::int64_t>::max(), 0, Band::strong, std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& c : cases) {
        RFPeerMatrix m = recorded({});
        m.record(A, B, c.from, c.to);
        EXPECT_EQ(m.band(A, B), c.band) << c.from << "/" << c.to;
        EXPECT_EQ(m.strength(A, B), c.strength) << c.from << "/" << c.to;
    }
}

TEST(RFPeerMatrix, KeepsStrongestReadingOfUnorderedPairs) {
    RFPeerMatrix forward = recorded({{A, B, 10, 40}, {B, A, 25, 5}});
    RFPeerMatrix backward = recorded({{B, A, 25, 5}, {A, B, 10, 40}});
    EXPECT_EQ(forward.band(A, B), Band::strong);
    EXPECT_EQ(forward.strength(B, A), 40);
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(std::hash<RFPeerMatrix>{}(forward), std::hash<RFPeerMatrix>{}(backward));

    RFPeerMatrix rising = recorded({{A, B, 5, 5}, {A, B, 30, 0}});
    EXPECT_EQ(rising.band(A, B), Band::moderate);
    EXPECT_EQ(rising.strength(A, B), 30);

    EXPECT_EQ(rising.band(B, A), rising.band(A, B));
    EXPECT_EQ(rising.band(A, A), std::nullopt);
    EXPECT_EQ(rising.band(A, C), std::nullopt);
    EXPECT_EQ(rising.strength(A, C), std::nullopt);
}

TEST(RFPeerMatrix, BandRawValues) {
    EXPECT_EQ(RFPeerMatrix::bandWithRawValue(1), Band::weak);
    EXPECT_EQ(RFPeerMatrix::bandWithRawValue(3), Band::strong);
    EXPECT_EQ(RFPeerMatrix::bandWithRawValue(0), std::nullopt);
    EXPECT_EQ(RFPeerMatrix::bandWithRawValue(4), std::nullopt);
    EXPECT_LT(Band::weak, Band::moderate);
    EXPECT_LT(Band::moderate, Band::strong);
}

TEST(RFPeerMatrix, JsonForm) {
    RFPeerMatrix m = recorded({{B, A, 18, 27}});
    const std::string pair = R"({"high":"RINCON_00000000000B01400","low":"RINCON_00000000000A01400"})";
    EXPECT_EQ(m.toJson().dump(), R"({"bands":[)" + pair + R"(,2],"strengths":[)" + pair + ",27]}");
    EXPECT_EQ(RFPeerMatrix::fromJson(m.toJson()), m);

    RFPeerMatrix several = recorded({{A, B, 40, 0}, {C, A, 3, 0}, {B, C, 22, 21}});
    EXPECT_EQ(RFPeerMatrix::fromJson(*json::parse(several.toJson().dump())), several);

    EXPECT_EQ(RFPeerMatrix::empty().toJson().dump(), R"({"bands":[],"strengths":[]})");
    EXPECT_EQ(RFPeerMatrix::fromJson(*json::parse(R"({"strengths":[],"bands":[],"other":1})")),
              RFPeerMatrix::empty());
}

TEST(RFPeerMatrix, JsonIsTakenAsWritten) {
    const std::string a = R"("RINCON_00000000000A01400")";
    const std::string b = R"("RINCON_00000000000B01400")";
    // Low and high swapped: stored, but no lookup forms that pair.
    auto swapped = RFPeerMatrix::fromJson(*json::parse(
        R"({"bands":[{"low":)" + b + R"(,"high":)" + a + R"(},3],"strengths":[{"low":)" + b + R"(,"high":)" + a +
        "},50]}"));
    ASSERT_TRUE(swapped);
    EXPECT_NE(*swapped, RFPeerMatrix::empty());
    EXPECT_EQ(swapped->band(A, B), std::nullopt);
    EXPECT_EQ(swapped->strength(B, A), std::nullopt);

    // A pair listed twice keeps its later value; bands are not re-derived from strengths; the two
    // maps need not hold the same pairs.
    auto mixed = RFPeerMatrix::fromJson(*json::parse(
        R"({"bands":[{"low":)" + a + R"(,"high":)" + b + R"(},3,{"low":)" + a + R"(,"high":)" + b +
        R"(},1],"strengths":[]})"));
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->band(A, B), Band::weak);
    EXPECT_EQ(mixed->strength(A, B), std::nullopt);
}

TEST(RFPeerMatrix, JsonReadingFails) {
    const std::string pair = R"({"low":"RINCON_00000000000A01400","high":"RINCON_00000000000B01400"})";
    struct Case { const char* name; std::string text; DecodingError::Kind kind; std::string description; };
    const Case cases[] = {
        {"odd-length array", R"({"bands":[)" + pair + ",2," + pair + R"(],"strengths":[]})",
         DecodingError::Kind::dataCorrupted,
         "Expected collection of key-value pairs; encountered odd-length array instead."},
        {"odd-length strengths", R"({"bands":[],"strengths":[)" + pair + "]}",
         DecodingError::Kind::dataCorrupted,
         "Expected collection of key-value pairs; encountered odd-length array instead."},
        {"missing strengths", R"({"bands":[]})", DecodingError::Kind::keyNotFound,
         "No value associated with key \"strengths\"."},
        {"missing bands", R"({"strengths":[]})", DecodingError::Kind::keyNotFound,
         "No value associated with key \"bands\"."},
        {"band 0", R"({"bands":[)" + pair + R"(,0],"strengths":[]})", DecodingError::Kind::dataCorrupted,
         "Cannot initialize Band from invalid Int value 0"},
        {"band 4", R"({"bands":[)" + pair + R"(,4],"strengths":[]})", DecodingError::Kind::dataCorrupted,
         "Cannot initialize Band from invalid Int value 4"},
        {"band 2.5", R"({"bands":[)" + pair + R"(,2.5],"strengths":[]})", DecodingError::Kind::dataCorrupted,
         "Parsed JSON number <2.5> does not fit."},
        {"band as text", R"({"bands":[)" + pair + R"(,"2"],"strengths":[]})", DecodingError::Kind::typeMismatch,
         "Expected to decode Int but found string instead."},
        {"bad identifier", R"({"bands":[{"low":"RINCON_a","high":"RINCON_00000000000B01400"},1],"strengths":[]})",
         DecodingError::Kind::dataCorrupted, "Not a RINCON id: RINCON_a"},
        {"pair without high", R"({"bands":[{"low":"RINCON_00000000000A01400"},1],"strengths":[]})",
         DecodingError::Kind::keyNotFound, "No value associated with key \"high\"."},
        {"pair as text", R"({"bands":["RINCON_00000000000A01400",1],"strengths":[]})",
         DecodingError::Kind::typeMismatch, "Expected to decode Dictionary but found string instead."},
        {"bands as object", R"({"bands":{},"strengths":[]})", DecodingError::Kind::typeMismatch,
         "Expected to decode Array but found object instead."},
        {"strength beyond 64 bits", R"({"bands":[],"strengths":[)" + pair + ",1e30]}",
         DecodingError::Kind::dataCorrupted, "Parsed JSON number <1e+30> does not fit."},
        {"not an object", "[]", DecodingError::Kind::typeMismatch,
         "Expected to decode Dictionary but found array instead."},
    };
    for (const auto& c : cases) {
        auto parsed = json::parse(c.text);
        ASSERT_TRUE(parsed) << c.name;
        auto read = RFPeerMatrix::fromJson(*parsed);
        ASSERT_FALSE(read) << c.name;
        EXPECT_EQ(read.error().kind, c.kind) << c.name;
        EXPECT_EQ(read.error().description, c.description) << c.name;
    }
    auto nested = RFPeerMatrix::fromJson(*json::parse(R"({"bands":[)" + pair + R"(,9],"strengths":[]})"));
    EXPECT_EQ(nested.error().path, "bands/1");
}

}  // namespace
