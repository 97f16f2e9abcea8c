#include "geometry/SightDerivation.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <set>
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

// ---------------------------------------------------------------------------
// Sharing line by line, against the sharing over the whole index

// A uniform draw in [0, 1) from a generator whose sequence the standard fixes.
double Unit(std::mt19937& draw) {
    return static_cast<double>(draw()) / 4294967296.0;
}

// A value for one kind on a sight: bearings at the turning point of the
// reverse (π itself and its neighbours), at zero and a full turn, negative or
// above a turn, as rounds leave them; lengths and height differences of both
// signs.
double DrawValue(std::mt19937& draw, int kind) {
    if (kind == 0) {
        const double tricky[] = {
            0.0,  kPi, std::nextafter(kPi, 0.0), std::nextafter(kPi, 4.0), 2.0 * kPi, -0.3,
            -kPi, 7.0};
        return draw() % 2 == 0 ? tricky[draw() % 8] : -1.0 + 8.0 * Unit(draw);
    }
    return -50.0 + 100.0 * Unit(draw);
}

// Sets a random subset of the three values of a sight.
void DrawKnownValues(std::mt19937& draw, Sight& sight) {
    double* values[] = {&sight.bearing, &sight.horizontalDistance, &sight.heightDifference};
    bool* known[] = {&sight.bearingKnown, &sight.horizontalDistanceKnown,
                     &sight.heightDifferenceKnown};
    for (int kind = 0; kind < 3; ++kind) {
        if (draw() % 3 == 0) {
            *values[kind] = DrawValue(draw, kind);
            *known[kind] = true;
        }
    }
}

// The sights between two points, lower number first (as ShareBetweenPoints
// wants them): from `higher` to `lower`, then back, or all of them when the
// two are one point.
std::vector<std::int32_t> SightsFromTo(const SurveyState& state, int station, int target) {
    std::vector<std::int32_t> sights;
    for (int number = 1; number <= state.SightTable.Count(); ++number) {
        if (state.SightTable[number].station == station &&
            state.SightTable[number].target == target) {
            sights.push_back(number);
        }
    }
    return sights;
}

TEST(SightDerivation, SharingLineByLineGivesTheSameBitsAsTheWholeIndex) {
    std::mt19937 draw(20240611);
    for (int trial = 0; trial < 3000; ++trial) {
        Network n;
        // Three points in a random order of their indices, and sights between
        // them (each reading its own sight) in a random order of numbers.
        std::vector<std::string> names = {"A", "B", "C"};
        std::shuffle(names.begin(), names.end(), draw);
        const int first = n.Point(names[0]);
        const int second = n.Point(names[1]);
        const int third = n.Point(names[2]);
        const int lines[][2] = {{first, second},  {second, first}, {first, first},
                                {second, second}, {first, third},  {third, second}};
        const int count = 1 + static_cast<int>(draw() % 14);
        for (int k = 0; k < count; ++k) {
            const int* line = lines[draw() % (trial % 2 == 0 ? 2 : 6)];
            n.Direction(line[0], line[1], 0.1, 0);
        }
        n.Build();
        for (Sight& sight : n.state.SightTable) {
            DrawKnownValues(draw, sight);
        }
        const auto drawn = n.state.SightTable;

        ShareSightValues(n.state);
        const auto literal = n.state.SightTable;

        n.state.SightTable = drawn;
        std::vector<std::int32_t> received;
        for (const auto& [lower, higher] :
             {std::pair{first, second}, std::pair{first, third}, std::pair{second, third}}) {
            const int low = std::min(lower, higher);
            const int high = std::max(lower, higher);
            ShareBetweenPoints(n.state, SightsFromTo(n.state, high, low),
                               SightsFromTo(n.state, low, high), received);
        }
        for (const int point : {first, second, third}) {
            ShareWithinPoint(n.state, SightsFromTo(n.state, point, point), received);
        }

        // Every sight holds the same bits, and `received` names exactly the
        // sights that were given a value.
        std::set<std::int32_t> changed;
        for (int number = 1; number <= n.state.SightTable.Count(); ++number) {
            const Sight& a = literal[number];
            const Sight& b = n.state.SightTable[number];
            ASSERT_EQ(std::bit_cast<std::uint64_t>(a.bearing),
                      std::bit_cast<std::uint64_t>(b.bearing))
                << "trial " << trial << ", sight " << number;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(a.horizontalDistance),
                      std::bit_cast<std::uint64_t>(b.horizontalDistance))
                << "trial " << trial << ", sight " << number;
            ASSERT_EQ(std::bit_cast<std::uint64_t>(a.heightDifference),
                      std::bit_cast<std::uint64_t>(b.heightDifference))
                << "trial " << trial << ", sight " << number;
            ASSERT_EQ(a.bearingKnown, b.bearingKnown) << "trial " << trial << ", sight " << number;
            ASSERT_EQ(a.horizontalDistanceKnown, b.horizontalDistanceKnown)
                << "trial " << trial << ", sight " << number;
            ASSERT_EQ(a.heightDifferenceKnown, b.heightDifferenceKnown)
                << "trial " << trial << ", sight " << number;
            const Sight& before = drawn[number];
            if (before.bearingKnown != b.bearingKnown ||
                before.horizontalDistanceKnown != b.horizontalDistanceKnown ||
                before.heightDifferenceKnown != b.heightDifferenceKnown) {
                changed.insert(number);
            }
        }
        EXPECT_EQ(std::set<std::int32_t>(received.begin(), received.end()), changed)
            << "trial " << trial;
    }
}

TEST(SightDerivation, ABearingSharedBackThroughTheReverseLineIsTurnedTwice) {
    // B->A (towards the lower point) knows nothing; A->B knows the bearing
    // -0.3 on its second sight only. The first B->A sight receives -0.3 + π;
    // the A->B sight after the known one receives that turned back, which is
    // -0.3 + 2π and not -0.3 (nothing is added to a bearing that was turned
    // down). The A->B sight before it receives -0.3 itself.
    Network n;
    const int a = n.Point("A");
    const int b = n.Point("B");
    n.Direction(a, b, 0.1, 0);
    n.Direction(a, b, 0.1, 0);
    n.Direction(a, b, 0.1, 0);
    n.Direction(b, a, 0.1, 0);
    n.Build();
    n.SightAt(2).bearing = -0.3;
    n.SightAt(2).bearingKnown = true;
    std::vector<std::int32_t> received;
    ShareBetweenPoints(n.state, std::vector<std::int32_t>{4}, std::vector<std::int32_t>{1, 2, 3},
                       received);
    EXPECT_REAL_NEAR(-0.3 + kPi, n.SightAt(4).bearing, kRoundingTolerance);
    EXPECT_EQ(n.SightAt(1).bearing, -0.3);
    EXPECT_REAL_NEAR(-0.3 + 2.0 * kPi, n.SightAt(3).bearing, kRoundingTolerance);
}

}  // namespace
}  // namespace calctopo
