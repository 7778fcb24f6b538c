#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "AcousticCurveRouter.h"

namespace orvel::AcousticCurveRouter {

namespace {

Point clampInto(Point p, const Rect& r) {
    return {std::min(std::max(p.x, r.minX()), r.maxX()), std::min(std::max(p.y, r.minY()), r.maxY())};
}

// Clear by this much, a hub needs no search at all.
constexpr double comfortableClearance = 16;
constexpr double ringRadii[] = {28, 52, 78, 106, 138, 174, 214, 256, 300};

}  // namespace

Rect nodeObstacleRect(Point center, bool hasSatellites) {
    return Rect::centeredAt(center, hasSatellites ? Size{198, 128} : Size{142, 98});
}

Size musicHubSize() {
    return {340, 108};
}

Rect musicHubRect(Point center) {
    return Rect(center.x - 170, center.y - 54, 340, 108);
}

double hubClearance(Point center, const std::vector<Rect>& obstacles) {
    const Rect hub = musicHubRect(center);
    double clearance = std::numeric_limits<double>::max();
    for (const Rect& o : obstacles) {
        double gx = std::max({o.minX() - hub.maxX(), hub.minX() - o.maxX(), 0.0});
        double gy = std::max({o.minY() - hub.maxY(), hub.minY() - o.maxY(), 0.0});
        double separation;
        if (gx > 0 || gy > 0) {
            separation = std::sqrt(gx * gx + gy * gy);
        } else {
            double ox = std::min(hub.maxX() - o.minX(), o.maxX() - hub.minX());
            double oy = std::min(hub.maxY() - o.minY(), o.maxY() - hub.minY());
            separation = -std::min(ox, oy);
        }
        clearance = std::min(clearance, separation);
    }
    return clearance;
}

Point placeMusicHub(const std::vector<Point>& connectedPoints, const std::vector<Rect>& roomObstacles,
                    const std::vector<Rect>& existingHubs, Rect bounds) {
    if (connectedPoints.empty()) return bounds.center();

    const Rect inner = bounds.insetBy(std::min(0.4 * bounds.width(), 186.0), std::min(0.4 * bounds.height(), 68.0));
    const double innerTop = inner.minY();
    const double innerBottom = inner.maxY();

    Point ideal;
    if (connectedPoints.size() == 1) {
        Point p = connectedPoints.front();
        bool nearerTop = std::abs(p.y - innerTop) <= std::abs(innerBottom - p.y);
        ideal = {p.x, nearerTop ? p.y + 144 : p.y - 144};
    } else {
        double sumX = 0;
        double sumY = 0;
        double minY = connectedPoints.front().y;
        double maxY = minY;
        for (Point p : connectedPoints) {
            sumX += p.x;
            sumY += p.y;
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        auto count = static_cast<double>(connectedPoints.size());
        ideal = {sumX / count, sumY / count};
        // Rooms in one row: the hub leaves their row rather than sitting on top of it.
        if (maxY - minY < 36) {
            bool nearerTop = std::abs(ideal.y - innerTop) <= std::abs(innerBottom - ideal.y);
            if (nearerTop) {
                ideal.y += std::min(0.72 * (innerBottom - ideal.y), 92.0);
            } else {
                ideal.y -= std::min(0.72 * (ideal.y - innerTop), 92.0);
            }
        }
    }
    const Point reference = clampInto(ideal, inner);

    std::vector<Rect> obstacles;
    obstacles.reserve(roomObstacles.size() + existingHubs.size());
    for (const Rect& r : roomObstacles) obstacles.push_back(r.insetBy(-20, -22));
    for (const Rect& h : existingHubs) obstacles.push_back(h.insetBy(-24, -22));

    const double referenceClearance = hubClearance(reference, obstacles);
    if (referenceClearance >= comfortableClearance) return reference;

    auto score = [&](Point candidate, double clearance) {
        double base = clearance >= 0 ? 1200 + 2.5 * std::min(clearance, 48.0) : 16 * clearance;
        return base - 0.24 * distance(candidate, reference);
    };
    Point best = reference;
    double bestScore = score(reference, referenceClearance);
    auto consider = [&](Point candidate) {
        candidate = clampInto(candidate, inner);
        // No clearance scores above 1320 before the distance term, so a candidate whose best
        // possible score cannot beat the best so far needs no clearance computed. Floating-point
        // subtraction is monotonic, so this skips exactly the candidates that would lose.
        double d = distance(candidate, reference);
        if (1200 + 2.5 * 48 - 0.24 * d <= bestScore) return;
        double s = score(candidate, hubClearance(candidate, obstacles));
        // Strictly greater: among equal scores the earliest candidate stays.
        if (s > bestScore) {
            bestScore = s;
            best = candidate;
        }
    };

    for (double radius : ringRadii) {
        for (int k = 0; k < 24; ++k) {
            double angle = k * 15.0 * std::numbers::pi / 180.0;
            consider({reference.x + radius * std::cos(angle), reference.y + radius * std::sin(angle)});
        }
    }
    for (int i = 0; i <= 8; ++i) {
        for (int j = 0; j <= 4; ++j) {
            consider({inner.minX() + i / 8.0 * inner.width(), inner.minY() + j / 4.0 * inner.height()});
        }
    }
    return best;
}

Point nudgedRoomPoint(Point base, std::optional<Point> hubCenter, Rect safeRect, double minSeparation) {
    // A coordinate that is not a number counts as the middle of the safe rectangle, so the
    // room always ends somewhere it can be drawn.
    if (!std::isfinite(base.x)) base.x = safeRect.midX();
    if (!std::isfinite(base.y)) base.y = safeRect.midY();
    if (!hubCenter) return base;
    double d = distance(*hubCenter, base);
    if (!(d < minSeparation)) return base;
    Point direction = d <= 1 ? Point{0, -1} : Point{(base.x - hubCenter->x) / d, (base.y - hubCenter->y) / d};
    double push = (minSeparation - d) * 0.82;
    return clampInto({base.x + direction.x * push, base.y + direction.y * push}, safeRect);
}

}  // namespace orvel::AcousticCurveRouter
