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

QPainterPath trimmedPath(const QPainterPath& path, PathStretch stretch) {
    QPainterPath out;
    const QList<QPolygonF> pieces = path.toSubpathPolygons();
    double total = 0;
    for (const auto& polygon : pieces) {
        for (qsizetype i = 1; i < polygon.size(); ++i) total += QLineF(polygon[i - 1], polygon[i]).length();
    }
    const double begin = stretch.from * total;
    const double end = stretch.to * total;
    if (!(total > 0) || !(end > begin)) return out;

    double walked = 0;
    for (const auto& polygon : pieces) {
        bool drawing = false;
        for (qsizetype i = 1; i < polygon.size(); ++i) {
            const QLineF line(polygon[i - 1], polygon[i]);
            const double length = line.length();
            const double a = walked;
            const double b = walked + length;
            walked = b;
            if (b <= begin || a >= end || length <= 0) continue;
            const QPointF first = line.pointAt(std::max(begin - a, 0.0) / length);
            const QPointF last = line.pointAt(std::min(end - a, length) / length);
            if (!drawing) {
                out.moveTo(first);
                drawing = true;
            }
            out.lineTo(last);
        }
    }
    return out;
}

}  // namespace orvel
