#include <gtest/gtest.h>

#include "DorvaneCore/Geometry/Rect.h"
#include "tests/DorvaneCore/Geometry/RectPrinting.h"

using dorvane::geometry::flippedVertically;
using dorvane::geometry::Point;
using dorvane::geometry::Rect;

TEST(Rect, IntersectionSharesAreaOrIsNull) {
    const Rect a{0, 0, 100, 50};
    EXPECT_EQ(a.intersection(Rect{50, 25, 100, 100}), (Rect{50, 25, 50, 25}));
    EXPECT_TRUE(a.intersection(Rect{100, 0, 10, 10}).isNull()) << "touching right edge";
    EXPECT_TRUE(a.intersection(Rect{0, 50, 10, 10}).isNull()) << "touching bottom edge";
    EXPECT_TRUE(a.intersection(Rect::null()).isNull());
    EXPECT_FALSE(a.intersects(Rect{200, 200, 1, 1}));
    EXPECT_EQ(a.intersection(Rect::infinite()), a);
    // A negative size extends the other way.
    EXPECT_EQ(a.intersection(Rect{10, 10, -20, -20}), (Rect{0, 0, 10, 10}));
}

TEST(Rect, ContainmentIsHalfOpen) {
    const Rect a{10, 20, 30, 40};
    EXPECT_TRUE(a.contains(Point{10, 20}));
    EXPECT_FALSE(a.contains(Point{40, 30}));
    EXPECT_FALSE(a.contains(Point{20, 60}));
    EXPECT_TRUE(a.contains(Point{39.999, 59.999}));
    EXPECT_FALSE(Rect::null().contains(Point{0, 0}));
    EXPECT_FALSE((Rect{0, 0, 0, 10}).contains(Point{0, 5}));

    EXPECT_TRUE(a.contains(a));
    EXPECT_TRUE(a.contains(Rect{15, 25, 25, 35}));
    EXPECT_FALSE(a.contains(Rect{15, 25, 26, 35}));
    EXPECT_FALSE(a.contains(Rect::null()));
}

TEST(Rect, IntegralIsTheSmallestIntegralHull) {
    EXPECT_EQ((Rect{0.5, 1.2, 10, 10}).integral(), (Rect{0, 1, 11, 11}));
    EXPECT_EQ((Rect{-0.5, -1.5, 1, 1}).integral(), (Rect{-1, -2, 2, 2}));
    EXPECT_EQ((Rect{3, 4, 5, 6}).integral(), (Rect{3, 4, 5, 6}));
    EXPECT_TRUE(Rect::null().integral().isNull());
}

TEST(Rect, MidPointsInsetsAndFlip) {
    const Rect a{10, 20, 30, 40};
    EXPECT_EQ(a.mid(), (Point{25, 40}));
    EXPECT_EQ(a.insetBy(5, 10), (Rect{15, 30, 20, 20}));
    EXPECT_TRUE(a.insetBy(16, 0).isNull());
    EXPECT_EQ(a.united(Rect{0, 0, 1, 1}), (Rect{0, 0, 40, 60}));
    // 1512x982 main screen: the top-left (0, 38, 72, 944) strip is (0, 0, 72, 944) bottom-left.
    EXPECT_EQ(flippedVertically(Rect{0, 38, 72, 944}, 982), (Rect{0, 0, 72, 944}));
    EXPECT_EQ(flippedVertically(flippedVertically(a, 982), 982), a);
}
