#include "TetherSeverButtons.h"

#include "OrvelUI/map/MapRows.h"

namespace orvel::TetherSeverButtons {

std::vector<Button> buttons(const std::vector<SonosGroup>& hubGroups,
                            const std::map<GroupID, std::vector<SpeakerTether>>& tethersByGroup) {
    std::vector<Button> out;
    for (const auto& group : hubGroups) {
        if (group.members.empty()) continue;
        const auto entry = tethersByGroup.find(group.id);
        if (entry == tethersByGroup.end()) continue;
        for (const auto& tether : entry->second) {
            const std::string room = mapRoomTitle(tether.roomName);
            out.push_back(Button{group.id, tether.speakerID, tether.severPoint, "Disconnect " + room + " from music",
                                 "Disconnect " + room});
        }
    }
    return out;
}

PillLook pillLook(bool zoneHovered, bool pillHovered, bool roomHovered) {
    const bool shown = zoneHovered || pillHovered || roomHovered;
    const double scale = pillHovered ? 1.08 : shown ? 1.0 : 0.78;
    return PillLook{shown ? 1.0 : 0.0, scale, pillHovered};
}

}  // namespace orvel::TetherSeverButtons
