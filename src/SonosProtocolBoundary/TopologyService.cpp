#include "TopologyService.h"

#include <set>

#include "SonosProtocolBoundary/LargeReplyParsing.h"
#include "SonosProtocolBoundary/ProtocolLog.h"
#include "SonosProtocolBoundary/ProtocolText.h"
#include "SonosProtocolBoundary/XMLNode.h"

namespace orvel {

namespace {

struct SatelliteSlot {
    SatelliteRole role;
    std::optional<SpeakerUUID> parent;
};

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        out.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return out;
}

// The satellite role of a channel list: a rear or subwoofer channel, or the right speaker of a
// stereo pair. The front channels of a room's own player give none.
std::optional<SatelliteRole> roleOfChannels(std::string_view channels) {
    std::set<std::string_view> set;
    for (auto channel : split(channels, ',')) set.insert(channel);
    auto only = [&](std::string_view name) { return set.size() == 1 && set.contains(name); };
    if (only("SW")) return SatelliteRole::subwoofer();
    if (only("LR")) return SatelliteRole::rearLeft();
    if (only("RR")) return SatelliteRole::rearRight();
    if (only("RF")) return SatelliteRole::stereoRight();
    return std::nullopt;
}

// "RINCON_A:LF,RF;RINCON_B:LR;…" as speaker → channel list. Entries that do not read are
// skipped: the map only adds roles, it never makes the document unusable.
std::map<SpeakerUUID, std::string_view> readChannelMap(std::string_view attribute) {
    std::map<SpeakerUUID, std::string_view> out;
    for (auto entry : split(attribute, ';')) {
        auto colon = entry.find(':');
        if (colon == std::string_view::npos) continue;
        if (auto id = SpeakerUUID::make(entry.substr(0, colon))) out.emplace(*id, entry.substr(colon + 1));
    }
    return out;
}

// The roles a member's map sets give to the other speakers they name.
void collectRoles(const XMLNode& member, const std::optional<SpeakerUUID>& memberID,
                  std::map<SpeakerUUID, SatelliteSlot>& roles) {
    for (const char* attribute : {"HTSatChanMapSet", "ChannelMapSet"}) {
        const auto value = member.attribute(attribute);
        if (!value) continue;
        for (const auto& [id, channels] : readChannelMap(*value)) {
            if (memberID && id == *memberID) continue;
            if (auto role = roleOfChannels(channels)) roles.try_emplace(id, SatelliteSlot{*role, memberID});
        }
    }
}

// An attribute's text as it may appear in a debug line: quoted short, since it came from outside.
std::string shown(const std::optional<std::string>& text) { return text ? protocol_text::quoted(*text) : "(none)"; }

void setAside(const std::string& line) { qCDebug(lcProtocol, "Zone group state: %s", line.c_str()); }

// The speaker id in `attribute`, or nullopt when it is missing or not in the speaker-id form.
std::optional<SpeakerUUID> readableID(const XMLNode& node, const char* attribute) {
    const auto text = node.attribute(attribute);
    return text ? SpeakerUUID::make(*text) : std::nullopt;
}

bool isInvisible(const XMLNode& member) { return member.attribute("Invisible") == "1"; }

// One group as the rules of parseZoneGroupStateDocument read it; nullopt when none of its
// members is a room it may keep. `listedRooms` holds the rooms earlier groups took, and takes
// this group's; `addresses` takes the addresses of what the group keeps.
std::optional<ZoneGroup> readGroup(const XMLNode& node, std::set<SpeakerUUID>& listedRooms,
                                   std::map<SpeakerUUID, SpeakerAddress>& addresses) {
    const auto groupID = node.attribute("ID");
    const std::string groupName = "group " + shown(groupID);
    const std::optional<SpeakerUUID> named = readableID(node, "Coordinator");
    std::vector<ZoneGroupMember> rooms;

    std::map<SpeakerUUID, SatelliteSlot> roles;
    struct Candidate {
        const XMLNode* node;
        SpeakerUUID id;
        std::optional<SpeakerUUID> holder;  // the visible member it sits under
    };
    std::vector<Candidate> candidates;
    std::map<SpeakerUUID, std::size_t> roomIndex;  // into rooms
    // Written to `addresses` only when the group is kept: a group that is no room hides nothing.
    std::map<SpeakerUUID, SpeakerAddress> found;
    bool anySetAside = false;
    const auto setMemberAside = [&](const std::string& line) {
        setAside(line);
        anySetAside = true;
    };

    for (const XMLNode* member : node.childrenNamed("ZoneGroupMember")) {
        const auto satellites = member->childrenNamed("Satellite");
        const std::string withSatellites =
            satellites.empty() ? "" : " with its " + std::to_string(satellites.size()) + " satellite(s)";
        const std::optional<SpeakerUUID> id = readableID(*member, "UUID");
        if (!id) {
            setMemberAside(groupName + ": member " + shown(member->attribute("UUID")) + " is no speaker id; set aside" +
                           withSatellites);
            continue;
        }
        const bool invisible = isInvisible(*member);
        const auto roomName = member->attribute("ZoneName");
        if (!invisible) {
            if (!roomName) {
                setMemberAside(groupName + ": room " + id->rawValue() + " lacks ZoneName; set aside" + withSatellites);
                continue;
            }
            if (!listedRooms.insert(*id).second) {
                setMemberAside(groupName + ": room " + id->rawValue() + " is listed before; this listing set aside" +
                               withSatellites);
                continue;
            }
        }
        const auto address = speakerAddressFromLocation(member->attribute("Location").value_or(""));
        if (address) found.insert_or_assign(*id, *address);
        if (invisible) {
            candidates.push_back({member, *id, std::nullopt});
        } else {
            roomIndex.try_emplace(*id, rooms.size());
            rooms.push_back({*id, *roomName, address, {}});
            collectRoles(*member, *id, roles);
        }
        for (const XMLNode* satellite : satellites) {
            const std::optional<SpeakerUUID> satelliteID = readableID(*satellite, "UUID");
            if (!satelliteID) {
                setAside(groupName + ": satellite " + shown(satellite->attribute("UUID")) + " of " + id->rawValue() +
                         " is no speaker id; set aside");
                continue;
            }
            if (auto at = speakerAddressFromLocation(satellite->attribute("Location").value_or(""))) {
                found.insert_or_assign(*satelliteID, *at);
            }
            candidates.push_back({satellite, *satelliteID, invisible ? std::nullopt : std::optional(*id)});
        }
    }
    if (rooms.empty()) {
        // A group emptied by members set aside is told by their lines.
        if (!anySetAside) {
            setAside(groupName + " (Coordinator " + shown(node.attribute("Coordinator")) + ") lists no room; skipped");
        }
        return std::nullopt;
    }
    ZoneGroup group{groupID.value_or(""), rooms.front().id, std::move(rooms)};
    if (named && roomIndex.contains(*named)) {
        group.coordinator = *named;
    } else {
        // The speakers still play as a group; its first room takes the coordinator's part so the
        // group shows, and commands for the coordinator reach one of its speakers.
        setAside(groupName + ": Coordinator " + shown(node.attribute("Coordinator")) + " names none of its rooms; " +
                 group.coordinator.rawValue() + " stands in");
    }

    std::set<SpeakerUUID> placed;
    for (const auto& candidate : candidates) {
        if (roomIndex.contains(candidate.id) || placed.contains(candidate.id)) continue;
        std::optional<SatelliteSlot> slot;
        if (auto it = roles.find(candidate.id); it != roles.end()) {
            slot = it->second;
        } else {
            // A satellite whose room names no role for it may still name its own.
            std::map<SpeakerUUID, SatelliteSlot> own;
            collectRoles(*candidate.node, std::nullopt, own);
            if (auto mine = own.find(candidate.id); mine != own.end()) slot = SatelliteSlot{mine->second.role, candidate.holder};
        }
        if (slot && !slot->parent) slot->parent = candidate.holder;
        const auto room = slot && slot->parent ? roomIndex.find(*slot->parent) : roomIndex.end();
        if (room == roomIndex.end()) {
            setAside(groupName + ": satellite " + candidate.id.rawValue() + " has no role in a room; left out");
            continue;
        }
        group.members[room->second].satellites.push_back(
            BondedSatellite{candidate.id, slot->parent, slot->role, std::nullopt, std::nullopt, true, std::nullopt});
        placed.insert(candidate.id);
    }
    for (auto& [id, address] : found) addresses.insert_or_assign(id, std::move(address));
    return group;
}

}  // namespace

