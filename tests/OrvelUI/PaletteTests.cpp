#include <gtest/gtest.h>

#include <QSignalSpy>

#include "OrvelUI/theme/VavuzadiRudodTheme.h"

using namespace orvel;

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
