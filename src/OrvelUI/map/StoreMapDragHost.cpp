#include "MapDragHost.h"

#include "OrvelStore/OrvelStore.h"

namespace orvel {

const std::vector<FloorplanNode>& StoreMapDragHost::floorplan() const {
    return store_.state().floorplan();
}

const std::vector<SonosGroup>& StoreMapDragHost::groups() const {
    return store_.state().groups();
}

void StoreMapDragHost::group(const SpeakerUUID& member, const SpeakerUUID& onto) {
    store_.group(member, onto);
}

void StoreMapDragHost::moveRoom(const SpeakerUUID& speaker, RoomCoordinate to) {
    store_.moveRoom(speaker, to);
}

}  // namespace orvel
