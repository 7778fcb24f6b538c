#pragma once

// Small per-user preferences that outlive the process, such as the linked account's display
// name. An interface, so tests keep their preferences in memory and never touch the user's.

#include <memory>
#include <optional>
#include <string>

#include <QString>

class QSettings;

namespace orvel {

class UserDefaults {
public:
    virtual ~UserDefaults() = default;

    // The text stored under `key`; absent when nothing is stored, which is not the same as an
    // empty text.
    virtual std::optional<std::string> string(const std::string& key) const = 0;
    virtual void setString(const std::string& key, const std::string& value) = 0;
    // Removing a key that is not there is no failure.
    virtual void remove(const std::string& key) = 0;
};

// Preferences in QSettings, written through at once so another process sees them.
class SettingsUserDefaults final : public UserDefaults {
public:
    // The user's settings of organisation and application "Orvella".
    SettingsUserDefaults();
    // Settings kept in the INI file at `path`.
    explicit SettingsUserDefaults(const QString& path);
    ~SettingsUserDefaults() override;

    std::optional<std::string> string(const std::string& key) const override;
    void setString(const std::string& key, const std::string& value) override;
    void remove(const std::string& key) override;

private:
    std::unique_ptr<QSettings> settings_;
};

}  // namespace orvel
