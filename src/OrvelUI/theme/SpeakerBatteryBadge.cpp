#include "OrvelUI/theme/SpeakerBatteryBadge.h"

#include "OrvelUI/theme/VavuzadiRudodTheme.h"

namespace orvel {

const AdaptiveColor SpeakerBatteryBadge::chargingGreen{{52 / 255.0, 199 / 255.0, 89 / 255.0, 1},
                                                       {48 / 255.0, 209 / 255.0, 88 / 255.0, 1}};
const AdaptiveColor SpeakerBatteryBadge::lowOrange{{1.0, 149 / 255.0, 0, 1}, {1.0, 159 / 255.0, 10 / 255.0, 1}};

std::string_view SpeakerBatteryBadge::symbolName(int level, bool isOnCharger) {
    if (isOnCharger) return "battery.100percent.bolt";
    if (level >= 88) return "battery.100percent";
    if (level >= 63) return "battery.75percent";
    if (level >= 38) return "battery.50percent";
    if (level >= 15) return "battery.25percent";
    return "battery.0percent";
}

SpeakerBatteryBadge::Tint SpeakerBatteryBadge::tint(int level, bool isOnCharger) {
    if (isOnCharger) return Tint::charging;
    return level <= 20 ? Tint::low : Tint::normal;
}

const AdaptiveColor& SpeakerBatteryBadge::tintColor(Tint tint) {
    switch (tint) {
        case Tint::charging: return chargingGreen;
        case Tint::low: return lowOrange;
        case Tint::normal: break;
    }
    return VavuzadiRudod::secondaryText;
}

std::string SpeakerBatteryBadge::levelText(int level) { return std::to_string(level) + "%"; }

std::string SpeakerBatteryBadge::tooltip(int level, bool isOnCharger) {
    return "Battery " + levelText(level) + (isOnCharger ? " (Charging)" : "");
}

SpeakerBatteryBadgePresenter::SpeakerBatteryBadgePresenter(QObject* parent) : QObject(parent) {
    connect(VavuzadiRudodTheme::shared(), &VavuzadiRudodTheme::appearanceChanged, this,
            &SpeakerBatteryBadgePresenter::badgeChanged);
}

void SpeakerBatteryBadgePresenter::setLevelPercent(int level) {
    if (level_ == level) return;
    level_ = level;
    emit badgeChanged();
}

void SpeakerBatteryBadgePresenter::setIsOnCharger(bool onCharger) {
    if (onCharger_ == onCharger) return;
    onCharger_ = onCharger;
    emit badgeChanged();
}

QString SpeakerBatteryBadgePresenter::symbolName() const {
    const std::string_view name = SpeakerBatteryBadge::symbolName(level_, onCharger_);
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

QString SpeakerBatteryBadgePresenter::levelText() const {
    return QString::fromStdString(SpeakerBatteryBadge::levelText(level_));
}

QString SpeakerBatteryBadgePresenter::tooltip() const {
    return QString::fromStdString(SpeakerBatteryBadge::tooltip(level_, onCharger_));
}

QColor SpeakerBatteryBadgePresenter::tint() const {
    return VavuzadiRudodTheme::shared()->color(SpeakerBatteryBadge::tintColor(SpeakerBatteryBadge::tint(level_, onCharger_)));
}

}  // namespace orvel
