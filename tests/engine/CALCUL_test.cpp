// The determination driver: passes, centres, repeated sweeps, the final
// report, on small networks generated from true coordinates and loaded from
// files.
#include "engine/CALCUL.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/TextNumbers.h"
#include "support/NetworkGenerator.h"

namespace calctopo {
namespace {

using testing::AtTruePosition;
using testing::kNothingDeterminable;
using testing::LoadedSurvey;
using testing::NetworkGenerator;
using Lines = std::vector<std::string>;

// A point radiated and levelled from `station`: a reading in a round oriented
// on `reference`, a slope distance and a zenith angle.
void Radiate(NetworkGenerator& net, const std::string& station, const std::string& reference,
             const std::string& point, double zero) {
    net.Round(station, {reference, point}, zero);
    net.Zenith(station, point);
    net.SlopeDistance(station, point);
}

TEST(CALCUL, GivenCentresAreSweptBeforeCompletedPoints) {
    // Pass 1 from S1 completes A and meets the given S2. In pass 2, S2 is
    // swept before A, so B (seen from S2) comes before C (seen from A).
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddControl("S2", 1600.0, 5000.0, 104.0);
    net.AddPoint("A", 1100.0, 5300.0, 102.0);
    net.AddPoint("B", 1700.0, 5300.0, 106.0);
    net.AddPoint("C", 1000.0, 5600.0, 103.0);
    Radiate(net, "S1", "S2", "A", 0.2);
    Radiate(net, "S2", "S1", "B", 1.2);
    Radiate(net, "A", "S1", "C", 2.2);
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"),
              (Lines{"black:        A rayonné de       S1", "black:        A nivellé de       S1",
                     "green: Point :        A calculé", "black:        B rayonné de       S2",
                     "black:        B nivellé de       S2", "green: Point :        B calculé",
                     "black:        C rayonné de        A", "black:        C nivellé de        A",
                     "green: Point :        C calculé"}));
    for (const char* name : {"A", "B", "C"}) {
        EXPECT_TRUE(AtTruePosition(survey, net, name));
        EXPECT_EQ(survey.Point(name).status, StatusDetermined);
    }
    // A in pass 1, B and C in pass 2; pass 3 completed nothing and ended the run.
    const auto& list = survey.state.DeterminationList;
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list[1].pass, 1);
    EXPECT_EQ(list[2].pass, 2);
    EXPECT_EQ(list[3].pass, 2);
    EXPECT_EQ(survey.state.DeterminedCount, 3);
    EXPECT_EQ(survey.state.PassNumber, 3);
    EXPECT_EQ(survey.state.PassTable.at(2).completed, 2);
}

TEST(CALCUL, StartPointSweptAgainWhileItsSweepsFindPlansOrHeights) {
    // From S1: Y (read from S1, levelled from S1) needs X placed to be
    // intersected; X (radiated from S1) needs Y's position for the height
    // difference of Y's zenith angle towards it. The first sweep completes
    // nothing but gives Y its height and X its plan; the second completes both.
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddControl("S2", 1000.0, 5400.0, 104.0);
    net.AddPoint("Y", 1250.0, 5150.0, 101.2);
    net.AddPoint("X", 1200.0, 4800.0, 97.8);
    net.Round("S1", {"S2", "Y", "X"}, 0.9);
    net.HorizontalDistance("S1", "X");
    net.HeightDifference("S1", "Y");
    net.Round("X", {"S1", "Y"}, 2.9);
    net.Zenith("Y", "X", 1.55, 1.7);
    LoadedSurvey survey(net);
    EXPECT_EQ(
        survey.Run("S1"),
        (Lines{"black:        Y nivellé de       S1", "black:        X rayonné de       S1",
               "black:        Y intersecté de       S1 et X", "green: Point :        Y calculé",
               "black:        X nivellé de        Y", "green: Point :        X calculé"}));
    EXPECT_TRUE(AtTruePosition(survey, net, "X"));
    EXPECT_TRUE(AtTruePosition(survey, net, "Y"));
}

TEST(CALCUL, PointWithOnlyPlanOrOnlyHeightIsRetriedAndListedRed) {
    // Q is radiated from S1 but has no height anywhere; R has a height from S1
    // and no position. Q is met again from A in pass 2 and tried again (its
    // plan is not computed twice). Both are listed at the end, in table order.
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddControl("S2", 1500.0, 5000.0, 104.0);
    net.AddPoint("A", 1100.0, 5300.0, 102.0);
    net.AddPoint("Q", 1300.0, 5200.0, 101.0);
    net.AddPoint("R", 900.0, 4700.0, 99.0);
    net.Round("S1", {"S2", "A", "Q"}, 0.4);
    net.Zenith("S1", "A");
    net.SlopeDistance("S1", "A");
    net.HorizontalDistance("S1", "Q");
    net.HeightDifference("S1", "R");
    net.Round("A", {"S1", "Q"}, 1.4);
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"),
              (Lines{"black:        A rayonné de       S1", "black:        A nivellé de       S1",
                     "green: Point :        A calculé", "black:        Q rayonné de       S1",
                     "black:        R nivellé de       S1", "red: Point :        Q non calculé",
                     "red: Point :        R non calculé"}));
    EXPECT_EQ(survey.state.DeterminedCount, 1);
    EXPECT_EQ(survey.Point("Q").status, StatusUnknown);
    EXPECT_TRUE(survey.Point("Q").planimetricKnown);
    EXPECT_TRUE(survey.Point("R").heightKnown);
}

