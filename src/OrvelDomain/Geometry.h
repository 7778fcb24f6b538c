#pragma once

// Plane geometry of the floor-plan map, in double-precision canvas points: origin at the top
// left, y growing downwards. Rectangles follow the rules of the desktop platforms' rectangle
// functions, so layout code reads the same here as it would there:
//
// - A rectangle may be given with a negative width or height; every accessor and comparison
//   works on its standardised form (origin at the smallest corner, size not negative).
// - The null rectangle (origin at +infinity) is "no rectangle": it contains nothing, intersects
//   nothing and is contained in nothing. Insetting a rectangle past its own size, or
//   intersecting two disjoint ones, gives it. An empty rectangle (zero width or height) is not
//   null: it still has a place.
// - `contains(Point)` is half-open: the left and top edges belong to the rectangle, the right and
//   bottom edges do not, so an empty rectangle contains no point.
// - `contains(Rect)` is closed: a rectangle contains itself and every rectangle whose edges lie
//   on or inside its own.
// - Intersection is closed too: two rectangles intersect when their closed spans overlap on both
//   axes, so rectangles that only touch along an edge or at a corner do intersect, and their
//   intersection is the zero-width or zero-height rectangle where they touch. The collision
//   passes of the map depend on this: touching padded footprints count as a collision.
// - Equality compares standardised forms; all null rectangles are equal.

#include <cstddef>
#include <functional>

namespace orvel {

namespace geometry {
// A hash of a double in which 0.0 and -0.0 agree, as their equality does.
std::size_t hashDouble(double value) noexcept;
inline std::size_t combineHash(std::size_t seed, std::size_t value) noexcept {
    return seed ^ (value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2));
}
}  // namespace geometry

struct Point {
    double x = 0;
    double y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
    double width = 0;
    double height = 0;

    friend bool operator==(const Size&, const Size&) = default;
};

// Euclidean distance between two points, as the square root of the summed squares.
double distance(Point a, Point b);

class Rect {
public:
    constexpr Rect() = default;
    constexpr Rect(Point origin, Size size) : origin_(origin), size_(size) {}
    constexpr Rect(double x, double y, double width, double height)
        : origin_{x, y}, size_{width, height} {}
    // The rectangle of `size` whose centre is `center`.
    static Rect centeredAt(Point center, Size size);
    static Rect null();

    // As given, not standardised.
    Point origin() const { return origin_; }
    Size size() const { return size_; }

    bool isNull() const;
    // Null, or zero width or height.
    bool isEmpty() const;
    Rect standardized() const;

    // Inline: the layout's inner loops call these millions of times.
    double minX() const { return size_.width < 0 ? origin_.x + size_.width : origin_.x; }
    double midX() const { return origin_.x + size_.width / 2; }
    double maxX() const { return size_.width < 0 ? origin_.x : origin_.x + size_.width; }
    double minY() const { return size_.height < 0 ? origin_.y + size_.height : origin_.y; }
    double midY() const { return origin_.y + size_.height / 2; }
    double maxY() const { return size_.height < 0 ? origin_.y : origin_.y + size_.height; }
    double width() const { return size_.width < 0 ? -size_.width : size_.width; }
    double height() const { return size_.height < 0 ? -size_.height : size_.height; }
    Point center() const { return {midX(), midY()}; }

    // Moves every edge inwards by dx on the left and right and dy at the top and bottom
    // (negative values grow the rectangle). When the result would have a negative width or
    // height, it is the null rectangle. The null rectangle stays null.
    Rect insetBy(double dx, double dy) const;
    // Grows by d on every side; the same as insetBy(-d, -d).
    Rect grownBy(double d) const { return insetBy(-d, -d); }
    Rect offsetBy(double dx, double dy) const;

    // The smallest rectangle holding both; the null rectangle adds nothing.
    Rect unionWith(const Rect& other) const;
    // The closed overlap, or the null rectangle when the two are disjoint (see above).
    Rect intersection(const Rect& other) const;
    bool intersects(const Rect& other) const;
    bool contains(Point point) const;
    bool contains(const Rect& other) const;

    friend bool operator==(const Rect& a, const Rect& b);

private:
    Point origin_;
    Size size_;
};

}  // namespace orvel

template <>
struct std::hash<orvel::Point> {
    std::size_t operator()(const orvel::Point& p) const noexcept {
        return orvel::geometry::combineHash(orvel::geometry::hashDouble(p.x),
                                            orvel::geometry::hashDouble(p.y));
    }
};

template <>
struct std::hash<orvel::Size> {
    std::size_t operator()(const orvel::Size& s) const noexcept {
        return orvel::geometry::combineHash(orvel::geometry::hashDouble(s.width),
                                            orvel::geometry::hashDouble(s.height));
    }
};

template <>
struct std::hash<orvel::Rect> {
    std::size_t operator()(const orvel::Rect& r) const noexcept;
};
