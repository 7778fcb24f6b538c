#include "GroupingIntents.h"

#include <algorithm>
#include <set>

namespace orvel {

namespace {

std::set<SpeakerUUID> idsOf(const SonosGroup& group) {
    std::set<SpeakerUUID> ids{group.coordinator.id};
    for (const Speaker& member : group.members) ids.insert(member.id);
    return ids;
}

bool contains(const SonosGroup& group, const SpeakerUUID& speaker) {
    if (group.coordinator.id == speaker) return true;
    return std::any_of(group.members.begin(), group.members.end(),
                       [&](const Speaker& member) { return member.id == speaker; });
}

std::size_t sizeOf(const SonosGroup& group) { return 1 + group.members.size(); }

// `leader` keeps its coordinator and takes in every speaker of `joining`.
SonosCommand mergedInto(const SonosGroup& leader, const SonosGroup& joining, const PresetID& oneOffID) {
    std::set<SpeakerUUID> members = idsOf(leader);
    members.merge(idsOf(joining));
    return SonosCommand::applyPreset(
        PresetPill(oneOffID, leader.displayName, leader.coordinator.id, std::move(members)));
}

}  // namespace

int playbackRank(const PlaybackState& playback) {
    if (playback.isPlaying()) return 2;
    if (playback.isPaused()) return 1;
    return 0;
}

const SonosGroup* mostActiveGroup(const std::vector<SonosGroup>& groups) {
    const SonosGroup* best = nullptr;
    for (const SonosGroup& group : groups) {
        if (!best || playbackRank(group.playback) > playbackRank(best->playback)) best = &group;
    }
    return best;
}

const SonosGroup* groupContaining(const std::vector<SonosGroup>& groups, const SpeakerUUID& speaker) {
    auto found = std::find_if(groups.begin(), groups.end(), [&](const SonosGroup& g) { return contains(g, speaker); });
    return found == groups.end() ? nullptr : &*found;
}

std::optional<SonosCommand> mergeGroupsCommand(const std::vector<SonosGroup>& groups, const HouseholdSnapshot* projected,
                                               const SpeakerUUID& member, const SpeakerUUID& onto,
                                               const PresetID& oneOffID) {
    if (member == onto) return std::nullopt;
    const SonosGroup* m = groupContaining(groups, member);
    const SonosGroup* t = groupContaining(groups, onto);
    if (!m || !t) {
        if (!projected) return std::nullopt;
        auto target = projected->topology().group(onto);
        if (!target) return std::nullopt;
        return SonosCommand::group(member, *target);
    }
    if (m->id == t->id) return std::nullopt;

    const int rM = playbackRank(m->playback);
    const int rT = playbackRank(t->playback);
    const bool loneM = sizeOf(*m) == 1;
    const bool loneT = sizeOf(*t) == 1;
    if (loneM && loneT) {
        if (rT < rM) return SonosCommand::group(onto, m->id);
        return SonosCommand::group(member, t->id);
    }
    if (loneT) {
        if (rM >= rT) return SonosCommand::group(onto, m->id);
        return mergedInto(*t, *m, oneOffID);
    }
    if (loneM) {
        if (rT >= rM) return SonosCommand::group(member, t->id);
        return mergedInto(*m, *t, oneOffID);
    }
    return rT < rM ? mergedInto(*m, *t, oneOffID) : mergedInto(*t, *m, oneOffID);
}

std::optional<UngroupPlan> ungroupPlan(const std::vector<SonosGroup>& groups, const SpeakerUUID& speaker) {
    const SonosGroup* group = groupContaining(groups, speaker);
    if (!group || sizeOf(*group) < 2) return std::nullopt;
    std::optional<GroupID> heir;
    if (group->coordinator.id == speaker) {
        auto smallest = std::min_element(group->members.begin(), group->members.end(),
                                         [](const Speaker& a, const Speaker& b) { return a.id < b.id; });
        heir = GroupID(smallest->id);
    }
    return UngroupPlan{SonosCommand::ungroup(speaker), std::move(heir)};
}

std::optional<SonosCommand> dissolveGroupCommand(const std::vector<SonosGroup>& groups, const GroupID& id,
                                                 const PresetID& oneOffID) {
    auto found = std::find_if(groups.begin(), groups.end(), [&](const SonosGroup& g) { return g.id == id; });
    if (found == groups.end() || sizeOf(*found) < 2) return std::nullopt;
    if (found->members.size() == 1) return SonosCommand::ungroup(found->members.front().id);
    return SonosCommand::applyPreset(
        PresetPill(oneOffID, found->displayName, found->coordinator.id, std::set<SpeakerUUID>{}));
}

std::optional<SonosCommand> groupEverywhereCommand(const std::vector<Speaker>& speakers,
                                                   const std::vector<SonosGroup>& groups, const PresetID& oneOffID) {
    std::vector<SpeakerUUID> online;
    for (const Speaker& speaker : speakers) {
        if (speaker.reachability.isOnline()) online.push_back(speaker.id);
    }
    if (online.size() < 2) return std::nullopt;
    const SonosGroup* active = mostActiveGroup(groups);
    const SpeakerUUID& coordinator =
        active && playbackRank(active->playback) > 0 ? active->coordinator.id : online.front();
    return SonosCommand::applyPreset(PresetPill(oneOffID, everywherePresetName, coordinator, online));
}

SonosCommand applyPresetCommand(const std::vector<SonosGroup>& groups, const PresetPill& preset) {
    std::set<SpeakerUUID> wanted = preset.memberUUIDs();
    wanted.insert(preset.coordinatorUUID());

    std::vector<SonosGroup> overlapping;
    for (const SonosGroup& group : groups) {
        const auto ids = idsOf(group);
        if (std::any_of(ids.begin(), ids.end(), [&](const SpeakerUUID& id) { return wanted.contains(id); })) {
            overlapping.push_back(group);
        }
    }
    if (overlapping.empty()) return SonosCommand::applyPreset(preset);

    auto led = std::find_if(groups.begin(), groups.end(),
                            [&](const SonosGroup& g) { return g.coordinator.id == preset.coordinatorUUID(); });
    const int rankOfLed = led == groups.end() ? 0 : playbackRank(led->playback);
    const SonosGroup* busiest = mostActiveGroup(overlapping);
    if (playbackRank(busiest->playback) > rankOfLed && wanted.contains(busiest->coordinator.id)) {
        return SonosCommand::applyPreset(preset.updated(busiest->coordinator.id, wanted));
    }
    return SonosCommand::applyPreset(preset);
}

}  // namespace orvel
