#include <algorithm>
#include <cmath>
#include <utility>

#include "OrvelDomain/FloorplanLayout.h"
#include "OrvelState.h"

namespace orvel {

Speaker OrvelState::withValuesKnownBefore(Speaker listed, const std::map<SpeakerUUID, Speaker>& known) {
    if (!listed.model.isUnread()) return listed;
    const auto before = known.find(listed.id);
    if (before == known.end() || before->second.model.isUnread()) return listed;
    listed.model = before->second.model;
    // An offline speaker's volume was not read either; an online one's was.
    if (listed.reachability.isOffline()) listed.volume = before->second.volume;
    return listed;
}

HouseholdSnapshot OrvelState::withValuesKnownBefore(HouseholdSnapshot snapshot, const std::map<SpeakerUUID, Speaker>& known) {
    const auto unread = [](const auto& entry) { return entry.second.model.isUnread(); };
    if (std::none_of(snapshot.speakers().begin(), snapshot.speakers().end(), unread)) return snapshot;
    HouseholdSnapshot::SpeakerMap speakers;
    for (const auto& [id, speaker] : snapshot.speakers()) speakers.emplace(id, withValuesKnownBefore(speaker, known));
    if (speakers == snapshot.speakers()) return snapshot;
    return snapshot.replacing(std::move(speakers));
}

std::map<SpeakerUUID, Speaker> OrvelState::knownAfter(std::map<SpeakerUUID, Speaker> known,
                                                      const HouseholdSnapshot& snapshot) {
    // Kept offline, at the address and time of this snapshot, so a speaker that vanishes from
    // later snapshots shows where and when it was last listed. A speaker the snapshot already
    // lists as offline keeps the time it was really last seen: a later snapshot that still
    // misses it is no sighting.
    for (const auto& [id, listed] : snapshot.speakers()) {
        Speaker speaker = withValuesKnownBefore(listed, known);
        if (speaker.reachability.isOffline()) {
            known.insert_or_assign(id, std::move(speaker));
            continue;
        }
        const ReachabilityState offline = ReachabilityState::offline(speaker.reachability.ip(), snapshot.observedAt());
        known.insert_or_assign(id, speaker.with(offline));
    }
    return withoutBondedSatellites(std::move(known), snapshot.speakers());
}

std::map<SpeakerUUID, Speaker> OrvelState::withoutBondedSatellites(std::map<SpeakerUUID, Speaker> known,
                                                                   const std::map<SpeakerUUID, Speaker>& listed) {
    std::set<SpeakerUUID> bonded;
    for (const auto& [id, speaker] : known) {
        for (const BondedSatellite& satellite : speaker.bondedSatellites) bonded.insert(satellite.id);
    }
    for (const SpeakerUUID& id : bonded) {
        if (!listed.contains(id)) known.erase(id);
    }
    return known;
}

const RFPeerMatrix& OrvelState::matrixAfter(const RFPeerMatrix& current, const HouseholdSnapshot& snapshot) {
    return snapshot.rf() == RFPeerMatrix::empty() ? current : snapshot.rf();
}

bool OrvelState::layoutInputsDiffer(const std::map<SpeakerUUID, Speaker>& before, const RFPeerMatrix& rfBefore,
                                    const std::map<SpeakerUUID, Speaker>& after, const RFPeerMatrix& rfAfter) {
    if (rfBefore != rfAfter || before.size() != after.size()) return true;
    return !std::equal(before.begin(), before.end(), after.begin(), [](const auto& a, const auto& b) {
        return a.first == b.first && a.second.roomName == b.second.roomName;
    });
}

std::optional<OrvelState::LayoutInputs> OrvelState::needsFloorplanReinference(const HouseholdSnapshot& snapshot) const {
    auto known = knownAfter(known_, snapshot);
    const RFPeerMatrix& rf = matrixAfter(rf_, snapshot);
    if (!layoutInputsDiffer(known_, rf_, known, rf)) return std::nullopt;
    return LayoutInputs{values(known), rf};
}

void OrvelState::absorb(const HouseholdSnapshot& snapshot, std::optional<Layout> precomputedLayout, Date now) {
    // A group that was playing or paused keeps its session when two groups report the same one.
    std::set<GroupID> preferred;
    if (live_) {
        for (const SonosGroup& group : live_->groups()) {
            if (!group.playback.isStopped()) preferred.insert(group.id);
        }
    }
    // What the household could not read of a speaker is what was known of it before.
    HouseholdSnapshot s = withValuesKnownBefore(snapshot, known_).sanitizingPlaybackSessions(preferred);

    // A snapshot stamped ahead of the local clock judges expiry by its own time.
    const Date reference = std::max(s.observedAt(), now);
    std::erase_if(volumeOverrides_, [&](const auto& entry) {
        const auto& [target, held] = entry;
        if (!(reference < held.expiresAt)) return true;
        return target.visit(
            [&](const VolumeTarget::Group& group) { return s.status(group.id).volume == held.volume; },
            [&](const VolumeTarget::Speaker& speaker) {
                auto found = s.speakers().find(speaker.id);
                return found != s.speakers().end() && found->second.volume == held.volume;
            });
    });

    std::erase_if(settling_, [&](const Settling& settled) { return endsWith(settled, s.observedAt(), now); });

    auto known = knownAfter(known_, s);
    const RFPeerMatrix rf = matrixAfter(rf_, s);
    const bool layoutChanged = layoutInputsDiffer(known_, rf_, known, rf);
    known_ = std::move(known);
    rf_ = rf;

    if (s.presets()) presets_ = *s.presets();
    if (s.networkName() && !s.networkName()->empty()) networkName_ = s.networkName();
    live_ = std::move(s);

    if (precomputedLayout) {
        inferred_ = std::move(precomputedLayout->inferred);
        cachedFloorMap_ = std::move(precomputedLayout->floors);
    } else if (layoutChanged) {
        inferLayout();
    }
    recomputeDerivedState();
}

bool OrvelState::hasExpiredVolumeOverrides(Date at) const {
    return std::any_of(volumeOverrides_.begin(), volumeOverrides_.end(),
                       [at](const auto& entry) { return at >= entry.second.expiresAt; });
}

void OrvelState::setOptimisticVolume(DiscreteVolume volume, const VolumeTarget& target, Date now, double ttl) {
    // A nonsense lifetime must not make an override that never goes.
    const double lifetime = std::isfinite(ttl) ? ttl : 0.0;
    volumeOverrides_.insert_or_assign(target, VolumeOverride{volume, now.addingSeconds(lifetime)});
    recomputeDerivedState();
}

CommandTicket OrvelState::begin(SonosCommand command) {
    const CommandTicket ticket{nextTicket_};
    ++nextTicket_;
    inFlight_.push_back(InFlight{ticket, std::move(command)});
    recomputeDerivedState();
    return ticket;
}

void OrvelState::finish(CommandTicket ticket, const CommandResult& result, Date now) {
    auto entry = std::find_if(inFlight_.begin(), inFlight_.end(),
                              [&](const InFlight& inFlight) { return inFlight.ticket == ticket; });
    if (entry == inFlight_.end()) return;
    InFlight finished = std::move(*entry);
    inFlight_.erase(entry);
    if (!result) {
        alert_ = OrvelAlert::commandFailed(std::move(finished.command), result.error());
    } else if (const auto* partial = result->asPartiallyApplied()) {
        alert_ = OrvelAlert::partiallyApplied(std::move(finished.command), partial->unreachable);
    } else {
        settling_.push_back(Settling{std::move(finished), now});
    }
    recomputeDerivedState();
}

bool OrvelState::hasRunOut(const Settling& settled, Date now) {
    return now >= settled.answeredAt.addingSeconds(settleSeconds);
}

bool OrvelState::endsWith(const Settling& settled, Date observedAt, Date now) {
    return settled.answeredAt <= observedAt || hasRunOut(settled, now);
}

bool OrvelState::endsSettling(Date observedAt, Date now) const {
    return std::any_of(settling_.begin(), settling_.end(),
                       [&](const Settling& settled) { return endsWith(settled, observedAt, now); });
}

std::optional<Date> OrvelState::settlingRunsOutAt() const {
    std::optional<Date> first;
    for (const Settling& settled : settling_) {
        const Date end = settled.answeredAt.addingSeconds(settleSeconds);
        if (!first || end < *first) first = end;
    }
    return first;
}

void OrvelState::endSettling(Date now) {
    if (std::erase_if(settling_, [&](const Settling& settled) { return hasRunOut(settled, now); }) == 0) return;
    recomputeDerivedState();
}

}  // namespace orvel
