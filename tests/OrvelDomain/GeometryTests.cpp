#include <gtest/gtest.h>

#include <array>
#include <unordered_set>

#include "TopologyFixtures.h"

using namespace orvel;
using orvel::testing::kNaN;

TEST(Rect, StandardisedFormDecidesAccessorsEqualityAndHash) {
    Rect flipped(10, 20, -4, -6);
    EXPECT_EQ((std::array{flipped.minX(), flipped.midX(), flipped.maxX(), flipped.minY(), flipped.midY(), flipped.maxY(),
                          flipped.width(), flipped.height()}),
              (std::array<double, 8>{6, 8, 10, 14, 17, 20, 4, 6}));
    EXPECT_EQ(flipped, Rect(6, 14, 4, 6));
    EXPECT_EQ(flipped.standardized().origin(), (Point{6, 14}));
    EXPECT_NE(Rect(0, 0, 0, 0), Rect(1, 1, 0, 0));  // empty but placed
    EXPECT_EQ(Rect::centeredAt({50, 40}, {20, 10}), Rect(40, 35, 20, 10));
    // Equal values hash alike: flipped forms, every null form, signed zeros.
    std::unordered_set<Rect> set{Rect(0, 0, 4, 4), Rect(4, 4, -4, -4), Rect::null(), Rect(0, 0, 4, -2).insetBy(3, 0)};
    EXPECT_EQ(set.size(), 2u);
    EXPECT_EQ(std::hash<Point>{}(Point{-0.0, 0.0}), std::hash<Point>{}(Point{0.0, 0.0}));
}

TEST(Rect, ContainsPointIsHalfOpenAndContainsRectIsClosed) {
    Rect r(0, 0, 10, 10);
    struct Case { Point p; bool inside; };
    const Case cases[] = {
        {{0, 0}, true}, {{9.999, 9.999}, true}, {{10, 5}, false}, {{5, 10}, false}, {{-0.001, 5}, false}, {{kNaN, 5}, false},
    };
    for (const auto& c : cases) EXPECT_EQ(r.contains(c.p), c.inside) << c.p.x << "," << c.p.y;
    EXPECT_FALSE(Rect(5, 5, 0, 10).contains(Point{5, 6}));  // empty contains no point
    EXPECT_TRUE(Rect(10, 10, -10, -10).contains(Point{0, 0}));

    EXPECT_TRUE(r.contains(r));
    EXPECT_TRUE(r.contains(Rect(0, 0, 10, 0)));
    EXPECT_TRUE(r.contains(Rect(10, 10, 0, 0)));
    EXPECT_FALSE(r.contains(Rect(0, 0, 10.5, 10)));
    EXPECT_FALSE(r.contains(Rect::null()));
    EXPECT_FALSE(Rect::null().contains(Rect::null()));
}

TEST(Rect, InsetPastItsSizeIsNull) {
    Rect r(0, 0, 10, 6);
    EXPECT_EQ(r.insetBy(2, 1), Rect(2, 1, 6, 4));
    EXPECT_EQ(r.insetBy(5, 3), Rect(5, 3, 0, 0));  // exactly collapsed: empty, not null
    EXPECT_FALSE(r.insetBy(5, 3).isNull());
    Rect over = r.insetBy(6, 0);
    EXPECT_TRUE(over.isNull() && over.isEmpty());
    EXPECT_EQ(over, Rect::null());
    EXPECT_FALSE(over.contains(Point{5, 3}));
    EXPECT_FALSE(over.intersects(r) || r.intersects(over) || r.contains(over));
    EXPECT_TRUE(r.insetBy(kNaN, 0).isNull());
    EXPECT_EQ(r.grownBy(2), Rect(-2, -2, 14, 10));
    EXPECT_TRUE(Rect::null().grownBy(100).isNull());
}

TEST(Rect, IntersectionIsClosedAndUnionSkipsNull) {
    Rect a(0, 0, 10, 10);
    struct Case { Rect b; bool intersects; Rect expected; };
    const Case cases[] = {
        {Rect(5, 5, 10, 10), true, Rect(5, 5, 5, 5)},
        {Rect(10, 0, 5, 10), true, Rect(10, 0, 0, 10)},  // shared edge
        {Rect(10, 10, 5, 5), true, Rect(10, 10, 0, 0)},  // shared corner
        {Rect(10.01, 0, 5, 10), false, Rect::null()},
        {Rect(2, 2, 2, 2), true, Rect(2, 2, 2, 2)},
        {Rect::null(), false, Rect::null()},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(a.intersects(c.b), c.intersects) << c.b.minX();
        EXPECT_EQ(c.b.intersects(a), c.intersects) << c.b.minX();
        EXPECT_EQ(a.intersection(c.b), c.expected) << c.b.minX();
    }
    EXPECT_EQ(Rect(0, 0, 2, 2).unionWith(Rect(5, -1, 1, 1)), Rect(0, -1, 6, 3));
    EXPECT_EQ(Rect::null().unionWith(Rect(1, 1, 2, 2)), Rect(1, 1, 2, 2));
    EXPECT_EQ(Rect(1, 1, 2, 2).unionWith(Rect::null()), Rect(1, 1, 2, 2));
    EXPECT_EQ(Rect(1, 1, 2, 2).offsetBy(3, -1), Rect(4, 0, 2, 2));
    EXPECT_DOUBLE_EQ(distance({0, 0}, {3, 4}), 5);
}
