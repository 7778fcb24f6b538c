#include <algorithm>
#include <cmath>
#include <set>
#include <tuple>

#include "FloorplanLayout.h"
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

std::vector<Speaker> chainByRFAndZone(const std::vector<Speaker>& speakers, const RFPeerMatrix& matrix) {
    struct Keyed {
        int wing;
        std::string shortName;
        const Speaker* speaker;
    };
    std::vector<Keyed> remaining;
    remaining.reserve(speakers.size());
    for (const auto& s : speakers) remaining.push_back({semanticWingRank(s.roomName), RoomNaming::shortName(s.roomName, false), &s});
    std::stable_sort(remaining.begin(), remaining.end(), [](const Keyed& a, const Keyed& b) {
        return std::tie(a.wing, a.shortName, a.speaker->id) < std::tie(b.wing, b.shortName, b.speaker->id);
    });

    std::vector<Speaker> chain;
    chain.reserve(speakers.size());
    if (remaining.empty()) return chain;
    chain.push_back(*remaining.front().speaker);
    remaining.erase(remaining.begin());
    while (!remaining.empty()) {
        const SpeakerUUID& current = chain.back().id;
        std::size_t best = 0;
        int bestScore = -1;
        for (std::size_t i = 0; i < remaining.size(); ++i) {
            int score = bandScore(matrix.band(current, remaining[i].speaker->id));
            if (score > bestScore) {
                best = i;
                bestScore = score;
            }
        }
        // Only a good link leads; a weak one is no better than the wing order.
        std::size_t next = bestScore >= static_cast<int>(RFPeerMatrix::Band::moderate) ? best : 0;
        chain.push_back(*remaining[next].speaker);
        remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(next));
    }
    return chain;
}

void seedLevel(const std::vector<Speaker>& speakers, Span span, const RFPeerMatrix& matrix,
               std::map<SpeakerUUID, std::int64_t>& x, std::map<SpeakerUUID, std::int64_t>& y) {
    if (speakers.empty()) return;
    const std::vector<Speaker> chain = chainByRFAndZone(speakers, matrix);
    const std::size_t n = chain.size();
    const std::size_t columns = n < 4 ? n : ceilSquareRoot(n);
    const std::size_t rows = (n + columns - 1) / columns;
    const std::size_t lastRow = std::max<std::size_t>(rows, 1) - 1;
    const std::size_t lastRowCount = n - lastRow * columns;
    const auto lo = static_cast<double>(span.lowerBound);
    const auto hi = static_cast<double>(span.upperBound);

    for (std::size_t p = 0; p < n; ++p) {
        std::size_t row = p / columns;
        std::size_t column = p - row * columns;
        std::size_t inRow = row == lastRow ? lastRowCount : columns;
        double horizontal = inRow == 1 ? 0.5 : 0.2 + (static_cast<double>(column) * 0.6) / static_cast<double>(inRow - 1);
        double vertical = rows == 1 ? 0.5 : static_cast<double>(row) / static_cast<double>(lastRow);
        x.insert_or_assign(chain[p].id, rounded(horizontal * 100));
        y.insert_or_assign(chain[p].id, rounded(vertical * (hi - lo) + lo));
    }
}

std::map<SpeakerUUID, RoomCoordinate> infer(const std::vector<Speaker>& speakers, const RFPeerMatrix& matrix) {
    std::map<SpeakerUUID, RoomCoordinate> out;
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
    std::vector<Speaker> ordered;
    ordered.reserve(entries.size());
    for (const auto& e : entries) ordered.push_back(*e.speaker);

    const std::map<SpeakerUUID, FloorLevel> floors = classifyFloors(ordered, matrix);
    std::set<FloorLevel, std::greater<>> levels;
    for (const auto& [id, level] : floors) levels.insert(level);
    const std::vector<Span> spans = verticalSpans(levels.size());

    std::map<SpeakerUUID, std::int64_t> x;
    std::map<SpeakerUUID, std::int64_t> y;
    std::size_t floorIndex = 0;
    for (const auto& level : levels) {
        std::vector<Speaker> onFloor;
        for (const auto& s : ordered) {
            if (floors.at(s.id) == level) onFloor.push_back(s);
        }
        seedLevel(onFloor, spans[floorIndex++], matrix, x, y);
    }

    // One pass of radio pull, every pull computed from the seeded positions.
    std::map<SpeakerUUID, std::int64_t> pullX;
    std::map<SpeakerUUID, std::int64_t> pullY;
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        const SpeakerUUID& a = ordered[i].id;
        for (std::size_t j = i + 1; j < ordered.size(); ++j) {
            const SpeakerUUID& b = ordered[j].id;
            auto band = matrix.band(a, b);
            if (band != RFPeerMatrix::Band::strong && band != RFPeerMatrix::Band::moderate) continue;
            double weight = band == RFPeerMatrix::Band::strong ? 8 : 4;
            std::int64_t dx = rounded(weight * static_cast<double>(x.at(b) - x.at(a)) / 100);
            std::int64_t dy = floors.at(a) == floors.at(b) ? rounded(weight * static_cast<double>(y.at(b) - y.at(a)) / 100) : 0;
            pullX[a] += dx;
            pullY[a] += dy;
            pullX[b] -= dx;
            pullY[b] -= dy;
        }
    }

    for (const auto& s : ordered) {
        double px = static_cast<double>(x.at(s.id) + pullX[s.id]) / 100;
        double py = static_cast<double>(y.at(s.id) + pullY[s.id]) / 100;
        out.insert_or_assign(s.id, RoomCoordinate::clamping(px, py));
    }
    return out;
}

}  // namespace orvel::FloorplanLayout
