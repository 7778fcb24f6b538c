#include "AcousticPath.h"

#include <algorithm>
#include <cmath>

#include <QLineF>
#include <QPolygonF>

namespace orvel {

namespace {

constexpr double highlightLength = 0.2;

QPointF qt(Point p) {
    return {p.x, p.y};
}

}  // namespace

QPainterPath acousticPath(const std::vector<AcousticCurveSegment>& segments) {
    QPainterPath path;
    for (const auto& segment : segments) {
        const QPointF start = qt(segment.start);
        if (path.elementCount() == 0 || path.currentPosition() != start) path.moveTo(start);
        path.quadTo(qt(segment.control), qt(segment.end));
    }
    return path;
}

std::optional<PathStretch> highlightStretch(std::optional<double> phase) {
    if (!phase || !std::isfinite(*phase)) return std::nullopt;
    const double to = std::min(*phase, 1.0);
    const double from = std::min(std::max(*phase - highlightLength, 0.0), std::max(to, 0.0));
    return PathStretch{from, std::max(to, from)};
}

namespace {

void appendFlattened(FlattenedPath& flat, const QPainterPath& path, double strength) {
    for (QPolygonF& polygon : path.toSubpathPolygons()) {
        std::vector<double> walked;
        walked.reserve(static_cast<std::size_t>(polygon.size()));
        for (qsizetype i = 0; i < polygon.size(); ++i) {
            if (i > 0) flat.length += QLineF(polygon[i - 1], polygon[i]).length();
            walked.push_back(flat.length);
        }
        flat.subpaths.push_back(std::move(polygon));
        flat.walked.push_back(std::move(walked));
        flat.strengths.push_back(strength);
    }
}

}  // namespace

FlattenedPath flattenedPath(const QPainterPath& path) {
    FlattenedPath flat;
    appendFlattened(flat, path, 1);
    return flat;
}

FlattenedPath flattenedLink(const std::vector<AcousticCurveSegment>& segments, const std::vector<double>& opacities) {
    FlattenedPath flat;
    auto opacity = [&](std::size_t i) {
        const double value = i < opacities.size() ? opacities[i] : 1.0;
        return std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 1.0;
    };
    // Each run of equally strong curves as `acousticPath` draws it, flattened on its own so
    // every subpath it makes is known to carry the run's strength.
    for (std::size_t first = 0; first < segments.size();) {
        std::size_t last = first + 1;
        while (last < segments.size() && opacity(last) == opacity(first)) ++last;
        appendFlattened(flat,
                        acousticPath(std::vector<AcousticCurveSegment>(segments.begin() + std::ptrdiff_t(first),
                                                                       segments.begin() + std::ptrdiff_t(last))),
                        opacity(first));
        first = last;
    }
    return flat;
}

namespace {

// The pieces of each subpath inside the stretch, with the index of its subpath.
template <typename Take>
void forEachPiece(const FlattenedPath& path, PathStretch stretch, Take take) {
    const double begin = stretch.from * path.length;
    const double end = stretch.to * path.length;
    if (!(path.length > 0) || !(end > begin)) return;
    for (std::size_t s = 0; s < path.subpaths.size() && s < path.walked.size(); ++s) {
        const QPolygonF& points = path.subpaths[s];
        const std::vector<double>& walked = path.walked[s];
        const auto count = std::min(static_cast<std::size_t>(points.size()), walked.size());
        if (count < 2 || walked[count - 1] <= begin || walked[0] >= end) continue;
        // The first piece that reaches past the stretch's start: the one ending at the first
        // point walked beyond it.
        const auto past = std::upper_bound(walked.begin(), walked.begin() + std::ptrdiff_t(count), begin);
        QPolygonF piece;
        for (auto i = std::size_t(std::max<std::ptrdiff_t>(past - walked.begin(), 1)); i < count; ++i) {
            const double a = walked[i - 1];
            if (a >= end) break;
            const double length = walked[i] - a;
            if (length <= 0) continue;
            const QLineF line(points[qsizetype(i - 1)], points[qsizetype(i)]);
            if (piece.isEmpty()) piece << line.pointAt(std::max(begin - a, 0.0) / length);
            piece << line.pointAt(std::min(end - a, length) / length);
        }
        if (piece.size() > 1) take(std::move(piece), s);
    }
}

}  // namespace

std::vector<QPolygonF> stretchPieces(const FlattenedPath& path, PathStretch stretch) {
    std::vector<QPolygonF> pieces;
    forEachPiece(path, stretch, [&](QPolygonF piece, std::size_t) { pieces.push_back(std::move(piece)); });
    return pieces;
}

LitStretch litStretch(const FlattenedPath& path, PathStretch stretch) {
    LitStretch lit;
    forEachPiece(path, stretch, [&](QPolygonF piece, std::size_t subpath) {
        const double strength = subpath < path.strengths.size() ? path.strengths[subpath] : 1.0;
        if (!(strength > 0)) return;
        lit.pieces.push_back(std::move(piece));
        lit.strengths.push_back(strength);
    });
    return lit;
}

QPainterPath trimmedPath(const QPainterPath& path, PathStretch stretch) {
    QPainterPath out;
    for (const QPolygonF& piece : stretchPieces(flattenedPath(path), stretch)) out.addPolygon(piece);
    return out;
}

}  // namespace orvel
