#include "HouseholdSnapshot.h"

#include <algorithm>
#include <tuple>

#include "HashCombine.h"
#include "RoomNaming.h"

namespace orvel {

namespace {

// One group claiming a playback session, with what decides who keeps it when several do.
struct SessionClaim {
    const GroupID* id;
    const NowPlaying* nowPlaying;
    bool preferred;
    std::size_t size;
    std::size_t satellites;
};

// Preferred groups first, then larger groups, then coordinators with more bonded satellites,
// then the smaller id. Total on distinct ids, so the winner never depends on map order.
bool comesFirst(const SessionClaim& a, const SessionClaim& b) {
    if (a.preferred != b.preferred) return a.preferred;
    if (a.size != b.size) return a.size > b.size;
    if (a.satellites != b.satellites) return a.satellites > b.satellites;
    return *a.id < *b.id;
}

// Walks the claims in session order and returns those that lose to an earlier kept claim of
// the same session; `kept` receives the winners.
std::vector<const GroupID*> contestedLosers(std::vector<SessionClaim> claims, std::vector<SessionClaim>& kept) {
    std::vector<const GroupID*> losers;
    if (claims.size() < 2) {
        kept = std::move(claims);
        return losers;
    }
    std::sort(claims.begin(), claims.end(), comesFirst);
    for (const auto& claim : claims) {
        bool taken = std::ranges::any_of(kept, [&](const SessionClaim& winner) {
            return winner.nowPlaying->matchesSession(*claim.nowPlaying);
        });
        if (taken) {
            losers.push_back(claim.id);
        } else {
            kept.push_back(claim);
        }
    }
    return losers;
}

bool anyKeptMatches(const std::vector<SessionClaim>& kept, const NowPlaying& item) {
    return std::ranges::any_of(kept, [&](const SessionClaim& k) { return k.nowPlaying->matchesSession(item); });
}

}  // namespace

HouseholdSnapshot::HouseholdSnapshot(Date observedAt, SpeakerMap speakers, Topology topology, StatusMap groupStatus,
                                     RFPeerMatrix rf, std::optional<std::vector<PresetPill>> presets,
                                     std::optional<std::string> networkName,
                                     const std::set<GroupID>& preferredGroupIDs)
    : observedAt_(observedAt),
      speakers_(std::move(speakers)),
      topology_(std::move(topology)),
      rf_(std::move(rf)),
      presets_(std::move(presets)),
      networkName_(std::move(networkName)) {
    TopologyGroups groups = topology_.groups();
    groupStatus_ = sanitizeGroupStatus(std::move(groupStatus), speakers_, groups, preferredGroupIDs);
    groups_ = buildGroups(speakers_, groups, groupStatus_);
}

GroupStatus HouseholdSnapshot::fallbackStatus(const GroupID& group, const SpeakerMap& speakers) {
    auto it = speakers.find(group.coordinator);
    return GroupStatus{PlaybackState::stopped(), it == speakers.end() ? DiscreteVolume() : it->second.volume};
}

GroupStatus HouseholdSnapshot::status(const GroupID& of) const {
    auto it = groupStatus_.find(of);
    if (it != groupStatus_.end()) return it->second;
    return fallbackStatus(of, speakers_);
}

HouseholdSnapshot::StatusMap HouseholdSnapshot::sanitizeGroupStatus(StatusMap status, const SpeakerMap& speakers,
                                                                    const TopologyGroups& groups,
                                                                    const std::set<GroupID>& preferred) {
    if (groups.size() < 2) return status;

    auto claimsIn = [&](auto isCase) {
        std::vector<SessionClaim> claims;
        for (const auto& [id, members] : groups) {
            auto entry = status.find(id);
            if (entry == status.end() || !isCase(entry->second.playback)) continue;
            auto coordinator = speakers.find(id.coordinator);
            std::size_t satellites =
                coordinator == speakers.end() ? 0 : coordinator->second.bondedSatellites.size();
            claims.push_back(SessionClaim{&id, entry->second.playback.nowPlaying(), preferred.contains(id),
                                          members.size() + 1, satellites});
        }
        return claims;
    };

    // Losers are collected first and cleared at the end, so the claims keep pointing at live
    // entries while the walk compares them.
    std::vector<const GroupID*> cleared;
    std::vector<SessionClaim> kept;
    cleared = contestedLosers(claimsIn([](const PlaybackState& p) { return p.isPlaying(); }), kept);

    if (kept.empty()) {
        cleared = contestedLosers(claimsIn([](const PlaybackState& p) { return p.isPaused(); }), kept);
    } else {
        bool musicPlays = std::ranges::any_of(kept, [](const SessionClaim& k) { return !k.nowPlaying->isTvAudio(); });
        for (const auto& [id, members] : groups) {
            auto entry = status.find(id);
            if (entry == status.end() || !entry->second.playback.isPaused()) continue;
            const NowPlaying& item = *entry->second.playback.nowPlaying();
            bool clear = item.isTvAudio()
                             ? anyKeptMatches(kept, item)
                             : musicPlays || anyKeptMatches(kept, item) || item.isSpotifyOrStreaming();
            if (clear) cleared.push_back(&id);
        }
    }

    for (const GroupID* id : cleared) {
        auto entry = status.find(*id);
        DiscreteVolume volume = entry != status.end() ? entry->second.volume : fallbackStatus(*id, speakers).volume;
        status.insert_or_assign(*id, GroupStatus{PlaybackState::stopped(), volume});
    }
    return status;
}

std::vector<SonosGroup> HouseholdSnapshot::buildGroups(const SpeakerMap& speakers, const TopologyGroups& groups,
                                                       const StatusMap& status) {
    std::vector<SonosGroup> out;
    if (speakers.empty()) return out;
    out.reserve(groups.size());
    const auto roomCount = static_cast<std::int64_t>(speakers.size());

    for (const auto& [id, memberIDs] : groups) {
        auto coordinator = speakers.find(id.coordinator);
        if (coordinator == speakers.end()) continue;

        std::vector<std::pair<std::string, const Speaker*>> keyed;
        keyed.reserve(memberIDs.size());
        for (const auto& memberID : memberIDs) {
            auto member = speakers.find(memberID);
            if (member == speakers.end()) continue;
            keyed.emplace_back(RoomNaming::shortName(member->second.roomName, false), &member->second);
        }
        std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) {
            return std::tie(a.first, a.second->id) < std::tie(b.first, b.second->id);
        });

