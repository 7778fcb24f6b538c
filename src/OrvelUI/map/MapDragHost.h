#pragma once

// What a map drag reads of the store and the two intents a drop can end in. The live map uses
// the store itself (StoreMapDragHost); tests hand in a recording stand-in.

#include <vector>

#include "OrvelDomain/FloorplanNode.h"
#include "OrvelDomain/RoomCoordinate.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/SpeakerUUID.h"

namespace orvel {

class OrvelStore;

class MapDragHost {
public:
    virtual ~MapDragHost() = default;

    virtual const std::vector<FloorplanNode>& floorplan() const = 0;
    virtual const std::vector<SonosGroup>& groups() const = 0;
    // Brings `member` into the group that `onto` belongs to.
    virtual void group(const SpeakerUUID& member, const SpeakerUUID& onto) = 0;
    // Pins the room at the coordinate.
    virtual void moveRoom(const SpeakerUUID& speaker, RoomCoordinate to) = 0;
};

class StoreMapDragHost final : public MapDragHost {
public:
    // The store must outlive the host.
    explicit StoreMapDragHost(OrvelStore& store) : store_(store) {}

    const std::vector<FloorplanNode>& floorplan() const override;
    const std::vector<SonosGroup>& groups() const override;
    void group(const SpeakerUUID& member, const SpeakerUUID& onto) override;
    void moveRoom(const SpeakerUUID& speaker, RoomCoordinate to) override;

private:
    OrvelStore& store_;
};

}  // namespace orvel
