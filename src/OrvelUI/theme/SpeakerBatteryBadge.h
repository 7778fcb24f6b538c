#pragma once

// What the battery badge of a portable speaker shows: a symbol in quarter steps, the level as
// reported, a tint that warns when the charge is low, and a tooltip.

#include <string>
#include <string_view>

#include <QColor>
#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

#include "OrvelUI/theme/VavuzadiRudod.h"

namespace orvel {

struct SpeakerBatteryBadge {
    enum class Tint { charging, low, normal };

    // The system's green and orange, in both appearances.
    static const AdaptiveColor chargingGreen;
    static const AdaptiveColor lowOrange;

    static std::string_view symbolName(int levelPercent, bool isOnCharger);
    static Tint tint(int levelPercent, bool isOnCharger);
    static const AdaptiveColor& tintColor(Tint tint);
    static std::string levelText(int levelPercent);
    static std::string tooltip(int levelPercent, bool isOnCharger);
};

// The badge's presenter for QML: set the two shown fields of the telemetry, read the rest.
class SpeakerBatteryBadgePresenter : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(int levelPercent READ levelPercent WRITE setLevelPercent NOTIFY badgeChanged)
    Q_PROPERTY(bool isOnCharger READ isOnCharger WRITE setIsOnCharger NOTIFY badgeChanged)
    Q_PROPERTY(QString symbolName READ symbolName NOTIFY badgeChanged)
    Q_PROPERTY(QString levelText READ levelText NOTIFY badgeChanged)
    Q_PROPERTY(QString tooltip READ tooltip NOTIFY badgeChanged)
    Q_PROPERTY(QColor tint READ tint NOTIFY badgeChanged)

public:
    explicit SpeakerBatteryBadgePresenter(QObject* parent = nullptr);

    int levelPercent() const { return level_; }
    void setLevelPercent(int level);
    bool isOnCharger() const { return onCharger_; }
    void setIsOnCharger(bool onCharger);
    QString symbolName() const;
    QString levelText() const;
    QString tooltip() const;
    QColor tint() const;

signals:
    void badgeChanged();

private:
    int level_ = 0;
    bool onCharger_ = false;
};

}  // namespace orvel
