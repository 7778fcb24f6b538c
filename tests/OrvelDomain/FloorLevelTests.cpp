#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "TopologyFixtures.h"
#include "OrvelDomain/FloorLevel.h"
#include "OrvelDomain/RoomCoordinate.h"
#include "OrvelDomain/RoomNaming.h"

using namespace orvel;
using orvel::testing::kInf;
using orvel::testing::kNaN;

TEST(RoomCoordinate, ClampsEveryAxisInMemoryAndFromJson) {
    struct Case { double x, y, ex, ey; };
    const Case cases[] = {
        {kNaN, 2.0, 0.5, 1.0}, {-0.0, 1.0, 0.0, 1.0}, {kInf, -kInf, 0.5, 0.5}, {0.25, 1e-300, 0.25, 1e-300}, {-3, 0.999, 0.0, 0.999},
    };
    for (const auto& c : cases) {
        auto coordinate = RoomCoordinate::clamping(c.x, c.y);
        EXPECT_EQ(coordinate.x(), c.ex) << c.x;
        EXPECT_EQ(coordinate.y(), c.ey) << c.y;
        EXPECT_FALSE(std::signbit(coordinate.x()));
    }
    EXPECT_EQ(RoomCoordinate::clamping(0.25, 0.75).toJson().dump(), R"({"x":0.25,"y":0.75})");
    EXPECT_EQ(*RoomCoordinate::fromJson(*json::parse(R"({"x": 1.5, "y": -2})")), RoomCoordinate::clamping(1.0, 0.0));
    // A document built in memory can hold what text cannot: a non-finite axis clamps too.
    EXPECT_EQ(RoomCoordinate::fromJson(Json{{"x", kInf}, {"y", 0.5}})->x(), 0.5);
    EXPECT_EQ(RoomCoordinate::fromJson(*json::parse(R"({"x": 0.3})")).error().kind, DecodingError::Kind::keyNotFound);
    EXPECT_EQ(RoomCoordinate::fromJson(*json::parse(R"({"x": "0.3", "y": 0})")).error().kind,
              DecodingError::Kind::typeMismatch);
    EXPECT_FALSE(RoomCoordinate::fromJson(*json::parse(R"([0.3, 0.4])")));
}

TEST(FloorLevel, ElevationTiersFromRoomNames) {
    struct Case { std::string name; std::int64_t tier; };
    const Case cases[] = {
        {"Kitchen", 0},
        {"Upstairs Hall", 1},
        {"Attic", 2},
        {"Garden", -1},           // "den" inside a longer word
        {"Supper Room", 1},       // "upper" inside a longer word
        {"Second Floor", 1},
        {"3rd Floor", 2},         // no digits after "floor": the keyword decides
        {"FLOOR2", 1},
        {"Level 3", 2},
        {"Level 35", 34},
        {"Floor 0", -1},
        {"Floor 12", 11},
        {"Basement Level 1", 0},  // the number wins over "basement"
        {"Top Floor Den", 2},     // the top table is tested before the lower one
        {"Floor " + std::string(20, '9'), 0},  // does not fit in 64 bits; no keyword
        {"Floor 9223372036854775807", 9223372036854775806},
        {"Floor 9223372036854775808", 0},
        {"Floors 4", 0},           // the digits must follow "floor" directly or after space
        {"Subfloor\t\n 4", 3},     // match inside a word, white space of any kind
        {"Floorlevel 2", 1},       // "floor" has no digits; "level 2" is the leftmost match
        {"Floor 007", 6},
        {"", 0},
        {"Guest Rec Room", -1},
        {"Floor \xD9\xA1", 0},     // an Arabic-Indic digit is no readable number
        {"Level \xD9\xA1 Den", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(FloorLevel::semanticElevationTier(c.name), c.tier) << c.name;

    struct Classified { const char* name; FloorLevel level; };
    const Classified classified[] = {
        {"Kitchen", FloorLevel::upper()}, {"Floor 1", FloorLevel::upper()}, {"Floor 2", FloorLevel::upper()},
        {"Loft", FloorLevel::upper()},    {"Garage", FloorLevel::lower()},  {"Floor 0", FloorLevel::lower()},
        {"Attic", FloorLevel::top()},     {"Floor 12", FloorLevel::top()},
    };
    for (const auto& c : classified) EXPECT_EQ(FloorLevel::classify(c.name), c.level) << c.name;

    // A long hostile name is read in linear time.
    std::string hostile;
    for (int i = 0; i < 20000; ++i) hostile += "floor      ";
    EXPECT_EQ(FloorLevel::semanticElevationTier(hostile), 0);
    EXPECT_EQ(FloorLevel::semanticElevationTier(hostile + "level 4"), 3);
}

TEST(RoomNaming, ShortNames) {
    struct Case { const char* name; bool merged; const char* expected; };
    const Case cases[] = {
        {"Living Room Speaker", false, "Living Room"}, {"Living Room Speaker", true, "Living"},
        {"Arc Soundbar", false, "Arc"},               {"TV Room Speaker Soundbar", false, "TV Room Speaker"},
        {" Speaker", false, " Speaker"},              {"Speaker", false, "Speaker"},
        {"Room", true, "Room"},                       {" Room", true, " Room"},
        {"Kitchen speaker", false, "Kitchen speaker"}, {"Guest Room Soundbar", true, "Guest"},
        {"Office Speaker Speaker", false, "Office Speaker"},  // only one suffix goes
    };
    for (const auto& c : cases) EXPECT_EQ(RoomNaming::shortName(c.name, c.merged), c.expected) << c.name;
}

TEST(RoomNaming, GroupNames) {
    struct Case { const char* coordinator; std::vector<std::string> members; std::int64_t count; const char* expected; };
    const Case cases[] = {
        {"Kitchen Speaker", {}, 7, "Kitchen"},
        {"Kitchen", {"Office"}, 2, "Everywhere"},
        {"Kitchen", {"Office"}, 1, "Kitchen + Office"},
        {"Kitchen", {"Office"}, 3, "Kitchen + Office"},
        {"Office", {"Living Room", "Kitchen"}, 5, "Office + Kitchen + Living"},
        {"Guest Room", {"Guest Speaker"}, 5, "Guest Room + Guest"},
        {"Den", {"Office", "Bath", "Kitchen"}, 9, "Den + Bath + 2 more"},
        {"Den", {"Bath", "Kitchen", "Office", "Patio"}, 9, "Den + Bath + 3 more"},
        {"Den", {"Den"}, 5, "Den + Den"},
        {"Zen", {"Bath"}, INT64_MAX, "Zen + Bath"},
        {"Zen", {"Bath"}, INT64_MIN, "Zen + Bath"},
    };
    for (const auto& c : cases) EXPECT_EQ(RoomNaming::groupName(c.coordinator, c.members, c.count), c.expected) << c.coordinator;
}
