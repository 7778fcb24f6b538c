#include "OrvelUI/presets/PresetMenuEntries.h"

#include <QString>

namespace orvel {

namespace {

using Action = PresetMenuEntry::Action;

constexpr std::pair<Action, const char*> actionNames[] = {
    {Action::groupEverywhere, "groupEverywhere"}, {Action::dissolveGroup, "dissolveGroup"},
    {Action::apply, "apply"},                     {Action::rename, "rename"},
    {Action::update, "update"},                   {Action::remove, "delete"},
    {Action::divider, "divider"},                 {Action::submenu, "submenu"},
};

QString nameOf(Action action) {
    for (const auto& [candidate, name] : actionNames) {
        if (candidate == action) return QString::fromLatin1(name);
    }
    return {};
}

std::optional<Action> actionNamed(const QString& text) {
    for (const auto& [action, name] : actionNames) {
        if (text == QLatin1String(name)) return action;
    }
    return std::nullopt;
}

}  // namespace

QVariantList menuVariant(const std::vector<PresetMenuEntry>& entries) {
    QVariantList list;
    for (const PresetMenuEntry& entry : entries) {
        QVariantMap map{
            {QStringLiteral("action"), nameOf(entry.action)},
            {QStringLiteral("title"), QString::fromStdString(entry.title)},
            {QStringLiteral("symbol"), QString::fromStdString(entry.symbol)},
            {QStringLiteral("destructive"), entry.destructive},
            {QStringLiteral("presetId"), entry.preset ? QString::fromStdString(entry.preset->rawValue()) : QString()},
            {QStringLiteral("groupId"), entry.group ? QString::fromStdString(entry.group->description()) : QString()},
        };
        if (entry.action == Action::submenu) map.insert(QStringLiteral("children"), menuVariant(entry.children));
        list << map;
    }
    return list;
}

std::optional<PresetMenuEntry> menuEntryFrom(const QVariantMap& map) {
    const std::optional<Action> action = actionNamed(map.value(QStringLiteral("action")).toString());
    if (!action) return std::nullopt;
    PresetMenuEntry entry;
    entry.action = *action;
    entry.title = map.value(QStringLiteral("title")).toString().toStdString();
    const QString preset = map.value(QStringLiteral("presetId")).toString();
    if (!preset.isEmpty()) {
        entry.preset = PresetID::make(preset.toStdString());
        if (!entry.preset) return std::nullopt;
    }
    const QString group = map.value(QStringLiteral("groupId")).toString();
    if (!group.isEmpty()) {
        const auto coordinator = SpeakerUUID::make(group.toStdString());
        if (!coordinator) return std::nullopt;
        entry.group = GroupID(*coordinator);
    }
    return entry;
}

}  // namespace orvel
