#pragma once

// The desktop's light or dark preference, read from the settings portal
// (org.freedesktop.appearance color-scheme) and followed while the application runs. The bus
// sits behind `PortalSettings`, so a test can play the portal's part.

#include <functional>
#include <memory>
#include <optional>

#include <QDBusVariant>
#include <QObject>
#include <QString>
#include <QVariant>

#include "OrvelUI/theme/ColorScheme.h"

namespace orvel {

class VavuzadiRudodTheme;

// The part of the portal's Settings interface the appearance uses.
class PortalSettings : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    // Answers later, on the event loop, with the setting's value; an invalid value when there
    // is no portal or it does not know the setting.
    virtual void readColorScheme(std::function<void(QVariant)> reply) = 0;

signals:
    void settingChanged(const QString& settingNamespace, const QString& key, const QVariant& value);
};

// The session bus's portal, asked without blocking.
class DBusPortalSettings : public PortalSettings {
    Q_OBJECT

public:
    explicit DBusPortalSettings(QObject* parent = nullptr);
    void readColorScheme(std::function<void(QVariant)> reply) override;

private slots:
    void onSettingChanged(const QString& settingNamespace, const QString& key, const QDBusVariant& value);
};

// 1 prefers dark, 2 prefers light, anything else (0: no preference) is no answer. The value may
// arrive wrapped in one or two D-Bus variants.
std::optional<ColorScheme> colorSchemeFromPortal(const QVariant& value);

class DesktopAppearance : public QObject {
    Q_OBJECT

public:
    explicit DesktopAppearance(std::unique_ptr<PortalSettings> portal, QObject* parent = nullptr);

    std::optional<ColorScheme> preferred() const { return preferred_; }

    // Makes the theme take the desktop's preference as the system appearance, falling back to
    // its palette guess while the portal has none; a forced appearance still wins.
    static DesktopAppearance* follow(VavuzadiRudodTheme& theme, std::unique_ptr<PortalSettings> portal);

signals:
    void preferredChanged();

private:
    void take(const QVariant& value);

    std::unique_ptr<PortalSettings> portal_;
    std::optional<ColorScheme> preferred_;
};

}  // namespace orvel
