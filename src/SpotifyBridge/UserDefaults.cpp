#include "UserDefaults.h"

#include <QSettings>
#include <QVariant>

namespace orvel {

namespace {
QString keyOf(const std::string& key) { return QString::fromStdString(key); }
}  // namespace

SettingsUserDefaults::SettingsUserDefaults()
    : settings_(std::make_unique<QSettings>(QStringLiteral("Orvella"), QStringLiteral("Orvella"))) {}

SettingsUserDefaults::SettingsUserDefaults(const QString& path)
    : settings_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {}

SettingsUserDefaults::~SettingsUserDefaults() = default;

std::optional<std::string> SettingsUserDefaults::string(const std::string& key) const {
    const QVariant value = settings_->value(keyOf(key));
    // A value of another type (a hand-edited file) reads as absent rather than as some text.
    if (!value.isValid() || value.typeId() != QMetaType::QString) return std::nullopt;
    return value.toString().toStdString();
}

void SettingsUserDefaults::setString(const std::string& key, const std::string& value) {
    // Never null: a null QString would be stored as an invalid value, indistinguishable from
    // an absent one.
    settings_->setValue(keyOf(key), value.empty() ? QString(QLatin1String("")) : QString::fromStdString(value));
    settings_->sync();
}

void SettingsUserDefaults::remove(const std::string& key) {
    settings_->remove(keyOf(key));
    settings_->sync();
}

}  // namespace orvel