const ZoneGroupMember* ZoneGroupState::member(const SpeakerUUID& id) const {
    for (const auto& group : groups) {
        for (const auto& m : group.members) {
            if (m.id == id) return &m;
        }
    }
    return nullptr;
}

std::vector<const ZoneGroupMember*> ZoneGroupState::rooms() const {
    std::vector<const ZoneGroupMember*> out;
    for (const auto& group : groups) {
        for (const auto& m : group.members) out.push_back(&m);
    }
    return out;
}

SOAPRequest TopologyService::zoneGroupStateRequest() {
    return {UPnPService::zoneGroupTopology, "GetZoneGroupState", {}};
}

Parsed<ZoneGroupState> TopologyService::parseZoneGroupState(const SOAPResponse& response) {
    ORVEL_TRY(std::string document, response.requiredOutput("ZoneGroupState"));
    return parseZoneGroupStateDocument(document);
}

QCoro::Task<Parsed<ZoneGroupState>> TopologyService::parseZoneGroupStateOffTheLoop(SOAPResponse response) {
    const std::string* found = response.output("ZoneGroupState");
    const std::size_t size = found == nullptr ? 0 : found->size();
    auto job = [response = std::move(response)] { return parseZoneGroupState(response); };
    auto parsing = parseOffTheLoopWhenLarge(size, std::move(job));
    Parsed<ZoneGroupState> state = co_await std::move(parsing);
    co_return state;
}

