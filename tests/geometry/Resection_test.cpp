#include "geometry/Resection.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "geometry/Primitives.h"
#include "support/Compare.h"

namespace calctopo {
namespace {

using testing::kRoundingTolerance;

constexpr double kPi = 3.141592653589793;
// Agreement of a resected station with its true position on exact readings,
// for coordinates of order 1e6 (length units).
constexpr double kLargeCoordinateRounding = 1e-6;

struct Known {
    double x;
    double y;
};

// Readings at P towards three points, as bearings minus a round zero (radians).
std::array<double, 3> ReadingsAt(double px, double py, const std::array<Known, 3>& k, double zero) {
    std::array<double, 3> r{};
    for (int i = 0; i < 3; ++i) {
        double g = 0.0;
        double d = 0.0;
        BearingAndDistanceBetween(px, py, k[i].x, k[i].y, g, d);
        r[i] = g - zero;
    }
    return r;
}

bool Check(const std::array<Known, 3>& k, const std::array<double, 3>& r) {
    return CheckResection(k[0].x, k[0].y, k[1].x, k[1].y, k[2].x, k[2].y, r[0], r[1], r[2]);
}

bool Solve(const std::array<Known, 3>& k, const std::array<double, 3>& r, double& x, double& y) {
    return ResectionPoint(k[0].x, k[0].y, k[1].x, k[1].y, k[2].x, k[2].y, r[0], r[1], r[2], x, y);
}

const std::array<Known, 3> kTriangle = {{{0.0, 0.0}, {100.0, 0.0}, {0.0, 100.0}}};

TEST(Resection, ExampleStationInsideTheTriangle) {
    const auto r = ReadingsAt(40.0, 30.0, kTriangle, 0.0);
    EXPECT_TRUE(Check(kTriangle, r));
    double x = 0.0;
    double y = 0.0;
    ASSERT_TRUE(Solve(kTriangle, r, x, y));
    EXPECT_REAL_NEAR(40.0, x, kRoundingTolerance);
    EXPECT_REAL_NEAR(30.0, y, kRoundingTolerance);
}

TEST(Resection, InvariantUnderAShiftOfTheReadings) {
    for (double zero : {1.234, -0.5, 3.0, 2.0 * kPi, -7.0}) {
        const auto r = ReadingsAt(40.0, 30.0, kTriangle, zero);
        EXPECT_TRUE(Check(kTriangle, r)) << zero;
        double x = 0.0;
        double y = 0.0;
        ASSERT_TRUE(Solve(kTriangle, r, x, y)) << zero;
        EXPECT_REAL_NEAR(40.0, x, kRoundingTolerance);
        EXPECT_REAL_NEAR(30.0, y, kRoundingTolerance);
    }
}

TEST(Resection, InvariantUnderRelabellingOfThePoints) {
    // Stations inside, outside and on either side of the triangle; for each,
    // every order of the three points gives the same decision and the same P.
    const double stations[][2] = {
        {40.0, 30.0}, {150.0, 150.0}, {-60.0, 40.0}, {30.0, -80.0}, {100.0, 0.01}};
    for (const auto& p : stations) {
        std::array<int, 3> order = {0, 1, 2};
        const bool expected = Check(kTriangle, ReadingsAt(p[0], p[1], kTriangle, 0.3));
        do {
            const std::array<Known, 3> k = {kTriangle[order[0]], kTriangle[order[1]],
                                            kTriangle[order[2]]};
            const auto r = ReadingsAt(p[0], p[1], k, 0.3);
            EXPECT_EQ(expected, Check(k, r)) << p[0] << ", " << p[1];
            double x = 0.0;
            double y = 0.0;
            ASSERT_TRUE(Solve(k, r, x, y)) << p[0] << ", " << p[1];
            EXPECT_REAL_NEAR(p[0], x, kRoundingTolerance);
            EXPECT_REAL_NEAR(p[1], y, kRoundingTolerance);
        } while (std::next_permutation(order.begin(), order.end()));
    }
}

TEST(Resection, StationsOnTheDangerCircleAreRefused) {
    // The circle through (0, 0), (100, 0), (0, 100) has its centre at (50, 50).
    const auto onCircle = [](double px, double py) {
        return Check(kTriangle, ReadingsAt(px, py, kTriangle, 0.0));
    };
    EXPECT_FALSE(onCircle(100.0, 100.0));
    EXPECT_FALSE(onCircle(35.09, -19.12));  // on the other arc
    EXPECT_TRUE(onCircle(150.0, 150.0));
    // Every station around the circle, on both arcs, away from the known points.
    const double radius = 50.0 * std::sqrt(2.0);
    for (int degrees = 0; degrees < 360; degrees += 10) {
        const double a = degrees * kPi / 180.0;
        const double px = 50.0 + radius * std::sin(a);
        const double py = 50.0 + radius * std::cos(a);
        if (std::hypot(px - 0.0, py - 0.0) < 5.0 || std::hypot(px - 100.0, py) < 5.0 ||
            std::hypot(px, py - 100.0) < 5.0) {
            continue;
        }
        EXPECT_FALSE(onCircle(px, py)) << degrees;
        // Well inside the circle every chord is seen far wider than from it.
        EXPECT_TRUE(onCircle(50.0 + 0.4 * radius * std::sin(a), 50.0 + 0.4 * radius * std::cos(a)))
            << degrees;
    }
}

TEST(Resection, DangerCircleToleranceLimits) {
    // Readings set directly: with amax = a12 the chord is (0, 0)-(100, 0),
    // seen from the circle under π/4 on one arc and 3π/4 on the other.
    const double tolerance = GeometryTolerances::ResectionCircleTolerance;
    const auto check = [](double amax) { return Check(kTriangle, {0.0, amax, amax / 2.0}); };
    EXPECT_FALSE(check(kPi / 4.0 + 0.999 * tolerance));
    EXPECT_TRUE(check(kPi / 4.0 + 1.001 * tolerance));
    EXPECT_FALSE(check(kPi / 4.0 - 0.999 * tolerance));
    EXPECT_TRUE(check(kPi / 4.0 - 1.001 * tolerance));
    EXPECT_FALSE(check(3.0 * kPi / 4.0 - 0.999 * tolerance));
    EXPECT_TRUE(check(3.0 * kPi / 4.0 - 1.001 * tolerance));
    EXPECT_FALSE(check(3.0 * kPi / 4.0 + 0.999 * tolerance));
    EXPECT_TRUE(check(3.0 * kPi / 4.0 + 1.001 * tolerance));
}

TEST(Resection, NarrowAngleLimits) {
    const double tolerance = GeometryTolerances::ResectionMinAngle;
    // Two angles just under 4 grades: refused; just over: accepted (the widest
    // angle, about 8 grades, is far from the circle's π/4 and 3π/4).
    const double under = 0.999 * tolerance;
    const double over = 1.001 * tolerance;
    EXPECT_FALSE(Check(kTriangle, {0.0, under, 2.0 * under}));
    EXPECT_TRUE(Check(kTriangle, {0.0, over, 2.0 * over}));
    // One narrow angle alone is allowed.
    EXPECT_TRUE(Check(kTriangle, {0.0, 0.01, 1.0}));
    // 0, 0.5 and 399.9 grades: angles of 0.5, 0.6 and 0.1 grade.
    EXPECT_FALSE(Check(kTriangle, {0.0, 0.5 * kPi / 200.0, 399.9 * kPi / 200.0}));
    // Three readings within 3 grades of one another, around the full turn.
    for (double base : {0.0, 1.0, 6.2}) {
        EXPECT_FALSE(Check(kTriangle, {base, base + 0.02, base + 0.045}));
    }
}

TEST(Resection, EqualWidestAnglesTakeTheFirstPair) {
    // a12 = a23 = amax = 3π/4 + 0.01: points 1-2 see the circle under 3π/4
    // (refused); points 2-3 would see it under π/2 (accepted).
    const double amax = 3.0 * kPi / 4.0 + 0.01;
    EXPECT_FALSE(Check(kTriangle, {0.0, amax, 2.0 * amax}));
}

TEST(Resection, CollinearKnownPoints) {
    // On an axis: a zero numerator, refused by the check.
    const std::array<Known, 3> line = {{{0.0, 0.0}, {100.0, 0.0}, {200.0, 0.0}}};
    EXPECT_FALSE(Check(line, ReadingsAt(50.0, 80.0, line, 0.0)));
    // Any collinear points: the weighted mean would stay on their line, so no
    // position is given.
    const std::array<Known, 3> diagonal = {{{0.0, 0.0}, {100.0, 100.0}, {200.0, 200.0}}};
    double x = 7.0;
    double y = 8.0;
    EXPECT_FALSE(Solve(diagonal, ReadingsAt(0.0, 100.0, diagonal, 0.0), x, y));
    EXPECT_FALSE(Solve(line, ReadingsAt(50.0, 80.0, line, 0.0), x, y));
    EXPECT_EQ(x, 7.0);
    EXPECT_EQ(y, 8.0);
}

TEST(Resection, DegenerateReadingsGiveNoPoint) {
    double x = 7.0;
    double y = 8.0;
    // Two equal readings: the tangent of their difference is 0.
    EXPECT_FALSE(Solve(kTriangle, {0.5, 0.5, 2.0}, x, y));
    EXPECT_FALSE(Solve(kTriangle, {0.5, 2.0, 2.0}, x, y));
    EXPECT_FALSE(Solve(kTriangle, {1.0, 1.0, 1.0}, x, y));
    EXPECT_EQ(x, 7.0);
    EXPECT_EQ(y, 8.0);
    // Readings half a turn apart, or on the circle: never a non-number.
    for (const std::array<double, 3>& r :
         {std::array<double, 3>{0.0, kPi, 1.0}, std::array<double, 3>{0.0, 1e-300, 1.0},
          ReadingsAt(100.0, 100.0, kTriangle, 0.0)}) {
        if (Solve(kTriangle, r, x, y)) {
            EXPECT_TRUE(std::isfinite(x) && std::isfinite(y));
        }
    }
}

TEST(Resection, LargeCoordinates) {
    // Points of a national grid; the station 1-3 km from each.
    const std::array<Known, 3> k = {
        {{2600123.456, 1200456.789}, {2602987.654, 1201234.567}, {2601111.111, 1203210.987}}};
    const double px = 2601500.25;
    const double py = 1201000.75;
    const auto r = ReadingsAt(px, py, k, 4.56);
    EXPECT_TRUE(Check(k, r));
    double x = 0.0;
    double y = 0.0;
    ASSERT_TRUE(Solve(k, r, x, y));
    EXPECT_REAL_NEAR(px, x, kLargeCoordinateRounding);
    EXPECT_REAL_NEAR(py, y, kLargeCoordinateRounding);
}

}  // namespace
}  // namespace calctopo
