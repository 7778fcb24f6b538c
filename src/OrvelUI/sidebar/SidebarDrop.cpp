#include "OrvelUI/sidebar/SidebarDrop.h"

namespace orvel {

std::optional<ContextMenuAction::Group> sidebarDropGrouping(const QStringList& texts, const SpeakerUUID& coordinator) {
    if (texts.isEmpty()) return std::nullopt;
    std::optional<SpeakerUUID> dropped = SpeakerUUID::make(texts.constFirst().toStdString());
    if (!dropped || *dropped == coordinator) return std::nullopt;
    return ContextMenuAction::Group{*dropped, coordinator};
}

}  // namespace orvel
