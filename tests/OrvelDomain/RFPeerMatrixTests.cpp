#include <gtest/gtest.h>

#include <limits>

#include "OrvelDomain/RFPeerMatrix.h"

using namespace orvel;

namespace {

using Band = RFPeerMatrix::Band;
using Kind = DecodingError::Kind;

const SpeakerUUID A = *SpeakerUUID::make("RINCON_00000000000A01400");
const SpeakerUUID B = *SpeakerUUID::make("RINCON_00000000000B01400");
const SpeakerUUID C = *SpeakerUUID::make("RINCON_00000000000C01400");
const std::string a = R"("RINCON_00000000000A01400")";
const std::string b = R"("RINCON_00000000000B01400")";
const std::string pair = R"({"low":)" + a + R"(,"high":)" + b + "}";

RFPeerMatrix recorded(std::initializer_list<std::tuple<SpeakerUUID, SpeakerUUID, std::int64_t, std::int64_t>> readings) {
    RFPeerMatrix m = RFPeerMatrix::empty();
    for (const auto& [x, y, from, to] : readings) m.record(x, y, from, to);
    return m;
}

TEST(RFPeerMatrix, KeepsTheStrongestPositiveReadingPerUnorderedPair) {
    const RFPeerMatrix base = recorded({{A, C, 30, 0}});
    struct Ignored { const char* name; SpeakerUUID x, y; std::int64_t from, to; };
    const Ignored ignored[] = {
        {"speaker with itself", A, A, 50, 50},
        {"nothing heard", A, B, 0, 0},
        {"negative and zero", A, B, -40, 0},
        {"smallest integers", A, B, std::numeric_limits<std::int64_t>::min(), -1},
    };
    for (const auto& c : ignored) {
        RFPeerMatrix m = base;
        m.record(c.x, c.y, c.from, c.to);
        EXPECT_EQ(m, base) << c.name;
    }

    struct Case { std::int64_t from, to; Band band; std::int64_t strength; };
    const Case cases[] = {
        {-40, 1, Band::weak, 1},      {19, 0, Band::weak, 19},       {0, 20, Band::moderate, 20},
        {34, 34, Band::moderate, 34}, {35, -1, Band::strong, 35},
        {std::numeric_limits<std::int64_t>::max(), 0, Band::strong, std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& c : cases) {
        RFPeerMatrix m = recorded({{A, B, c.from, c.to}});
        EXPECT_EQ(m.band(B, A), c.band) << c.from << "/" << c.to;
        EXPECT_EQ(m.strength(A, B), c.strength) << c.from << "/" << c.to;
    }

    RFPeerMatrix forward = recorded({{A, B, 10, 40}, {B, A, 25, 5}});
    EXPECT_EQ(forward.strength(B, A), 40);
    EXPECT_EQ(forward, recorded({{B, A, 25, 5}, {A, B, 10, 40}}));
    EXPECT_EQ(std::hash<RFPeerMatrix>{}(forward), std::hash<RFPeerMatrix>{}(recorded({{B, A, 25, 5}, {A, B, 10, 40}})));
    EXPECT_EQ(recorded({{A, B, 5, 5}, {A, B, 30, 0}}).band(A, B), Band::moderate);
    EXPECT_EQ(forward.band(A, A), std::nullopt);
    EXPECT_EQ(forward.band(A, C), std::nullopt);
    EXPECT_EQ(forward.strength(A, C), std::nullopt);
    EXPECT_EQ(RFPeerMatrix::bandWithRawValue(3), Band::strong);
    EXPECT_EQ(RFPeerMatrix::bandWithRawValue(0), std::nullopt);
    EXPECT_EQ(RFPeerMatrix::bandWithRawValue(4), std::nullopt);
}

TEST(RFPeerMatrix, JsonFormIsTakenAsWritten) {
    const std::string highB = R"({"high":"RINCON_00000000000B01400","low":"RINCON_00000000000A01400"})";
    RFPeerMatrix m = recorded({{B, A, 18, 27}});
    EXPECT_EQ(m.toJson().dump(), R"({"bands":[)" + highB + R"(,2],"strengths":[)" + highB + ",27]}");
    RFPeerMatrix several = recorded({{A, B, 40, 0}, {C, A, 3, 0}, {B, C, 22, 21}});
    EXPECT_EQ(RFPeerMatrix::fromJson(*json::parse(several.toJson().dump())), several);
    EXPECT_EQ(RFPeerMatrix::empty().toJson().dump(), R"({"bands":[],"strengths":[]})");
    EXPECT_EQ(RFPeerMatrix::fromJson(*json::parse(R"({"strengths":[],"bands":[],"other":1})")), RFPeerMatrix::empty());

    // Low and high swapped: stored, but no lookup forms that pair.
    const std::string swapped = R"({"low":)" + b + R"(,"high":)" + a + "}";
    auto read = RFPeerMatrix::fromJson(*json::parse(R"({"bands":[)" + swapped + R"(,3],"strengths":[)" + swapped + ",50]}"));
    ASSERT_TRUE(read);
    EXPECT_NE(*read, RFPeerMatrix::empty());
    EXPECT_EQ(read->band(A, B), std::nullopt);
    EXPECT_EQ(read->strength(B, A), std::nullopt);

    // A pair listed twice keeps its later value; bands are not derived again from strengths; the
    // two maps need not hold the same pairs.
    auto mixed = RFPeerMatrix::fromJson(*json::parse(R"({"bands":[)" + pair + ",3," + pair + R"(,1],"strengths":[]})"));
    ASSERT_TRUE(mixed);
    EXPECT_EQ(mixed->band(A, B), Band::weak);
    EXPECT_EQ(mixed->strength(A, B), std::nullopt);
}

TEST(RFPeerMatrix, JsonReadingFailsWithItsReason) {
    const std::string oddLength = "Expected collection of key-value pairs; encountered odd-length array instead.";
    const auto bands = [](const std::string& entries) { return R"({"bands":[)" + entries + R"(],"strengths":[]})"; };
    struct Case { const char* name; std::string text; Kind kind; std::string description; };
    const Case cases[] = {
        {"odd-length array", bands(pair + ",2," + pair), Kind::dataCorrupted, oddLength},
        {"odd-length strengths", R"({"bands":[],"strengths":[)" + pair + "]}", Kind::dataCorrupted, oddLength},
        {"missing strengths", R"({"bands":[]})", Kind::keyNotFound, "No value associated with key \"strengths\"."},
        {"missing bands", R"({"strengths":[]})", Kind::keyNotFound, "No value associated with key \"bands\"."},
        {"band 0", bands(pair + ",0"), Kind::dataCorrupted, "Cannot initialize Band from invalid Int value 0"},
        {"band 4", bands(pair + ",4"), Kind::dataCorrupted, "Cannot initialize Band from invalid Int value 4"},
        {"band 2.5", bands(pair + ",2.5"), Kind::dataCorrupted, "Parsed JSON number <2.5> does not fit."},
        {"band as text", bands(pair + R"(,"2")"), Kind::typeMismatch, "Expected to decode Int but found string instead."},
        {"bad identifier", bands(R"({"low":"RINCON_a","high":)" + b + "},1"), Kind::dataCorrupted, "Not a RINCON id: RINCON_a"},
        {"pair without high", bands(R"({"low":)" + a + "},1"), Kind::keyNotFound, "No value associated with key \"high\"."},
        {"pair as text", bands(a + ",1"), Kind::typeMismatch, "Expected to decode Dictionary but found string instead."},
        {"bands as object", R"({"bands":{},"strengths":[]})", Kind::typeMismatch,
         "Expected to decode Array but found object instead."},
        {"strength beyond 64 bits", R"({"bands":[],"strengths":[)" + pair + ",1e30]}", Kind::dataCorrupted,
         "Parsed JSON number <1e+30> does not fit."},
        {"not an object", "[]", Kind::typeMismatch, "Expected to decode Dictionary but found array instead."},
    };
    for (const auto& c : cases) {
        auto read = RFPeerMatrix::fromJson(*json::parse(c.text));
        ASSERT_FALSE(read) << c.name;
        EXPECT_EQ(read.error().kind, c.kind) << c.name;
        EXPECT_EQ(read.error().description, c.description) << c.name;
    }
    EXPECT_EQ(RFPeerMatrix::fromJson(*json::parse(bands(pair + ",9"))).error().path, "bands/1");
}

}  // namespace
