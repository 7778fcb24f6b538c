#pragma once

// The palette as the views see it: one object whose sixteen colours follow the current
// appearance. The appearance is the forced one when the application forces one, else the
// system's; a change of either switches every colour at once through one signal.

#include <functional>
#include <optional>

#include <QColor>
#include <QObject>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/theme/ColorScheme.h"
#include "OrvelUI/theme/VavuzadiRudod.h"

class QQmlEngine;
class QJSEngine;

namespace orvel {

class VavuzadiRudodTheme : public QObject {
    Q_OBJECT
    QML_NAMED_ELEMENT(VavuzadiRudod)
    QML_SINGLETON

    Q_PROPERTY(bool dark READ isDark NOTIFY appearanceChanged)
    Q_PROPERTY(QColor obsidian READ obsidian NOTIFY appearanceChanged)
    Q_PROPERTY(QColor slate READ slate NOTIFY appearanceChanged)
    Q_PROPERTY(QColor gold READ gold NOTIFY appearanceChanged)
    Q_PROPERTY(QColor copper READ copper NOTIFY appearanceChanged)
    Q_PROPERTY(QColor primaryText READ primaryText NOTIFY appearanceChanged)
    Q_PROPERTY(QColor secondaryText READ secondaryText NOTIFY appearanceChanged)
    Q_PROPERTY(QColor ink READ ink NOTIFY appearanceChanged)
    Q_PROPERTY(QColor cardFill READ cardFill NOTIFY appearanceChanged)
    Q_PROPERTY(QColor cardElevatedFill READ cardElevatedFill NOTIFY appearanceChanged)
    Q_PROPERTY(QColor cardBorder READ cardBorder NOTIFY appearanceChanged)
    Q_PROPERTY(QColor subtleFill READ subtleFill NOTIFY appearanceChanged)
    Q_PROPERTY(QColor floorBandFill READ floorBandFill NOTIFY appearanceChanged)
    Q_PROPERTY(QColor floorBandBorder READ floorBandBorder NOTIFY appearanceChanged)
    Q_PROPERTY(QColor roomEnclosureFill READ roomEnclosureFill NOTIFY appearanceChanged)
    Q_PROPERTY(QColor roomEnclosureBorder READ roomEnclosureBorder NOTIFY appearanceChanged)
    Q_PROPERTY(QColor badgeBackground READ badgeBackground NOTIFY appearanceChanged)
    // Not one of the palette's colours: the platform's red of destructive actions.
    Q_PROPERTY(QColor systemRed READ systemRed NOTIFY appearanceChanged)

public:
    using SystemAppearance = std::function<std::optional<ColorScheme>()>;

    // `systemAppearance` is asked whenever the system's palette changes; absent means
    // "matches neither", which draws light. Not default-constructible on purpose: QML would
    // then make an instance of its own instead of sharing the application's.
    explicit VavuzadiRudodTheme(SystemAppearance systemAppearance, QObject* parent = nullptr);

    // The process-wide theme that the application and its QML engine share.
    static VavuzadiRudodTheme* shared();
    static VavuzadiRudodTheme* create(QQmlEngine*, QJSEngine*);

    // Guessed from the application palette: dark when the window colour is darker than the
    // text colour. Absent without a GUI application.
    static std::optional<ColorScheme> guessSystemAppearance();

    std::optional<ColorScheme> appearance() const { return forced_ ? forced_ : system_; }
    std::optional<ColorScheme> forcedScheme() const { return forced_; }
    void setForcedScheme(std::optional<ColorScheme> scheme);
    // Replaces where the system appearance comes from (the desktop portal, say) and reads it.
    void setSystemAppearance(SystemAppearance systemAppearance);
    // Reads the system appearance again; called by the theme itself on palette changes.
    void refreshSystemAppearance();

    bool isDark() const { return appearance() == ColorScheme::dark; }
    QColor color(const AdaptiveColor& color) const;

    QColor obsidian() const { return color(VavuzadiRudod::obsidian); }
    QColor slate() const { return color(VavuzadiRudod::slate); }
    QColor gold() const { return color(VavuzadiRudod::gold); }
    QColor copper() const { return color(VavuzadiRudod::copper); }
    QColor primaryText() const { return color(VavuzadiRudod::primaryText); }
    QColor secondaryText() const { return color(VavuzadiRudod::secondaryText); }
    QColor ink() const { return color(VavuzadiRudod::ink); }
    QColor cardFill() const { return color(VavuzadiRudod::cardFill); }
    QColor cardElevatedFill() const { return color(VavuzadiRudod::cardElevatedFill); }
    QColor cardBorder() const { return color(VavuzadiRudod::cardBorder); }
    QColor subtleFill() const { return color(VavuzadiRudod::subtleFill); }
    QColor floorBandFill() const { return color(VavuzadiRudod::floorBandFill); }
    QColor floorBandBorder() const { return color(VavuzadiRudod::floorBandBorder); }
    QColor roomEnclosureFill() const { return color(VavuzadiRudod::roomEnclosureFill); }
    QColor roomEnclosureBorder() const { return color(VavuzadiRudod::roomEnclosureBorder); }
    QColor badgeBackground() const { return color(VavuzadiRudod::badgeBackground); }

    // The platform's red in both appearances.
    static const AdaptiveColor platformRed;
    QColor systemRed() const { return color(platformRed); }

signals:
    void appearanceChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void update(std::optional<ColorScheme> forced, std::optional<ColorScheme> system);

    SystemAppearance systemAppearance_;
    std::optional<ColorScheme> forced_;
    std::optional<ColorScheme> system_;
};

}  // namespace orvel
