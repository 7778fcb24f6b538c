#pragma once

// Turning what one sweep read into the parts of a household snapshot: the speaker of each room,
// each group's status, the radio matrix, and the rules for speakers that stop answering. Pure
// functions of their inputs (the memory of earlier sweeps is passed in and out), so every rule
// can be checked without a network.

#include <chrono>
#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "OrvelDomain/BatteryTelemetry.h"
#include "OrvelDomain/Date.h"
#include "OrvelDomain/DiscreteVolume.h"
#include "OrvelDomain/GroupStatus.h"
#include "OrvelDomain/QueueItem.h"
#include "OrvelDomain/RFPeerMatrix.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "SonosProtocolBoundary/TelemetryService.h"
#include "SonosProtocolBoundary/TopologyService.h"
#include "SonosProtocolBoundary/TransportService.h"
#include "Support/Clock.h"

namespace orvel::household {

// What the household remembers of a speaker between sweeps: its last reported form and when it
// last answered (or, for a speaker that never answered, when the household first listed it).
struct RememberedSpeaker {
    Speaker speaker;
    Date lastSeenAt;
    Clock::Instant lastSeenMonotonic;
    // False while the speaker has not answered since it was first listed: of such a speaker
    // nothing but its listing is known.
    bool hasAnswered = true;
};

// One room's readings of this sweep; absent readings fall back to what was known before.
struct RoomReadings {
    std::optional<DeviceDescription> description;
    std::optional<DiscreteVolume> volume;
    std::optional<BatteryTelemetry> battery;
    std::optional<RadioStatus> radio;
};

// The readings of a group's coordinator; a status needs the first three.
struct GroupReadings {
    std::optional<TransportState> transport;
    std::optional<PositionInfo> position;
    // When the position was read: a playing position runs on from there.
    Date positionSampledAt;
    std::optional<MediaInfo> media;
    std::optional<DiscreteVolume> groupVolume;
    std::vector<QueueItem> upNext;
};

// The speaker of a listed room at `ip`, online. Its model is classified from the description
// (carrying the battery reading), else the previous model, else SpeakerModel::unread(); its
// volume is the reading, else the previous volume, else step 0. Satellites come from the topology, with
// model number and name from their own descriptions where known.
Speaker roomSpeaker(const ZoneGroupMember& member, const std::string& ip, const RoomReadings& readings,
                    const std::map<SpeakerUUID, DeviceDescription>& descriptions, const Speaker* previous);

// The group's status from its coordinator's readings; nullopt when a reading of the playback is
// missing. The volume is the group volume, else `fallbackVolume`.
std::optional<GroupStatus> groupStatus(const GroupReadings& readings, DiscreteVolume fallbackVolume);

struct ReconciledSpeakers {
    std::map<SpeakerUUID, Speaker> speakers;
    // Those shown in their last known form although they did not answer this time.
    std::set<SpeakerUUID> notAnswering;
};

// The speakers of the snapshot. A listed room that answered is taken as read and remembered.
// A room that did not answer, and a remembered speaker that is no longer listed, keep their
// last known form (marked as not answering) until `offlineAfter` has passed since they were last
// seen, and then appear offline at their last known address and time. A listed room that has
// never answered has no known form to keep: it appears offline at once, at its listed address,
// since it was first listed, and is forgotten once it is no longer listed. `memory` is updated.
ReconciledSpeakers reconcileSpeakers(const std::map<SpeakerUUID, Speaker>& listed, const std::set<SpeakerUUID>& answered,
                                     std::map<SpeakerUUID, RememberedSpeaker>& memory, Date now,
                                     Clock::Instant monotonicNow, std::chrono::nanoseconds offlineAfter);

// The radio proximity of `speakers` from their radio pages: each neighbour is named by its
// hardware address, which is matched against the speakers' identifiers. Readings about
// speakers outside the list are dropped.
RFPeerMatrix radioMatrix(const std::map<SpeakerUUID, RadioStatus>& readings, const std::set<SpeakerUUID>& speakers);

// Whether the battery and radio pages are due: never read, `interval` passed, or a different
// number of rooms than at the last reading.
bool isTelemetryDue(std::optional<Clock::Instant> lastRead, std::size_t roomsThen, Clock::Instant now,
                    std::size_t roomsNow, std::chrono::nanoseconds interval);

}  // namespace orvel::household
