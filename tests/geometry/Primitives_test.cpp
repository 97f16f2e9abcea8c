#include "geometry/Primitives.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "support/Compare.h"

namespace calctopo {
namespace {

using testing::kMillimetre;
using testing::kRoundingTolerance;

constexpr double kPi = 3.141592653589793;
// A few units in the last place of an angle of a few radians.
constexpr double kAngleUlps = 4e-15;
// Bearing of a line within a few tenths of a millimetre of east-west: the
// arcsine of dx / distance, with the ratio within 1e-12 of 1, keeps about ten
// digits (radians).
constexpr double kNearlyEastWest = 1e-10;

// Independent bearing: atan2 with east first, folded into [0, 2π).
double Atan2Bearing(double dx, double dy) {
    const double g = std::atan2(dx, dy);
    return g < 0.0 ? g + 2.0 * kPi : g;
}

TEST(Primitives, NormalizeAngleFoldsIntoHalfTurns) {
    EXPECT_REAL_NEAR(-kPi / 2.0, NormalizeAngle(3.0 * kPi / 2.0), kAngleUlps);
    EXPECT_EQ(NormalizeAngle(-kPi), -kPi);
    EXPECT_EQ(NormalizeAngle(kPi), kPi);
    EXPECT_EQ(NormalizeAngle(1.0), 1.0);
    EXPECT_EQ(NormalizeAngle(-3.0), -3.0);
    EXPECT_REAL_NEAR(0.5, NormalizeAngle(0.5 + 6.0 * kPi), 1e-14);
    EXPECT_REAL_NEAR(-0.5, NormalizeAngle(-0.5 - 10.0 * kPi), 1e-14);
}

TEST(Primitives, NormalizeAngleEndsOnHugeValues) {
    for (double a : {1e6, -1e6, 1e20, -1e20, 1e300, -std::numeric_limits<double>::max()}) {
        const double n = NormalizeAngle(a);
        EXPECT_TRUE(std::isfinite(n)) << a;
        EXPECT_LE(std::fabs(n), kPi) << a;
    }
    // 1e6 rad: compare with an independent remainder (the double 1e6 is exact).
    EXPECT_REAL_NEAR(std::remainder(1e6, 2.0 * kPi), NormalizeAngle(1e6), 1e-9);
}

TEST(Primitives, BearingAndDistanceOnTheAxes) {
    double g = -1.0;
    double d = -1.0;
    BearingAndDistance(0.0, 10.0, g, d);
    EXPECT_EQ(g, 0.0);
    EXPECT_EQ(d, 10.0);
    BearingAndDistance(10.0, 0.0, g, d);
    EXPECT_EQ(g, 1.5707963267948966);
    BearingAndDistance(0.0, -10.0, g, d);
    EXPECT_EQ(g, kPi);
    BearingAndDistance(-10.0, 0.0, g, d);
    EXPECT_EQ(g, 4.71238898038469);
    BearingAndDistance(-10.0, 10.0, g, d);
    EXPECT_REAL_NEAR(7.0 * kPi / 4.0, g, kAngleUlps);
    EXPECT_REAL_NEAR(std::sqrt(200.0), d, kRoundingTolerance);
}

TEST(Primitives, BearingAndDistanceInAllFourQuadrants) {
    // 3-4-5 triangles; the reference is atan2, an independent formula.
    const double cases[][2] = {{3, 4},      {3, -4},      {-3, -4},     {-3, 4},
                               {4, 3},      {4, -3},      {-4, -3},     {-4, 3},
                               {1e-3, 1e3}, {-1e-3, 1e3}, {1e-3, -1e3}, {-1e-3, -1e3}};
    for (const auto& c : cases) {
        double g = -1.0;
        double d = -1.0;
        BearingAndDistance(c[0], c[1], g, d);
        EXPECT_REAL_NEAR(Atan2Bearing(c[0], c[1]), g, kAngleUlps) << c[0] << ", " << c[1];
        EXPECT_GE(g, 0.0);
        EXPECT_LT(g, 2.0 * kPi);
        EXPECT_REAL_NEAR(std::hypot(c[0], c[1]), d, kRoundingTolerance);
    }
}

TEST(Primitives, BearingAndDistanceOfCoincidentPoints) {
    double g = -1.0;
    double d = -1.0;
    BearingAndDistance(0.00005, 0.00005, g, d);
    EXPECT_EQ(g, 0.0);
    EXPECT_REAL_NEAR(7.0710678118654752e-5, d, 1e-18);
    BearingAndDistance(0.0, 0.0, g, d);
    EXPECT_EQ(g, 0.0);
    EXPECT_EQ(d, 0.0);
}

TEST(Primitives, BearingAndDistanceEastWestRule) {
    double g = -1.0;
    double d = -1.0;
    // Under a tenth of a millimetre north or south: exactly east or west.
    BearingAndDistance(100.0, 0.00001, g, d);
    EXPECT_EQ(g, 1.5707963267948966);
    BearingAndDistance(100.0, -0.00001, g, d);
    EXPECT_EQ(g, 1.5707963267948966);
    BearingAndDistance(-100.0, 0.00001, g, d);
    EXPECT_EQ(g, 4.71238898038469);
    BearingAndDistance(100.0, 0.0000999, g, d);
    EXPECT_EQ(g, 1.5707963267948966);
    // From a tenth of a millimetre on, the line has its true bearing (the
    // arcsine of a ratio close to 1 keeps about 1e-10 rad, a nanometre here).
    BearingAndDistance(100.0, 0.0001, g, d);
    EXPECT_REAL_NEAR(Atan2Bearing(100.0, 0.0001), g, kNearlyEastWest);
    EXPECT_NE(g, 1.5707963267948966);
    // A line 0.3 m off east-west over 1 km keeps its true bearing (3e-4 rad
    // from π/2), whatever the integer parts of its components.
    BearingAndDistance(1000.0, 0.3, g, d);
    EXPECT_REAL_NEAR(Atan2Bearing(1000.0, 0.3), g, kNearlyEastWest);
    BearingAndDistance(-1000.0, -0.3, g, d);
    EXPECT_REAL_NEAR(Atan2Bearing(-1000.0, -0.3), g, kNearlyEastWest);
}

TEST(Primitives, BearingAndDistanceNeverGivesNaN) {
    // dy negligible beside dx: the stored distance equals |dx| and the ratio
    // dx / distance is exactly ±1.
    const double cases[][2] = {{1e12, 2e-4},   {-1e12, 2e-4}, {1e12, -2e-4},
                               {-1e12, -2e-4}, {1e8, 1e-4},   {3e-4, 1e-4}};
    for (const auto& c : cases) {
        double g = -1.0;
        double d = -1.0;
        BearingAndDistance(c[0], c[1], g, d);
        EXPECT_TRUE(std::isfinite(g) && std::isfinite(d)) << c[0] << ", " << c[1];
        EXPECT_REAL_NEAR(Atan2Bearing(c[0], c[1]), g, 1e-12) << c[0] << ", " << c[1];
    }
}

TEST(Primitives, HeightDifferences) {
    // Horizontal sight of 1 km: only curvature and refraction, 1/15 m.
    EXPECT_REAL_NEAR(1.0 / 15.0, HeightDifferenceFromSlope(1000.0, kPi / 2.0, 1.5, 1.5),
                     kRoundingTolerance);
    // Vertical sight: D + hi - ht.
    EXPECT_REAL_NEAR(1000.0 + 1.5 - 1.2, HeightDifferenceFromSlope(1000.0, 0.0, 1.5, 1.2),
                     kRoundingTolerance);
    // 45° below the horizon over 100 m horizontal (hand computation).
    double dh = 0.0;
    ASSERT_TRUE(HeightDifferenceFromHorizontal(100.0, 3.0 * kPi / 4.0, 1.5, 1.2, dh));
    EXPECT_REAL_NEAR(-100.0 + 0.3 + 0.01 / 15.0, dh, kRoundingTolerance);
}

TEST(Primitives, HeightFromHorizontalRefusesVerticalSights) {
    double dh = 123.0;
    EXPECT_FALSE(HeightDifferenceFromHorizontal(100.0, 0.0, 1.5, 1.2, dh));
    EXPECT_FALSE(HeightDifferenceFromHorizontal(100.0, kPi, 1.5, 1.2, dh));
    EXPECT_FALSE(HeightDifferenceFromHorizontal(100.0, -kPi, 1.5, 1.2, dh));
    EXPECT_EQ(dh, 123.0);
    // Steep but not vertical: a result.
    EXPECT_TRUE(HeightDifferenceFromHorizontal(1.0, 0.001, 0.0, 0.0, dh));
    EXPECT_REAL_NEAR(1.0 / std::tan(0.001) + 1e-6 / 15.0, dh, 1e-9);
}

TEST(Primitives, IntersectionAngleLimits) {
    const double limit = GeometryTolerances::MinIntersectionAngle;
    EXPECT_FALSE(CheckIntersectionAngle(0.0, kPi));    // opposite rays
    EXPECT_FALSE(CheckIntersectionAngle(0.0, limit));  // exactly 1 grade
    EXPECT_TRUE(CheckIntersectionAngle(0.0, std::nextafter(limit, 1.0)));
    EXPECT_TRUE(CheckIntersectionAngle(0.0, 0.02));
    EXPECT_TRUE(CheckIntersectionAngle(0.0, kPi + 0.02));
    EXPECT_FALSE(CheckIntersectionAngle(0.0, kPi - 0.015));
    EXPECT_FALSE(CheckIntersectionAngle(1.0, 1.0 + 2.0 * kPi));
    // Absurd input ends and is refused.
    EXPECT_FALSE(CheckIntersectionAngle(0.0, std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(CheckIntersectionAngle(0.0, std::numeric_limits<double>::infinity()));
    (void)CheckIntersectionAngle(0.0, 1e300);  // must return
}

TEST(Primitives, IntersectBearingsKeepsAxisLinesExact) {
    // East from (1000, 5000000) meets north from (1100, 4999900) at (1100, 5000000).
    double x = 0.0;
    double y = 0.0;
    ASSERT_TRUE(IntersectBearings(1000.0, 5000000.0, kPi / 2.0, 1100.0, 4999900.0, 0.0, x, y));
    EXPECT_REAL_NEAR(1100.0, x, kRoundingTolerance);
    EXPECT_REAL_NEAR(5000000.0, y, kRoundingTolerance);
    // The same with the stations swapped.
    ASSERT_TRUE(IntersectBearings(1100.0, 4999900.0, 0.0, 1000.0, 5000000.0, kPi / 2.0, x, y));
    EXPECT_REAL_NEAR(1100.0, x, kRoundingTolerance);
    EXPECT_REAL_NEAR(5000000.0, y, kRoundingTolerance);
}

TEST(Primitives, IntersectBearingsOfObliqueLines) {
    // NE from (0, 0) and NW from (100, 0) meet at (50, 50).
    double x = 0.0;
    double y = 0.0;
    ASSERT_TRUE(IntersectBearings(0.0, 0.0, kPi / 4.0, 100.0, 0.0, 7.0 * kPi / 4.0, x, y));
    EXPECT_REAL_NEAR(50.0, x, kRoundingTolerance);
    EXPECT_REAL_NEAR(50.0, y, kRoundingTolerance);
    // Bearings computed from a true point (600000.123, 200000.456).
    const double px = 600000.123;
    const double py = 200000.456;
    double g1 = 0.0;
    double g2 = 0.0;
    double d = 0.0;
    BearingAndDistanceBetween(599000.0, 199500.0, px, py, g1, d);
    BearingAndDistanceBetween(601200.0, 199000.0, px, py, g2, d);
    ASSERT_TRUE(IntersectBearings(599000.0, 199500.0, g1, 601200.0, 199000.0, g2, x, y));
    EXPECT_REAL_NEAR(px, x, 1e-6);
    EXPECT_REAL_NEAR(py, y, 1e-6);
}

TEST(Primitives, IntersectBearingsRefusesParallelLines) {
    double x = 7.0;
    double y = 8.0;
    EXPECT_FALSE(IntersectBearings(0.0, 0.0, 0.3, 10.0, 0.0, 0.3, x, y));
    EXPECT_FALSE(IntersectBearings(0.0, 0.0, 0.3, 10.0, 0.0, 0.3 + kPi, x, y));
    EXPECT_EQ(x, 7.0);
    EXPECT_EQ(y, 8.0);
}

// Readings at P towards A and B with an arbitrary zero.
void ReadingsFrom(double px, double py, double xa, double ya, double xb, double yb, double zero,
                  double& ra, double& rb, double& da, double& db) {
    double g = 0.0;
    BearingAndDistanceBetween(px, py, xa, ya, g, da);
    ra = g - zero;
    BearingAndDistanceBetween(px, py, xb, yb, g, db);
    rb = g - zero;
}

TEST(Primitives, EccentricStation) {
    EXPECT_TRUE(EccentricDistanceFits(0.0, 0.0, 100.0, 0.0, 99.999));
    EXPECT_FALSE(EccentricDistanceFits(0.0, 0.0, 100.0, 0.0, 100.0));
    // P a few metres from A, on either side of AB; readings from the true P.
    for (double side : {5.0, -5.0}) {
        const double px = 10.0;
        const double py = side;
        double ra = 0.0;
        double rb = 0.0;
        double da = 0.0;
        double db = 0.0;
        ReadingsFrom(px, py, 0.0, 0.0, 100.0, 0.0, 1.234, ra, rb, da, db);
        double x = 0.0;
        double y = 0.0;
        ASSERT_TRUE(EccentricPoint(0.0, 0.0, 100.0, 0.0, ra, rb, da, x, y));
        EXPECT_REAL_NEAR(px, x, kRoundingTolerance);
        EXPECT_REAL_NEAR(py, y, kRoundingTolerance);
    }
}

TEST(Primitives, EccentricStationRefusesImpossibleTriangles) {
    double x = 7.0;
    double y = 8.0;
    // sin α · d / AB = 2: no triangle.
    EXPECT_FALSE(EccentricPoint(0.0, 0.0, 10.0, 0.0, 0.0, kPi / 2.0, 20.0, x, y));
    EXPECT_FALSE(EccentricPoint(5.0, 5.0, 5.0, 5.0, 0.0, 1.0, 1.0, x, y));  // A = B
    EXPECT_EQ(x, 7.0);
    EXPECT_EQ(y, 8.0);
}

TEST(Primitives, TriangulatedPointFromTrueDistances) {
    // P at every kind of triangle: acute, right and obtuse at A, and P on both
    // sides of AB; ω, dA and dB from the true P.
    const double points[][2] = {{3.0, 172.0},  {0.0, 50.0},   {-30.0, 40.0},
                                {130.0, 40.0}, {50.0, -80.0}, {-20.0, -5.0}};
    for (const auto& p : points) {
        double ra = 0.0;
        double rb = 0.0;
        double da = 0.0;
        double db = 0.0;
        ReadingsFrom(p[0], p[1], 0.0, 0.0, 100.0, 0.0, 0.7, ra, rb, da, db);
        double x = 0.0;
        double y = 0.0;
        ASSERT_TRUE(TriangulatedPoint(0.0, 0.0, 100.0, 0.0, rb - ra, da, db, x, y))
            << p[0] << ", " << p[1];
        EXPECT_REAL_NEAR(p[0], x, kRoundingTolerance);
        EXPECT_REAL_NEAR(p[1], y, kRoundingTolerance);
    }
}

TEST(Primitives, TriangulatedPointIsWellConditionedNearARightAngleAtA) {
    // A (0, 0), B (10, 0), P (3, 172): the angle at A is close to 90°. An error
    // of 1 mgon on ω moves P by about 2 mm (an arcsine of the angle at A would
    // move it by about 2 m).
    double ra = 0.0;
    double rb = 0.0;
    double da = 0.0;
    double db = 0.0;
    ReadingsFrom(3.0, 172.0, 0.0, 0.0, 10.0, 0.0, 0.0, ra, rb, da, db);
    const double oneMilligon = kPi / 200000.0;
    double x = 0.0;
    double y = 0.0;
    ASSERT_TRUE(TriangulatedPoint(0.0, 0.0, 10.0, 0.0, rb - ra + oneMilligon, da, db, x, y));
    EXPECT_LT(std::hypot(x - 3.0, y - 172.0), 5.0 * kMillimetre);
}

TEST(Primitives, TriangulatedPointRefusesImpossibleTriangles) {
    double x = 7.0;
    double y = 8.0;
    EXPECT_FALSE(TriangulatedPoint(5.0, 5.0, 5.0, 5.0, 1.0, 10.0, 10.0, x, y));  // A = B
    // sin ω · dB = 50 exceeds AB = 10.
    EXPECT_FALSE(TriangulatedPoint(0.0, 0.0, 10.0, 0.0, kPi / 2.0, 40.0, 50.0, x, y));
    EXPECT_EQ(x, 7.0);
    EXPECT_EQ(y, 8.0);
}

// A (0, 0), B (100, 0) and equal distances: the first solution (on the bearing
// G + c) is (50, -40), its mirror (50, 40). Returns the y of the chosen one.
double TrilateratedY(int kind, double xc, double yc, double v) {
    const double da = std::hypot(50.0, 40.0);
    double x = 0.0;
    double y = 0.0;
    EXPECT_TRUE(TrilateratedPoint(kind, 0.0, 0.0, 100.0, 0.0, da, da, xc, yc, v, x, y));
    EXPECT_REAL_NEAR(50.0, x, kRoundingTolerance);
    return y;
}

TEST(Primitives, TrilaterationDistanceControl) {
    // C (50, 60) is 100 from the first solution and 20 from the mirror; the
    // first stays strictly within 5 length units.
    for (double v : {100.0, 104.999, 95.001}) {
        EXPECT_REAL_NEAR(-40.0, TrilateratedY(ControlByDistance, 50.0, 60.0, v), 1e-9) << v;
    }
    for (double v : {20.0, 105.001, 94.999}) {
        EXPECT_REAL_NEAR(40.0, TrilateratedY(ControlByDistance, 50.0, 60.0, v), 1e-9) << v;
    }
}

TEST(Primitives, TrilaterationBearingControl) {
    // C (0, -40) sees the first solution due east and the mirror at
    // atan2(50, 80); the first stays strictly within 0.5 grade, modulo a turn.
    const double tolerance = GeometryTolerances::TrilaterationBearingTolerance;
    for (double v : {kPi / 2.0, kPi / 2.0 + 0.99 * tolerance, kPi / 2.0 + 2.0 * kPi}) {
        EXPECT_REAL_NEAR(-40.0, TrilateratedY(ControlByBearing, 0.0, -40.0, v), 1e-9) << v;
    }
    for (double v : {kPi / 2.0 - 1.01 * tolerance, std::atan2(50.0, 80.0)}) {
        EXPECT_REAL_NEAR(40.0, TrilateratedY(ControlByBearing, 0.0, -40.0, v), 1e-9) << v;
    }
    // Any other control kind keeps the first solution.
    EXPECT_REAL_NEAR(-40.0, TrilateratedY(3, 0.0, -40.0, 0.0), 1e-9);
}

TEST(Primitives, TrilaterationBearingControlNearNorth) {
    // A (0, 3000) and B (0, 2000): the first solution lies west of AB. With P at
    // 1000 north of C (0, 0), the first solution (-3, 1000) is seen from C at
    // 2π - 0.003 and its mirror (3, 1000) at +0.003.
    const double da = std::hypot(3.0, 2000.0);
    const double db = std::hypot(3.0, 1000.0);
    double x = 0.0;
    double y = 0.0;
    auto solveX = [&](double v) {
        EXPECT_TRUE(TrilateratedPoint(ControlByBearing, 0.0, 3000.0, 0.0, 2000.0, da, db, 0.0, 0.0,
                                      v, x, y));
        EXPECT_REAL_NEAR(1000.0, y, 1e-9);
        return x;
    };
    // A control bearing slightly above 0, or negative, still agrees with 2π - 0.003.
    EXPECT_REAL_NEAR(-3.0, solveX(0.001), 1e-9);
    EXPECT_REAL_NEAR(-3.0, solveX(-0.003), 1e-9);
    EXPECT_REAL_NEAR(-3.0, solveX(2.0 * kPi - 0.003), 1e-9);
    // Farther apart: (±30, 1000) seen at ∓0.03; the control picks its side.
    const double da30 = std::hypot(30.0, 2000.0);
    const double db30 = std::hypot(30.0, 1000.0);
    auto solve30 = [&](double v) {
        EXPECT_TRUE(TrilateratedPoint(ControlByBearing, 0.0, 3000.0, 0.0, 2000.0, da30, db30, 0.0,
                                      0.0, v, x, y));
        return x;
    };
    EXPECT_REAL_NEAR(-30.0, solve30(-0.03), 1e-9);
    EXPECT_REAL_NEAR(-30.0, solve30(2.0 * kPi - 0.03), 1e-9);
    EXPECT_REAL_NEAR(30.0, solve30(0.03), 1e-9);
}

TEST(Primitives, TrilaterationRefusesWhatHasNoSolution) {
    double x = 7.0;
    double y = 8.0;
    // A = B.
    EXPECT_FALSE(
        TrilateratedPoint(ControlByDistance, 1.0, 1.0, 1.0, 1.0, 5.0, 5.0, 0.0, 0.0, 1.0, x, y));
    // Circles that do not meet: apart, and one inside the other.
    EXPECT_FALSE(TrilateratedPoint(ControlByDistance, 0.0, 0.0, 100.0, 0.0, 40.0, 50.0, 0.0, 0.0,
                                   1.0, x, y));
    EXPECT_FALSE(TrilateratedPoint(ControlByDistance, 0.0, 0.0, 100.0, 0.0, 200.0, 50.0, 0.0, 0.0,
                                   1.0, x, y));
    // A zero distance from A.
    EXPECT_FALSE(TrilateratedPoint(ControlByDistance, 0.0, 0.0, 100.0, 0.0, 0.0, 100.0, 0.0, 0.0,
                                   1.0, x, y));
    EXPECT_EQ(x, 7.0);
    EXPECT_EQ(y, 8.0);
    // Tangent circles meet in one point.
    ASSERT_TRUE(TrilateratedPoint(ControlByDistance, 0.0, 0.0, 100.0, 0.0, 40.0, 60.0, 0.0, 0.0,
                                  40.0, x, y));
    EXPECT_REAL_NEAR(40.0, x, kRoundingTolerance);
    EXPECT_REAL_NEAR(0.0, y, kRoundingTolerance);
}

}  // namespace
}  // namespace calctopo
