#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <unordered_set>

#include "OrvelDomain/DiscreteVolume.h"
#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelDomain/VolumeTarget.h"

using namespace orvel;

TEST(SpeakerUUID, Validity) {
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
}

TEST(SpeakerUUID, JsonAndKeyedMaps) {
    auto bad = SpeakerUUID::fromJson(Json("RINCON_abc"));
    ASSERT_FALSE(bad);
    EXPECT_EQ(bad.error().description, "Not a RINCON id: RINCON_abc");
    EXPECT_EQ(bad.error().kind, DecodingError::Kind::dataCorrupted);
    EXPECT_EQ(SpeakerUUID::fromJson(Json(5)).error().kind, DecodingError::Kind::typeMismatch);

    auto id = *SpeakerUUID::make("RINCON_0123456789AB01400");
    std::map<SpeakerUUID, DiscreteVolume> map{{id, DiscreteVolume::snappingPercent(30)}};
    Json encoded = speakerMapToJson(map, &DiscreteVolume::toJson);
    EXPECT_EQ(encoded.dump(), R"({"RINCON_0123456789AB01400":30})");
    EXPECT_EQ(*speakerMapFromJson(encoded, DiscreteVolume::fromJson), map);
    EXPECT_FALSE(speakerMapFromJson(*json::parse(R"({"kitchen":30})"), DiscreteVolume::fromJson));
    EXPECT_FALSE(speakerMapFromJson(*json::parse(R"({"RINCON_0123456789AB01400":101})"), DiscreteVolume::fromJson));
}

TEST(GroupIDAndVolumeTarget, EqualityAndHashing) {
    auto id = *SpeakerUUID::make("RINCON_0123456789AB01400");
    EXPECT_EQ(GroupID(id), GroupID(id));
    EXPECT_EQ(std::hash<GroupID>{}(GroupID(id)), std::hash<GroupID>{}(GroupID(id)));
    EXPECT_NE(VolumeTarget::speaker(id), VolumeTarget::group(GroupID(id)));
    std::unordered_set<VolumeTarget> targets{VolumeTarget::speaker(id), VolumeTarget::group(GroupID(id))};
    EXPECT_EQ(targets.size(), 2u);
}

TEST(DiscreteVolume, SnappingAndStepping) {
    EXPECT_EQ(DiscreteVolume::snappingPercent(-5).percent(), 0);
    EXPECT_EQ(DiscreteVolume::snappingPercent(150).percent(), 100);
    struct Fraction { double in; int step; };
    const Fraction fractions[] = {
        {0.125, 13}, {0.625, 63}, {0.994, 99}, {1.7, 100}, {-0.2, 0}, {0.0, 0},
        {std::nan(""), 0}, {std::numeric_limits<double>::infinity(), 0},
        {-std::numeric_limits<double>::infinity(), 0},
    };
    for (const auto& f : fractions) EXPECT_EQ(DiscreteVolume::snappingFraction(f.in).percent(), f.step) << f.in;
    EXPECT_EQ(DiscreteVolume::snappingPercent(98).stepped(7).percent(), 100);
    EXPECT_EQ(DiscreteVolume::snappingPercent(50).stepped(-200).percent(), 0);
    EXPECT_EQ(DiscreteVolume::snappingPercent(50).stepped(std::numeric_limits<std::int64_t>::min()).percent(), 0);
    EXPECT_EQ(DiscreteVolume::snappingPercent(50).stepped(std::numeric_limits<std::int64_t>::max()).percent(), 100);
    EXPECT_EQ(DiscreteVolume::make(101), std::nullopt);
    EXPECT_EQ(DiscreteVolume::make(-1), std::nullopt);
    EXPECT_DOUBLE_EQ(DiscreteVolume::snappingPercent(50).fraction(), 0.5);
    EXPECT_EQ(DiscreteVolume::allCases().size(), 101u);
    EXPECT_EQ(DiscreteVolume::allCases().back().percent(), 100);
}

TEST(DiscreteVolume, JsonNeverClamps) {
    EXPECT_EQ(DiscreteVolume::fromJson(Json(35))->percent(), 35);
    EXPECT_FALSE(DiscreteVolume::fromJson(Json(101)));
    EXPECT_FALSE(DiscreteVolume::fromJson(Json(35.5)));
    EXPECT_FALSE(DiscreteVolume::fromJson(Json("35")));
    EXPECT_EQ(DiscreteVolume::snappingPercent(7).toJson().dump(), "7");
}
