#include "OrvelUI/theme/DesktopAppearance.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QPointer>

#include "OrvelUI/theme/VavuzadiRudodTheme.h"

namespace orvel {

namespace {

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceNamespace = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

QVariant unwrapped(QVariant value) {
    // Read (the older method) answers a variant inside a variant.
    for (int depth = 0; depth < 3; ++depth) {
        if (value.canConvert<QDBusVariant>() && value.metaType() == QMetaType::fromType<QDBusVariant>()) {
            value = value.value<QDBusVariant>().variant();
        } else if (value.metaType() == QMetaType::fromType<QDBusArgument>()) {
            const auto argument = value.value<QDBusArgument>();
            QDBusVariant inner;
            argument >> inner;
            value = inner.variant();
        } else {
            break;
        }
    }
    return value;
}

void askPortal(const QString& method, std::function<void(QVariant)> reply, std::function<void()> otherwise) {
    QDBusMessage message = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, method);
    message << appearanceNamespace << colorSchemeKey;
    auto* watcher = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(message, 2000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [reply = std::move(reply), otherwise = std::move(otherwise)](QDBusPendingCallWatcher* call) {
                         call->deleteLater();
                         const QDBusPendingReply<QDBusVariant> answer = *call;
                         if (answer.isError()) {
                             otherwise();
                             return;
                         }
                         reply(answer.value().variant());
                     });
}

}  // namespace

DBusPortalSettings::DBusPortalSettings(QObject* parent) : PortalSettings(parent) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) return;
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(onSettingChanged(QString, QString, QDBusVariant)));
}

void DBusPortalSettings::readColorScheme(std::function<void(QVariant)> reply) {
    if (!QDBusConnection::sessionBus().isConnected()) {
        QMetaObject::invokeMethod(this, [reply = std::move(reply)] { reply(QVariant()); }, Qt::QueuedConnection);
        return;
    }
    // ReadOne exists from version 2 of the interface; older portals only have Read.
    askPortal(QStringLiteral("ReadOne"), reply,
              [reply] { askPortal(QStringLiteral("Read"), reply, [reply] { reply(QVariant()); }); });
}

void DBusPortalSettings::onSettingChanged(const QString& settingNamespace, const QString& key,
                                          const QDBusVariant& value) {
    emit settingChanged(settingNamespace, key, value.variant());
}

std::optional<ColorScheme> colorSchemeFromPortal(const QVariant& value) {
    const QVariant plain = unwrapped(value);
    bool ok = false;
    const uint code = plain.toUInt(&ok);
    if (!ok || plain.typeId() == QMetaType::QString) return std::nullopt;
    if (code == 1) return ColorScheme::dark;
    if (code == 2) return ColorScheme::light;
    return std::nullopt;
}

DesktopAppearance::DesktopAppearance(std::unique_ptr<PortalSettings> portal, QObject* parent)
    : QObject(parent), portal_(std::move(portal)) {
    connect(portal_.get(), &PortalSettings::settingChanged, this,
            [this](const QString& settingNamespace, const QString& key, const QVariant& value) {
                if (settingNamespace == appearanceNamespace && key == colorSchemeKey) take(value);
            });
    portal_->readColorScheme([self = QPointer<DesktopAppearance>(this)](QVariant value) {
        if (self) self->take(value);
    });
}

void DesktopAppearance::take(const QVariant& value) {
    const std::optional<ColorScheme> scheme = colorSchemeFromPortal(value);
    if (scheme == preferred_) return;
    preferred_ = scheme;
    emit preferredChanged();
}

DesktopAppearance* DesktopAppearance::follow(VavuzadiRudodTheme& theme, std::unique_ptr<PortalSettings> portal) {
    auto* desktop = new DesktopAppearance(std::move(portal), &theme);
    theme.setSystemAppearance([desktop = QPointer<DesktopAppearance>(desktop)]() -> std::optional<ColorScheme> {
        if (desktop && desktop->preferred()) return desktop->preferred();
        return VavuzadiRudodTheme::guessSystemAppearance();
    });
    QObject::connect(desktop, &DesktopAppearance::preferredChanged, &theme, &VavuzadiRudodTheme::refreshSystemAppearance);
    return desktop;
}

}  // namespace orvel
