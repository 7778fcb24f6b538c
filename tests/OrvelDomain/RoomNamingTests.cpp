#include <gtest/gtest.h>

#include "OrvelDomain/RoomNaming.h"

using namespace orvel;

TEST(RoomNaming, ShortName) {
    struct Case { const char* name; bool merged; const char* expected; };
    const Case cases[] = {
        {"Living Room Speaker", false, "Living Room"},
        {"Living Room Speaker", true, "Living"},
        {"Arc Soundbar", false, "Arc"},
        {"TV Room Speaker Soundbar", false, "TV Room Speaker"},
        {" Speaker", false, " Speaker"},
        {"Speaker", false, "Speaker"},
        {"Room", true, "Room"},
        {" Room", true, " Room"},
        {"Kitchen speaker", false, "Kitchen speaker"},
        {"Guest Room Soundbar", true, "Guest"},
        {"Office Speaker Speaker", false, "Office Speaker"},  // only one suffix goes
    };
    for (const auto& c : cases) EXPECT_EQ(RoomNaming::shortName(c.name, c.merged), c.expected) << c.name;
}

TEST(RoomNaming, GroupName) {
    struct Case {
        const char* coordinator;
        std::vector<std::string> members;
        std::int64_t count;
        const char* expected;
    };
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
    for (const auto& c : cases) {
        EXPECT_EQ(RoomNaming::groupName(c.coordinator, c.members, c.count), c.expected) << c.coordinator;
    }
}
