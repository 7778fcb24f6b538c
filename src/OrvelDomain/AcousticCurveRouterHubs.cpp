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

namespace {

// Below this a gap's square may underflow, so a gap alone no longer bounds its separation.
constexpr double smallestBoundingGap = 1e-100;

// `hubClearance`, stopping as soon as `loses(clearance so far)` says the final value, which can
// only be smaller, no longer matters; it then returns that running value.
template <class Loses>
double clearanceUnless(Point center, const std::vector<Rect>& obstacles, Loses loses) {
    const Rect hub = musicHubRect(center);
    const double hubMinX = hub.minX();
    const double hubMaxX = hub.maxX();
    const double hubMinY = hub.minY();
    const double hubMaxY = hub.maxY();
    double clearance = std::numeric_limits<double>::max();
    for (const Rect& o : obstacles) {
        double gx = std::max({o.minX() - hubMaxX, hubMinX - o.maxX(), 0.0});
        double gy = std::max({o.minY() - hubMaxY, hubMinY - o.maxY(), 0.0});
        double separation;
        if (gx > 0 || gy > 0) {
            // The separation is at least the larger gap: farther than the nearest so far
            // changes nothing, and the square root is skipped.
            double gap = std::max(gx, gy);
            if (gap > clearance && gap > smallestBoundingGap) continue;
            separation = std::sqrt(gx * gx + gy * gy);
        } else {
            double ox = std::min(hubMaxX - o.minX(), o.maxX() - hubMinX);
            double oy = std::min(hubMaxY - o.minY(), o.maxY() - hubMinY);
            separation = -std::min(ox, oy);
        }
        clearance = std::min(clearance, separation);
        if (loses(clearance)) return clearance;
    }
    return clearance;
}

}  // namespace

double hubClearance(Point center, const std::vector<Rect>& obstacles) {
    return clearanceUnless(center, obstacles, [](double) { return false; });
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
    // The candidates lie around the reference, so the obstacles nearest to it are the likeliest
    // to rule one out early; a clearance, being a minimum, is the same in any order.
    std::vector<std::pair<double, const Rect*>> byDistance;
    byDistance.reserve(obstacles.size());
    for (const Rect& o : obstacles) {
        const double d = distance(o.center(), reference);
        byDistance.emplace_back(std::isnan(d) ? std::numeric_limits<double>::infinity() : d, &o);
    }
    std::stable_sort(byDistance.begin(), byDistance.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<Rect> nearFirst;
    nearFirst.reserve(obstacles.size());
    for (const auto& [d, o] : byDistance) nearFirst.push_back(*o);

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
        // The score never rises as the clearance falls, so once the clearance so far scores no
        // better than the best, the candidate loses whatever the obstacles still to come.
        auto loses = [&](double clearance) { return score(candidate, clearance) <= bestScore; };
        double s = score(candidate, clearanceUnless(candidate, nearFirst, loses));
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
