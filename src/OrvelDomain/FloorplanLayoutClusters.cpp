#include <algorithm>
#include <cmath>
#include <set>

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "FloorplanLayout.h"
#include "RoomNaming.h"

namespace orvel::FloorplanLayout {

namespace {

constexpr double rowTolerance = 0.12;
constexpr double columnTolerance = 0.04;
constexpr double joiningDistance = 0.22;
constexpr std::int64_t joiningStrength = 51;

// The full Unicode case folding of a text: two texts are equal ignoring case exactly when their
// foldings are equal. Folded once per node rather than once per comparison.
std::string caseFolded(std::string_view text) {
    auto s = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    s.foldCase(U_FOLD_CASE_DEFAULT);
    std::string out;
    s.toUTF8String(out);
    return out;
}

struct FloorNode {
    const FloorplanNode* node;
    std::size_t position;  // in the nodes, and so in the index
    std::string shortName;
    std::string foldedName;
};

}  // namespace

std::vector<FloorplanRoomCluster> clusterRooms(const std::vector<FloorplanNode>& nodes, const RFPeerMatrix& matrix) {
    std::vector<FloorplanRoomCluster> out;
    std::set<FloorLevel, std::greater<>> levels;
    for (const auto& node : nodes) levels.insert(node.level);
    std::vector<SpeakerUUID> ids;
    ids.reserve(nodes.size());
    for (const auto& node : nodes) ids.push_back(node.id());
    const RFPeerMatrix::Index index(matrix, ids, RFPeerMatrix::Index::Readings::strengths);
    // Taken speakers of the current floor by index row: a speaker listed twice is taken once.
    std::vector<char> taken;

    for (const auto& level : levels) {
        std::vector<FloorNode> floor;
        for (std::size_t i = 0; i < nodes.size(); ++i) {
            const FloorplanNode& node = nodes[i];
            if (node.level != level) continue;
            std::string name = RoomNaming::shortName(node.speaker.roomName, false);
            std::string folded = caseFolded(name);
            floor.push_back({&node, i, std::move(name), std::move(folded)});
        }
        // Reading order: rows from the top, left to right within a row. The tolerances make
        // this no strict weak order, so its outcome depends on the order it starts from: that
        // order is made canonical (by identifier) first, whatever order the nodes came in.
        std::stable_sort(floor.begin(), floor.end(),
                         [](const FloorNode& a, const FloorNode& b) { return a.node->id() < b.node->id(); });
        std::stable_sort(floor.begin(), floor.end(), [](const FloorNode& a, const FloorNode& b) {
            const RoomCoordinate& ca = a.node->coordinate;
            const RoomCoordinate& cb = b.node->coordinate;
            if (std::abs(ca.y() - cb.y()) > rowTolerance) return ca.y() < cb.y();
            if (std::abs(ca.x() - cb.x()) > columnTolerance) return ca.x() < cb.x();
            return a.node->id() < b.node->id();
        });

        taken.assign(index.rowCount(), 0);
        for (const auto& anchor : floor) {
            char& anchorTaken = taken[index.row(anchor.position)];
            if (anchorTaken) continue;
            anchorTaken = 1;
            FloorplanRoomCluster cluster{std::to_string(level.rank()) + "-" + anchor.node->id().rawValue(),
                                         anchor.shortName, level, {*anchor.node}};
            for (const auto& candidate : floor) {
                if (taken[index.row(candidate.position)]) continue;
                bool sameRoom = candidate.foldedName == anchor.foldedName;
                if (!sameRoom) {
                    double dx = candidate.node->coordinate.x() - anchor.node->coordinate.x();
                    double dy = candidate.node->coordinate.y() - anchor.node->coordinate.y();
                    // Distance first: the matrix lookup is the costlier test.
                    if (std::sqrt(dx * dx + dy * dy) <= joiningDistance) {
                        auto strength = index.strength(anchor.position, candidate.position);
                        sameRoom = strength && *strength > joiningStrength;
                    }
                }
                if (!sameRoom) continue;
                taken[index.row(candidate.position)] = 1;
                cluster.id += "+" + candidate.node->id().rawValue();
                cluster.nodes.push_back(*candidate.node);
            }
            out.push_back(std::move(cluster));
        }
    }
    return out;
}

}  // namespace orvel::FloorplanLayout
