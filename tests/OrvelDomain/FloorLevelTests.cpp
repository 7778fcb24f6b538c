#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "OrvelDomain/FloorLevel.h"
#include "OrvelDomain/RoomCoordinate.h"

using namespace orvel;

namespace {
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}

TEST(RoomCoordinate, ClampingEveryAxis) {
    struct Case { double x, y, ex, ey; };
    const Case cases[] = {
        {kNaN, 2.0, 0.5, 1.0},  {-0.0, 1.0, 0.0, 1.0}, {kInf, -kInf, 0.5, 0.5},
        {0.25, 1e-300, 0.25, 1e-300}, {-3, 0.999, 0.0, 0.999},
    };
    for (const auto& c : cases) {
        auto coordinate = RoomCoordinate::clamping(c.x, c.y);
        EXPECT_EQ(coordinate.x(), c.ex) << c.x;
        EXPECT_EQ(coordinate.y(), c.ey) << c.y;
        EXPECT_FALSE(std::signbit(coordinate.x()));
    }
}

TEST(RoomCoordinate, JsonClampsAndRequiresBothAxes) {
    EXPECT_EQ(RoomCoordinate::clamping(0.25, 0.75).toJson().dump(), R"({"x":0.25,"y":0.75})");
    auto read = RoomCoordinate::fromJson(*json::parse(R"({"x": 1.5, "y": -2})"));
    ASSERT_TRUE(read);
    EXPECT_EQ(*read, RoomCoordinate::clamping(1.0, 0.0));
    // A document built in memory can hold what text cannot: a non-finite axis clamps too.
    Json infinite = Json::object();
    infinite["x"] = kInf;
    infinite["y"] = 0.5;
    auto huge = RoomCoordinate::fromJson(infinite);
    ASSERT_TRUE(huge);
    EXPECT_EQ(huge->x(), 0.5);

    auto missing = RoomCoordinate::fromJson(*json::parse(R"({"x": 0.3})"));
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().kind, DecodingError::Kind::keyNotFound);
    EXPECT_EQ(RoomCoordinate::fromJson(*json::parse(R"({"x": "0.3", "y": 0})")).error().kind,
              DecodingError::Kind::typeMismatch);
    EXPECT_FALSE(RoomCoordinate::fromJson(*json::parse(R"([0.3, 0.4])")));
    EXPECT_EQ(std::hash<RoomCoordinate>{}(*read), std::hash<RoomCoordinate>{}(RoomCoordinate::clamping(1, 0)));
}

TEST(FloorLevel, IdsOrderAndJson) {
    EXPECT_EQ(FloorLevel::lower().id(), "-1-Lower Floor");
    EXPECT_EQ(FloorLevel::numbered(-2).id(), "-2-Floor -2");
    EXPECT_EQ(FloorLevel::top().id(), "2-Top Floor");
    EXPECT_LT(FloorLevel::lower(), FloorLevel::main());
    EXPECT_LT(FloorLevel::main(), FloorLevel::upper());
    EXPECT_LT(FloorLevel::upper(), FloorLevel::top());
    EXPECT_LT(FloorLevel::numbered(1), FloorLevel::upper());
    EXPECT_NE(FloorLevel::numbered(1), FloorLevel::upper());

    EXPECT_EQ(FloorLevel::lower().toJson().dump(), R"({"rank":-1,"title":"Lower Floor"})");
    EXPECT_EQ(*FloorLevel::fromJson(FloorLevel::numbered(7).toJson()), FloorLevel::numbered(7));
    EXPECT_FALSE(FloorLevel::fromJson(*json::parse(R"({"rank": 1.5, "title": "x"})")));
    EXPECT_FALSE(FloorLevel::fromJson(*json::parse(R"({"rank": 1})")));
}

TEST(FloorLevel, ElevationTiers) {
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
}

TEST(FloorLevel, ClassifyNeverGivesMainOrNumbered) {
    struct Case { const char* name; FloorLevel level; };
    const Case cases[] = {
        {"Kitchen", FloorLevel::upper()},  {"Floor 1", FloorLevel::upper()},
        {"Floor 2", FloorLevel::upper()},  {"Loft", FloorLevel::upper()},
        {"Garage", FloorLevel::lower()},   {"Floor 0", FloorLevel::lower()},
        {"Attic", FloorLevel::top()},      {"Floor 12", FloorLevel::top()},
    };
    for (const auto& c : cases) EXPECT_EQ(FloorLevel::classify(c.name), c.level) << c.name;
}

TEST(FloorLevel, LongHostileNamesStayLinear) {
    std::string name;
    for (int i = 0; i < 20000; ++i) name += "floor      ";
    EXPECT_EQ(FloorLevel::semanticElevationTier(name), 0);
    EXPECT_EQ(FloorLevel::semanticElevationTier(name + "level 4"), 3);
}
