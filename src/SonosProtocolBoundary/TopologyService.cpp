#include "TopologyService.h"

#include <set>

#include "SonosProtocolBoundary/LargeReplyParsing.h"
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

Parsed<SpeakerUUID> requiredID(const XMLNode& node, const char* attribute) {
    const auto text = node.attribute(attribute);
    if (!text) return parseFailure("<" + node.name + "> lacks " + attribute);
    auto id = SpeakerUUID::make(*text);
    if (!id) return parseFailure("<" + node.name + "> " + attribute + " is not a speaker id: " + text->substr(0, 40));
    return *id;
}

bool isInvisible(const XMLNode& member) { return member.attribute("Invisible") == "1"; }

Parsed<ZoneGroup> readGroup(const XMLNode& node, std::map<SpeakerUUID, SpeakerAddress>& addresses) {
    ORVEL_TRY(SpeakerUUID coordinator, requiredID(node, "Coordinator"));
    ZoneGroup group{node.attribute("ID").value_or(""), std::move(coordinator), {}};

    std::map<SpeakerUUID, SatelliteSlot> roles;
    struct Candidate {
        const XMLNode* node;
        SpeakerUUID id;
        std::optional<SpeakerUUID> holder;  // the visible member it sits under
    };
    std::vector<Candidate> candidates;
    std::map<SpeakerUUID, std::size_t> roomIndex;  // into group.members

    for (const XMLNode* member : node.childrenNamed("ZoneGroupMember")) {
        ORVEL_TRY(SpeakerUUID id, requiredID(*member, "UUID"));
        const auto address = speakerAddressFromLocation(member->attribute("Location").value_or(""));
        if (address) addresses.insert_or_assign(id, *address);
        const bool invisible = isInvisible(*member);
        if (invisible) {
            candidates.push_back({member, id, std::nullopt});
        } else {
            const auto roomName = member->attribute("ZoneName");
            if (!roomName) return parseFailure("room " + id.rawValue() + " lacks ZoneName");
            roomIndex.try_emplace(id, group.members.size());
            group.members.push_back({id, *roomName, address, {}});
            collectRoles(*member, id, roles);
        }
        for (const XMLNode* satellite : member->childrenNamed("Satellite")) {
            ORVEL_TRY(SpeakerUUID satelliteID, requiredID(*satellite, "UUID"));
            if (auto address = speakerAddressFromLocation(satellite->attribute("Location").value_or(""))) {
                addresses.insert_or_assign(satelliteID, *address);
            }
            candidates.push_back({satellite, satelliteID, invisible ? std::nullopt : std::optional(id)});
        }
    }
    if (!roomIndex.contains(group.coordinator)) {
        return parseFailure("group " + group.id + " is led by " + group.coordinator.rawValue() +
                            ", which is none of its rooms");
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
        if (!slot) continue;
        if (!slot->parent) slot->parent = candidate.holder;
        if (!slot->parent) continue;
        const auto room = roomIndex.find(*slot->parent);
        if (room == roomIndex.end()) continue;
        group.members[room->second].satellites.push_back(
            BondedSatellite{candidate.id, slot->parent, slot->role, std::nullopt, std::nullopt, true, std::nullopt});
        placed.insert(candidate.id);
    }
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
    for (const XMLNode* node : groupNodes) {
        ORVEL_TRY(ZoneGroup group, readGroup(*node, state.addresses));
        for (const auto& member : group.members) {
            if (!coordinatorOf.emplace(member.id, group.coordinator).second) {
                return parseFailure("room " + member.id.rawValue() + " is listed in two groups");
            }
        }
        state.groups.push_back(std::move(group));
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
