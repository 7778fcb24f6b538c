#pragma once

// The paths of the map's acoustic links: the tether curves of one group as one path, and the
// stretch of it that the travelling highlight lights up.

#include <optional>
#include <vector>

#include <QPainterPath>
#include <QPolygonF>

#include "OrvelDomain/AcousticCurveSegment.h"

namespace orvel {

// One quadratic curve per segment, in order. A segment that starts exactly where the previous
// one ended continues its subpath; any other start begins a new one. No segments, empty path.
QPainterPath acousticPath(const std::vector<AcousticCurveSegment>& segments);

// The stretch of the path, as fractions of its length, that the highlight covers at `phase`:
// the 0.2 of the length that ends at the phase, cut to the path. Past 1 its end stays at the
// path's end while its start moves on, so from 1.2 on the stretch is empty (1 to 1). A phase
// that is not finite shows no highlight.
struct PathStretch {
    double from;
    double to;
    friend bool operator==(const PathStretch&, const PathStretch&) = default;
};
std::optional<PathStretch> highlightStretch(std::optional<double> phase);

// A path flattened once into straight pieces, with the length walked from its start to each
// point, so the stretch a highlight lights can be found on every frame without flattening the
// curves again.
struct FlattenedPath {
    std::vector<QPolygonF> subpaths;
    // For each subpath, the length walked to each of its points.
    std::vector<std::vector<double>> walked;
    // For each subpath, how strongly what lies on it is drawn (0 to 1).
    std::vector<double> strengths;
    double length = 0;
};
// Every subpath at full strength.
FlattenedPath flattenedPath(const QPainterPath& path);
// A link's curves as `acousticPath` joins them, each subpath at the opacity of its curves: a
// curve continues the subpath before it only when it is drawn as strongly. A curve without an
// opacity is drawn fully.
FlattenedPath flattenedLink(const std::vector<AcousticCurveSegment>& segments, const std::vector<double>& opacities);

// The part of the path between the two fractions of its length, as polylines along its
// flattened curves; each subpath keeps its own. None when the stretch or the path is empty.
std::vector<QPolygonF> stretchPieces(const FlattenedPath& path, PathStretch stretch);

// The same pieces with the strength of the subpath each lies on; a piece of an invisible subpath
// is left out.
struct LitStretch {
    std::vector<QPolygonF> pieces;
    std::vector<double> strengths;
    friend bool operator==(const LitStretch&, const LitStretch&) = default;
};
LitStretch litStretch(const FlattenedPath& path, PathStretch stretch);

// The same pieces as one path.
QPainterPath trimmedPath(const QPainterPath& path, PathStretch stretch);

}  // namespace orvel
