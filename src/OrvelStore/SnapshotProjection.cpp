#include "SnapshotProjection.h"

#include <utility>

namespace orvel {
namespace {

HouseholdSnapshot projectingTopology(const HouseholdSnapshot& snapshot, const TopologyTarget& target) {
    const TopologyPlan plan = target.plan(snapshot.topology());
    const auto* steps = plan.asSteps();
    if (steps == nullptr) return snapshot;
    // Skipped speakers are left to the real command; only the steps move anyone.
    Topology topology = snapshot.topology();
    for (const TopologyStep& step : steps->steps) topology = topology.applying(step);
    return snapshot.replacing(std::nullopt, std::move(topology));
}

HouseholdSnapshot projectingVolume(const HouseholdSnapshot& snapshot, const SonosCommand::SetVolume& change) {
    return change.target.visit(
        [&](const VolumeTarget::Group& group) {
            GroupStatus status = snapshot.status(group.id);
            status.volume = change.volume;
            return snapshot.replacing(std::nullopt, std::nullopt, std::pair{group.id, std::move(status)});
        },
        [&](const VolumeTarget::Speaker& speaker) {
            auto found = snapshot.speakers().find(speaker.id);
            if (found == snapshot.speakers().end()) return snapshot;
            HouseholdSnapshot::SpeakerMap speakers = snapshot.speakers();
            speakers.insert_or_assign(speaker.id, found->second.with(change.volume));
            return snapshot.replacing(std::move(speakers));
        });
}

HouseholdSnapshot projectingTransport(const HouseholdSnapshot& snapshot, const SonosCommand::PlayPause& change) {
    GroupStatus status = snapshot.status(change.group);
    if (change.action == PlayPause::play) {
        const auto* paused = status.playback.asPaused();
        if (paused == nullptr) return snapshot;
        status.playback = PlaybackState::playing(paused->nowPlaying, paused->elapsed, snapshot.observedAt());
    } else {
        const auto* playing = status.playback.asPlaying();
        if (playing == nullptr) return snapshot;
        status.playback = PlaybackState::paused(playing->nowPlaying, playing->elapsed);
    }
    return snapshot.replacing(std::nullopt, std::nullopt, std::pair{change.group, std::move(status)});
}

}  // namespace

HouseholdSnapshot projecting(const HouseholdSnapshot& snapshot, const SonosCommand& command) {
    if (const auto* volume = command.asSetVolume()) return projectingVolume(snapshot, *volume);
    if (const auto* transport = command.asPlayPause()) return projectingTransport(snapshot, *transport);
    if (auto target = command.topologyTarget()) return projectingTopology(snapshot, *target);
    return snapshot;
}

}  // namespace orvel
