#pragma once

// Everything known about one household at one instant: the speakers, who groups with whom,
// what each group plays and how loud, radio proximity, presets and the household's name.
//
// Two rules run inside the constructor. The group status is sanitized so that one playback
// session shows in one group only (the speakers keep reporting a session in a group that has
// lost it), and the groups are derived from speakers, topology and that status, with their
// members, names and order fixed here. Callers never supply groups.

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "Date.h"
#include "GroupID.h"
#include "GroupStatus.h"
#include "PresetPill.h"
#include "RFPeerMatrix.h"
#include "SonosGroup.h"
#include "Speaker.h"
#include "SpeakerUUID.h"
#include "Topology.h"

namespace orvel {

class HouseholdSnapshot {
public:
    using SpeakerMap = std::map<SpeakerUUID, Speaker>;
    using StatusMap = std::map<GroupID, GroupStatus>;

    // Stores everything as given except the status, which is sanitized with the
    // `preferredGroupIDs` winning contested sessions; the preference itself is not kept.
    // `presets` and `networkName` are absent until read from the household.
    HouseholdSnapshot(Date observedAt, SpeakerMap speakers, Topology topology, StatusMap groupStatus,
                      RFPeerMatrix rf, std::optional<std::vector<PresetPill>> presets,
                      std::optional<std::string> networkName, const std::set<GroupID>& preferredGroupIDs = {});

    Date observedAt() const { return observedAt_; }
    const SpeakerMap& speakers() const { return speakers_; }
    const Topology& topology() const { return topology_; }
    // Always the sanitized map. It may hold entries for ids that lead no group.
    const StatusMap& groupStatus() const { return groupStatus_; }
    const RFPeerMatrix& rf() const { return rf_; }
    const std::optional<std::vector<PresetPill>>& presets() const { return presets_; }
    const std::optional<std::string>& networkName() const { return networkName_; }
    // Sorted by display name, then by id; a group whose coordinator has no speaker is left out.
    const std::vector<SonosGroup>& groups() const { return groups_; }
    // Speakers shown as they last answered although they did not answer this time; they are not
    // yet offline. Empty unless marked.
    const std::set<SpeakerUUID>& notAnswering() const { return notAnswering_; }
    // A copy with that mark; the other operations carry it over.
    HouseholdSnapshot markingNotAnswering(std::set<SpeakerUUID> speakers) const&;
    HouseholdSnapshot markingNotAnswering(std::set<SpeakerUUID> speakers) &&;

    // The group's entry, or else stopped at the volume of its coordinator speaker (step 0 when
    // the coordinator is unknown).
    GroupStatus status(const GroupID& of) const;

    // Whether `to` shows the user nothing new. Observation time, derived groups and status
    // entries of ids that lead no group are ignored; speakers and playback are compared by
    // their own semantic tests, everything else (the not-answering mark too) exactly. Like the
    // playback test, not symmetric: a playing position in `to` is compared with this one
    // carried forward.
    bool isSemanticallyEquivalent(const HouseholdSnapshot& to) const;

    // This snapshot with its status sanitized again under another preference; an unchanged
    // status returns this snapshot as it is.
    HouseholdSnapshot sanitizingPlaybackSessions(const std::set<GroupID>& preferredGroupIDs) const;

    // A copy with the given parts replaced (a status pair sets that group's entry), sanitized
    // without preference and regrouped. Observation time, radio matrix, presets and name stay.
    HouseholdSnapshot replacing(std::optional<SpeakerMap> speakers = std::nullopt,
                                std::optional<Topology> topology = std::nullopt,
                                std::optional<std::pair<GroupID, GroupStatus>> status = std::nullopt) const;

    std::size_t hashValue() const;

    friend bool operator==(const HouseholdSnapshot&, const HouseholdSnapshot&) = default;

private:
    // Every coordinator with its followers, as the topology lists them.
    using TopologyGroups = std::map<GroupID, std::set<SpeakerUUID>>;

    static StatusMap sanitizeGroupStatus(StatusMap status, const SpeakerMap& speakers, const TopologyGroups& groups,
                                         const std::set<GroupID>& preferred);
    static std::vector<SonosGroup> buildGroups(const SpeakerMap& speakers, const TopologyGroups& groups,
                                               const StatusMap& status);
    static GroupStatus fallbackStatus(const GroupID& group, const SpeakerMap& speakers);

    Date observedAt_;
    SpeakerMap speakers_;
    Topology topology_;
    StatusMap groupStatus_;
    RFPeerMatrix rf_;
    std::optional<std::vector<PresetPill>> presets_;
    std::optional<std::string> networkName_;
    std::vector<SonosGroup> groups_;
    std::set<SpeakerUUID> notAnswering_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::HouseholdSnapshot> {
    std::size_t operator()(const orvel::HouseholdSnapshot& snapshot) const noexcept {
        return snapshot.hashValue();
    }
};
