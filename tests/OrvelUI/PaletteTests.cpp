#include <gtest/gtest.h>

#include <QSignalSpy>

#include "OrvelUI/theme/VavuzadiRudod.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"

using namespace orvel;

namespace {

struct Components {
    int red, green, blue;
    double alpha;
};

void expectComponents(const Rgba& actual, Components expected, std::string_view what) {
    EXPECT_DOUBLE_EQ(actual.red, expected.red / 255.0) << what;
    EXPECT_DOUBLE_EQ(actual.green, expected.green / 255.0) << what;
    EXPECT_DOUBLE_EQ(actual.blue, expected.blue / 255.0) << what;
    EXPECT_DOUBLE_EQ(actual.alpha, expected.alpha) << what;
}

}  // namespace

TEST(VavuzadiRudod, ValuesPerAppearance) {
    struct Case {
        std::string_view name;
        Components dark;
        Components light;
    };
    const Case cases[] = {
        {"obsidian", {22, 18, 14, 1.0}, {250, 245, 236, 1.0}},
        {"slate", {30, 24, 19, 1.0}, {243, 234, 216, 1.0}},
        {"gold", {229, 169, 60, 1.0}, {200, 125, 32, 1.0}},
        {"copper", {200, 130, 50, 1.0}, {184, 107, 20, 1.0}},
        {"primaryText", {247, 239, 228, 1.0}, {42, 30, 20, 1.0}},
        {"secondaryText", {189, 174, 156, 1.0}, {110, 90, 72, 1.0}},
        {"ink", {26, 18, 11, 1.0}, {255, 253, 249, 1.0}},
        {"cardFill", {38, 30, 23, 0.84}, {255, 253, 249, 0.94}},
        {"cardElevatedFill", {48, 38, 29, 0.92}, {255, 253, 249, 0.98}},
        {"cardBorder", {247, 239, 228, 0.16}, {229, 213, 184, 0.95}},
        {"subtleFill", {247, 239, 228, 0.08}, {238, 226, 205, 0.65}},
        {"floorBandFill", {32, 25, 19, 0.68}, {247, 239, 224, 0.82}},
        {"floorBandBorder", {229, 169, 60, 0.18}, {222, 202, 170, 0.9}},
        {"roomEnclosureFill", {44, 35, 27, 0.66}, {255, 252, 245, 0.86}},
        {"roomEnclosureBorder", {229, 169, 60, 0.24}, {216, 192, 154, 0.85}},
        {"badgeBackground", {24, 19, 15, 0.94}, {250, 243, 230, 0.96}},
    };
    ASSERT_EQ(std::size(cases), VavuzadiRudod::all.size());
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& entry = VavuzadiRudod::all[i];
        ASSERT_EQ(entry.name, cases[i].name);
        expectComponents(entry.color->resolved(ColorScheme::dark), cases[i].dark, entry.name);
        expectComponents(entry.color->resolved(ColorScheme::light), cases[i].light, entry.name);
        // An appearance that matches neither draws the light values.
        expectComponents(entry.color->resolved(std::nullopt), cases[i].light, entry.name);
    }
}

TEST(VavuzadiRudodTheme, ForcedAppearanceSwitchesEveryColourAtOnce) {
    std::optional<ColorScheme> system = ColorScheme::light;
    VavuzadiRudodTheme theme([&] { return system; });
    QSignalSpy changes(&theme, &VavuzadiRudodTheme::appearanceChanged);

    EXPECT_FALSE(theme.isDark());
    EXPECT_EQ(theme.ink(), QColor::fromRgbF(1.0f, 253 / 255.0f, 249 / 255.0f, 1.0f));

    theme.setForcedScheme(ColorScheme::dark);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(theme.isDark());
    EXPECT_EQ(theme.ink(), QColor::fromRgbF(26 / 255.0f, 18 / 255.0f, 11 / 255.0f, 1.0f));
    EXPECT_NEAR(theme.cardBorder().alphaF(), 0.16, 1e-4);

    // Forcing what is already shown changes nothing.
    theme.setForcedScheme(ColorScheme::dark);
    EXPECT_EQ(changes.count(), 1);

    // While forced, the system's appearance does not show.
    system = ColorScheme::light;
    theme.refreshSystemAppearance();
    EXPECT_EQ(changes.count(), 1);

    theme.setForcedScheme(std::nullopt);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_FALSE(theme.isDark());
}

TEST(VavuzadiRudodTheme, FollowsTheSystemWhenNotForced) {
    std::optional<ColorScheme> system = std::nullopt;
    VavuzadiRudodTheme theme([&] { return system; });
    QSignalSpy changes(&theme, &VavuzadiRudodTheme::appearanceChanged);
    EXPECT_FALSE(theme.isDark());  // no match draws light

    system = ColorScheme::dark;
    theme.refreshSystemAppearance();
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(theme.isDark());
    EXPECT_EQ(theme.gold(), QColor::fromRgbF(229 / 255.0f, 169 / 255.0f, 60 / 255.0f, 1.0f));
}
