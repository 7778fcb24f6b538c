// Every domain value's JSON form. Input: the type's name on the first line, its JSON after it.

#include <functional>
#include <map>
#include <string>

#include "FuzzInput.h"
#include "OrvelDomain/BatteryTelemetry.h"
#include "OrvelDomain/BondedSatellite.h"
#include "OrvelDomain/Date.h"
#include "OrvelDomain/DiscreteVolume.h"
#include "OrvelDomain/Duration.h"
#include "OrvelDomain/FloorLevel.h"
#include "OrvelDomain/PlaybackSource.h"
#include "OrvelDomain/PresetID.h"
#include "OrvelDomain/PresetPill.h"
#include "OrvelDomain/QueueItem.h"
#include "OrvelDomain/RFPeerMatrix.h"
#include "OrvelDomain/ReachabilityState.h"
#include "OrvelDomain/RoomCoordinate.h"
#include "OrvelDomain/SatelliteRole.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelDomain/SpeakerModel.h"
#include "OrvelDomain/SpeakerPair.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelDomain/SpotifyURI.h"

namespace {

using Reader = std::function<void(const orvel::Json&)>;

template <class T>
Reader reader() {
    return [](const orvel::Json& value) {
        if (auto decoded = T::fromJson(value)) orvel::fuzz::requireRoundTrip(*decoded);
    };
}

const std::map<std::string, Reader, std::less<>>& readers() {
    using namespace orvel;
    static const std::map<std::string, Reader, std::less<>> table{
        {"BatteryTelemetry", reader<BatteryTelemetry>()},
        {"BondedSatellite", reader<BondedSatellite>()},
        {"Date", reader<Date>()},
        {"DiscreteVolume", reader<DiscreteVolume>()},
        {"Duration", reader<Duration>()},
        {"FloorLevel", reader<FloorLevel>()},
        {"PlaybackSource", reader<PlaybackSource>()},
        {"PresetID", reader<PresetID>()},
        {"PresetPill", reader<PresetPill>()},
        {"QueueItem", reader<QueueItem>()},
        {"RFPeerMatrix", reader<RFPeerMatrix>()},
        {"ReachabilityState", reader<ReachabilityState>()},
        {"RoomCoordinate", reader<RoomCoordinate>()},
        {"SatelliteRole", reader<SatelliteRole>()},
        {"Speaker", reader<Speaker>()},
        {"SpeakerModel", reader<SpeakerModel>()},
        {"SpeakerPair", reader<SpeakerPair>()},
        {"SpeakerUUID", reader<SpeakerUUID>()},
        {"SpotifyURI", reader<SpotifyURI>()},
    };
    return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [type, body] = orvel::fuzz::splitFirstLine(orvel::fuzz::text(data, size));
    const auto found = readers().find(type);
    if (found == readers().end()) return 0;
    if (auto parsed = orvel::json::parse(body)) found->second(*parsed);
    return 0;
}
