#pragma once

// How the user's regrouping intents become speaker commands. Each function reads the groups as
// the user sees them (the projected groups, with commands in flight already applied) and answers
// the one command to send, or nothing when the intent changes nothing.
//
// The rule behind the merges: of two groups that become one, the one with the more active
// playback (playing before paused before stopped) keeps its coordinator, so whatever plays
// goes on playing. A one-off preset is a preset built only to be sent once; it is never saved.

#include <optional>
#include <vector>

#include "OrvelDomain/GroupID.h"
#include "OrvelDomain/HouseholdSnapshot.h"
#include "OrvelDomain/PlaybackState.h"
#include "OrvelDomain/PresetID.h"
#include "OrvelDomain/PresetPill.h"
#include "OrvelDomain/SonosCommand.h"
#include "OrvelDomain/SonosGroup.h"
#include "OrvelDomain/Speaker.h"
#include "OrvelDomain/SpeakerUUID.h"

namespace orvel {

// 2 playing, 1 paused, 0 stopped.
int playbackRank(const PlaybackState& playback);
// The first group of the highest rank, in list order; null for an empty list.
const SonosGroup* mostActiveGroup(const std::vector<SonosGroup>& groups);
// The first group whose speakers (coordinator or member) include `speaker`.
const SonosGroup* groupContaining(const std::vector<SonosGroup>& groups, const SpeakerUUID& speaker);

// Dropping `member` onto `onto`: the two whole groups merge. A lone speaker joins with `group`;
// a multi-room group that must follow another coordinator moves with `applyPreset` of both
// groups' speakers. `projected` serves the case where either speaker is missing from `groups`
// (the target is then looked up in its topology); null when there is no snapshot yet.
std::optional<SonosCommand> mergeGroupsCommand(const std::vector<SonosGroup>& groups, const HouseholdSnapshot* projected,
                                               const SpeakerUUID& member, const SpeakerUUID& onto,
                                               const PresetID& oneOffID);

// Taking one speaker out of its group. When it led the group, `heir` is the group the remaining
// speakers are expected to form (led by the smallest member), so that what is remembered about
// the group's track can move there.
struct UngroupPlan {
    SonosCommand command;
    std::optional<GroupID> heir;
    friend bool operator==(const UngroupPlan&, const UngroupPlan&) = default;
};
std::optional<UngroupPlan> ungroupPlan(const std::vector<SonosGroup>& groups, const SpeakerUUID& speaker);

// Every speaker of the group on its own: one `ungroup` for a two-room group, else a one-off
// preset of the coordinator alone, which splits the rest in one step.
std::optional<SonosCommand> dissolveGroupCommand(const std::vector<SonosGroup>& groups, const GroupID& group,
                                                 const PresetID& oneOffID);

// Every online speaker (of `speakers`, in that order) in one group, led by the coordinator of
// the most active group when it plays or is paused, else by the first online speaker.
std::optional<SonosCommand> groupEverywhereCommand(const std::vector<Speaker>& speakers,
                                                   const std::vector<SonosGroup>& groups, const PresetID& oneOffID);
inline constexpr const char* everywherePresetName = "Everywhere";

// The preset as sent: led instead by the coordinator of a more active overlapping group when
// that speaker belongs to the preset, so that applying it does not interrupt what plays.
SonosCommand applyPresetCommand(const std::vector<SonosGroup>& groups, const PresetPill& preset);

}  // namespace orvel
