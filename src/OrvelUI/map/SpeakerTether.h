#pragma once

// One tether of the full map: the curve from a music-source hub to one room of its group, the
// room's short name (for the sever control's texts) and the curve's midpoint, where the sever
// control sits. A tether that found no way around another group's hub card passes behind it,
// drawn faint, so that it never seems to end at the wrong music.

#include <string>

#include "OrvelDomain/AcousticCurveSegment.h"
#include "OrvelDomain/Geometry.h"
#include "OrvelDomain/SpeakerUUID.h"

namespace orvel {

struct SpeakerTether {
    SpeakerUUID speakerID;
    std::string roomName;
    AcousticCurveSegment segment;
    Point severPoint;
    bool passesBehindHub = false;

    friend bool operator==(const SpeakerTether&, const SpeakerTether&) = default;
};

}  // namespace orvel
