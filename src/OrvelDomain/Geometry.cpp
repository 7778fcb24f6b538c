#include "Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvel {

namespace geometry {
std::size_t hashDouble(double value) noexcept {
    // Adding +0.0 turns -0.0 into +0.0 and leaves every other value alone.
    return std::hash<double>{}(value + 0.0);
}
}  // namespace geometry

namespace {
constexpr double infinity = std::numeric_limits<double>::infinity();
}

double distance(Point a, Point b) {
    double dx = b.x - a.x;
    double dy = b.y - a.y;
    return std::sqrt(dx * dx + dy * dy);
}

Rect Rect::centeredAt(Point center, Size size) {
    return Rect(center.x - size.width / 2, center.y - size.height / 2, size.width, size.height);
}

Rect Rect::null() {
    return Rect(infinity, infinity, 0, 0);
}

bool Rect::isNull() const {
    return origin_.x == infinity || origin_.y == infinity;
}

bool Rect::isEmpty() const {
    return isNull() || size_.width == 0 || size_.height == 0;
}

Rect Rect::standardized() const {
    if (isNull()) return null();
    double x = origin_.x;
    double y = origin_.y;
    double w = size_.width;
    double h = size_.height;
    if (w < 0) {
        x += w;
        w = -w;
    }
    if (h < 0) {
        y += h;
        h = -h;
    }
    return Rect(x, y, w, h);
}


Rect Rect::insetBy(double dx, double dy) const {
    if (isNull()) return null();
    Rect s = standardized();
    double w = s.size_.width - 2 * dx;
    double h = s.size_.height - 2 * dy;
    // `!(w >= 0)` also catches a NaN inset, which must not produce a half-valid rectangle.
    if (!(w >= 0) || !(h >= 0)) return null();
    return Rect(s.origin_.x + dx, s.origin_.y + dy, w, h);
}

Rect Rect::offsetBy(double dx, double dy) const {
    if (isNull()) return null();
    return Rect(origin_.x + dx, origin_.y + dy, size_.width, size_.height);
}

Rect Rect::unionWith(const Rect& other) const {
    if (isNull()) return other.standardized();
    if (other.isNull()) return standardized();
    double left = std::min(minX(), other.minX());
    double top = std::min(minY(), other.minY());
    double right = std::max(maxX(), other.maxX());
    double bottom = std::max(maxY(), other.maxY());
    return Rect(left, top, right - left, bottom - top);
}

Rect Rect::intersection(const Rect& other) const {
    if (isNull() || other.isNull()) return null();
    double left = std::max(minX(), other.minX());
    double top = std::max(minY(), other.minY());
    double right = std::min(maxX(), other.maxX());
    double bottom = std::min(maxY(), other.maxY());
    // Written so that NaN edges give the null rectangle.
    if (!(left <= right) || !(top <= bottom)) return null();
    return Rect(left, top, right - left, bottom - top);
}

bool Rect::intersects(const Rect& other) const {
    return !intersection(other).isNull();
}

bool Rect::contains(Point p) const {
    if (isNull()) return false;
    return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY();
}

bool Rect::contains(const Rect& other) const {
    if (isNull() || other.isNull()) return false;
    return other.minX() >= minX() && other.maxX() <= maxX() && other.minY() >= minY() &&
           other.maxY() <= maxY();
}

bool operator==(const Rect& a, const Rect& b) {
    bool aNull = a.isNull();
    bool bNull = b.isNull();
    if (aNull || bNull) return aNull == bNull;
    Rect sa = a.standardized();
    Rect sb = b.standardized();
    return sa.origin_ == sb.origin_ && sa.size_ == sb.size_;
}

}  // namespace orvel

std::size_t std::hash<orvel::Rect>::operator()(const orvel::Rect& r) const noexcept {
    using namespace orvel::geometry;
    if (r.isNull()) return 0x6e756c6cU;
    orvel::Rect s = r.standardized();
    std::size_t h = std::hash<orvel::Point>{}(s.origin());
    return combineHash(h, std::hash<orvel::Size>{}(s.size()));
}
