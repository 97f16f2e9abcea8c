// The two pairing rules: targets one by name for the angle methods, one by
// index for resection; round 0 pairs for the angle methods but has nothing to
// orient for the derivation.
#include "data/PairingRules.h"

#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "engine/CALCUL.h"
#include "engine/ResectionTrilateration.h"
#include "engine/TriangulationEccentric.h"
#include "geometry/Primitives.h"
#include "geometry/SightDerivation.h"
#include "support/StateBuilder.h"

namespace calctopo {
namespace {

using testing::StateBuilder;

// Placed positions are compared at a tenth of a millimetre (coordinates in metres).
constexpr double kPositionTolerance = 1e-4;

TEST(PairingRules, NamesForTheAngleMethodsIndicesForThePoints) {
    EXPECT_TRUE(SameTargetByName("A", "A"));
    EXPECT_FALSE(SameTargetByName("A", "A2"));
    EXPECT_TRUE(SamePoint(3, 3));
    EXPECT_FALSE(SamePoint(3, 4));      // two points, even when they bear one name
    EXPECT_TRUE(ReadInOneRound(0, 0));  // before the first round: one zero all the same
    EXPECT_FALSE(ReadInOneRound(0, 1));
    EXPECT_FALSE(HasRoundToOrient(0));
    EXPECT_TRUE(HasRoundToOrient(1));
}

// The true station P and its bearing towards (x, y).
constexpr double kPx = 1180.0;
constexpr double kPy = 5260.0;
double BearingFromP(double x, double y) {
    double bearing = 0.0;
    double distance = 0.0;
    BearingAndDistanceBetween(kPx, kPy, x, y, bearing, distance);
    return bearing;
}
double DistanceFromP(double x, double y) {
    return std::hypot(x - kPx, y - kPy);
}

// Station P read, in one round of zero 0.3 rad, two distinct given points that
// the coordinates file names both "A", then B; horizontal distances to both
// "A" points.
struct TwiceNamed {
    StateBuilder b;
    int p = 0;
    explicit TwiceNamed(int round) {
        const int a1 = b.KnownPoint("A", 1000.0, 5000.0, 100.0);
        const int a2 = b.KnownPoint("A", 1400.0, 5050.0, 100.0);
        const int bb = b.KnownPoint("B", 1150.0, 5500.0, 100.0);
        p = b.Point("P");
        const int r = round == 0 ? 0 : b.Round();
        const double zero = 0.3;
        b.Direction(p, a1, BearingFromP(1000.0, 5000.0) - zero, r);
        b.Direction(p, a2, BearingFromP(1400.0, 5050.0) - zero, r);
        b.Direction(p, bb, BearingFromP(1150.0, 5500.0) - zero, r);
        b.Distance(p, a1, DistanceFromP(1000.0, 5000.0), true);
        b.Distance(p, a2, DistanceFromP(1400.0, 5050.0), true);
        b.Build();
        DeriveSights(b.state);
    }
    bool AtTruePosition() const {
        const SurveyPoint& point = b.state.PointTable[p];
        return point.planimetricKnown && std::abs(point.x - kPx) < kPositionTolerance &&
               std::abs(point.y - kPy) < kPositionTolerance;
    }
};

TEST(PairingRules, TriangulationPassesOverTwoPointsOfOneName) {
    // The only pair with two distances is (A, A): one name, never paired.
    TwiceNamed site(1);
    EXPECT_EQ(TryTriangulation(site.b.state, site.p), NotDetermined);
    EXPECT_FALSE(site.b.state.PointTable[site.p].planimetricKnown);
}

TEST(PairingRules, ResectionTakesTwoPointsOfOneNameAsTwoPoints) {
    // The triple (A, A, B) holds three points: resection places P.
    TwiceNamed site(1);
    EXPECT_EQ(TryResection(site.b.state, site.p), ByResection);
    EXPECT_TRUE(site.AtTruePosition());
}

TEST(PairingRules, ReadingsBeforeTheFirstRoundPairForTheAngleMethods) {
    // Round 0: the triple still shares one zero, and resection places P.
    TwiceNamed site(0);
    EXPECT_EQ(TryResection(site.b.state, site.p), ByResection);
    EXPECT_TRUE(site.AtTruePosition());
}

TEST(PairingRules, ReadingsBeforeTheFirstRoundHaveNoRoundToOrient) {
    // Station S read given T and unknown Q. In a round, T's bearing orients
    // it and Q's sight gets a bearing; before any round, nothing does.
    for (const int round : {0, 1}) {
        StateBuilder b;
        const int s = b.KnownPoint("S", 0.0, 0.0, 0.0);
        const int t = b.KnownPoint("T", 100.0, 0.0, 0.0);
        const int q = b.Point("Q");
        const int r = round == 0 ? 0 : b.Round();
        b.Direction(s, t, 0.1, r);
        b.Direction(s, q, 0.5, r);
        b.Build();
        DeriveSights(b.state);
        EXPECT_TRUE(b.SightOf(s, t).bearingKnown) << "round " << round;
        EXPECT_EQ(b.SightOf(s, q).bearingKnown, round != 0) << "round " << round;
    }
}

}  // namespace
}  // namespace calctopo
