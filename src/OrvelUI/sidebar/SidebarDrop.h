#pragma once

// What a room dropped on a sidebar group row asks for. The payload is plain text, the raw string
// of a speaker identifier; only its first element counts.

#include <optional>

#include <QStringList>

#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelUI/common/ContextMenuEntry.h"

namespace orvel {

// The grouping a drop on the group led by `coordinator` asks for, or none when the drop is
// refused: nothing dropped, text that is no speaker identifier, or the group's own coordinator.
std::optional<ContextMenuAction::Group> sidebarDropGrouping(const QStringList& texts, const SpeakerUUID& coordinator);

}  // namespace orvel
