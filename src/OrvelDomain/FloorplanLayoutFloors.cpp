#include <algorithm>
#include <functional>
#include <set>

#include "FloorplanLayout.h"
#include "FloorplanLayoutIndexed.h"

namespace orvel::FloorplanLayout {

namespace {

bool isGoodLink(std::optional<RFPeerMatrix::Band> band) {
    return band == RFPeerMatrix::Band::moderate || band == RFPeerMatrix::Band::strong;
}

// The floors of `count` groups ranked from the top (position 0) down.
FloorLevel rankedFloor(std::size_t position, std::size_t count) {
    if (count == 2) return position == 0 ? FloorLevel::upper() : FloorLevel::lower();
    if (count == 3) {
        if (position == 0) return FloorLevel::upper();
        return position == 1 ? FloorLevel::main() : FloorLevel::lower();
    }
    return FloorLevel::numbered(static_cast<std::int64_t>(count - position));
}

}  // namespace

namespace indexed {

std::vector<std::vector<SpeakerUUID>> verticalRFClusters(const std::vector<Member>& members,
                                                         const RFPeerMatrix::Index& index) {
    const std::size_t n = members.size();
    std::vector<SpeakerUUID> ids;
    ids.reserve(n);
    for (const auto& m : members) ids.push_back(m.speaker->id);
    const std::vector<std::vector<SpeakerUUID>> single{ids};
    auto bandOf = [&](std::size_t i, std::size_t j) { return index.band(members[i].position, members[j].position); };

    // Union-find over positions in `members`; a root is always the smallest position of its set.
    std::vector<std::size_t> parent(n);
    for (std::size_t i = 0; i < n; ++i) parent[i] = i;
    auto root = [&](std::size_t i) {
        while (parent[i] != i) {
            parent[i] = parent[parent[i]];  // halving changes no root, only the walk
            i = parent[i];
        }
        return i;
    };
    std::vector<bool> linked(n, false);
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            if (!isGoodLink(bandOf(i, j))) continue;
            linked[i] = linked[j] = true;
            std::size_t ri = root(i);
            std::size_t rj = root(j);
            if (ri != rj) parent[std::max(ri, rj)] = std::min(ri, rj);
        }
    }
    if (std::find(linked.begin(), linked.end(), false) != linked.end()) return single;

    // Keyed by root, which is the group's smallest identifier: the map orders the groups.
    std::map<std::size_t, std::vector<std::size_t>> byRoot;
    for (std::size_t i = 0; i < n; ++i) byRoot[root(i)].push_back(i);
    std::vector<std::vector<std::size_t>> groups;
    for (auto& [r, group] : byRoot) groups.push_back(std::move(group));
    if (groups.size() < 2) return single;
    for (const auto& group : groups) {
        if (group.size() < 2) return single;
    }

    auto hasWeakLink = [&](const std::vector<std::size_t>& a, const std::vector<std::size_t>& b) {
        for (std::size_t x : a) {
            for (std::size_t y : b) {
                if (bandOf(x, y) == RFPeerMatrix::Band::weak) return true;
            }
        }
        return false;
    };
    for (std::size_t i = 0; i < groups.size(); ++i) {
        for (std::size_t j = i + 1; j < groups.size(); ++j) {
            if (!hasWeakLink(groups[i], groups[j])) return single;
        }
    }
    std::vector<std::vector<SpeakerUUID>> out;
    out.reserve(groups.size());
    for (const auto& group : groups) {
        std::vector<SpeakerUUID>& named = out.emplace_back();
        named.reserve(group.size());
        for (std::size_t i : group) named.push_back(ids[i]);
    }
    return out;
}

std::map<SpeakerUUID, FloorLevel> classifyFloors(
    const std::vector<const Speaker*>& speakers,
    const std::function<std::vector<std::vector<SpeakerUUID>>()>& clusters) {
    std::map<SpeakerUUID, FloorLevel> out;
    if (speakers.empty()) return out;

    std::map<SpeakerUUID, std::int64_t> tiers;
    for (const Speaker* speaker : speakers) {
        tiers.insert_or_assign(speaker->id, FloorLevel::semanticElevationTier(speaker->roomName));
    }
    std::set<std::int64_t, std::greater<>> distinctTiers;
    for (const auto& [id, tier] : tiers) distinctTiers.insert(tier);
    const std::vector<std::int64_t> ranked(distinctTiers.begin(), distinctTiers.end());

    if (speakers.size() >= 4 && ranked.size() == 1) {
        auto found = clusters();
        if (found.size() >= 2) {
            for (std::size_t k = 0; k < found.size(); ++k) {
                for (const auto& id : found[k]) out.insert_or_assign(id, rankedFloor(k, found.size()));
            }
            return out;
        }
    }

    for (const auto& [id, tier] : tiers) {
        if (ranked.size() == 1) {
            out.insert_or_assign(id, tier < 0 ? FloorLevel::lower() : tier > 0 ? FloorLevel::upper() : FloorLevel::main());
            continue;
        }
        auto position = static_cast<std::size_t>(std::find(ranked.begin(), ranked.end(), tier) - ranked.begin());
        out.insert_or_assign(id, rankedFloor(position, ranked.size()));
    }
    return out;
}

}  // namespace indexed

std::vector<std::vector<SpeakerUUID>> verticalRFClusters(const std::vector<Speaker>& speakers,
                                                         const RFPeerMatrix& matrix) {
    // A speaker listed twice is one speaker: counting it twice could make a one-speaker group
    // look like a floor of two.
    std::map<SpeakerUUID, const Speaker*> distinct;
    for (const auto& speaker : speakers) distinct.try_emplace(speaker.id, &speaker);
    std::vector<SpeakerUUID> ids;
    std::vector<indexed::Member> members;
    ids.reserve(distinct.size());
    members.reserve(distinct.size());
    for (const auto& [id, speaker] : distinct) {
        members.push_back({speaker, ids.size()});
        ids.push_back(id);
    }
    return indexed::verticalRFClusters(members, RFPeerMatrix::Index(matrix, ids, RFPeerMatrix::Index::Readings::bands));
}

std::map<SpeakerUUID, FloorLevel> classifyFloors(const std::vector<Speaker>& speakers, const RFPeerMatrix& matrix) {
    std::vector<const Speaker*> listed;
    listed.reserve(speakers.size());
    for (const auto& speaker : speakers) listed.push_back(&speaker);
    return indexed::classifyFloors(listed, [&] { return verticalRFClusters(speakers, matrix); });
}

std::vector<Span> verticalSpans(std::size_t floorCount) {
    switch (floorCount) {
    case 0:
    case 1:
        return {{20, 80}};
    case 2:
        return {{14, 60}, {74, 88}};
    case 3:
        return {{12, 34}, {44, 64}, {76, 90}};
    default:
        break;
    }
    const auto n = static_cast<std::int64_t>(floorCount);
    const std::int64_t step = std::max<std::int64_t>(80 / n, 12);
    std::vector<Span> spans;
    spans.reserve(floorCount);
    for (std::int64_t i = 0; i < n; ++i) {
        std::int64_t lower = 10 + i * step;
        spans.push_back({lower, std::max(lower, std::min<std::int64_t>(lower + step - 6, 92))});
    }
    return spans;
}

}  // namespace orvel::FloorplanLayout
