// The sketch model: statuses, lines and bounds from the state, the optional
// placements and check verdicts, the thinning of labels, the grid, the scale
// length and the names found in pane lines.
#include "output/Sketch.h"

#include <limits>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "support/Compare.h"
#include "support/RandomNetwork.h"
#include "support/StateBuilder.h"

namespace calctopo {
namespace {

using testing::DeterminedPoint;
using testing::kRoundingTolerance;
using testing::StateBuilder;

// Given A (1000, 2000) and B (1300, 2000); C computed at (1100, 2400); D with
// its plan only at (900, 1900); E levelled only; F named and nothing else.
struct SmallNetwork {
    StateBuilder b;
    int A, B, C, D, E, F;
    SmallNetwork() {
        A = b.KnownPoint("A", 1000.0, 2000.0, 100.0);
        B = b.KnownPoint("B", 1300.0, 2000.0, 101.0);
        C = AppendPoint(b.state, DeterminedPoint("C", 1100.0, 2400.0, 99.0));
        D = b.Point("D");
        b.state.PointTable[D].x = 900.0;
        b.state.PointTable[D].y = 1900.0;
        b.state.PointTable[D].planimetricKnown = true;
        E = b.Point("E");
        b.state.PointTable[E].z = 98.0;
        b.state.PointTable[E].heightKnown = true;
        F = b.Point("F");
    }
};

TEST(Sketch, StatusesAndBoundsFollowThePointTable) {
    SmallNetwork n;
    const SketchModel model = BuildSketch(n.b.state);
    ASSERT_EQ(model.placed.size(), 4u);
    ASSERT_EQ(model.unplaced.size(), 2u);
    // Table order within each list.
    EXPECT_EQ(model.placed[0].name, "A");
    EXPECT_EQ(model.placed[0].status, SketchStatus::Given);
    EXPECT_EQ(model.placed[1].status, SketchStatus::Given);
    EXPECT_EQ(model.placed[2].status, SketchStatus::Computed);
    EXPECT_EQ(model.placed[3].status, SketchStatus::PlanOnly);
    EXPECT_FALSE(model.placed[3].heightKnown);
    EXPECT_EQ(model.unplaced[0].name, "E");
    EXPECT_EQ(model.unplaced[0].status, SketchStatus::HeightOnly);
    EXPECT_EQ(model.unplaced[1].status, SketchStatus::NotPlaced);
    // The box of A, B, C, D: x 900..1300, y 1900..2400.
    EXPECT_FALSE(model.bounds.empty);
    EXPECT_REAL_NEAR(900.0, model.bounds.minX, kRoundingTolerance);
    EXPECT_REAL_NEAR(1300.0, model.bounds.maxX, kRoundingTolerance);
    EXPECT_REAL_NEAR(1900.0, model.bounds.minY, kRoundingTolerance);
    EXPECT_REAL_NEAR(2400.0, model.bounds.maxY, kRoundingTolerance);
    EXPECT_EQ(PlacedPositionOf(model, n.C), 2);
    EXPECT_EQ(PlacedPositionOf(model, n.E), -1);
    EXPECT_EQ(UnplacedPositionOf(model, n.E), 0);
    EXPECT_EQ(PlacedPositionOf(model, 0), -1);
    EXPECT_EQ(PlacedPositionOf(model, 99), -1);

    // Nothing loaded: an empty sketch.
    const SketchModel empty = BuildSketch(SurveyState{});
    EXPECT_TRUE(empty.bounds.empty);
    EXPECT_TRUE(empty.placed.empty());
}

TEST(Sketch, ANonFiniteOrUnknownPlanIsNoPlace) {
    StateBuilder b;
    const int p = b.KnownPoint("P", 0.0, 0.0, 0.0);  // (0, 0) is a place when the plan is known
    const int q = b.KnownPoint("Q", 1.0, 1.0, 0.0);
    b.state.PointTable[q].x = std::numeric_limits<double>::infinity();
    const SketchModel model = BuildSketch(b.state);
    EXPECT_EQ(PlacedPositionOf(model, p), 0);
    EXPECT_EQ(PlacedPositionOf(model, q), -1);
    EXPECT_EQ(model.unplaced.at(0).status, SketchStatus::Given);
}

TEST(Sketch, LinesJoinEveryObservationOfAPairInBothDirections) {
    SmallNetwork n;
    StateBuilder& b = n.b;
    const int round = b.Round();
    b.Direction(n.A, n.C, 0.5, round);
    b.Distance(n.C, n.A, 412.0, true);  // the other way round: the same line
    b.Zenith(n.A, n.C, 1.57);
    b.Distance(n.A, n.B, 300.0, true);   // distance only
    b.Bearing(n.B, n.D, 4.0);            // a bearing fixes a direction
    b.HeightDifference(n.B, n.C, -2.0);  // levelling only
    b.Direction(n.A, n.A, 0.1, round);   // a point seen from itself: no line
    b.Direction(n.A, n.E, 0.2, round);   // E has no place: no line
    b.Distance(n.F, n.C, 10.0, true);    // nor F
    b.Build();

    const SketchModel model = BuildSketch(b.state);
    ASSERT_EQ(model.lines.size(), 4u);
    // In the order of the first observation of each pair: the directions
    // first, then the distances, the zenith angles, height differences, bearings.
    const SketchLine& ac = model.lines[0];
    EXPECT_EQ(model.placed[static_cast<std::size_t>(ac.first)].name, "A");
    EXPECT_EQ(model.placed[static_cast<std::size_t>(ac.second)].name, "C");
    EXPECT_EQ(ac.observations, ObservedDirection | ObservedDistance | ObservedZenith);
    EXPECT_EQ(ac.observationCount, 3);
    EXPECT_EQ(LineKind(ac), SketchLineKind::DirectionAndDistance);
    EXPECT_EQ(LineKind(model.lines[1]), SketchLineKind::DistanceOnly);   // A-B
    EXPECT_EQ(LineKind(model.lines[2]), SketchLineKind::LevellingOnly);  // B-C
    EXPECT_EQ(LineKind(model.lines[3]), SketchLineKind::DirectionOnly);  // B-D
    EXPECT_EQ(model.placed[static_cast<std::size_t>(model.lines[3].second)].name, "D");
}

TEST(Sketch, PlacementsAndVerdictsAreDrawnWhereTheyCan) {
    SmallNetwork n;
    StateBuilder& b = n.b;
    b.Distance(n.A, n.C, 412.0, true);
    b.Build();
    SketchModel model = BuildSketch(b.state);

    ApplyPlacements(model, {{n.C, SketchMethod::Radiation, SketchMethod::LevelFromStation, "A"},
                            {999, SketchMethod::Intersection, SketchMethod::None, ""}});
    const SketchPoint& c = model.placed[2];
    EXPECT_EQ(c.planMethod, SketchMethod::Radiation);
    EXPECT_EQ(c.heightMethod, SketchMethod::LevelFromStation);
    EXPECT_EQ(c.placedFrom, "A");

    const int drawn = ApplyCheckVerdicts(
        model, {{n.C, 0, Utf8ToCp1252("écart en distance"), "12.4 mm"},
                {n.C, 0, "second avis", ""},
                {n.C, n.A, "visee", "3 mm"},  // the line A-C named the other way round
                {n.E, 0, "altitude douteuse", ""},
                {n.A, n.E, "pas de ligne", ""}});
    EXPECT_EQ(drawn, 3);
    EXPECT_TRUE(c.check.suspect);
    EXPECT_EQ(c.check.reason, Utf8ToCp1252("écart en distance; second avis"));
    EXPECT_EQ(c.check.figures, "12.4 mm");
    EXPECT_TRUE(model.lines.at(0).check.suspect);
    EXPECT_TRUE(model.unplaced.at(0).check.suspect);  // E carries its verdict too
    ASSERT_EQ(model.otherVerdicts.size(), 2u);
    EXPECT_EQ(model.otherVerdicts[0], "E : altitude douteuse");
    EXPECT_EQ(model.otherVerdicts[1], "A - E : pas de ligne");

    // What the hover and the SVG title say of C.
    EXPECT_EQ(Cp1252ToUtf8(DescribePoint(c)),
              "C : point calculé\n"
              "X 1100.000   Y 2400.000   Z 99.000\n"
              "plan : rayonnement depuis A\n"
              "altitude : nivellement depuis la station\n"
              "suspect : écart en distance; second avis (12.4 mm)");
    EXPECT_EQ(Cp1252ToUtf8(DescribePoint(model.unplaced.at(1))), "F : non placé");
}

TEST(SketchLabels, GivenPointsFirstThenLeftThenNone) {
    StateBuilder b;
    // At 1 pixel per unit, with the default metrics (6.6 pixels a character,
    // 12 high, 5 from the point): C, computed, first in the table, between A
    // and B, given, 2 pixels on either side; G given far away.
    AppendPoint(b.state, DeterminedPoint("C", 0.0, 0.0, 0.0));
    b.KnownPoint("A", 2.0, 0.0, 0.0);
    b.KnownPoint("B", -2.0, 0.0, 0.0);
    b.KnownPoint("G", 100.0, 0.0, 0.0);
    const SketchModel model = BuildSketch(b.state);
    const std::vector<LabelPlacement> labels = ThinLabels(model, 1.0);
    static const char* const kSides[] = {" right", " left", " above", " below"};
    std::vector<std::string> names;
    for (const LabelPlacement& label : labels) {
        names.push_back(model.placed[static_cast<std::size_t>(label.position)].name +
                        kSides[static_cast<int>(label.side)]);
    }
    // A is served first and takes its right side; B's right would meet A's
    // label, so B goes left; C's right meets A's label and its left B's: it
    // goes above, where no label or marker is.
    EXPECT_EQ(names, (std::vector<std::string>{"A right", "B left", "G right", "C above"}));
    // Pixels count from the west-most point, B itself: its left label ends
    // 5 pixels west of it.
    EXPECT_REAL_NEAR(-5.0, labels[1].box.maxX, kRoundingTolerance);

    // Far enough apart, every point is labelled; the same input gives the same labels.
    const std::vector<LabelPlacement> wide = ThinLabels(model, 100.0);
    EXPECT_EQ(wide.size(), 4u);
    const std::vector<LabelPlacement> again = ThinLabels(model, 100.0);
    ASSERT_EQ(again.size(), wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        EXPECT_EQ(again[i].position, wide[i].position);
        EXPECT_EQ(again[i].side, wide[i].side);
    }
    // Among computed points, the one with more lines goes first though it
    // comes later in the table: C2 keeps its right side, and C1 goes left.
    StateBuilder nodes;
    const int c1 = AppendPoint(nodes.state, DeterminedPoint("C1", 0.0, 0.0, 0.0));
    const int c2 = AppendPoint(nodes.state, DeterminedPoint("C2", 2.0, 0.0, 0.0));
    const int c3 = AppendPoint(nodes.state, DeterminedPoint("C3", 50.0, 0.0, 0.0));
    nodes.Distance(c2, c3, 48.0, true);
    const SketchModel network = BuildSketch(nodes.state);
    const std::vector<LabelPlacement> byLines = ThinLabels(network, 1.0);
    ASSERT_EQ(byLines.size(), 3u);
    EXPECT_EQ(byLines[0].position, PlacedPositionOf(network, c2));
    EXPECT_EQ(byLines[0].side, LabelSide::Right);
    EXPECT_EQ(byLines[2].position, PlacedPositionOf(network, c1));
    EXPECT_EQ(byLines[2].side, LabelSide::Left);

    EXPECT_TRUE(ThinLabels(model, 0.0).empty());
    EXPECT_TRUE(ThinLabels(model, std::numeric_limits<double>::quiet_NaN()).empty());
}

TEST(SketchLabels, TenThousandPointsKeepLabelsApart) {
    // 100 × 100 points 2 units apart at 1 pixel per unit: far too close for
    // every name; the labels kept never overlap one another.
    StateBuilder b;
    for (int i = 0; i < 10000; ++i) {
        AppendPoint(b.state, DeterminedPoint("P" + std::to_string(i), 2.0 * (i % 100),
                                             2.0 * (i / 100), 0.0));
    }
    const SketchModel model = BuildSketch(b.state);
    const std::vector<LabelPlacement> labels = ThinLabels(model, 1.0);
    EXPECT_GT(labels.size(), 0u);
    EXPECT_LT(labels.size(), 200u);
    SketchGrid kept(12.0);
    for (const LabelPlacement& label : labels) {
        EXPECT_FALSE(kept.AnyMeets(label.box)) << model.placed[label.position].name;
        kept.Insert(label.position, label.box);
    }
}

TEST(SketchGrid, NearestAndMeets) {
    SketchGrid grid(10.0);
    grid.Insert(7, {0.0, 0.0, 0.0, 0.0});
    grid.Insert(3, {4.0, 0.0, 4.0, 0.0});
    grid.Insert(5, {-1000.0, -1000.0, 1000.0, 1000.0});  // larger than many cells
    // (2, 0) is 2 from both 7 and 3: the lower id wins; 5's centre (0, 0) too.
    EXPECT_EQ(grid.Nearest(2.0, 0.0, 5.0), 3);
    EXPECT_EQ(grid.Nearest(3.9, 0.0, 1.0), 3);
    EXPECT_EQ(grid.Nearest(500.0, 500.0, 1.0), -1);
    EXPECT_EQ(grid.Nearest(0.0, 0.0, -1.0), -1);
    EXPECT_TRUE(grid.AnyMeets({3.0, -1.0, 5.0, 1.0}));
    EXPECT_TRUE(grid.AnyMeets({500.0, 500.0, 501.0, 501.0}));  // inside the large box
    EXPECT_FALSE(grid.AnyMeets({1e6, 1e6, 1e6 + 1, 1e6 + 1}));
    // A far box and an unusable cell size still answer.
    SketchGrid far(0.0);
    far.Insert(1, {1e300, 1e300, 1e300, 1e300});
    EXPECT_EQ(far.Nearest(1e300, 1e300, 1.0), 1);
}

TEST(SketchScale, RoundLengths) {
    EXPECT_REAL_NEAR(1000.0, RoundScaleLength(1234.0), kRoundingTolerance);
    EXPECT_REAL_NEAR(500.0, RoundScaleLength(999.0), kRoundingTolerance);
    EXPECT_REAL_NEAR(200.0, RoundScaleLength(200.0), kRoundingTolerance);
    EXPECT_REAL_NEAR(5.0, RoundScaleLength(5.0), kRoundingTolerance);
    EXPECT_REAL_NEAR(0.2, RoundScaleLength(0.37), kRoundingTolerance);
    EXPECT_EQ(RoundScaleLength(0.0), 0.0);
    EXPECT_EQ(RoundScaleLength(-3.0), 0.0);
    EXPECT_EQ(RoundScaleLength(std::numeric_limits<double>::infinity()), 0.0);
    EXPECT_EQ(FormatScaleLength(200.0), "200");
    EXPECT_EQ(FormatScaleLength(0.05), "0.05");
    EXPECT_EQ(FormatScaleLength(0.2), "0.2");
}

TEST(Sketch, PointsNamedInPaneLines) {
    SmallNetwork n;
    const SketchModel model = BuildSketch(n.b.state);
    // "Point : %8s calculé": the name wherever the click falls.
    const std::string computed = Utf8ToCp1252("Point :        C calculé");
    EXPECT_EQ(PointIndexInText(model, computed, 15), n.C);
    EXPECT_EQ(PointIndexInText(model, computed, 0), n.C);
    // Two names: the one under the click, else the first.
    const std::string placed = Utf8ToCp1252("       C rayonné de       A");
    EXPECT_EQ(PointIndexInText(model, placed, 26), n.A);
    EXPECT_EQ(PointIndexInText(model, placed, 3), n.C);
    // Points without position are found too; a line naming none gives 0.
    EXPECT_EQ(PointIndexInText(model, "Point :        F non calcul\xe9", 15), n.F);
    EXPECT_EQ(PointIndexInText(model, "Nombre de tours  :  3", 2), 0);
    EXPECT_EQ(PointIndexInText(model, "", 0), 0);
}

TEST(Sketch, ARandomNetworkAfterARun) {
    testing::RandomNetworkOptions options;
    options.points = 300;
    options.seed = 5;
    const testing::RandomNetwork random = testing::MakeRandomNetwork(options);
    testing::LoadedSurvey survey(random.network);
    survey.Run(random.startPoints.front());
    const SketchModel model = BuildSketch(survey.state);

    int placed = 0;
    for (const SurveyPoint& point : survey.state.PointTable) {
        placed += point.planimetricKnown ? 1 : 0;
    }
    EXPECT_EQ(static_cast<int>(model.placed.size()), placed);
    EXPECT_EQ(model.placed.size() + model.unplaced.size(),
              static_cast<std::size_t>(survey.state.PointCount()));
    for (const SketchPoint& point : model.placed) {
        const SurveyPoint& source = survey.state.PointTable[point.index];
        EXPECT_EQ(point.name, source.name);
        EXPECT_GE(point.x, model.bounds.minX);
        EXPECT_LE(point.x, model.bounds.maxX);
        EXPECT_GE(point.y, model.bounds.minY);
        EXPECT_LE(point.y, model.bounds.maxY);
    }
    // Every line joins two different placed points, at most once per pair.
    std::set<std::pair<int, int>> pairs;
    for (const SketchLine& line : model.lines) {
        EXPECT_LT(line.first, line.second);
        EXPECT_TRUE(pairs.insert({line.first, line.second}).second);
        EXPECT_NE(line.observations, 0u);
    }
    EXPECT_GT(model.lines.size(), model.placed.size() / 2);
}

}  // namespace
}  // namespace calctopo
