// The residuals of one sight as values: each present only when the sight
// observes it and the other end can check it, the transverse error absent at
// a quarter turn. Expected values are worked by hand on a sight due north.
#include "geometry/SightResiduals.h"

#include <cmath>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "geometry/Angles.h"
#include "support/StateBuilder.h"

namespace calctopo {
namespace {

using testing::DeterminedPoint;
using testing::GivenPoint;
using testing::UnknownPoint;

// Residuals worked by hand are compared to within this, in radians or length units.
constexpr double kTolerance = 1e-12;

// A at (1000, 5000, 100) sees P at (1000, 5100, 102): computed bearing 0 (due
// north), horizontal distance 100, height difference +2.
struct NorthSight {
    NorthSight() {
        a = AppendPoint(state, GivenPoint("A", 1000.0, 5000.0, 100.0));
        p = AppendPoint(state, DeterminedPoint("P", 1000.0, 5100.0, 102.0));
        Sight sight;
        sight.station = a;
        sight.target = p;
        number = state.SightTable.Append(sight);
    }

    Sight& sight() { return state.SightTable[number]; }

    void ObserveBearing(double bearing) {
        sight().directionObs = 1;
        sight().bearing = bearing;
        sight().bearingKnown = true;
    }
    void ObserveDistance(double distance) {
        sight().distanceObs = 1;
        sight().horizontalDistance = distance;
        sight().horizontalDistanceKnown = true;
    }
    void ObserveHeightDifference(double dh) {
        sight().zenithObs = 1;
        sight().heightDifference = dh;
        sight().heightDifferenceKnown = true;
    }

    SurveyState state;
    int a = 0;
    int p = 0;
    int number = 0;
};

TEST(SightResiduals, EveryObservationAgainstTheCoordinates) {
    NorthSight n;
    n.ObserveBearing(0.001);
    n.ObserveDistance(100.005);
    n.ObserveHeightDifference(2.01);
    const SightResiduals r = SightResidualsOf(n.state, n.number, n.p);
    ASSERT_TRUE(r.misclosure && r.transverse && r.distance && r.heightDifference);
    EXPECT_NEAR(*r.misclosure, 0.001, kTolerance);
    // tan(0.001) = 0.001000000333..., times 100.
    EXPECT_NEAR(*r.transverse, 100.0 * std::tan(0.001), kTolerance);
    EXPECT_NEAR(*r.transverse, 0.1000000333, 1e-10);
    EXPECT_NEAR(*r.distance, 0.005, 1e-11);         // 100.005 is not exact in binary
    EXPECT_NEAR(*r.heightDifference, 0.01, 1e-11);  // nor is 2.01
    EXPECT_TRUE(r.Any());
}

TEST(SightResiduals, TheSameSeenFromEitherEnd) {
    NorthSight n;
    n.ObserveBearing(-0.002);
    n.ObserveDistance(99.99);
    const SightResiduals fromP = SightResidualsOf(n.state, n.number, n.p);
    const SightResiduals fromA = SightResidualsOf(n.state, n.number, n.a);
    ASSERT_TRUE(fromP.misclosure && fromA.misclosure && fromP.distance && fromA.distance);
    EXPECT_EQ(*fromP.misclosure, *fromA.misclosure);
    EXPECT_EQ(*fromP.distance, *fromA.distance);
    EXPECT_NEAR(*fromP.misclosure, -0.002, kTolerance);
    EXPECT_LT(*fromP.transverse, 0.0);  // a negative misclosure lies to the left
}

TEST(SightResiduals, AQuarterTurnHasAMisclosureButNoTransverseError) {
    // tan(π/2) in long double is some 1e19: far beyond any stored length.
    NorthSight n;
    n.ObserveBearing(static_cast<double>(kPi / 2));
    const SightResiduals r = SightResidualsOf(n.state, n.number, n.p);
    ASSERT_TRUE(r.misclosure);
    EXPECT_NEAR(*r.misclosure, static_cast<double>(kPi / 2), kTolerance);
    EXPECT_FALSE(r.transverse);
}

TEST(SightResiduals, TheMisclosureIsTakenWithinAHalfTurn) {
    // Observed 2π − 0.001 against a computed 0: a misclosure of −0.001, not
    // of almost a full turn.
    NorthSight n;
    n.ObserveBearing(static_cast<double>(2 * kPi) - 0.001);
    const SightResiduals r = SightResidualsOf(n.state, n.number, n.p);
    ASSERT_TRUE(r.misclosure);
    EXPECT_NEAR(*r.misclosure, -0.001, 1e-12);
}

TEST(SightResiduals, DerivedValuesAreNotObservations) {
    // Bearing, distance and height difference given by the derivation, with
    // no observation behind them: nothing to check, no listing line.
    NorthSight n;
    n.sight().bearing = 0.5;
    n.sight().bearingKnown = true;
    n.sight().horizontalDistance = 120.0;
    n.sight().horizontalDistanceKnown = true;
    n.sight().heightDifference = 3.0;
    n.sight().heightDifferenceKnown = true;
    const SightResiduals r = SightResidualsOf(n.state, n.number, n.p);
    EXPECT_FALSE(r.misclosure || r.transverse || r.distance || r.heightDifference);
    EXPECT_FALSE(r.Any());
}

TEST(SightResiduals, AnUnplacedOtherEndChecksNothingOfThePlan) {
    // The other end unknown: bearing and distance cannot be checked; its
    // height is unknown too, so neither can the height difference.
    NorthSight n;
    n.state.PointTable[n.a] = UnknownPoint("A");
    n.ObserveBearing(0.001);
    n.ObserveDistance(100.005);
    n.ObserveHeightDifference(2.01);
    EXPECT_FALSE(SightResidualsOf(n.state, n.number, n.p).Any());
}

TEST(SightResiduals, AnObservationWhoseValueIsUnknownIsAbsent) {
    // An observation the derivation could not reduce (its flag is down) never
    // reads as a residual.
    NorthSight n;
    n.sight().directionObs = 1;
    n.sight().distanceObs = 1;
    n.sight().zenithObs = 1;
    EXPECT_FALSE(SightResidualsOf(n.state, n.number, n.p).Any());
}

}  // namespace
}  // namespace calctopo
