#include "OrvelState.h"

#include <algorithm>
#include <unordered_map>
#include <utility>

#include "OrvelDomain/FloorplanLayout.h"
#include "SnapshotProjection.h"

namespace orvel {

OrvelState::OrvelState(const LoadedFiles& loaded, std::vector<PresetPill> initialPresets)
    : presets_(std::move(initialPresets)) {
    if (loaded.cache) {
        // A hand-edited file may list an identifier twice: the later entry wins.
        for (const Speaker& speaker : loaded.cache->speakers) known_.insert_or_assign(speaker.id, speaker);
        known_ = withoutBondedSatellites(std::move(known_), {});
        rf_ = loaded.cache->rf;
        networkName_ = loaded.cache->networkName;
    }
    if (loaded.positions) pins_ = loaded.positions->pins;
    if (!loaded.quarantined.empty()) alert_ = OrvelAlert::quarantined(loaded.quarantined.front());
    inferLayout();
    recomputeDerivedState();
}

std::vector<Speaker> OrvelState::values(const std::map<SpeakerUUID, Speaker>& speakers) {
    std::vector<Speaker> out;
    out.reserve(speakers.size());
    for (const auto& [id, speaker] : speakers) out.push_back(speaker);
    return out;
}

void OrvelState::inferLayout() {
    const std::vector<Speaker> speakers = values(known_);
    auto [coordinates, floors] = FloorplanLayout::inferWithFloors(speakers, rf_);
    inferred_ = std::move(coordinates);
    cachedFloorMap_ = std::move(floors);
}

std::vector<FloorplanNode> OrvelState::buildNodes() const {
    std::vector<FloorplanNode> nodes;
    nodes.reserve(speakers_.size());
    for (const Speaker& speaker : speakers_) {
        RoomCoordinate coordinate = RoomCoordinate::clamping(0.5, 0.5);
        Placement placement = Placement::inferred;
        if (auto pinned = pins_.find(speaker.id); pinned != pins_.end()) {
            coordinate = pinned->second;
            placement = Placement::pinned;
        } else if (auto inferred = inferred_.find(speaker.id); inferred != inferred_.end()) {
            coordinate = inferred->second;
        }
        auto floor = cachedFloorMap_.find(speaker.id);
        FloorLevel level = floor != cachedFloorMap_.end() ? floor->second : FloorLevel::classify(speaker.roomName);
        std::optional<GroupID> group;
        if (cachedProjected_) group = cachedProjected_->topology().group(speaker.id);
        nodes.push_back(FloorplanNode{speaker, std::move(level), coordinate, placement, std::move(group)});
    }
    return nodes;
}

void OrvelState::recomputeDerivedState() {
    if (live_) {
        HouseholdSnapshot projected = *live_;
        // Settling and in-flight commands in the order they were begun.
        std::vector<const InFlight*> commands;
        commands.reserve(settling_.size() + inFlight_.size());
        for (const Settling& settled : settling_) commands.push_back(&settled.command);
        for (const InFlight& entry : inFlight_) commands.push_back(&entry);
        std::stable_sort(commands.begin(), commands.end(),
                         [](const InFlight* a, const InFlight* b) { return a->ticket.value < b->ticket.value; });
        for (const InFlight* entry : commands) projected = projecting(projected, entry->command);
        // After every command, in the map's fixed order (speaker targets before groups).
        for (const auto& [target, held] : volumeOverrides_) {
            projected = projecting(projected, SonosCommand::setVolume(held.volume, target));
        }
        cachedProjected_ = std::move(projected);
    } else {
        cachedProjected_.reset();
    }

    std::map<SpeakerUUID, Speaker> shown = known_;
    if (cachedProjected_) {
        for (const auto& [id, speaker] : cachedProjected_->speakers()) shown.insert_or_assign(id, speaker);
    }
    speakers_ = values(shown);
    // The identifier breaks ties so that equal states always list equal rooms in one order.
    std::sort(speakers_.begin(), speakers_.end(), [](const Speaker& a, const Speaker& b) {
        if (a.roomName != b.roomName) return a.roomName < b.roomName;
        return a.id < b.id;
    });

    floorplan_ = buildNodes();

    ClusterTopologyKey key;
    key.entries.reserve(floorplan_.size());
    for (const FloorplanNode& node : floorplan_) {
        key.entries.push_back({node.speaker.id, node.speaker.roomName, node.level, node.coordinate, node.placement});
    }
    key.rf = rf_;

    if (cachedClusterKey_ && *cachedClusterKey_ == key && !floorplanRoomClusters_.empty()) {
        // Same rooms in the same places: keep the clusters, refresh what their nodes show.
        std::unordered_map<SpeakerUUID, const FloorplanNode*> byID;
        for (const FloorplanNode& node : floorplan_) byID.emplace(node.speaker.id, &node);
        for (FloorplanRoomCluster& cluster : floorplanRoomClusters_) {
            for (FloorplanNode& node : cluster.nodes) {
                if (auto fresh = byID.find(node.speaker.id); fresh != byID.end()) node = *fresh->second;
            }
        }
        return;
    }
    floorplanRoomClusters_ = FloorplanLayout::clusterRooms(floorplan_, rf_);
    cachedClusterKey_ = std::move(key);
}

}  // namespace orvel
