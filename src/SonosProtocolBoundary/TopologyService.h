#pragma once

// The household's grouping as the speakers report it (ZoneGroupTopology#GetZoneGroupState),
// and the AVTransport actions that regroup speakers.

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <qcoro/qcorotask.h>

#include "OrvelDomain/BondedSatellite.h"
#include "OrvelDomain/SpeakerUUID.h"
#include "OrvelDomain/Topology.h"

#include "OrvelDomain/TopologyStep.h"

#include "SonosProtocolBoundary/ProtocolParseError.h"
#include "SonosProtocolBoundary/SOAPClient.h"
#include "SonosProtocolBoundary/SOAPRequest.h"
#include "SonosProtocolBoundary/SpeakerAddress.h"

namespace orvel {

// One room: a visible member of a zone group, with the satellites bonded to it in reported order.
struct ZoneGroupMember {
    SpeakerUUID id;
    std::string roomName;
    // From the member's Location; absent when it is missing or not a plain IPv4 http URL.
    std::optional<SpeakerAddress> address;
    std::vector<BondedSatellite> satellites;

    friend bool operator==(const ZoneGroupMember&, const ZoneGroupMember&) = default;
};

struct ZoneGroup {
    std::string id;
    SpeakerUUID coordinator;
    // The rooms of the group in reported order, the coordinator among them.
    std::vector<ZoneGroupMember> members;

    friend bool operator==(const ZoneGroup&, const ZoneGroup&) = default;
};

struct ZoneGroupState {
    std::vector<ZoneGroup> groups;
    // Every room mapped to its group's coordinator.
    Topology topology;
    // Every room and satellite that reported a usable address.
    std::map<SpeakerUUID, SpeakerAddress> addresses;

    const ZoneGroupMember* member(const SpeakerUUID& id) const;
    std::vector<const ZoneGroupMember*> rooms() const;

    friend bool operator==(const ZoneGroupState&, const ZoneGroupState&) = default;
};

struct TopologyService {
    // Rooms and satellites in one household. Real households hold a few dozen; a state listing
    // more than this is refused as too large.
    static constexpr std::size_t maxSpeakers = 128;

    static SOAPRequest zoneGroupStateRequest();
    // The reply's "ZoneGroupState" output, an escaped document.
    static Parsed<ZoneGroupState> parseZoneGroupState(const SOAPResponse& response);
    // The same, with a large state parsed on a worker thread so the event loop never waits for it.
    static QCoro::Task<Parsed<ZoneGroupState>> parseZoneGroupStateOffTheLoop(SOAPResponse response);
    // The document itself, with <ZoneGroupState> or (older speakers) <ZoneGroups> as its root.
    // Members marked Invisible="1" and Satellite elements are bonded satellites, not rooms;
    // their roles come from the room's HTSatChanMapSet or, for a stereo pair, ChannelMapSet.
    // A satellite whose role cannot be told is left out.
    // What cannot be read hides only itself, with one debug line naming it: a member without a
    // speaker id, or a room without ZoneName, is no room (its satellites go with it); a satellite
    // without a speaker id is left out; a room listed again belongs to the first group that lists
    // it; a group with no room left (a network extender, alone and invisible) is skipped. A group
    // whose Coordinator is missing, malformed or none of its rooms keeps its rooms, led by its
    // first room in reported order. Malformed XML, a foreign root or more than `maxSpeakers`
    // make the whole document an error.
    static Parsed<ZoneGroupState> parseZoneGroupStateDocument(std::string_view document);

    // The request for one grouping step; it goes to `step.firstSpeaker()`.
    static SOAPRequest stepRequest(const TopologyStep& step);
    static SOAPRequest leaveGroupRequest();
    static SOAPRequest joinRequest(const SpeakerUUID& coordinator);
    static SOAPRequest delegateRequest(const SpeakerUUID& newCoordinator, bool rejoinGroup);
};

}  // namespace orvel
