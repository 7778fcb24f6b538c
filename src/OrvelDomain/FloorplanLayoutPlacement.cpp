#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "FloorplanLayout.h"
#include "FloorplanLayoutIndexed.h"
#include "RoomNaming.h"
#include "Text.h"

namespace orvel::FloorplanLayout {

namespace {

// Halves away from zero. Every value rounded here is a small finite number of hundredths.
std::int64_t rounded(double value) {
    return static_cast<std::int64_t>(std::round(value));
}

int bandScore(std::optional<RFPeerMatrix::Band> band) {
    return band ? static_cast<int>(*band) : 0;
}

// The smallest c with c * c >= n: the square root rounded up, without floating point.
std::size_t ceilSquareRoot(std::size_t n) {
    std::size_t c = static_cast<std::size_t>(std::sqrt(static_cast<double>(n)));
    while (c * c < n) ++c;
    while (c > 0 && (c - 1) * (c - 1) >= n) --c;
    return c;
}

}  // namespace

int semanticWingRank(std::string_view roomName) {
    const std::string name = text::lowercased(roomName);
    auto containsAny = [&](std::initializer_list<std::string_view> words) {
        return std::any_of(words.begin(), words.end(), [&](std::string_view w) { return name.find(w) != std::string::npos; });
    };
    if (containsAny({"kitchen", "dining", "living", "family", "great"})) return 0;
    if (containsAny({"bed", "guest", "nursery", "office", "study"})) return 1;
    return 2;
}

namespace indexed {

std::vector<std::size_t> chain(const std::vector<Member>& members, const RFPeerMatrix::Index& index) {
    struct Keyed {
        int wing;
        std::string shortName;
        std::size_t member;
        const SpeakerUUID* id;
    };
    std::vector<Keyed> remaining;
    remaining.reserve(members.size());
    for (std::size_t i = 0; i < members.size(); ++i) {
        const Speaker& s = *members[i].speaker;
        remaining.push_back({semanticWingRank(s.roomName), RoomNaming::shortName(s.roomName, false), i, &s.id});
    }
    std::stable_sort(remaining.begin(), remaining.end(), [](const Keyed& a, const Keyed& b) {
        return std::tie(a.wing, a.shortName, *a.id) < std::tie(b.wing, b.shortName, *b.id);
    });

    std::vector<std::size_t> order;
    order.reserve(members.size());
    if (remaining.empty()) return order;
    order.push_back(remaining.front().member);
    remaining.erase(remaining.begin());
    while (!remaining.empty()) {
        const std::size_t current = members[order.back()].position;
        std::size_t best = 0;
        int bestScore = -1;
        for (std::size_t i = 0; i < remaining.size(); ++i) {
            int score = bandScore(index.band(current, members[remaining[i].member].position));
            if (score > bestScore) {
                best = i;
                bestScore = score;
            }
        }
        // Only a good link leads; a weak one is no better than the wing order.
        std::size_t next = bestScore >= static_cast<int>(RFPeerMatrix::Band::moderate) ? best : 0;
        order.push_back(remaining[next].member);
        remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(next));
    }
    return order;
}

std::vector<Seed> seedLevel(const std::vector<Member>& members, Span span, const RFPeerMatrix::Index& index) {
    std::vector<Seed> out;
    if (members.empty()) return out;
    const std::vector<std::size_t> order = chain(members, index);
    const std::size_t n = order.size();
    const std::size_t columns = n < 4 ? n : ceilSquareRoot(n);
    const std::size_t rows = (n + columns - 1) / columns;
    const std::size_t lastRow = std::max<std::size_t>(rows, 1) - 1;
    const std::size_t lastRowCount = n - lastRow * columns;
    const auto lo = static_cast<double>(span.lowerBound);
    const auto hi = static_cast<double>(span.upperBound);

    out.reserve(n);
    for (std::size_t p = 0; p < n; ++p) {
        std::size_t row = p / columns;
        std::size_t column = p - row * columns;
        std::size_t inRow = row == lastRow ? lastRowCount : columns;
        double horizontal = inRow == 1 ? 0.5 : 0.2 + (static_cast<double>(column) * 0.6) / static_cast<double>(inRow - 1);
        double vertical = rows == 1 ? 0.5 : static_cast<double>(row) / static_cast<double>(lastRow);
        out.push_back({order[p], rounded(horizontal * 100), rounded(vertical * (hi - lo) + lo)});
    }
    return out;
}

}  // namespace indexed

namespace {

// The speakers as members of an index over their own list.
std::vector<indexed::Member> membersOf(const std::vector<Speaker>& speakers) {
    std::vector<indexed::Member> members;
    members.reserve(speakers.size());
    for (std::size_t i = 0; i < speakers.size(); ++i) members.push_back({&speakers[i], i});
    return members;
}

RFPeerMatrix::Index indexOf(const std::vector<Speaker>& speakers, const RFPeerMatrix& matrix) {
    std::vector<SpeakerUUID> ids;
    ids.reserve(speakers.size());
    for (const auto& s : speakers) ids.push_back(s.id);
    return RFPeerMatrix::Index(matrix, ids, RFPeerMatrix::Index::Readings::bands);
}

}  // namespace

