#include "FloorBandLayout.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "FloorplanLayout.h"
#include "HashCombine.h"

namespace orvel {

namespace {

constexpr double bandGap = 14;
constexpr double minimumAvailableHeight = 160;
constexpr double emptyBandHeight = 154;
// A card slot is 190 points wide: the card and one 24-point gap.
constexpr double slotWidth = 190;
constexpr double hubWidth = 340;

double limitedToUnit(double value) {
    return std::min(std::max(value, 0.0), 1.0);
}

// Half the satellite extras: a card with satellites stays this far from the sides...
double sideMargin(bool hasSatellites) {
    return hasSatellites ? FloorBandLayout::satelliteExtraWidth / 2 : 0;
}
// ...and from the bottom (not the top).
double bottomMargin(bool hasSatellites) {
    return hasSatellites ? FloorBandLayout::satelliteExtraHeight / 2 : 0;
}

// A count of whole things that fit, as an integer in 0...limit. The fraction is truncated in
// floating point and capped before converting, so a huge (even infinite) width is safe.
std::int64_t fittingCount(double fraction, std::int64_t limit) {
    double whole = std::trunc(fraction);
    if (!(whole > 0)) return 0;
    if (whole >= static_cast<double>(limit)) return limit;
    return static_cast<std::int64_t>(whole);
}

std::int64_t ceilingDivision(std::int64_t a, std::int64_t b) {
    return (a + b - 1) / b;
}

// The height the collision pass needs to shelve every card of the floor without overlap when
// the rooms do not settle by themselves: rows filled in turn with the rooms (each counted as
// wide and as tall as the floor's largest card) and then the hubs, 24 points apart, below the
// band's 42-point header and above its 20-point foot, as the crowded shelf packing lays them.
// The rows of the rule above assume one hub beside the first row of rooms; more hubs, or a band
// too narrow for a hub and a room side by side, need more, and without this the cards would be
// pressed together or run into the next band.
double shelvedHeight(std::int64_t rooms, bool anySatellites, std::int64_t hubs, double bandWidth) {
    constexpr double gap = 24;
    const double usable = bandWidth - 40 > 200 ? bandWidth - 40 : 200;
    const Size room = anySatellites ? Size{198, 128} : Size{142, 98};
    const Size hub{hubWidth, 108};
    // Whole rows of rooms at once: a household holds at most a few hundred rooms, but the
    // count comes from outside.
    const std::int64_t roomsPerRow =
        std::max<std::int64_t>(fittingCount((usable + gap) / (room.width + gap), std::int64_t{1} << 30), 1);
    const std::int64_t fullRoomRows = rooms / roomsPerRow;
    const std::int64_t lastRooms = rooms - fullRoomRows * roomsPerRow;
    double height = static_cast<double>(fullRoomRows) * (room.height + gap);
    double rowWidth = lastRooms > 0 ? static_cast<double>(lastRooms) * (room.width + gap) - gap : 0;
    double rowHeight = lastRooms > 0 ? room.height : 0;
    for (std::int64_t i = 0; i < std::min<std::int64_t>(hubs, 4096); ++i) {
        if (rowWidth > 0 && rowWidth + gap + hub.width > usable) {
            height += rowHeight + gap;
            rowWidth = 0;
            rowHeight = 0;
        }
        rowWidth += (rowWidth > 0 ? gap : 0) + hub.width;
        rowHeight = std::max(rowHeight, hub.height);
    }
    if (rowHeight > 0) height += rowHeight + gap;
    if (!(height > 0)) return 0;
    return 42 + height - gap + 20;
}

}  // namespace

double FloorBandLayout::requiredBandHeight(const std::vector<FloorplanNode>& nodes, std::int64_t activeHubCount,
                                           double bandWidth) {
    const auto n = static_cast<std::int64_t>(nodes.size());
    if (n == 0 && activeHubCount < 1) return emptyBandHeight;

    // Written so that a NaN width falls back to the minimum.
    const double usable = bandWidth - 40 > 320 ? bandWidth - 40 : 320;
    // More cards per row than there are nodes changes nothing, so the count is capped at n.
    const std::int64_t cardsPerRow = std::max<std::int64_t>(fittingCount((usable + 24) / slotWidth, std::max<std::int64_t>(n, 1)), 1);
    const bool anySatellites = std::any_of(nodes.begin(), nodes.end(),
                                           [](const FloorplanNode& node) { return !node.speaker.bondedSatellites.empty(); });
    const double rowHeight = anySatellites ? 128 : 98;

    const double shelved = shelvedHeight(n, anySatellites, std::max<std::int64_t>(activeHubCount, 0), bandWidth);
    if (activeHubCount < 1) {
        const std::int64_t rows = std::max<std::int64_t>(ceilingDivision(n, cardsPerRow), 1);
        // Every row after the first is 98 tall, with or without satellites.
        return std::max(22 + (rowHeight + 44) + static_cast<double>(rows - 1) * (98 + 24), shelved);
    }
    const std::int64_t besideHub = fittingCount((usable - hubWidth - 24 + 24) / slotWidth, n);
    const std::int64_t rest = n - besideHub;
    const std::int64_t furtherRows = rest < 1 ? 0 : ceilingDivision(rest, cardsPerRow);
    const double firstRow = rowHeight >= 108 && besideHub >= 1 ? rowHeight + 44 : 152;
    return std::max(firstRow + static_cast<double>(furtherRows) * (rowHeight + 24) + 22, shelved);
}

std::vector<FloorBandLayout> FloorBandLayout::compute(const std::vector<FloorplanNode>& nodes, Rect in,
                                                      const std::map<FloorLevel, std::int64_t>& activeHubCountByLevel) {
    return compute(nodes, in, activeHubCountByLevel, {});
}

std::vector<FloorBandLayout> FloorBandLayout::compute(const std::vector<FloorplanNode>& nodes, Rect in,
                                                      const std::map<FloorLevel, std::int64_t>& activeHubCountByLevel,
                                                      const std::map<FloorLevel, double>& minimumHeightByLevel) {
    const Point origin = in.origin();
    const Size size = in.size();
    if (!std::isfinite(origin.x) || !std::isfinite(origin.y) || !std::isfinite(size.width) ||
        !std::isfinite(size.height) || !(in.width() > 0) || !(in.height() > 0)) {
        return {};
    }

    std::set<FloorLevel, std::greater<>> distinct;
    for (const auto& node : nodes) distinct.insert(node.level);
    std::vector<FloorLevel> levels(distinct.begin(), distinct.end());
    if (levels.empty()) levels.push_back(FloorLevel::main());

    const auto n = static_cast<double>(levels.size());
    const double gap = levels.size() >= 2 ? bandGap : 0;
    const double available = std::max(in.height() - gap * (n - 1), minimumAvailableHeight);

    std::vector<double> required;
    required.reserve(levels.size());
    for (const auto& level : levels) {
        std::vector<FloorplanNode> onFloor;
        for (const auto& node : nodes) {
            if (node.level == level) onFloor.push_back(node);
        }
        auto hubs = activeHubCountByLevel.find(level);
        double height = requiredBandHeight(onFloor, hubs == activeHubCountByLevel.end() ? 0 : hubs->second, in.width());
        if (auto minimum = minimumHeightByLevel.find(level); minimum != minimumHeightByLevel.end() && minimum->second > height) {
            height = minimum->second;
        }
        required.push_back(height);
    }
    double sum = 0;
    for (double r : required) sum += r;
    double spare = available - sum;
    if (!(sum > 1)) {
        sum = 1;
        spare = available - 1;
    }
    spare = std::max(spare, 0.0);

    const auto spans = FloorplanLayout::verticalSpans(levels.size());
    std::vector<FloorBandLayout> bands;
    bands.reserve(levels.size());
    double y = in.minY();
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const double height = levels.size() == 1 ? std::max(available, required[i]) : required[i] + spare * (required[i] / sum);
        const Rect frame(in.minX(), y, in.width(), height);
        const double left = std::min(frame.minX() + 85, frame.midX());
        const double right = std::max(frame.maxX() - 85, frame.midX());
        const double top = std::min(frame.minY() + 90, frame.midY() + 6);
        const double bottom = std::max(frame.maxY() - 60, top);
        const Rect safe(left, top, std::max(right - left, 0.0), std::max(bottom - top, 0.0));
        const Span ySpan{static_cast<double>(spans[i].lowerBound) / 100, static_cast<double>(spans[i].upperBound) / 100};
        bands.push_back({levels[i], frame, safe, ySpan});
        y += height + gap;
    }
    return bands;
}

