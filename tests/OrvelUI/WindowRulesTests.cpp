#include <gtest/gtest.h>

#include <limits>

#include "OrvelUI/shell/WindowRules.h"
#include "OrvelUI/shell/WindowSizeOption.h"

using namespace orvel;

TEST(WindowSizeOption, Parsing) {
    struct Case {
        const char* value;
        std::optional<WindowSize> expected;
    };
    const Case cases[] = {
        {"1024x700", WindowSize{1024, 700}},
        {"1024X700", std::nullopt},             // one field that does not parse
        {"1024xx700", WindowSize{1024, 700}},   // the empty field is dropped
        {"x1024x700x", WindowSize{1024, 700}},
        {"1024x700x2", std::nullopt},           // three numbers
        {"wx1024x700", WindowSize{1024, 700}},  // "w" is dropped
        {"1024", std::nullopt},
        {"", std::nullopt},
        {"800.5x600.25", WindowSize{800.5, 600.25}},
        {"+800x6e2", WindowSize{800, 600}},
        {"++800x600", std::nullopt},
        {"+-800x600", std::nullopt},
        {" 800x600", std::nullopt},             // nothing is trimmed
        {"800 x600", std::nullopt},
        {"0x1024x700", WindowSize{1024, 700}},  // zero is dropped like an unparsable field
        {"-5x1024x700", WindowSize{1024, 700}},
        {"infx1024x700", WindowSize{1024, 700}},
        {"nanx1024x700", WindowSize{1024, 700}},
        {"1e400x700", std::nullopt},            // out of range
        {"1024x0", std::nullopt},
        {"1024x-700", std::nullopt},
        {"0x400", std::nullopt},                // hexadecimal is not a number here
    };
    for (const auto& c : cases) EXPECT_EQ(parseWindowSizeOption(c.value), c.expected) << c.value;
}

TEST(WindowRules, SizeOptionSkipsNarrowWindows) {
    EXPECT_FALSE(WindowRules::sizeOptionApplies(120));
    EXPECT_FALSE(WindowRules::sizeOptionApplies(300));
    EXPECT_TRUE(WindowRules::sizeOptionApplies(300.5));
    EXPECT_TRUE(WindowRules::sizeOptionApplies(1280));
}

TEST(WindowRules, ExtentsAreCheckedBeforeBecomingPixels) {
    struct Case {
        double points;
        int pixels;
    };
    const Case cases[] = {
        {1024, 1024},
        {800.5, 801},
        {0.2, 1},
        {-3, 1},
        {std::numeric_limits<double>::quiet_NaN(), 1},
        {std::numeric_limits<double>::infinity(), WindowRules::largestWindowExtent},
        {1e300, WindowRules::largestWindowExtent},
    };
    for (const auto& c : cases) EXPECT_EQ(WindowRules::windowExtent(c.points), c.pixels) << c.points;
}
