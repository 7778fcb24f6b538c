#pragma once

// Context menu entries as QML reads them, for every view that shows the one speaker and group
// menu.

#include <vector>

#include <QVariantList>

#include "OrvelUI/common/ContextMenuEntry.h"

namespace orvel {

// The menu's entries for QML: maps with kind, key, text, symbol, destructive and children.
QVariantList contextMenuVariant(const std::vector<ContextMenuEntry>& entries);

}  // namespace orvel
