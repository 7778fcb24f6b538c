#include <gtest/gtest.h>

#include "OrvelUI/shell/LaunchView.h"
#include "ShellFixtures.h"

using namespace orvel;
using orvel::testing::launch;

namespace {

struct FlagCase {
    const char* what;
    LaunchInputs inputs;
    bool expected;
};

}  // namespace

TEST(LaunchView, PhoneLayout) {
    const FlagCase cases[] = {
        {"nothing", launch({}), false},
        {"variable, any case", launch({{"ORVELLA_LAYOUT", "IOS"}}), true},
        {"variable, other value", launch({{"ORVELLA_LAYOUT", "mac"}}), false},
        {"other value, argument decides", launch({{"ORVELLA_LAYOUT", "mac"}}, {"--layout=ios"}), true},
        {"argument, any case", launch({}, {"--LAYOUT=iOS"}), true},
        {"variable padded", launch({{"ORVELLA_LAYOUT", " ios"}}), false},
        {"two-argument form is not one", launch({}, {"--layout", "ios"}), false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.inputs.requestsIOS(), c.expected) << c.what;
}

TEST(LaunchView, QueuePopover) {
    const FlagCase cases[] = {
        {"one", launch({{"ORVELLA_SHOW_QUEUE", "1"}}), true},
        {"true", launch({{"ORVELLA_SHOW_QUEUE", "true"}}), false},
        {"01", launch({{"ORVELLA_SHOW_QUEUE", "01"}}), false},
        {"argument in capitals", launch({}, {"--SHOW-QUEUE"}), true},
        {"variable no, argument yes", launch({{"ORVELLA_SHOW_QUEUE", "0"}}, {"--show-queue"}), true},
        {"nothing", launch({}), false},
    };
    for (const auto& c : cases) EXPECT_EQ(c.inputs.requestsQueuePopover(), c.expected) << c.what;
}

TEST(LaunchView, FirstViewGroup) {
    const FlagCase cases[] = {
        {"variable", launch({{"ORVELLA_INITIAL_VIEW", "Group"}}), true},
        {"joined argument in capitals", launch({}, {"--INITIAL-VIEW=GROUP"}), true},
        {"two arguments, value in any case", launch({}, {"--initial-view", "Group"}), true},
        {"two arguments, option in capitals", launch({}, {"--INITIAL-VIEW", "group"}), false},
        {"option last", launch({}, {"--initial-view"}), false},
        {"only the first occurrence counts", launch({}, {"--initial-view", "living", "--initial-view", "group"}), false},
        {"variable other, argument decides", launch({{"ORVELLA_INITIAL_VIEW", "guest"}}, {"--initial-view=group"}), true},
    };
    for (const auto& c : cases) EXPECT_EQ(c.inputs.requestsGroup(), c.expected) << c.what;
}

TEST(LaunchView, FirstViewRooms) {
    struct Case {
        const char* what;
        LaunchInputs inputs;
        bool living;
        bool guest;
    };
    const Case cases[] = {
        {"variable living", launch({{"ORVELLA_INITIAL_VIEW", "LIVING"}}), true, false},
        {"variable guest", launch({{"ORVELLA_INITIAL_VIEW", "guest"}}), false, true},
        {"joined arguments", launch({}, {"--initial-view=Living", "--initial-view=guest"}), true, true},
        {"no two-argument form", launch({}, {"--initial-view", "living"}), false, false},
        {"no two-argument form for guests", launch({}, {"--initial-view", "guest"}), false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.inputs.requestsLivingRoom(), c.living) << c.what;
        EXPECT_EQ(c.inputs.requestsGuestRoom(), c.guest) << c.what;
    }
}

TEST(LaunchView, CompactTab) {
    struct Case {
        const char* what;
        LaunchInputs inputs;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"variable lower-cased", launch({{"ORVELLA_COMPACT_TAB", "Settings"}}), "settings"},
        {"empty variable, arguments consulted", launch({{"ORVELLA_COMPACT_TAB", ""}}, {"--tab=Rooms"}), "rooms"},
        {"empty variable, nothing else", launch({{"ORVELLA_COMPACT_TAB", ""}}), std::nullopt},
        {"bare --tab= is the empty name", launch({}, {"--tab="}), ""},
        {"capitals", launch({}, {"--TAB=Rooms"}), "rooms"},
        {"first one wins", launch({}, {"--tab=queue", "--tab=rooms"}), "queue"},
        {"variable wins over argument", launch({{"ORVELLA_COMPACT_TAB", "map"}}, {"--tab=rooms"}), "map"},
        {"not trimmed", launch({{"ORVELLA_COMPACT_TAB", " Rooms "}}), " rooms "},
        {"none", launch({}, {"--tab", "rooms"}), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(c.inputs.requestedCompactTab(), c.expected) << c.what;
}

TEST(LaunchView, ColorScheme) {
    struct Case {
        const char* what;
        LaunchInputs inputs;
        std::optional<ColorScheme> expected;
    };
    const auto dark = ColorScheme::dark;
    const auto light = ColorScheme::light;
    const Case cases[] = {
        {"nothing", launch({}), std::nullopt},
        {"variable Dark", launch({{"ORVELLA_APPEARANCE", "Dark"}}), dark},
        {"variable light", launch({{"ORVELLA_APPEARANCE", "light"}}), light},
        {"variable other, arguments decide", launch({{"ORVELLA_APPEARANCE", "Dim"}}, {"--appearance=light"}), light},
        {"variable other alone", launch({{"ORVELLA_APPEARANCE", "Dim"}}), std::nullopt},
        {"first joined argument decides", launch({}, {"--appearance=dark", "--appearance=light"}), dark},
        {"joined in capitals", launch({}, {"--APPEARANCE=LIGHT"}), light},
        {"joined form before the split form", launch({}, {"--appearance", "dark", "--appearance=light"}), light},
        {"split form", launch({}, {"--appearance", "LIGHT"}), light},
        {"split form, other word", launch({}, {"--appearance", "dim", "--appearance", "dark"}), std::nullopt},
        {"split form, option last", launch({}, {"--appearance"}), std::nullopt},
        {"split form is case-sensitive", launch({}, {"--Appearance", "dark"}), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(c.inputs.requestedColorScheme(), c.expected) << c.what;
}

TEST(LaunchView, LowerCasingIsUnicodeAware) {
    // Full lower-casing maps the capital dotted I to two code points, so it never equals "ios".
    EXPECT_FALSE(launch({{"ORVELLA_LAYOUT", "\xC4\xB0OS"}}).requestsIOS());
    EXPECT_EQ(launch({{"ORVELLA_COMPACT_TAB", "\xC3\x84RA"}}).requestedCompactTab(), "\xC3\xA4ra");
}
