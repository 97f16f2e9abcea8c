#include "engine/LoadPipeline.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "support/Compare.h"
#include "support/RecordingServices.h"
#include "support/StateBuilder.h"
#include "support/TableLimit.h"
#include "support/TempFolder.h"

namespace calctopo {
namespace {

using ::calctopo::testing::kRoundingTolerance;
using ::calctopo::testing::RecordingServices;
using ::calctopo::testing::TableLimitMessage;
using ::calctopo::testing::TempFolder;

// Observation tables filled by hand, as the observations reader would leave them.
using Observations = ::calctopo::testing::StateBuilder;

TEST(LoadPipeline, EveryDirectionHasItsOwnSightAndOthersJoinTheFirst) {
    Observations o;
    const int s = o.Point("S");
    const int t = o.Point("T");
    o.Direction(s, t, 0.1, 1);
    o.Direction(s, t, 0.2, 2);  // same line, second round
    o.Distance(s, t, 25.0, true);
    o.Zenith(s, t, 1.5);
    o.Build();

    ASSERT_EQ(o.state.SightTable.Count(), 2);
    EXPECT_EQ(o.SightAt(1).directionObs, 1);
    EXPECT_EQ(o.SightAt(2).directionObs, 2);
    // The distance and the zenith angle go to the lower-numbered sight only.
    EXPECT_EQ(o.SightAt(1).distanceObs, 1);
    EXPECT_EQ(o.SightAt(1).zenithObs, 1);
    EXPECT_TRUE(o.SightAt(1).horizontalDistanceKnown);
    EXPECT_EQ(o.SightAt(1).horizontalDistance, 25.0);
    EXPECT_EQ(o.SightAt(2).distanceObs, 0);
    EXPECT_EQ(o.SightAt(2).zenithObs, 0);
    EXPECT_FALSE(o.SightAt(2).horizontalDistanceKnown);
}

TEST(LoadPipeline, ReverseLinesAreNeverMerged) {
    Observations o;
    const int s = o.Point("S");
    const int t = o.Point("T");
    o.Direction(s, t, 0.1, 1);
    o.Bearing(t, s, 2.0);
    o.HeightDifference(t, s, -3.0);
    o.Build();

    ASSERT_EQ(o.state.SightTable.Count(), 2);
    EXPECT_FALSE(o.SightAt(1).bearingKnown);
    EXPECT_FALSE(o.SightAt(1).heightDifferenceKnown);
    EXPECT_EQ(o.SightAt(2).station, t);
    EXPECT_EQ(o.SightAt(2).target, s);
    EXPECT_TRUE(o.SightAt(2).bearingKnown);
    EXPECT_EQ(o.SightAt(2).bearing, 2.0);
    // The height difference found the sight the bearing created.
    EXPECT_TRUE(o.SightAt(2).heightDifferenceKnown);
    EXPECT_EQ(o.SightAt(2).heightDifference, -3.0);
}

TEST(LoadPipeline, TheLastObservationOfAKindWins) {
    Observations o;
    const int s = o.Point("S");
    const int t = o.Point("T");
    o.Distance(s, t, 10.0, true);
    o.Distance(s, t, 12.0, true);
    o.Zenith(s, t, 1.4);
    o.Zenith(s, t, 1.6);
    o.HeightDifference(s, t, 1.0);
    o.HeightDifference(s, t, 2.0);
    o.Bearing(s, t, 0.5);
    o.Bearing(s, t, 0.7);
    o.Build();

    ASSERT_EQ(o.state.SightTable.Count(), 1);
    const Sight& sight = o.SightAt(1);
    EXPECT_EQ(sight.distanceObs, 2);
    EXPECT_EQ(sight.horizontalDistance, 12.0);
    EXPECT_EQ(sight.zenithObs, 2);
    EXPECT_EQ(sight.heightDifference, 2.0);
    EXPECT_EQ(sight.bearing, 0.7);
}

TEST(LoadPipeline, ALaterSlopeDistanceKeepsTheHorizontalOne) {
    Observations o;
    const int s = o.Point("S");
    const int t = o.Point("T");
    o.Distance(s, t, 10.0, true);
    o.Distance(s, t, 10.5, false);
    o.Build();

    const Sight& sight = o.SightAt(1);
    EXPECT_EQ(sight.distanceObs, 2);  // the index follows the last one read
    EXPECT_TRUE(sight.horizontalDistanceKnown);
    EXPECT_EQ(sight.horizontalDistance, 10.0);  // the value stays the horizontal one
}

TEST(LoadPipeline, ASightOfALevellingOnlyKnowsItsHeightDifference) {
    Observations o;
    o.HeightDifference(o.Point("S"), o.Point("T"), 1.25);
    o.Build();

    const Sight& sight = o.SightAt(1);
    EXPECT_EQ(sight.distanceObs, 0);
    EXPECT_EQ(sight.directionObs, 0);
    EXPECT_EQ(sight.zenithObs, 0);
    EXPECT_FALSE(sight.bearingKnown);
    EXPECT_FALSE(sight.horizontalDistanceKnown);
    EXPECT_EQ(sight.bearing, -1.0);
    EXPECT_EQ(sight.horizontalDistance, -1.0);
    EXPECT_TRUE(sight.heightDifferenceKnown);
}

TEST(LoadPipeline, FindOrAddSightFindsTheFirstOfALine) {
    Observations o;
    const int s = o.Point("S");
    const int t = o.Point("T");
    o.Direction(s, t, 0.1, 1);
    o.Direction(s, t, 0.2, 1);
    o.Build();

    EXPECT_EQ(FindOrAddSight(o.state, s, t), 1);
    EXPECT_EQ(FindOrAddSight(o.state, t, s), 3);
    EXPECT_EQ(o.state.SightTable.Count(), 3);
    EXPECT_EQ(FindOrAddSight(o.state, t, s), 3);
}

TEST(LoadPipeline, AFullSightTableStopsTheLoad) {
    Observations o;
    const int s = o.Point("S");
    const int t = o.Point("T");
    for (int i = 0; i < kMaxSights; ++i) {
        o.Direction(s, t, 0.0, 0);
    }
    o.Distance(s, t, 5.0, true);  // joins the first sight: no new one needed
    o.Distance(t, s, 5.0, true);  // needs sight 50001
    InitPointSightRanges(o.state);
    EXPECT_EQ(TableLimitMessage([&] { BuildSights(o.state); }),
              "Nombre maximum de visées atteint : 50001");
    EXPECT_EQ(o.state.SightTable.Count(), kMaxSights);
    EXPECT_EQ(o.SightAt(1).distanceObs, 1);
}

TEST(LoadPipeline, RangesGroupTheSightsOfEachPoint) {
    Observations o;
    const int a = o.Point("A");
    const int b = o.Point("B");
    const int c = o.Point("C");
    const int lone = o.Point("LONE");      // named by no observation
    const int targetOnly = o.Point("TO");  // only ever a target
    o.Direction(a, b, 0.0, 1);             // sight 1
    o.Direction(b, a, 0.0, 2);             // sight 2
    o.Direction(a, b, 0.0, 3);             // sight 3
    o.Direction(c, c, 0.0, 4);             // sight 4, a point seen from itself
    o.Direction(a, c, 0.0, 1);             // sight 5
    o.Bearing(a, targetOnly, 1.0);         // sight 6
    o.Build();

    EXPECT_EQ(o.state.IndexedPointCount, 5);
    EXPECT_EQ(o.Outgoing(a), (std::vector<int>{1, 3, 5, 6}));
    EXPECT_EQ(o.Incoming(a), (std::vector<int>{2}));
    EXPECT_EQ(o.Outgoing(b), (std::vector<int>{2}));
    EXPECT_EQ(o.Incoming(b), (std::vector<int>{1, 3}));
    EXPECT_EQ(o.Outgoing(c), (std::vector<int>{4}));
    EXPECT_EQ(o.Incoming(c), (std::vector<int>{4, 5}));
    EXPECT_EQ(o.Incoming(targetOnly), (std::vector<int>{6}));

    // Lists laid out point after point, positions 1-based and inclusive.
    const PointSightRange& rb = o.state.RangeOf(b);
    EXPECT_EQ(rb.pointIndex, b);
    EXPECT_EQ(rb.firstIncoming, 2);
    EXPECT_EQ(rb.lastIncoming, 3);
    EXPECT_EQ(rb.firstOutgoing, 5);
    EXPECT_EQ(rb.lastOutgoing, 5);
    EXPECT_EQ(o.state.RangeOf(targetOnly).firstOutgoing, 0);
    EXPECT_EQ(o.state.RangeOf(targetOnly).lastOutgoing, 0);
    const PointSightRange& rl = o.state.RangeOf(lone);
    EXPECT_EQ(rl.firstIncoming + rl.lastIncoming + rl.firstOutgoing + rl.lastOutgoing, 0);
    EXPECT_EQ(o.state.IncomingSightList.Count(), 6);
    EXPECT_EQ(o.state.OutgoingSightList.Count(), 6);
}

TEST(LoadPipeline, ASecondSmallerLoadLeavesNoStaleRanges) {
    Observations o;
    const int a = o.Point("A");
    const int b = o.Point("B");
    const int c = o.Point("C");
    o.Point("D");
    o.Direction(a, b, 0.0, 1);
    o.Direction(b, c, 0.0, 1);
    o.Direction(c, a, 0.0, 1);
    o.Build();
    ASSERT_NE(o.state.RangeOf(c).firstIncoming, 0);

    // Second load: three points, one sight; C has lost every sight.
    ClearPoints(o.state);
    o.state.DirectionTable.Clear();
    o.Point("A");
    o.Point("B");
    o.Point("C");
    o.Direction(b, a, 0.0, 1);
    o.Build();

    EXPECT_EQ(o.state.IndexedPointCount, 3);
    EXPECT_EQ(o.state.PointSightRanges.size(), 4u);
    const PointSightRange& rc = o.state.RangeOf(c);
    EXPECT_EQ(rc.pointIndex, c);
    EXPECT_EQ(rc.firstIncoming + rc.lastIncoming + rc.firstOutgoing + rc.lastOutgoing, 0);
    EXPECT_EQ(o.state.RangeOf(a).firstOutgoing, 0);
    EXPECT_EQ(o.Incoming(a), (std::vector<int>{1}));
    EXPECT_EQ(o.Outgoing(b), (std::vector<int>{1}));
    EXPECT_EQ(o.state.IncomingSightList.Count(), 1);
    EXPECT_EQ(o.state.OutgoingSightList.Count(), 1);
}

TEST(LoadFiles, ShowsTheStatisticsAndLeavesTheTablesReady) {
    TempFolder folder;
    SurveyState state;
    state.Parameters.angleUnit = 1;  // grades
    state.CoordinatesFileName = folder.Write("base.cor",
                                             "* two known points\n"
                                             "1 A 1000.0 2000.0 100.0 0 0\n"
                                             "1 B 1000.0 2100.0 110.0 0 0\n");
    state.ObservationsFileName = folder.Write("base.obs",
                                              "7 A B 50 0 1.5 1.5\n"
                                              "5 A C 150 0 1.5 1.5\n"
                                              "6 A C 100 0 1.5 1.5\n"
                                              "1 A C 80 0 1.5 1.5\n"
                                              "4 B C -2.5 0 0 0\n"
                                              "8 C B 300 0 0 0\n");
    RecordingServices ui;
    LoadSurveyData(state, ui);

    const std::vector<std::string> expected = {
        "Nombre total de points  :      3", "Nombre d'azimuts        :      2",
        "Nombre de zénithales    :      1", "Nombre de distances     :      1",
        "Nombre de dénivellées   :      1", "Nombre de gisements     :      1",
        "Nombre de tours         :      1"};
    EXPECT_EQ(ui.PaneLines(MessageKind::Info), expected);

    // Angles are in radians and the round is oriented from the known line A-B
    // (bearing 0): 0 - 50 gon, plus a full turn.
    constexpr double kPi = 3.14159265358979323846;
    const int c = FindPoint(state, "C");
    ASSERT_TRUE(state.RoundTable[1].orientationKnown);
    EXPECT_REAL_NEAR(2.0 * kPi - kPi / 4.0, state.RoundTable[1].orientation, kRoundingTolerance);
    // A -> C: bearing 150 - 50 = 100 gon; the zenith angle of 100 gon leaves
    // the slope distance as it is.
    const Sight& ac = state.SightTable[2];
    ASSERT_EQ(ac.target, c);
    EXPECT_REAL_NEAR(kPi / 2.0, ac.bearing, kRoundingTolerance);
    EXPECT_REAL_NEAR(80.0, ac.horizontalDistance, kRoundingTolerance);
    EXPECT_EQ(state.RangeOf(c).pointIndex, c);
    EXPECT_EQ(state.OutgoingSightList.Count(), state.SightTable.Count());
}

TEST(LoadFiles, AnUnreadableCoordinatesFileCountsTheObservedPointsOnly) {
    TempFolder folder;
    SurveyState state;
    state.CoordinatesFileName = folder.File("missing.cor");
    state.ObservationsFileName = folder.Write("only.obs", "2 S T 12.5 0 0 0\n");
    RecordingServices ui;
    LoadSurveyData(state, ui);

    ASSERT_FALSE(ui.PaneLines(MessageKind::Info).empty());
    EXPECT_EQ(ui.PaneLines(MessageKind::Info).front(), "Nombre total de points  :      2");
    EXPECT_EQ(state.PointTable[1].status, StatusUnknown);
    EXPECT_EQ(state.PointTable[2].status, StatusUnknown);
    EXPECT_TRUE(state.SightTable[1].horizontalDistanceKnown);
}

}  // namespace
}  // namespace calctopo