Point FloorBandLayout::clampPoint(Point p, bool hasSatellites) const {
    // A coordinate that is not a number has no nearest place; it counts as the band's centre.
    if (!std::isfinite(p.x)) p.x = frame.midX();
    if (!std::isfinite(p.y)) p.y = frame.midY();
    const double e = sideMargin(hasSatellites);
    const double f = bottomMargin(hasSatellites);
    const double lowX = std::min(safeInnerRect.minX() + e, frame.midX());
    const double highX = std::max(safeInnerRect.maxX() - e, lowX);
    const double lowY = std::min(safeInnerRect.minY(), frame.midY());
    const double highY = std::max(safeInnerRect.maxY() - f, lowY);
    return {std::min(std::max(p.x, lowX), highX), std::min(std::max(p.y, lowY), highY)};
}

Point FloorBandLayout::point(RoomCoordinate coordinate, bool hasSatellites) const {
    if (!(safeInnerRect.width() > 0) || !(safeInnerRect.height() > 0)) return frame.center();
    const double u = limitedToUnit(coordinate.x());
    const double lo = ySpan.lowerBound;
    const double hi = ySpan.upperBound;
    const double y = coordinate.y();
    double v = 0.5;
    if (lo - 0.02 <= y && y <= hi + 0.02 && hi - lo > 0.001) v = limitedToUnit((y - lo) / (hi - lo));

    const double e = sideMargin(hasSatellites);
    const double f = bottomMargin(hasSatellites);
    const Rect& safe = safeInnerRect;
    const double left = std::min(safe.minX() + e, safe.midX());
    const double width = std::max(std::max(safe.maxX() - e, left) - left, 0.0);
    const double height = std::max(std::max(safe.maxY() - f, safe.minY()) - safe.minY(), 0.0);
    return clampPoint({left + u * width, safe.minY() + v * height}, hasSatellites);
}

