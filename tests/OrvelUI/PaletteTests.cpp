#include <gtest/gtest.h>

#include <QSignalSpy>

#include "OrvelUI/theme/VavuzadiRudodTheme.h"

using namespace orvel;

TEST(VavuzadiRudodTheme, ForcedAppearanceSwitchesEveryColourAtOnce) {
    std::optional<ColorScheme> system = ColorScheme::light;
    VavuzadiRudodTheme theme([&] { return system; });
    QSignalSpy changes(&theme, &VavuzadiRudodTheme::appearanceChanged);

    EXPECT_FALSE(theme.isDark());
    const QColor lightInk = theme.ink();

    theme.setForcedScheme(ColorScheme::dark);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_TRUE(theme.isDark());
    EXPECT_NE(theme.ink(), lightInk);

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
}
