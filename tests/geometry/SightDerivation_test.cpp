#include "geometry/SightDerivation.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "support/Compare.h"
#include "support/StateBuilder.h"

namespace calctopo {
namespace {

using ::calctopo::testing::kRoundingTolerance;

constexpr double kPi = 3.14159265358979323846;

// A small network filled by hand: points, observations (angles already in
// radians) and rounds, then the sights and their index as the load builds them.
using Network = ::calctopo::testing::StateBuilder;

// Everything DeriveSights may change: the derived values of the sights and
// the orientations of the rounds.
std::vector<double> DerivedState(const SurveyState& state) {
    std::vector<double> values;
    for (const Sight& s : state.SightTable) {
        values.insert(values.end(),
                      {s.bearing, s.horizontalDistance, s.heightDifference, double(s.bearingKnown),
                       double(s.horizontalDistanceKnown), double(s.heightDifferenceKnown)});
    }
    for (const StationRound& r : state.RoundTable) {
        values.insert(values.end(), {r.orientation, double(r.orientationKnown)});
    }
    return values;
}

TEST(SightDerivation, AKnownLineOrientsItsRoundAndBearsEveryReading) {
    Network n;
    const int a = n.KnownPoint("A", 0.0, 0.0, 100.0);
    const int b = n.KnownPoint("B", 100.0, 100.0, 110.0);  // bearing A->B π/4
    const int c = n.Point("C");
    const int d = n.Point("D");
    const int first = n.Round();
    const int second = n.Round();
    n.Direction(a, c, 0.5, first);  // before the known line in the table
    n.Direction(a, b, 1.0, first);
    n.Direction(a, d, 4.0, first);
    n.Direction(b, a, 0.5, second);
    n.Direction(b, c, 2.0, second);
    n.Build();
    DeriveSights(n.state);

    // π/4 - 1.0 is negative: the round gets a full turn more.
    ASSERT_TRUE(n.state.RoundTable[first].orientationKnown);
    EXPECT_REAL_NEAR(kPi / 4.0 - 1.0 + 2.0 * kPi, n.state.RoundTable[first].orientation,
                     kRoundingTolerance);
    // Orientation + reading above 2π loses one full turn.
    EXPECT_REAL_NEAR(kPi / 4.0 - 0.5, n.SightAt(1).bearing, kRoundingTolerance);
    EXPECT_REAL_NEAR(kPi / 4.0 + 3.0, n.SightAt(3).bearing, kRoundingTolerance);
    // The known line itself: bearing, distance and height difference (target
    // minus station) from the coordinates.
    EXPECT_REAL_NEAR(kPi / 4.0, n.SightAt(2).bearing, kRoundingTolerance);
    EXPECT_REAL_NEAR(100.0 * std::sqrt(2.0), n.SightAt(2).horizontalDistance, kRoundingTolerance);
    EXPECT_REAL_NEAR(10.0, n.SightAt(2).heightDifference, kRoundingTolerance);

    // B->A bears 5π/4; 5π/4 - 0.5 is positive and stays as it is.
    EXPECT_REAL_NEAR(5.0 * kPi / 4.0 - 0.5, n.state.RoundTable[second].orientation,
                     kRoundingTolerance);
    EXPECT_REAL_NEAR(5.0 * kPi / 4.0 + 1.5, n.SightAt(5).bearing, kRoundingTolerance);
    EXPECT_FALSE(n.SightAt(1).horizontalDistanceKnown);
}

TEST(SightDerivation, ABearingObservationOrientsItsRoundWithoutNormalising) {
    Network n;
    const int s = n.Point("S");
    const int t = n.Point("T");
    const int round = n.Round();
    n.Direction(s, t, 1.0, round);
    n.Direction(s, n.Point("U"), 0.3, round);
    n.Direction(s, n.Point("W"), 6.5, round);
    n.Direction(s, n.Point("V"), 7.2, round);
    n.Bearing(s, t, 0.2);
    n.Build();
    DeriveSights(n.state);

    EXPECT_REAL_NEAR(0.2 - 1.0, n.state.RoundTable[round].orientation, kRoundingTolerance);
    EXPECT_REAL_NEAR(0.3 - 0.8, n.SightAt(2).bearing, kRoundingTolerance);  // stays negative
    EXPECT_REAL_NEAR(6.5 - 0.8, n.SightAt(3).bearing, kRoundingTolerance);
    EXPECT_REAL_NEAR(7.2 - 0.8 - 2.0 * kPi, n.SightAt(4).bearing, kRoundingTolerance);
    EXPECT_EQ(n.SightAt(1).bearing, 0.2);  // the observed bearing is kept
}

TEST(SightDerivation, ABearingReachesTheOtherRoundsOfItsLine) {
    Network n;
    const int s = n.Point("S");
    const int t = n.Point("T");
    const int first = n.Round();
    const int second = n.Round();
    n.Direction(s, t, 0.4, first);
    n.Direction(s, t, 1.4, second);
    n.Direction(s, n.Point("U"), 2.0, second);
    n.Bearing(s, t, 1.0);  // joins the first reading of S->T only
    n.Build();
    DeriveSights(n.state);

    EXPECT_REAL_NEAR(0.6, n.state.RoundTable[first].orientation, kRoundingTolerance);
    EXPECT_REAL_NEAR(1.0, n.SightAt(2).bearing, kRoundingTolerance);
    EXPECT_REAL_NEAR(1.0 - 1.4, n.state.RoundTable[second].orientation, kRoundingTolerance);
    EXPECT_REAL_NEAR(1.0 - 1.4 + 2.0, n.SightAt(3).bearing, kRoundingTolerance);
}

TEST(SightDerivation, KnownPositionsOverwriteAnObservedBearingWhenTheDistanceIsMissing) {
    Network n;
    const int a = n.KnownPoint("A", 0.0, 0.0, 0.0);
    const int b = n.KnownPoint("B", 100.0, 100.0, 0.0);
    n.Bearing(a, b, 1.0);
    n.Build();
    DeriveSights(n.state);
    EXPECT_REAL_NEAR(kPi / 4.0, n.SightAt(1).bearing, kRoundingTolerance);
}

TEST(SightDerivation, ReverseSightsReceiveTurnedBearingsAndNegatedHeightDifferences) {
    Network n;
    const int s = n.Point("S");
    const int t = n.Point("T");
    const int p = n.Point("P");
    const int q = n.Point("Q");
    const int x = n.Point("X");
    const int y = n.Point("Y");
    const int m = n.Point("M");
    const int k = n.Point("K");
    n.Bearing(t, s, 3.0);
    n.Distance(s, t, 20.0, true);
    n.HeightDifference(s, t, 1.5);
    n.Bearing(p, q, 4.0);
    n.Zenith(q, p, 1.5);  // only makes the sight Q->P
    n.Bearing(x, y, kPi);
    n.Zenith(y, x, 1.5);
    n.Bearing(m, k, 1.0);
    n.Bearing(k, m, 0.5);  // both known: neither is touched
    n.Build();
    ShareSightValues(n.state);

    EXPECT_REAL_NEAR(3.0 + kPi, n.SightOf(s, t).bearing, kRoundingTolerance);
    EXPECT_REAL_NEAR(20.0, n.SightOf(t, s).horizontalDistance, kRoundingTolerance);
    EXPECT_REAL_NEAR(-1.5, n.SightOf(t, s).heightDifference, kRoundingTolerance);
    EXPECT_TRUE(n.SightOf(t, s).heightDifferenceKnown);
    EXPECT_REAL_NEAR(4.0 - kPi, n.SightOf(q, p).bearing, kRoundingTolerance);
    EXPECT_REAL_NEAR(2.0 * kPi, n.SightOf(y, x).bearing, kRoundingTolerance);  // π itself turns up
    EXPECT_EQ(n.SightOf(m, k).bearing, 1.0);
    EXPECT_EQ(n.SightOf(k, m).bearing, 0.5);
    EXPECT_FALSE(n.SightOf(q, p).heightDifferenceKnown);
}

TEST(SightDerivation, SightsOfOneLineShareInBothDirections) {
    Network n;
    const int s = n.Point("S");
    const int t = n.Point("T");
    n.Direction(s, t, 0.1, 0);
    n.Direction(s, t, 0.2, 0);
    n.Build();
    n.SightAt(1).horizontalDistance = 42.0;  // known on the first only
    n.SightAt(1).horizontalDistanceKnown = true;
    n.SightAt(2).bearing = 1.25;  // known on the second only
    n.SightAt(2).bearingKnown = true;
    ShareSightValues(n.state);

    EXPECT_TRUE(n.SightAt(1).bearingKnown);
    EXPECT_EQ(n.SightAt(1).bearing, 1.25);
    EXPECT_TRUE(n.SightAt(2).horizontalDistanceKnown);
    EXPECT_EQ(n.SightAt(2).horizontalDistance, 42.0);
    EXPECT_FALSE(n.SightAt(1).heightDifferenceKnown);
}

TEST(SightDerivation, ReducesSlopeDistancesWithTheCurvatureTerm) {
    Network n;
    const int s = n.Point("S");
    const int t = n.Point("T");
    const double zenith = kPi / 2.0 - 0.1;
    n.Distance(s, t, 100.0, false);
    n.Zenith(s, t, zenith, 1.5, 1.2);
    // Horizontal distance measured, zenith angle on the same sight.
    const int u = n.Point("U");
    const int v = n.Point("V");
    n.Distance(u, v, 50.0, true);
    n.Zenith(u, v, 1.4, 1.6, 1.1);
    n.Build();
    DeriveSights(n.state);

    // Expected values written from the reduction formulas: D sin z, and
    // D cos z + hi - ht + (D sin z / 1000)² / 15 for the height difference.
    const double horizontal = 100.0 * std::sin(zenith);
    const Sight& st = n.SightOf(s, t);
    EXPECT_REAL_NEAR(horizontal, st.horizontalDistance, kRoundingTolerance);
    EXPECT_REAL_NEAR(100.0 * std::cos(zenith) + 0.3 + std::pow(horizontal / 1000.0, 2) / 15.0,
                     st.heightDifference, kRoundingTolerance);
    const Sight& uv = n.SightOf(u, v);
    EXPECT_EQ(uv.horizontalDistance, 50.0);
    EXPECT_REAL_NEAR(50.0 * std::tan(kPi / 2.0 - 1.4) + 0.5 + std::pow(0.05, 2) / 15.0,
                     uv.heightDifference, kRoundingTolerance);
}

TEST(SightDerivation, AZenithAngleOnAKnownLineGivesItsHeightDifference) {
    Network n;
    const int a = n.KnownPoint("A", 0.0, 0.0, 0.0, false);
    const int b = n.KnownPoint("B", 30.0, 40.0, 0.0, false);
    n.Zenith(a, b, 1.5, 1.5, 1.5);
    n.Build();
    DeriveSights(n.state);
    // Distance 50 from the coordinates, then Dh tan(π/2 - z) + (Dh / 1000)² / 15.
    EXPECT_REAL_NEAR(50.0 * std::tan(kPi / 2.0 - 1.5) + std::pow(0.05, 2) / 15.0,
                     n.SightAt(1).heightDifference, kRoundingTolerance);
}

TEST(SightDerivation, HeightDifferenceAndZenithGiveTheDistanceOnSteepSightsOnly) {
    Network n;
    const int s = n.Point("S");
    const int t = n.Point("T");
    const double zenith = kPi / 2.0 - 0.2;
    n.HeightDifference(s, t, 20.0);
    n.Zenith(s, t, zenith, 1.5, 1.2);
    const int u = n.Point("U");
    const int v = n.Point("V");
    n.HeightDifference(u, v, 0.5);
    n.Zenith(u, v, kPi / 2.0 - 0.005);  // too flat
    n.Build();
    DeriveSights(n.state);

    // tan z × (Δh + ht - hi), no curvature term.
    EXPECT_REAL_NEAR(std::tan(zenith) * (20.0 + 1.2 - 1.5), n.SightOf(s, t).horizontalDistance,
                     kRoundingTolerance);
    EXPECT_FALSE(n.SightOf(u, v).horizontalDistanceKnown);
    EXPECT_EQ(n.SightOf(u, v).horizontalDistance, -1.0);
}

TEST(SightDerivation, HeightDifferenceAndSlopeDistanceGiveTheDistanceWhenPossible) {
    Network n;
    const int s = n.Point("S");
    const int t = n.Point("T");
    n.Distance(s, t, 50.0, false, 1.5, 1.7);
    n.HeightDifference(s, t, 30.0);
    const int u = n.Point("U");
    const int v = n.Point("V");
    n.Distance(u, v, 50.0, false);
    n.HeightDifference(u, v, 60.0);  // rises more than the measured distance
    n.Build();
    DeriveSights(n.state);

    // √(D² - (Δh + ht - hi)²) with the distance's own heights.
    EXPECT_REAL_NEAR(std::sqrt(50.0 * 50.0 - 30.2 * 30.2), n.SightOf(s, t).horizontalDistance,
                     kRoundingTolerance);
    EXPECT_FALSE(n.SightOf(u, v).horizontalDistanceKnown);
    EXPECT_EQ(n.SightOf(u, v).horizontalDistance, -1.0);
}

TEST(SightDerivation, CopiesOfTheLastSweepWaitForTheNextCall) {
    Network n;
    const int s = n.Point("S");
    const int t = n.Point("T");
    n.HeightDifference(s, t, 6.0);
    n.Distance(t, s, 10.0, false);  // slope distance on the reverse line only
    n.Build();

    // No rule fires on the first sweep; its sharing gives T->S the height
    // difference, which no later sweep of this call uses.
    DeriveSights(n.state);
    ASSERT_TRUE(n.SightOf(t, s).heightDifferenceKnown);
    EXPECT_EQ(n.SightOf(t, s).heightDifference, -6.0);
    EXPECT_FALSE(n.SightOf(t, s).horizontalDistanceKnown);

    // The next call reduces the slope distance and shares it back.
    DeriveSights(n.state);
    EXPECT_REAL_NEAR(8.0, n.SightOf(t, s).horizontalDistance, kRoundingTolerance);
    EXPECT_REAL_NEAR(8.0, n.SightOf(s, t).horizontalDistance, kRoundingTolerance);

    // Nothing is left to derive: a third call changes nothing.
    const std::vector<double> settled = DerivedState(n.state);
    DeriveSights(n.state);
    EXPECT_EQ(DerivedState(n.state), settled);
}

TEST(SightDerivation, ACopyIsUsedWithinTheCallWhenAnotherRuleFired) {
    Network n;
    const int s = n.Point("S");
    const int t = n.Point("T");
    n.HeightDifference(s, t, 6.0);
    n.Distance(t, s, 10.0, false);
    n.KnownPoint("A", 0.0, 0.0, 0.0);
    n.KnownPoint("B", 0.0, 10.0, 0.0);
    n.Bearing(FindPoint(n.state, "A"), FindPoint(n.state, "B"), 0.0);  // fires rule b
    n.Build();
    DeriveSights(n.state);
    EXPECT_REAL_NEAR(8.0, n.SightOf(t, s).horizontalDistance, kRoundingTolerance);
}

}  // namespace
}  // namespace calctopo
