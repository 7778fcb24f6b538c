#pragma once

// One floor's horizontal band on the map canvas: its frame, the safe inner rectangle in which
// room cards may be centred, and the slice of the map's normalised vertical axis it shows.
// Also maps room coordinates to canvas points inside the band and back.

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "FloorLevel.h"
#include "FloorplanNode.h"
#include "Geometry.h"
#include "RoomCoordinate.h"

namespace orvel {

struct FloorBandLayout {
    // A closed range of the normalised vertical axis.
    struct Span {
        double lowerBound;
        double upperBound;
        friend bool operator==(const Span&, const Span&) = default;
    };

    FloorLevel level;
    Rect frame;
    Rect safeInnerRect;
    Span ySpan;

    static constexpr Size cardSize{126, 92};
    static constexpr double satelliteExtraWidth = 68;
    static constexpr double satelliteExtraHeight = 34;
    static constexpr double headerHeight = 30;

    // The band's identity in lists of bands.
    const FloorLevel& id() const { return level; }

    // One band per distinct floor of the nodes (the main floor when there are none), top floor
    // first, stacked down the canvas 14 points apart, each as tall as its rooms and hubs need
    // plus a share of the spare height; the stack may run past the canvas bottom. A canvas
    // without area, or with a coordinate that is not finite, has no bands.
    static std::vector<FloorBandLayout> compute(const std::vector<FloorplanNode>& nodes, Rect in,
                                                const std::map<FloorLevel, std::int64_t>& activeHubCountByLevel);
    // The same, with a floor needing at least the height given for it (the map's second look,
    // once it knows where its cards want to go).
    static std::vector<FloorBandLayout> compute(const std::vector<FloorplanNode>& nodes, Rect in,
                                                const std::map<FloorLevel, std::int64_t>& activeHubCountByLevel,
                                                const std::map<FloorLevel, double>& minimumHeightByLevel);
    // The height one floor's band needs for its room cards in rows, beside or below a hub.
    static double requiredBandHeight(const std::vector<FloorplanNode>& nodes, std::int64_t activeHubCount,
                                     double bandWidth);

    // The canvas point of a card's centre for a coordinate; a coordinate from another band's
    // slice is drawn at mid-height. A card with satellites keeps clear of the sides and bottom.
    Point point(RoomCoordinate coordinate, bool hasSatellites) const;
    // The inverse of `point`, for a dropped card.
    RoomCoordinate coordinate(Point point, bool hasSatellites) const;
    // The nearest place at which such a card's centre may lie in this band.
    Point clampPoint(Point point, bool hasSatellites) const;

    friend bool operator==(const FloorBandLayout&, const FloorBandLayout&) = default;
};

}  // namespace orvel

template <>
struct std::hash<orvel::FloorBandLayout> {
    std::size_t operator()(const orvel::FloorBandLayout& band) const noexcept;
};
