#include <gtest/gtest.h>

#include <QDBusVariant>
#include <QSignalSpy>

#include "OrvelUI/theme/DesktopAppearance.h"
#include "OrvelUI/theme/VavuzadiRudodTheme.h"

using namespace orvel;

namespace {

// Plays the portal: answers the first read with `initial` and sends changes when told.
class ScriptedPortal : public PortalSettings {
public:
    explicit ScriptedPortal(QVariant initial) : initial_(std::move(initial)) {}
    void readColorScheme(std::function<void(QVariant)> reply) override { reply(initial_); }
    void change(const QString& settingNamespace, const QString& key, QVariant value) {
        emit settingChanged(settingNamespace, key, value);
    }

private:
    QVariant initial_;
};

const QString appearance = QStringLiteral("org.freedesktop.appearance");
const QString colorScheme = QStringLiteral("color-scheme");

}  // namespace

TEST(DesktopAppearance, PortalValuesMeanDarkLightOrNothing) {
    struct Case {
        QVariant value;
        std::optional<ColorScheme> scheme;
    };
    const Case cases[] = {
        {QVariant(1u), ColorScheme::dark},
        {QVariant(2u), ColorScheme::light},
        {QVariant(0u), std::nullopt},
        {QVariant(7u), std::nullopt},
        {QVariant(), std::nullopt},
        {QVariant(QStringLiteral("1")), std::nullopt},
        {QVariant::fromValue(QDBusVariant(QVariant(1u))), ColorScheme::dark},
        {QVariant::fromValue(QDBusVariant(QVariant::fromValue(QDBusVariant(QVariant(2u))))), ColorScheme::light},
    };
    for (const Case& c : cases) EXPECT_EQ(colorSchemeFromPortal(c.value), c.scheme) << c.value.typeName();
}

TEST(DesktopAppearance, TheThemeFollowsThePortalAndAForcedAppearanceWins) {
    VavuzadiRudodTheme theme([] { return std::optional(ColorScheme::light); });
    auto portal = std::make_unique<ScriptedPortal>(QVariant(1u));
    ScriptedPortal* bus = portal.get();
    DesktopAppearance::follow(theme, std::move(portal));
    EXPECT_TRUE(theme.isDark());

    QSignalSpy changes(&theme, &VavuzadiRudodTheme::appearanceChanged);
    bus->change(QStringLiteral("org.gnome.desktop.interface"), colorScheme, QVariant(2u));
    bus->change(appearance, QStringLiteral("accent-color"), QVariant(2u));
    EXPECT_TRUE(theme.isDark());
    EXPECT_EQ(changes.count(), 0);

    bus->change(appearance, colorScheme, QVariant(2u));
    EXPECT_FALSE(theme.isDark());
    EXPECT_EQ(changes.count(), 1);

    theme.setForcedScheme(ColorScheme::dark);
    bus->change(appearance, colorScheme, QVariant(2u));
    bus->change(appearance, colorScheme, QVariant(0u));
    EXPECT_TRUE(theme.isDark());

    // Without a preference the palette's own guess (light here) comes back once nothing forces.
    bus->change(appearance, colorScheme, QVariant(1u));
    theme.setForcedScheme(std::nullopt);
    EXPECT_TRUE(theme.isDark());
    bus->change(appearance, colorScheme, QVariant(0u));
    EXPECT_FALSE(theme.isDark());
}