        std::vector<Speaker> members;
        std::vector<std::string> roomNames;
        members.reserve(keyed.size());
        roomNames.reserve(keyed.size());
        for (const auto& [key, speaker] : keyed) {
            members.push_back(*speaker);
            roomNames.push_back(speaker->roomName);
        }

        auto entry = status.find(id);
        GroupStatus groupStatus = entry != status.end() ? entry->second : fallbackStatus(id, speakers);
        std::string displayName = RoomNaming::groupName(coordinator->second.roomName, roomNames, roomCount);
        out.push_back(SonosGroup{id, coordinator->second, std::move(members), std::move(groupStatus.playback),
                                 groupStatus.volume, std::move(displayName)});
    }

    std::sort(out.begin(), out.end(), [](const SonosGroup& a, const SonosGroup& b) {
        return std::tie(a.displayName, a.id) < std::tie(b.displayName, b.id);
    });
    return out;
}

bool HouseholdSnapshot::isSemanticallyEquivalent(const HouseholdSnapshot& to) const {
    if (topology_ != to.topology_) return false;
    if (rf_ != to.rf_) return false;
    if (presets_ != to.presets_) return false;
    if (networkName_ != to.networkName_) return false;
    if (notAnswering_ != to.notAnswering_) return false;

    if (speakers_.size() != to.speakers_.size()) return false;
    for (const auto& [id, speaker] : speakers_) {
        auto other = to.speakers_.find(id);
        if (other == to.speakers_.end() || !speaker.isSemanticallyEquivalent(other->second)) return false;
    }

    // The topologies are equal by now, so the groups of either are the groups of both.
    for (const auto& [speaker, coordinator] : topology_.coordinatorOf()) {
        if (speaker != coordinator) continue;
        GroupID id(coordinator);
        auto mine = groupStatus_.find(id);
        auto theirs = to.groupStatus_.find(id);
        if (mine != groupStatus_.end() && theirs != to.groupStatus_.end()) {
            if (mine->second.volume != theirs->second.volume ||
                !mine->second.playback.isSemanticallyEquivalent(theirs->second.playback)) {
                return false;
            }
            continue;
        }
        GroupStatus a = mine != groupStatus_.end() ? mine->second : fallbackStatus(id, speakers_);
        GroupStatus b = theirs != to.groupStatus_.end() ? theirs->second : fallbackStatus(id, to.speakers_);
        if (a.volume != b.volume || !a.playback.isSemanticallyEquivalent(b.playback)) return false;
    }
    return true;
}

HouseholdSnapshot HouseholdSnapshot::sanitizingPlaybackSessions(const std::set<GroupID>& preferredGroupIDs) const {
    StatusMap sanitized = sanitizeGroupStatus(groupStatus_, speakers_, topology_.groups(), preferredGroupIDs);
    if (sanitized == groupStatus_) return *this;
    return HouseholdSnapshot(observedAt_, speakers_, topology_, std::move(sanitized), rf_, presets_, networkName_,
                             preferredGroupIDs)
        .markingNotAnswering(notAnswering_);
}

HouseholdSnapshot HouseholdSnapshot::replacing(std::optional<SpeakerMap> speakers, std::optional<Topology> topology,
                                               std::optional<std::pair<GroupID, GroupStatus>> status) const {
    StatusMap groupStatus = groupStatus_;
    if (status) groupStatus.insert_or_assign(std::move(status->first), std::move(status->second));
    return HouseholdSnapshot(observedAt_, speakers ? std::move(*speakers) : speakers_,
                             topology ? std::move(*topology) : topology_, std::move(groupStatus), rf_, presets_,
                             networkName_)
        .markingNotAnswering(notAnswering_);
}

HouseholdSnapshot HouseholdSnapshot::markingNotAnswering(std::set<SpeakerUUID> speakers) const& {
    HouseholdSnapshot marked = *this;
    return std::move(marked).markingNotAnswering(std::move(speakers));
}

HouseholdSnapshot HouseholdSnapshot::markingNotAnswering(std::set<SpeakerUUID> speakers) && {
    notAnswering_ = std::move(speakers);
    return std::move(*this);
}

std::size_t HouseholdSnapshot::hashValue() const {
    std::size_t seed = 0;
    hashCombine(seed, observedAt_);
    hashCombine(seed, speakers_.size());
    for (const auto& [id, speaker] : speakers_) {
        hashCombine(seed, id);
        hashCombine(seed, speaker);
    }
    hashCombine(seed, topology_);
    hashCombine(seed, groupStatus_.size());
    for (const auto& [id, status] : groupStatus_) {
        hashCombine(seed, id);
        hashCombine(seed, status);
    }
    hashCombine(seed, rf_);
    hashCombine(seed, presets_.has_value());
    if (presets_) {
        hashCombine(seed, presets_->size());
        for (const auto& preset : *presets_) hashCombine(seed, preset);
    }
    hashCombine(seed, networkName_);
    hashCombine(seed, groups_.size());
    for (const auto& group : groups_) hashCombine(seed, group);
    return seed;
}

}  // namespace orvel
