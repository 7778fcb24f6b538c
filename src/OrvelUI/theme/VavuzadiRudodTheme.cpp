#include "OrvelUI/theme/VavuzadiRudodTheme.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QJSEngine>
#include <QPalette>

namespace orvel {

const AdaptiveColor VavuzadiRudodTheme::platformRed{{1.0, 59 / 255.0, 48 / 255.0, 1}, {1.0, 69 / 255.0, 58 / 255.0, 1}};

VavuzadiRudodTheme::VavuzadiRudodTheme(SystemAppearance systemAppearance, QObject* parent)
    : QObject(parent), systemAppearance_(std::move(systemAppearance)) {
    system_ = systemAppearance_ ? systemAppearance_() : std::nullopt;
    if (QCoreApplication* app = QCoreApplication::instance()) app->installEventFilter(this);
}

VavuzadiRudodTheme* VavuzadiRudodTheme::shared() {
    // Parented to nothing and never deleted: QML engines hold it until the process ends.
    static VavuzadiRudodTheme* const theme = new VavuzadiRudodTheme(guessSystemAppearance);
    return theme;
}

VavuzadiRudodTheme* VavuzadiRudodTheme::create(QQmlEngine*, QJSEngine*) {
    VavuzadiRudodTheme* theme = shared();
    QJSEngine::setObjectOwnership(theme, QJSEngine::CppOwnership);
    return theme;
}

std::optional<ColorScheme> VavuzadiRudodTheme::guessSystemAppearance() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return std::nullopt;
    const QPalette palette = QGuiApplication::palette();
    const bool dark = palette.color(QPalette::Window).lightnessF() < palette.color(QPalette::WindowText).lightnessF();
    return dark ? ColorScheme::dark : ColorScheme::light;
}

void VavuzadiRudodTheme::setForcedScheme(std::optional<ColorScheme> scheme) { update(scheme, system_); }

void VavuzadiRudodTheme::setSystemAppearance(SystemAppearance systemAppearance) {
    systemAppearance_ = std::move(systemAppearance);
    refreshSystemAppearance();
}

void VavuzadiRudodTheme::refreshSystemAppearance() {
    update(forced_, systemAppearance_ ? systemAppearance_() : std::nullopt);
}

QColor VavuzadiRudodTheme::color(const AdaptiveColor& color) const {
    const Rgba& value = color.resolved(appearance());
    return QColor::fromRgbF(float(value.red), float(value.green), float(value.blue), float(value.alpha));
}

bool VavuzadiRudodTheme::eventFilter(QObject* watched, QEvent* event) {
    if (watched == QCoreApplication::instance() && event->type() == QEvent::ApplicationPaletteChange) {
        refreshSystemAppearance();
    }
    return QObject::eventFilter(watched, event);
}

void VavuzadiRudodTheme::update(std::optional<ColorScheme> forced, std::optional<ColorScheme> system) {
    const std::optional<ColorScheme> before = appearance();
    forced_ = forced;
    system_ = system;
    if (appearance() != before) emit appearanceChanged();
}

}  // namespace orvel
