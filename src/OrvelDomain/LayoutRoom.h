#pragma once

// One room card handed to the collision pass of a floor band.

#include "Geometry.h"
#include "SpeakerUUID.h"

namespace orvel::AcousticCurveRouter {

struct LayoutRoomSpec {
    // Unique within one call.
    SpeakerUUID id;
    // The card's centre: the only field the collision pass changes.
    Point center;
    // Selects the larger footprint of a card that shows bonded satellites.
    bool hasSatellites = false;
    // A pinned room: the relaxation never moves it.
    bool isFixed = false;

    friend bool operator==(const LayoutRoomSpec&, const LayoutRoomSpec&) = default;
};

}  // namespace orvel::AcousticCurveRouter