Parsed<ZoneGroupState> TopologyService::parseZoneGroupStateDocument(std::string_view document) {
    ORVEL_TRY(XMLNode root, XMLNode::parse(document));
    const XMLNode* zoneGroups = nullptr;
    if (root.name == "ZoneGroups") {
        zoneGroups = &root;
    } else if (root.name == "ZoneGroupState") {
        zoneGroups = root.child("ZoneGroups");
        if (zoneGroups == nullptr) return parseFailure("zone group state lacks <ZoneGroups>");
    } else {
        return parseFailure("zone group state has the root <" + root.name + ">");
    }

    const auto groupNodes = zoneGroups->childrenNamed("ZoneGroup");
    std::size_t speakers = 0;
    for (const XMLNode* node : groupNodes) {
        for (const XMLNode* member : node->childrenNamed("ZoneGroupMember")) {
            speakers += 1 + member->childrenNamed("Satellite").size();
        }
    }
    if (speakers > maxSpeakers) {
        return tooLargeFailure("zone group state lists " + std::to_string(speakers) + " speakers, more than " +
                               std::to_string(maxSpeakers));
    }

    ZoneGroupState state;
    Topology::CoordinatorMap coordinatorOf;
    std::set<SpeakerUUID> listedRooms;
    for (const XMLNode* node : groupNodes) {
        std::optional<ZoneGroup> group = readGroup(*node, listedRooms, state.addresses);
        if (!group) continue;
        for (const auto& member : group->members) coordinatorOf.emplace(member.id, group->coordinator);
        state.groups.push_back(std::move(*group));
    }
    auto topology = Topology::make(std::move(coordinatorOf));
    if (!topology) return parseFailure("zone groups do not form a consistent grouping");
    state.topology = std::move(*topology);
    return state;
}

SOAPRequest TopologyService::stepRequest(const TopologyStep& step) {
    if (const auto* join = step.asJoin()) return joinRequest(join->coordinator);
    if (const auto* delegate = step.asDelegateCoordination()) return delegateRequest(delegate->to, delegate->rejoinGroup);
    return leaveGroupRequest();
}

SOAPRequest TopologyService::leaveGroupRequest() {
    return {UPnPService::avTransport, "BecomeCoordinatorOfStandaloneGroup", {{"InstanceID", "0"}}};
}

SOAPRequest TopologyService::joinRequest(const SpeakerUUID& coordinator) {
    return {UPnPService::avTransport,
            "SetAVTransportURI",
            {{"InstanceID", "0"}, {"CurrentURI", "x-rincon:" + coordinator.rawValue()}, {"CurrentURIMetaData", ""}}};
}

SOAPRequest TopologyService::delegateRequest(const SpeakerUUID& newCoordinator, bool rejoinGroup) {
    return {UPnPService::avTransport,
            "DelegateGroupCoordinationTo",
            {{"InstanceID", "0"}, {"NewCoordinator", newCoordinator.rawValue()}, {"RejoinGroup", rejoinGroup ? "1" : "0"}}};
}

}  // namespace orvel
