#pragma once

// A pill's menu entries as QML reads them: one map per entry with its title, symbol, whether it
// is destructive, a divider or a submenu, and the ids it acts on.

#include <optional>
#include <vector>

#include <QVariantList>
#include <QVariantMap>

#include "OrvelUI/presets/PresetBarRules.h"

namespace orvel {

QVariantList menuVariant(const std::vector<PresetMenuEntry>& entries);
// The entry a map from `menuVariant` stands for; nothing for a map it did not make.
std::optional<PresetMenuEntry> menuEntryFrom(const QVariantMap& map);

}  // namespace orvel