RoomCoordinate FloorBandLayout::coordinate(Point p, bool hasSatellites) const {
    const Point q = clampPoint(p, hasSatellites);
    const double e = sideMargin(hasSatellites);
    const double f = bottomMargin(hasSatellites);
    const Rect& safe = safeInnerRect;
    const double left = std::min(safe.minX() + e, safe.midX());
    const double width = std::max(std::max(safe.maxX() - e, left) - left, 0.0);
    const double bottom = std::max(safe.maxY() - f, safe.minY());
    const double height = bottom - safe.minY();
    const double u = width > 1 ? (q.x - left) / width : 0.5;
    const double v = height > 1 ? limitedToUnit((q.y - safe.minY()) / height) : 0.5;
    const double y = ySpan.lowerBound + v * (ySpan.upperBound - ySpan.lowerBound);
    return RoomCoordinate::clamping(u, y);
}

}  // namespace orvel

std::size_t std::hash<orvel::FloorBandLayout>::operator()(const orvel::FloorBandLayout& band) const noexcept {
    std::size_t seed = 0;
    orvel::hashCombine(seed, band.level);
    orvel::hashCombine(seed, band.frame);
    orvel::hashCombine(seed, band.safeInnerRect);
    seed = orvel::geometry::combineHash(seed, orvel::geometry::hashDouble(band.ySpan.lowerBound));
    seed = orvel::geometry::combineHash(seed, orvel::geometry::hashDouble(band.ySpan.upperBound));
    return seed;
}