std::vector<Speaker> chainByRFAndZone(const std::vector<Speaker>& speakers, const RFPeerMatrix& matrix) {
    std::vector<Speaker> out;
    out.reserve(speakers.size());
    for (std::size_t i : indexed::chain(membersOf(speakers), indexOf(speakers, matrix))) out.push_back(speakers[i]);
    return out;
}

void seedLevel(const std::vector<Speaker>& speakers, Span span, const RFPeerMatrix& matrix,
               std::map<SpeakerUUID, std::int64_t>& x, std::map<SpeakerUUID, std::int64_t>& y) {
    for (const auto& seed : indexed::seedLevel(membersOf(speakers), span, indexOf(speakers, matrix))) {
        x.insert_or_assign(speakers[seed.member].id, seed.x);
        y.insert_or_assign(speakers[seed.member].id, seed.y);
    }
}

Inferred inferWithFloors(const std::vector<Speaker>& speakers, const RFPeerMatrix& matrix) {
    Inferred out;
    if (speakers.empty()) return out;

    std::map<SpeakerUUID, const Speaker*> latest;
    for (const auto& s : speakers) latest.insert_or_assign(s.id, &s);
    struct Entry {
        std::string shortName;
        const Speaker* speaker;
    };
    std::vector<Entry> entries;
    entries.reserve(latest.size());
    for (const auto& [id, s] : latest) entries.push_back({RoomNaming::shortName(s->roomName, false), s});
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return std::tie(a.shortName, a.speaker->id) < std::tie(b.shortName, b.speaker->id);
    });
    // Every step below numbers the speakers by their place in this order.
    std::vector<const Speaker*> ordered;
    std::vector<SpeakerUUID> ids;
    ordered.reserve(entries.size());
    ids.reserve(entries.size());
    for (const auto& e : entries) {
        ordered.push_back(e.speaker);
        ids.push_back(e.speaker->id);
    }
    const RFPeerMatrix::Index index(matrix, ids, RFPeerMatrix::Index::Readings::bands);
    const std::size_t n = ordered.size();

    auto clusters = [&] {
        std::vector<std::size_t> byId(n);
        for (std::size_t i = 0; i < n; ++i) byId[i] = i;
        std::sort(byId.begin(), byId.end(), [&](std::size_t a, std::size_t b) { return ids[a] < ids[b]; });
        std::vector<indexed::Member> members;
        members.reserve(n);
        for (std::size_t i : byId) members.push_back({ordered[i], i});
        return indexed::verticalRFClusters(members, index);
    };
    // The floors of the distinct speakers are those of the list as given: a listed duplicate
    // only changes whether four speakers are counted, and fewer than four distinct speakers
    // never form two radio floors of two.
    out.floors = indexed::classifyFloors(ordered, clusters);
    const std::map<SpeakerUUID, FloorLevel>& floors = out.floors;

    std::set<FloorLevel, std::greater<>> levels;
    for (const auto& [id, level] : floors) levels.insert(level);
    const std::vector<Span> spans = verticalSpans(levels.size());
    const std::vector<FloorLevel> levelList(levels.begin(), levels.end());
    std::vector<std::size_t> floorOf(n);
    for (std::size_t i = 0; i < n; ++i) {
        const FloorLevel& level = floors.at(ids[i]);
        floorOf[i] = static_cast<std::size_t>(std::find(levelList.begin(), levelList.end(), level) - levelList.begin());
    }

    std::vector<std::int64_t> x(n);
    std::vector<std::int64_t> y(n);
    for (std::size_t f = 0; f < levelList.size(); ++f) {
        std::vector<indexed::Member> onFloor;
        for (std::size_t i = 0; i < n; ++i) {
            if (floorOf[i] == f) onFloor.push_back({ordered[i], i});
        }
        for (const auto& seed : indexed::seedLevel(onFloor, spans[f], index)) {
            x[onFloor[seed.member].position] = seed.x;
            y[onFloor[seed.member].position] = seed.y;
        }
    }

    // One pass of radio pull, every pull computed from the seeded positions.
    std::vector<std::int64_t> pullX(n, 0);
    std::vector<std::int64_t> pullY(n, 0);
    for (std::size_t a = 0; a < n; ++a) {
        for (std::size_t b = a + 1; b < n; ++b) {
            auto band = index.band(a, b);
            if (band != RFPeerMatrix::Band::strong && band != RFPeerMatrix::Band::moderate) continue;
            double weight = band == RFPeerMatrix::Band::strong ? 8 : 4;
            std::int64_t dx = rounded(weight * static_cast<double>(x[b] - x[a]) / 100);
            std::int64_t dy = floorOf[a] == floorOf[b] ? rounded(weight * static_cast<double>(y[b] - y[a]) / 100) : 0;
            pullX[a] += dx;
            pullY[a] += dy;
            pullX[b] -= dx;
            pullY[b] -= dy;
        }
    }

    for (std::size_t i = 0; i < n; ++i) {
        double px = static_cast<double>(x[i] + pullX[i]) / 100;
        double py = static_cast<double>(y[i] + pullY[i]) / 100;
        out.coordinates.insert_or_assign(ids[i], RoomCoordinate::clamping(px, py));
    }
    return out;
}

std::map<SpeakerUUID, RoomCoordinate> infer(const std::vector<Speaker>& speakers, const RFPeerMatrix& matrix) {
    return inferWithFloors(speakers, matrix).coordinates;
}

}  // namespace orvel::FloorplanLayout
