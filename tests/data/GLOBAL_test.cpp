// The shared survey state: defaults, limits and FindOrAddPoint.
#include "data/GLOBAL.h"

#include <string>

#include <gtest/gtest.h>

#include "data/Failures.h"
#include "data/TextNumbers.h"
#include "support/StateBuilder.h"
#include "support/TableLimit.h"

namespace calctopo {
namespace {

using ::calctopo::testing::GivenPoint;
using ::calctopo::testing::TableLimitMessage;

// A given point; only its name and x matter here.
SurveyPoint Given(const std::string& name, double x) {
    return GivenPoint(name, x, 0.0, 0.0);
}

TEST(SurveyState, DefaultsAndCapacities) {
    const SurveyState state;
    EXPECT_EQ(state.PointCount(), 0);
    EXPECT_EQ(state.StartPointIndex, 0);
    EXPECT_EQ(state.Parameters.angleUnit, 1);
    EXPECT_EQ(state.Parameters.significantDigits, 3);
    EXPECT_EQ(state.Parameters.meanLatitude, 45.0);
    EXPECT_EQ(state.Parameters.refractionCoefficient, 0.12);
    EXPECT_EQ(state.Parameters.originX, 0.0L);
    EXPECT_FALSE(state.Parameters.originGiven);
    const Sight sight;
    EXPECT_EQ(sight.distanceObs + sight.directionObs + sight.zenithObs, 0);
    EXPECT_EQ(sight.bearing, -1.0);
    EXPECT_EQ(sight.horizontalDistance, -1.0);
    EXPECT_EQ(sight.heightDifference, -1.0);
    EXPECT_FALSE(sight.bearingKnown || sight.horizontalDistanceKnown ||
                 sight.heightDifferenceKnown);
    const StationRound round;
    EXPECT_EQ(round.orientation, -1.0);
    EXPECT_FALSE(round.orientationKnown);
    EXPECT_EQ(decltype(state.PointTable)::kCapacity, 10000);
    EXPECT_EQ(decltype(state.DistanceTable)::kCapacity, 50000);
    EXPECT_EQ(decltype(state.RoundTable)::kCapacity, 1000);
    EXPECT_EQ(decltype(state.SightTable)::kCapacity, 50000);
}

TEST(FindOrAddPoint, FirstLookupInAnEmptyTableAddsAnUnknownPointAtOne) {
    SurveyState state;
    EXPECT_EQ(FindOrAddPoint(state, "A"), 1);
    ASSERT_EQ(state.PointCount(), 1);
    const SurveyPoint& a = state.PointTable[1];
    EXPECT_EQ(a.name, "A");
    EXPECT_EQ(a.status, StatusUnknown);
    EXPECT_FALSE(a.planimetricKnown || a.heightKnown);
    EXPECT_EQ(a.x + a.y + a.z + a.sixthFieldValue + a.seventhFieldValue, 0.0);
    EXPECT_EQ(FindOrAddPoint(state, "A"), 1);
    EXPECT_EQ(state.PointCount(), 1);
}

TEST(FindOrAddPoint, NamesCompareExactly) {
    SurveyState state;
    AppendPoint(state, Given("Ab", 1));
    EXPECT_EQ(FindOrAddPoint(state, "ab"), 2);                    // letter case
    EXPECT_EQ(FindOrAddPoint(state, "Ab "), 3);                   // no trimming
    EXPECT_EQ(FindOrAddPoint(state, "A"), 4);                     // no prefix match
    EXPECT_EQ(FindOrAddPoint(state, std::string("Ab\0", 3)), 5);  // length counts
    EXPECT_EQ(FindOrAddPoint(state, "\xC9t"), 6);
    EXPECT_EQ(FindOrAddPoint(state, "\xE9t"), 7);  // Windows-1252 bytes, no folding
    EXPECT_EQ(FindOrAddPoint(state, "Ab"), 1);
    EXPECT_EQ(state.PointTable[1].status, StatusGiven);
    EXPECT_EQ(state.PointCount(), 7);
}

TEST(FindOrAddPoint, ANameStoredTwiceResolvesToTheLowerIndex) {
    SurveyState state;
    AppendPoint(state, Given("P1", 1));
    AppendPoint(state, Given("P2", 2));
    AppendPoint(state, Given("DUP", 3));
    AppendPoint(state, Given("P4", 4));
    AppendPoint(state, Given("P5", 5));
    AppendPoint(state, Given("P6", 6));
    AppendPoint(state, Given("DUP", 7));
    EXPECT_EQ(FindOrAddPoint(state, "DUP"), 3);
    EXPECT_EQ(FindPoint(state, "DUP"), 3);
    EXPECT_EQ(state.PointCount(), 7);
}

TEST(FindOrAddPoint, ClearPointsForgetsEveryName) {
    SurveyState state;
    AppendPoint(state, Given("A", 1));
    AppendPoint(state, Given("B", 2));
    ClearPoints(state);
    EXPECT_EQ(state.PointCount(), 0);
    EXPECT_EQ(FindPoint(state, "B"), 0);
    EXPECT_EQ(FindOrAddPoint(state, "B"), 1);
    EXPECT_EQ(state.PointTable[1].status, StatusUnknown);
}

TEST(FindOrAddPoint, TheTenThousandAndFirstNameReachesTheLimit) {
    SurveyState state;
    for (int i = 1; i <= kMaxPoints; ++i) {
        // Appended to a named string rather than "N" + to_string(i): GCC 12's
        // optimiser warns falsely (-Wrestrict) on the latter.
        std::string name = "N";
        name += std::to_string(i);
        ASSERT_EQ(FindOrAddPoint(state, name), i);
    }
    // Names already there are still found in a full table.
    EXPECT_EQ(FindOrAddPoint(state, "N1"), 1);
    EXPECT_EQ(FindOrAddPoint(state, "N10000"), kMaxPoints);
    EXPECT_EQ(TableLimitMessage([&] { FindOrAddPoint(state, "NEW"); }),
              "Nombre maximum de points atteint : 10001");
    EXPECT_EQ(state.PointCount(), kMaxPoints);
    EXPECT_EQ(FindPoint(state, "NEW"), 0);
}

TEST(Table, IndicesAreOneBasedAndStable) {
    Table<int, 3> table;
    EXPECT_EQ(table.Append(10), 1);
    EXPECT_EQ(table.Append(20), 2);
    EXPECT_EQ(table[1], 10);
    EXPECT_EQ(table[2], 20);
    EXPECT_THROW(table[0], std::out_of_range);
    EXPECT_THROW(table[3], std::out_of_range);
    EXPECT_EQ(table.Append(30), 3);
    EXPECT_TRUE(table.Full());
    EXPECT_THROW(table.Append(40), std::length_error);
    EXPECT_EQ(table.Count(), 3);
}

}  // namespace
}  // namespace calctopo
