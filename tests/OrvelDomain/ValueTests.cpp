// The small values everything else is built from: identifiers, volumes, JSON readers, text,
// dates and durations.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <limits>

#include "TopologyFixtures.h"
#include "OrvelDomain/Date.h"
#include "OrvelDomain/DiscreteVolume.h"
#include "OrvelDomain/Duration.h"
#include "OrvelDomain/Json.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelDomain/Text.h"

using namespace orvel;
using orvel::testing::kInf;
using orvel::testing::kNaN;
using Kind = DecodingError::Kind;

TEST(SpeakerUUID, ValidityOrderAndJsonKeyedMaps) {
    struct Case { const char* text; bool valid; };
    const Case cases[] = {
        {"RINCON_0123456789AB01400", true},
        {"RINCON_0123456789ab01400", false},   // lower-case hex
        {"RINCON_0123456789AB0140", false},    // 23 characters
        {"RINCON_0123456789AB014000", false},  // 25 characters
        {"rincon_0123456789AB01400", false},
        {"RINCON_0123456789AG01400", false},   // G in the hex part
        {"RINCON_0123456789AB0140A", false},   // A in the decimal part
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(SpeakerUUID::make(c.text).has_value(), c.valid) << c.text;
    auto id = *SpeakerUUID::make("RINCON_0123456789AB01400");
    EXPECT_EQ(id.macHex(), "0123456789AB");
    EXPECT_LT(*SpeakerUUID::make("RINCON_1000000000AA01400"), *SpeakerUUID::make("RINCON_A000000000AA01400"));

    std::map<SpeakerUUID, DiscreteVolume> map{{id, DiscreteVolume::snappingPercent(30)}};
    Json encoded = speakerMapToJson(map, &DiscreteVolume::toJson);
    EXPECT_EQ(encoded.dump(), R"({"RINCON_0123456789AB01400":30})");
    EXPECT_EQ(*speakerMapFromJson(encoded, DiscreteVolume::fromJson), map);
    EXPECT_FALSE(speakerMapFromJson(*json::parse(R"({"kitchen":30})"), DiscreteVolume::fromJson));
    EXPECT_FALSE(speakerMapFromJson(*json::parse(R"({"RINCON_0123456789AB01400":101})"), DiscreteVolume::fromJson));
}

TEST(DiscreteVolume, SnapsAndStepsWithinRange) {
    EXPECT_EQ(DiscreteVolume::snappingPercent(-5).percent(), 0);
    EXPECT_EQ(DiscreteVolume::snappingPercent(150).percent(), 100);
    struct Fraction { double in; int step; };
    const Fraction fractions[] = {{0.125, 13}, {0.625, 63}, {0.994, 99}, {1.7, 100}, {-0.2, 0}, {0.0, 0},
                                  {kNaN, 0},   {kInf, 0},   {-kInf, 0}};
    for (const auto& f : fractions) EXPECT_EQ(DiscreteVolume::snappingFraction(f.in).percent(), f.step) << f.in;
    EXPECT_EQ(DiscreteVolume::snappingPercent(98).stepped(7).percent(), 100);
    EXPECT_EQ(DiscreteVolume::snappingPercent(50).stepped(-200).percent(), 0);
    EXPECT_EQ(DiscreteVolume::snappingPercent(50).stepped(std::numeric_limits<std::int64_t>::min()).percent(), 0);
    EXPECT_EQ(DiscreteVolume::snappingPercent(50).stepped(std::numeric_limits<std::int64_t>::max()).percent(), 100);
    EXPECT_EQ(DiscreteVolume::make(101), std::nullopt);
    EXPECT_EQ(DiscreteVolume::make(-1), std::nullopt);
    EXPECT_DOUBLE_EQ(DiscreteVolume::snappingPercent(50).fraction(), 0.5);
}

TEST(Json, IntegersMustBeIntegralAndInRange) {
    struct Case { const char* text; std::optional<std::int64_t> value; };
    const Case cases[] = {
        {"35", 35}, {"35.0", 35}, {"35.5", {}}, {"-1", {}}, {"101", {}}, {"\"35\"", {}}, {"1e300", {}}, {"true", {}},
    };
    for (const auto& c : cases) {
        auto r = json::decodeInteger(*json::parse(c.text), 0, 100);
        EXPECT_EQ(r ? std::optional(*r) : std::nullopt, c.value) << c.text;
    }
    auto huge = json::parse("18446744073709551615");
    EXPECT_FALSE(json::decodeInteger(*huge));
    EXPECT_EQ(*json::decodeUnsigned(*huge), UINT64_MAX);
    EXPECT_FALSE(json::decodeUnsigned(*json::parse("-3")));
    EXPECT_EQ(json::parse("{nope").error().kind, Kind::dataCorrupted);
}

// Only text every reader takes counts as a document: the parser itself would skip a byte order
// mark and stop at a NUL.
TEST(Json, DocumentsAreOneValueWithNothingElse) {
    using namespace std::string_literals;
    struct Case { std::string text; bool document; };
    const Case cases[] = {
        {"[]", true}, {" {\"a\": [1, \"\\u0000\"]}\n", true}, {"\"x\"", true}, {"", false}, {" ", false},
        {"[] []", false}, {"\xEF\xBB\xBF[]", false}, {"[]\0"s, false}, {"[]\0]"s, false}, {"\0"s, false},
        {"[\"\0\"]"s, false}, {"[] // note", false},
    };
    for (const auto& c : cases) EXPECT_EQ(json::isDocument(c.text), c.document) << c.text;
}

TEST(Text, TrimsUnicodeWhitespaceAndCasesThroughUnicode) {
    struct Case { const char* in; const char* out; };
    const Case cases[] = {
        {"  Kitchen \n", "Kitchen"},
        {"\t\r\nLiving Room\u00A0", "Living Room"},  // no-break space is Zs
        {"\u2028Den\u2029\u0085", "Den"},            // line and paragraph separators, NEL
        {"\u3000Wohnzimmer\u3000", "Wohnzimmer"},     // ideographic space
        {"   ", ""},
        {"a b", "a b"},
        {"\xff x \xfe", "\xff x \xfe"},               // invalid bytes are kept
    };
    for (const auto& c : cases) EXPECT_EQ(text::trimmed(c.in), c.out) << c.in;

    EXPECT_EQ(text::lowercased("ÄRZTE Straße"), "ärzte straße");
    EXPECT_EQ(text::uppercased("straße"), "STRASSE");
    EXPECT_TRUE(text::caseInsensitiveEquals("Küche", "KÜCHE"));
    EXPECT_TRUE(text::caseInsensitiveEquals("STRASSE", "straße"));
    EXPECT_LT(text::caseInsensitiveCompare("apple", "Banana"), 0);
    EXPECT_TRUE(text::caseInsensitiveContains("Upstairs Bedroom", "BED"));
    EXPECT_FALSE(text::caseInsensitiveContains("Bath", "bed"));
    EXPECT_EQ(text::toUtf8(text::toUtf32("a€😀")), "a€😀");
    EXPECT_EQ(text::characterCount("a€😀"), 3u);
    EXPECT_EQ(text::toUtf32("\xC0\x80"), std::u32string(U"\uFFFD\uFFFD"));  // overlong
}

TEST(DateAndDuration, ConversionsAndJson) {
    auto d = Date::sinceReferenceDate(123.25);
    EXPECT_DOUBLE_EQ(Date::fromUnix(d.unixSeconds()).secondsSinceReferenceDate(), 123.25);
    EXPECT_EQ(*Date::fromJson(d.toJson()), d);
    EXPECT_DOUBLE_EQ(d.addingSeconds(2).secondsSince(d), 2.0);
    EXPECT_FALSE(Date::fromJson("x"));
    EXPECT_NEAR(Date::fromSystemClock(d.toSystemClock()).secondsSinceReferenceDate(), 123.25, 1e-6);

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
    for (const char* bad : {"[1]", "[1,-2]", "[1.5,2]"}) EXPECT_FALSE(Duration::fromJson(*json::parse(bad))) << bad;

    // Converting from a double never overflows.
    EXPECT_DOUBLE_EQ(Duration::seconds(1.5).inSeconds(), 1.5);
    EXPECT_DOUBLE_EQ(Duration::seconds(-2.25).inSeconds(), -2.25);
    EXPECT_EQ(Duration::seconds(kNaN), Duration());
    EXPECT_EQ(Duration::seconds(kInf), Duration());
    EXPECT_GT(Duration::seconds(1e300), Duration::seconds(1e20));
    EXPECT_LT(Duration::seconds(-1e300), Duration());
    EXPECT_EQ(Duration::milliseconds(1500).toChrono(), std::chrono::milliseconds(1500));
}
