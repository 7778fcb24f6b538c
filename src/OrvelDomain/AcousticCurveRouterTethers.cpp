#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <utility>

#include "AcousticCurveRouter.h"

namespace orvel::AcousticCurveRouter {

namespace {

constexpr double nearlyZero = 0.0001;
constexpr double maximumBow = 320;
// The middle of a tether keeps this much more distance from obstacles than its ends.
constexpr double midpointPadding = 14;

Point lerp(Point a, Point b, double s) {
    return {a.x + (b.x - a.x) * s, a.y + (b.y - a.y) * s};
}

// Where the ray from `origin` (inside `rect`) towards `toward` leaves `rect`; the middle of
// the top edge when the two points coincide, `origin` when no edge lies ahead.
Point rayExit(const Rect& rect, Point origin, Point toward) {
    double dx = toward.x - origin.x;
    double dy = toward.y - origin.y;
    if (std::abs(dx) <= nearlyZero && std::abs(dy) <= nearlyZero) return {rect.midX(), rect.minY()};
    double best = std::numeric_limits<double>::infinity();
    auto consider = [&](double parameter) {
        if (parameter > 0 && parameter < best) best = parameter;
    };
    if (std::abs(dx) > nearlyZero) {
        consider((rect.minX() - origin.x) / dx);
        consider((rect.maxX() - origin.x) / dx);
    }
    if (std::abs(dy) > nearlyZero) {
        consider((rect.minY() - origin.y) / dy);
        consider((rect.maxY() - origin.y) / dy);
    }
    if (best == std::numeric_limits<double>::infinity()) return origin;
    return {origin.x + dx * best, origin.y + dy * best};
}

double sampleParameter(int k) {
    return 0.08 + 0.84 * k / 16.0;
}

struct Candidate {
    AcousticCurveSegment segment;
    double bowMagnitude;
    double boundsMargin;
};

// A rectangle's edges, read once: the bow search measures dozens of curves against them.
struct Edges {
    double minX;
    double maxX;
    double minY;
    double maxY;
};

std::vector<Edges> edgesOf(const std::vector<Rect>& rects, std::optional<double> grownBy) {
    std::vector<Edges> out;
    out.reserve(rects.size());
    for (const Rect& r : rects) {
        const Rect g = grownBy ? r.grownBy(*grownBy) : r;
        out.push_back({g.minX(), g.maxX(), g.minY(), g.maxY()});
    }
    return out;
}

// Below this a gap's square may underflow, so a gap alone no longer bounds its distance.
constexpr double smallestBoundingGap = 1e-100;
// Any value at or below this is a curve that touches an obstacle.
constexpr double touching = -std::numeric_limits<double>::denorm_min();

// The smallest box around some sample points; `usable` is false when a point is not finite.
struct Box {
    double minX = std::numeric_limits<double>::infinity();
    double maxX = -std::numeric_limits<double>::infinity();
    double minY = std::numeric_limits<double>::infinity();
    double maxY = -std::numeric_limits<double>::infinity();
    bool usable = true;