// Two unconnected sites: S1, S2 with A; S3, S4 with B.
NetworkGenerator TwoSites() {
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddControl("S2", 1500.0, 5000.0, 104.0);
    net.AddControl("S3", 3000.0, 7000.0, 200.0);
    net.AddControl("S4", 3400.0, 7300.0, 203.0);
    net.AddPoint("A", 1100.0, 5300.0, 102.0);
    net.AddPoint("B", 3100.0, 6800.0, 198.5);
    Radiate(net, "S1", "S2", "A", 0.5);
    Radiate(net, "S3", "S4", "B", 3.5);
    return net;
}

TEST(CALCUL, SecondRunStartsItsCountersAfreshOnTheChangedTable) {
    const NetworkGenerator net = TwoSites();
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"),
              (Lines{"black:        A rayonné de       S1", "black:        A nivellé de       S1",
                     "green: Point :        A calculé", "red: Point :        B non calculé"}));
    // From S3 only B is left to do; A keeps what the first run gave it.
    EXPECT_EQ(survey.Run("S3"),
              (Lines{"black:        B rayonné de       S3", "black:        B nivellé de       S3",
                     "green: Point :        B calculé"}));
    EXPECT_EQ(survey.state.DeterminedCount, 1);
    ASSERT_EQ(survey.state.DeterminationList.Count(), 1);
    EXPECT_EQ(survey.state.DeterminationList[1].pass, 1);
    EXPECT_EQ(survey.state.DeterminationList[1].point, FindPoint(survey.state, "B"));
    EXPECT_TRUE(AtTruePosition(survey, net, "A"));
    EXPECT_TRUE(AtTruePosition(survey, net, "B"));
    // A third run from S1 finds nothing left: the spread stops at determined points.
    EXPECT_EQ(survey.Run("S1"), (Lines{kNothingDeterminable}));
}

TEST(CALCUL, NothingDeterminableShowsOnlyTheMessageBox) {
    // P is read from S1 only: no method can place it. The given S2 met next
    // to S1 is never swept, and P is not listed as not computed.
    NetworkGenerator lonely;
    lonely.AddControl("S1", 1000.0, 5000.0, 100.0);
    lonely.AddControl("S2", 1500.0, 5000.0, 104.0);
    lonely.AddPoint("P", 1200.0, 5300.0, 101.0);
    lonely.Round("S1", {"S2", "P"}, 0.0);
    LoadedSurvey nothing(lonely);
    EXPECT_EQ(nothing.Run("S1"), (Lines{kNothingDeterminable}));
    EXPECT_EQ(nothing.state.DeterminedCount, 0);
}

TEST(CALCUL, NoMatchingStartPointDoesNothing) {
    const NetworkGenerator net = TwoSites();
    LoadedSurvey survey(net);
    EXPECT_TRUE(survey.Run("s1").empty());  // names compare with their letter case
    EXPECT_EQ(survey.state.StartPointIndex, 0);
    EXPECT_FALSE(survey.Point("A").planimetricKnown);
}

TEST(CALCUL, UndeterminedStartPointIsACentreButNotTried) {
    // A could be triangulated on S1 and S2, but as the start point it is only
    // the centre of pass 1, whose neighbours are both given.
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddControl("S2", 1500.0, 5000.0, 104.0);
    net.AddPoint("A", 1200.0, 5300.0, 101.0);
    net.Round("A", {"S1", "S2"}, 0.0);
    net.HorizontalDistance("A", "S1");
    net.HorizontalDistance("A", "S2");
    net.HeightDifference("A", "S1");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("A"), (Lines{kNothingDeterminable}));
    EXPECT_FALSE(survey.Point("A").planimetricKnown);
    // From S1 it is a neighbour and is triangulated.
    EXPECT_EQ(survey.Run("S1").front(), "black:        A triangulé de       S1 et S2");
    EXPECT_TRUE(AtTruePosition(survey, net, "A"));
}

TEST(CALCUL, EveryGivenPointMetBecomesACentre) {
    // S1 reads 45 given points around it, then A. In pass 2 all 45 are swept
    // as given centres, the last one too: only G45 sees B.
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    std::vector<std::string> targets;
    for (int i = 1; i <= 45; ++i) {
        const std::string name = Format("G%02d", i);
        const double angle = 0.13 * i;
        net.AddControl(name, 1000.0 + 300.0 * std::sin(angle), 5000.0 + 300.0 * std::cos(angle),
                       100.0 + 0.1 * i);
        targets.push_back(name);
    }
    net.AddPoint("A", 1050.0, 4900.0, 99.0);
    net.AddPoint("B", 1400.0, 5400.0, 105.0);
    targets.push_back("A");
    net.Round("S1", targets, 0.3);
    net.Zenith("S1", "A");
    net.SlopeDistance("S1", "A");
    Radiate(net, "G45", "S1", "B", 1.7);
    LoadedSurvey survey(net);
    const Lines shown = survey.Run("S1");
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), "green: Point :        B calculé");
    EXPECT_TRUE(AtTruePosition(survey, net, "B"));
}

}  // namespace
}  // namespace calctopo
