#include "OrvelUI/common/ShownText.h"

#include "OrvelDomain/RoomNaming.h"

namespace orvel {

std::string shownName(std::string_view text, const GraphemeLimits& limits) {
    return cutToGraphemes(text, limits);
}

QString shownText(std::string_view text, const GraphemeLimits& limits) {
    return QString::fromStdString(cutToGraphemes(text, limits));
}

std::string shownRoomName(const std::string& roomName) { return shownName(RoomNaming::shortName(roomName, false)); }

QString shownRoomText(const std::string& roomName) { return QString::fromStdString(shownRoomName(roomName)); }

}  // namespace orvel