    void add(Point p) {
        if (!std::isfinite(p.x) || !std::isfinite(p.y)) usable = false;
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    // No point in the box is closer to `o` than this (rounding is monotone, so every point's
    // own gaps are at least these).
    double gapTo(const Edges& o) const {
        return std::max({o.minX - maxX, minX - o.maxX, o.minY - maxY, minY - o.maxY, 0.0});
    }
};

// Whether a distance bounded below by `gap` cannot lower `clearance`.
bool beyond(double gap, double clearance) {
    return gap > clearance && gap > smallestBoundingGap;
}

// The clearance of `minObstacleClearance` against prepared edges, `middle` being the obstacles
// the middle samples see. Once the clearance is known to be at or below `limit` the walk stops
// and returns a value at or below `limit`: the bow search only asks whether a curve is clear,
// or clearer than its best so far. The minimum does not depend on the order the obstacles are
// visited in, so `hint` (the obstacle that stopped the last walk, which likely stops this one
// too) goes first and is updated.
double clearanceAgainst(const AcousticCurveSegment& segment, const std::vector<Edges>& obstacles,
                        const std::vector<Edges>& middle, double limit, std::size_t& hint) {
    constexpr int sampleCount = 17;
    std::array<Point, sampleCount> points;
    std::array<bool, sampleCount> inMiddle;
    Box outerBox;
    Box middleBox;
    for (int k = 0; k < sampleCount; ++k) {
        double t = sampleParameter(k);
        points[static_cast<std::size_t>(k)] = segment.point(t);
        inMiddle[static_cast<std::size_t>(k)] = std::abs(t - 0.5) < 0.08;
        (inMiddle[static_cast<std::size_t>(k)] ? middleBox : outerBox).add(points[static_cast<std::size_t>(k)]);
    }
    const bool boxed = outerBox.usable && middleBox.usable;

    double clearance = std::numeric_limits<double>::max();
    const std::size_t n = obstacles.size();
    const std::size_t first = hint < n ? hint : 0;
    for (std::size_t visit = 0; visit < n; ++visit) {
        // The hint first, then the others in order.
        const std::size_t i = visit == 0 ? first : visit <= first ? visit - 1 : visit;
        if (boxed && beyond(outerBox.gapTo(obstacles[i]), clearance) && beyond(middleBox.gapTo(middle[i]), clearance)) {
            continue;
        }
        for (std::size_t k = 0; k < sampleCount; ++k) {
            const Point p = points[k];
            const Edges& o = inMiddle[k] ? middle[i] : obstacles[i];
            // The same arithmetic as `signedDistance`, so the minimum is the same bit for bit.
            double gx = std::max({o.minX - p.x, p.x - o.maxX, 0.0});
            double gy = std::max({o.minY - p.y, p.y - o.maxY, 0.0});
            double d;
            if (gx > 0 || gy > 0) {
                // The distance is at least the larger gap: farther than the nearest so far
                // changes nothing, and the square root is skipped.
                if (beyond(std::max(gx, gy), clearance)) continue;
                d = std::sqrt(gx * gx + gy * gy);
            } else {
                d = -std::min({p.x - o.minX, o.maxX - p.x, p.y - o.minY, o.maxY - p.y});
            }
            clearance = std::min(clearance, d);
            if (clearance <= limit) {
                hint = i;
                return clearance;
            }
        }
    }
    return clearance;
}

}  // namespace

double signedDistance(Point from, Rect to) {
    double gx = std::max({to.minX() - from.x, from.x - to.maxX(), 0.0});
    double gy = std::max({to.minY() - from.y, from.y - to.maxY(), 0.0});
    if (gx > 0 || gy > 0) return std::sqrt(gx * gx + gy * gy);
    return -std::min({from.x - to.minX(), to.maxX() - from.x, from.y - to.minY(), to.maxY() - from.y});
}

double minObstacleClearance(const AcousticCurveSegment& segment, const std::vector<Rect>& paddedObstacles,
                            double midpointExtraPadding) {
    if (paddedObstacles.empty()) return std::numeric_limits<double>::max();
    std::size_t hint = 0;
    return clearanceAgainst(segment, edgesOf(paddedObstacles, std::nullopt), edgesOf(paddedObstacles, midpointExtraPadding),
                            -std::numeric_limits<double>::infinity(), hint);
}

double boundsMargin(const AcousticCurveSegment& segment, std::optional<Rect> bounds) {
    if (!bounds || !(bounds->width() > 0) || !(bounds->height() > 0)) return 200;
    // The edges are moved in by plain arithmetic rather than by an inset: bounds narrower than
    // the margins would inset to the null rectangle, whose infinite edges would rate every
    // curve alike; crossed edges instead rate every curve as outside by how far it strays.
    double left = bounds->minX() + 18;
    double right = bounds->maxX() - 18;
    double top = bounds->minY() + 24;
    double bottom = bounds->maxY() - 24;
    double margin = std::numeric_limits<double>::max();
    for (double t : {0.25, 0.5, 0.75}) {
        Point p = segment.point(t);
        margin = std::min({margin, p.x - left, right - p.x, p.y - top, bottom - p.y});
    }
    return margin;
}

AcousticCurveSegment routeTether(Rect startRect, Rect endRect, const std::vector<Rect>& obstacles,
                                 std::optional<Rect> bounds, double inset) {
    const Rect grownStart = startRect.grownBy(inset);
    const Rect grownEnd = endRect.grownBy(inset);
    const Point start = rayExit(grownStart, grownStart.center(), grownEnd.center());
    const Point end = rayExit(grownEnd, grownEnd.center(), grownStart.center());

    const Rect startCore = startRect.insetBy(4, 4);
    const Rect endCore = endRect.insetBy(4, 4);
    std::vector<Rect> kept;
    for (const Rect& o : obstacles) {
        if (!o.intersects(startCore) && !o.intersects(endCore)) kept.push_back(o);
    }
    return routeSegment(start, end, kept, bounds, 14);
}

AcousticCurveSegment routeSegment(Point start, Point end, const std::vector<Rect>& obstacles,
                                  std::optional<Rect> bounds, double padding) {
    std::vector<Rect> padded;
    for (const Rect& o : obstacles) {
        Rect core = o.insetBy(4, 4);
        if (core.contains(start) || core.contains(end)) continue;
        padded.push_back(o.grownBy(padding));
    }

    const Point mid{(start.x + end.x) / 2, (start.y + end.y) / 2};
    const double length = std::max(distance(start, end), 1.0);
    Point normal{-(end.y - start.y) / length, (end.x - start.x) / length};
    // Bulge upwards by preference, and to the left for a vertical segment.
    if (normal.y > 0 || (normal.x > 0 && std::abs(normal.y) < 0.00001)) normal = {-normal.x, -normal.y};

    auto curve = [&](double signedBow) {
        return AcousticCurveSegment{start, {mid.x + signedBow * normal.x, mid.y + signedBow * normal.y}, end};
    };
    const double baseBow = std::min(0.12 * length, 28.0);
    const AcousticCurveSegment preferred = curve(baseBow);
    const AcousticCurveSegment alternative = curve(-baseBow);
    const double preferredMargin = boundsMargin(preferred, bounds);
    const double alternativeMargin = boundsMargin(alternative, bounds);

    if (padded.empty()) {
        return preferredMargin < 0 && preferredMargin < alternativeMargin ? alternative : preferred;
    }
    const std::vector<Edges> edges = edgesOf(padded, std::nullopt);
    const std::vector<Edges> middle = edgesOf(padded, midpointPadding);
    std::size_t hint = 0;
    auto clearanceOf = [&](const AcousticCurveSegment& s, double limit) {
        return clearanceAgainst(s, edges, middle, limit, hint);
    };
    // Exact: it is the first fallback's clearance.
    const double preferredClearance = clearanceOf(preferred, -std::numeric_limits<double>::infinity());
    if (preferredClearance >= 0 && preferredMargin >= 0) return preferred;
    const double alternativeClearance = clearanceOf(alternative, touching);
    if (alternativeClearance >= 0 && alternativeMargin > preferredMargin) return alternative;

    AcousticCurveSegment fallback = preferred;
    double fallbackClearance = preferredClearance;
    std::vector<Candidate> candidates;
    for (double side : {1.0, -1.0}) {
        // The bow grows in whole steps, counted rather than accumulated, so the loop always ends.
        for (int step = 0;; ++step) {
            double bow = baseBow + 8.0 * step;
            if (!(bow <= maximumBow)) break;
            AcousticCurveSegment found = curve(side * bow);
            // A curve that touches an obstacle and is no clearer than the fallback is passed
            // over whatever its exact clearance.
            double clearance = clearanceOf(found, std::min(fallbackClearance, touching));
            if (clearance > fallbackClearance) {
                fallback = found;
                fallbackClearance = clearance;
            }
            if (clearance < 0) continue;
            // A little more bow than the first clear one, for breathing room, if that is clear too.
            double wider = std::min(bow + 12, maximumBow);
            AcousticCurveSegment widerCurve = curve(side * wider);
            double widerClearance = clearanceOf(widerCurve, touching);
            AcousticCurveSegment chosen = widerClearance >= 0 ? widerCurve : found;
            candidates.push_back({chosen, wider, boundsMargin(chosen, bounds)});
            break;
        }
    }
    if (candidates.empty()) return fallback;

    const Candidate* best = &candidates.front();
    for (std::size_t i = 1; i < candidates.size(); ++i) {
        const Candidate& c = candidates[i];
        bool entersBounds = c.boundsMargin >= 0 && best->boundsMargin < 0;
        bool sameSide = (c.boundsMargin >= 0) == (best->boundsMargin >= 0);
        if (entersBounds ||
            (sameSide && c.boundsMargin - 0.3 * c.bowMagnitude > best->boundsMargin - 0.3 * best->bowMagnitude)) {
            best = &c;
        }
    }
    return best->segment;
}

std::vector<Point> orderedChain(const std::vector<Point>& points) {
    std::vector<Point> sorted = points;
    // Tolerance orders are no strict weak orders; a stable sort keeps them deterministic.
    if (sorted.size() <= 2) {
        std::stable_sort(sorted.begin(), sorted.end(), [](Point a, Point b) {
            if (std::abs(a.x - b.x) > 8) return a.x < b.x;
            return a.y < b.y;
        });
        return sorted;
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](Point a, Point b) {
        double ka = a.x + 0.25 * a.y;
        double kb = b.x + 0.25 * b.y;
        if (std::abs(ka - kb) > 1) return ka < kb;
        return a.x < b.x;
    });
    std::vector<Point> chain;
    chain.reserve(sorted.size());
    chain.push_back(sorted.front());
    std::vector<Point> remaining(sorted.begin() + 1, sorted.end());
    while (!remaining.empty()) {
        std::size_t nearest = 0;
        double nearestDistance = distance(chain.back(), remaining[0]);
        for (std::size_t i = 1; i < remaining.size(); ++i) {
            double d = distance(chain.back(), remaining[i]);
            if (d < nearestDistance) {
                nearest = i;
                nearestDistance = d;
            }
        }
        chain.push_back(remaining[nearest]);
        remaining.erase(remaining.begin() + static_cast<std::ptrdiff_t>(nearest));
    }
    return chain;
}

std::vector<AcousticCurveSegment> routeChain(const std::vector<Point>& points, const std::vector<Rect>& obstacles,
                                             std::optional<Rect> bounds, double padding) {
    std::vector<Point> chain = orderedChain(points);
    std::vector<AcousticCurveSegment> out;
    for (std::size_t i = 1; i < chain.size(); ++i) {
        out.push_back(routeSegment(chain[i - 1], chain[i], obstacles, bounds, padding));
    }
    return out;
}

Rect curveExtent(const AcousticCurveSegment& segment) {
    // Along each axis the curve turns back at most once, where its derivative
    // 2(1 - t)(control - start) + 2t(end - control) is zero.
    auto range = [](double start, double control, double end) {
        double low = std::min(start, end);
        double high = std::max(start, end);
        const double bend = start - 2 * control + end;
        if (bend != 0) {
            const double t = (start - control) / bend;
            if (t > 0 && t < 1) {
                const double turn = (1 - t) * (1 - t) * start + 2 * t * (1 - t) * control + t * t * end;
                low = std::min(low, turn);
                high = std::max(high, turn);
            }
        }
        return std::pair(low, high);
    };
    const auto [left, right] = range(segment.start.x, segment.control.x, segment.end.x);
    const auto [top, bottom] = range(segment.start.y, segment.control.y, segment.end.y);
    return Rect(left, top, right - left, bottom - top);
}

AcousticCurveSegment keptInside(const AcousticCurveSegment& segment, Rect area) {
    auto fits = [&](const AcousticCurveSegment& s) { return area.contains(curveExtent(s)); };
    if (fits(segment)) return segment;
    const Point mid = lerp(segment.start, segment.end, 0.5);
    auto eased = [&](double share) {
        return AcousticCurveSegment{segment.start, lerp(mid, segment.control, share), segment.end};
    };
    // Every point of the curve is its chord's point pushed along the bow in proportion to it: a
    // bow that fits fits at every smaller share, so the largest share that fits is bisected.
    double fitting = 0;
    double tooMuch = 1;
    if (!fits(eased(fitting))) return eased(fitting);
    for (int i = 0; i < 40; ++i) {
        const double share = (fitting + tooMuch) / 2;
        (fits(eased(share)) ? fitting : tooMuch) = share;
    }
    return eased(fitting);
}

Point firstPointOutside(const AcousticCurveSegment& segment, Rect rect, bool fromStart) {
    const Point walkingEnd = fromStart ? segment.start : segment.end;
    const Point otherEnd = fromStart ? segment.end : segment.start;
    if (!rect.contains(walkingEnd)) return walkingEnd;
    if (rect.contains(otherEnd)) return rayExit(rect, walkingEnd, otherEnd);

    auto along = [&](double s) { return segment.point(fromStart ? s : 1 - s); };
    double inside = 0;
    double outside = 1;
    for (int i = 1; i <= 32; ++i) {
        if (!rect.contains(along(i / 32.0))) {
            inside = (i - 1) / 32.0;
            outside = i / 32.0;
            break;
        }
    }
    for (int i = 0; i < 14; ++i) {
        double s = (inside + outside) / 2;
        if (rect.contains(along(s))) {
            inside = s;
        } else {
            outside = s;
        }
    }
    return along(outside);
}

AcousticCurveSegment clippedSegment(const AcousticCurveSegment& segment, Rect startRect, Rect endRect,
                                    double inset) {
    const Point s = firstPointOutside(segment, startRect.grownBy(inset), true);
    const Point e = firstPointOutside(segment, endRect.grownBy(inset), false);
    const double d = distance(s, e);
    const Point m = lerp(s, e, 0.5);
    if (d <= 2) return {s, m, e};

    const double chordLength = distance(segment.start, segment.end);
    const double c = std::max(chordLength, 1.0);
    const Point u{(segment.end.x - segment.start.x) / c, (segment.end.y - segment.start.y) / c};
    const Point chordMid = lerp(segment.start, segment.end, 0.5);
    double bow = ((segment.control.y - chordMid.y) * u.x - (segment.control.x - chordMid.x) * u.y) * d / c;
    const double limit = d >= 160 ? std::min(0.28 * d, 96.0) : std::min(0.14 * d, 26.0);
    bow = std::clamp(bow, -limit, limit);
    return {s, {m.x + bow * (-(e.y - s.y) / d), m.y + bow * ((e.x - s.x) / d)}, e};
}

std::optional<Point> handlePoint(const std::vector<AcousticCurveSegment>& curves,
                                 const std::vector<Point>& allNodePoints, const std::vector<Rect>& obstacles) {
    std::optional<Point> best;
    double bestScore = 0;
    for (const auto& curve : curves) {
        Point mid = curve.midpoint();
        double nodeDistance = 0;
        if (!allNodePoints.empty()) {
            nodeDistance = std::numeric_limits<double>::infinity();
            for (Point p : allNodePoints) nodeDistance = std::min(nodeDistance, distance(mid, p));
        }
        double obstacleDistance = nodeDistance;
        if (!obstacles.empty()) {
            obstacleDistance = std::numeric_limits<double>::infinity();
            for (const Rect& o : obstacles) obstacleDistance = std::min(obstacleDistance, signedDistance(mid, o));
        }
        double score = std::min(nodeDistance, obstacleDistance);
        if (!best || score > bestScore) {
            best = mid;
            bestScore = score;
        }
    }
    return best;
}

}  // namespace orvel::AcousticCurveRouter
