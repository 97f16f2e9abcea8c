// Resection and trilateration, end to end, on networks generated from true
// coordinates.
#include "engine/ResectionTrilateration.h"

#include <numbers>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "geometry/CONVERTI.h"
#include "support/NetworkGenerator.h"

namespace calctopo {
namespace {

using testing::AtTruePosition;
using testing::kNothingDeterminable;
using testing::LoadedSurvey;
using testing::NetworkGenerator;
using Lines = std::vector<std::string>;

// Five given points around the station P.
NetworkGenerator Site() {
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddControl("S2", 1500.0, 5100.0, 103.0);
    net.AddControl("S3", 1250.0, 5600.0, 108.0);
    net.AddControl("S4", 820.0, 5480.0, 97.0);
    net.AddControl("S5", 1610.0, 5420.0, 111.0);
    net.AddPoint("P", 1200.0, 5250.0, 101.0);
    return net;
}

TEST(ResectionTrilateration, ResectsStationFromThreeReadings) {
    NetworkGenerator net = Site();
    net.Round("P", {"S1", "S2", "S3"}, 1.7);
    net.Zenith("P", "S1");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"),
              (Lines{"black:        P relevé sur       S1 ,       S2 , et       S3",
                     "black:        P nivellé de       S1", "green: Point :        P calculé"}));
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

TEST(ResectionTrilateration, ResectionComesBeforeEccentricStation) {
    // Three readings and a distance to S1 only: resection is tried first.
    NetworkGenerator net = Site();
    net.Round("P", {"S1", "S2", "S3"}, 0.6);
    net.HorizontalDistance("P", "S1");
    net.HeightDifference("S1", "P");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.RunFirstLine("S1"),
              "black:        P relevé sur       S1 ,       S2 , et       S3");
}

TEST(ResectionTrilateration, ResectionTriplesStayWithinOneRound) {
    // Round 1 reads S1, S2; round 2 (another zero) reads S3, S4, S5. Every
    // triple but (3, 4, 5) mixes the two rounds.
    NetworkGenerator net = Site();
    net.Round("P", {"S1", "S2"}, 0.9);
    net.Round("P", {"S3", "S4", "S5"}, 4.4);
    net.HeightDifference("S1", "P");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.RunFirstLine("S1"),
              "black:        P relevé sur       S3 ,       S4 , et       S5");
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

TEST(ResectionTrilateration, ResectionTripleNeedsThreeDistinctTargets) {
    // S2 read twice in the round, the first time 1 mgon off: the triple
    // (1, 2, 3) is S1, S2, S2, whose narrow "angle" at P would throw P far
    // off; the next triple, (1, 3, 4), is S1, S2 (the exact reading), S3.
    NetworkGenerator net = Site();
    const double zero = 2.2;
    net.Round("P", {"S1"}, zero);
    net.SetNoise(GradesToRadians(0.001), 0.0, 7);
    net.Direction("P", "S2", zero);
    net.SetNoise(0.0, 0.0, 1);
    net.Direction("P", "S2", zero);
    net.Direction("P", "S3", zero);
    net.HeightDifference("S1", "P");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.RunFirstLine("S1"),
              "black:        P relevé sur       S1 ,       S2 , et       S3");
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

TEST(ResectionTrilateration, TriesTripleOneThreeFourAfterOneTwoThree) {
    // P stands on the circle through S1, S2 and S3 (centre (1200, 5200),
    // radius 300), where a resection on them is indeterminate; the next
    // triple, (1, 3, 4), uses S4 off the circle.
    NetworkGenerator net;
    net.AddControl("S1", 1200.0, 5500.0, 100.0);
    net.AddControl("S2", 1500.0, 5200.0, 101.0);
    net.AddControl("S3", 900.0, 5200.0, 102.0);
    net.AddControl("S4", 1450.0, 4650.0, 103.0);
    net.AddPoint("P", 1200.0, 4900.0, 99.0);
    net.Round("P", {"S1", "S2", "S3", "S4"}, 0.3);
    net.HeightDifference("S1", "P");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.RunFirstLine("S1"),
              "black:        P relevé sur       S1 ,       S3 , et       S4");
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

// S1 and S2 on a north-south base; the first solution of a trilateration on
// them lies east of the base (clockwise from S1 towards S2), its mirror west.
NetworkGenerator TrilaterationSite(double x, double y) {
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddControl("S2", 1000.0, 5400.0, 102.0);
    net.AddControl("S3", 1200.05, 4900.0, 98.0);
    net.AddPoint("P", x, y, 99.3);
    return net;
}

TEST(ResectionTrilateration, TrilateratesWithControlByThirdDistanceOnEitherSide) {
    // Distances from S1, S2, S3 to P: the third only picks the side. P east
    // of the base is the first solution, P west of it the mirror one.
    for (const double x : {1250.0, 780.0}) {
        SCOPED_TRACE(x);
        NetworkGenerator net = TrilaterationSite(x, 5230.0);
        for (const char* station : {"S1", "S2", "S3"}) {
            net.HorizontalDistance(station, "P");
        }
        net.HeightDifference("S1", "P");
        LoadedSurvey survey(net);
        EXPECT_EQ(
            survey.Run("S1"),
            (Lines{"black:        P trilatéré de       S1 et S2 contrôlé sur       S3",
                   "black:        P nivellé de       S1", "green: Point :        P calculé"}));
        EXPECT_TRUE(AtTruePosition(survey, net, "P"));
    }
}

TEST(ResectionTrilateration, BearingControlNearNorthComparedModuloFullTurn) {
    // P is due north of S3 but for 5 cm: the bearing S3 -> P is 399.989 grades,
    // written as -0.011 grade (a round oriented with a negative orientation
    // gives such bearings). The first solution agrees with it modulo a full
    // turn; a plain comparison would take the mirror point, 400 m away.
    NetworkGenerator net = TrilaterationSite(1200.0, 5200.0);
    net.HorizontalDistance("S1", "P");
    net.HorizontalDistance("S2", "P");
    net.Bearing("S3", "P", -2.0 * std::numbers::pi);
    net.HeightDifference("S1", "P");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.RunFirstLine("S1"),
              "black:        P trilatéré de       S1 et S2 contrôlé sur       S3");
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

TEST(ResectionTrilateration, RepeatedSightsOfOneStationCountOnce) {
    // S1 read P in two rounds with a slope distance: two sights S1 -> P carry
    // the same circle. The candidates are S1, S2 and, as control, S3.
    NetworkGenerator net = TrilaterationSite(1250.0, 5230.0);
    net.Round("S1", {"P"}, 0.5);
    net.Round("S1", {"P"}, 2.5);
    net.Zenith("S1", "P");
    net.SlopeDistance("S1", "P");
    net.HorizontalDistance("S2", "P");
    net.HorizontalDistance("S3", "P");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"),
              (Lines{"black:        P trilatéré de       S1 et S2 contrôlé sur       S3",
                     "black:        P nivellé de       S1", "green: Point :        P calculé"}));
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

TEST(ResectionTrilateration, TakesSecondDistanceFromOutgoingSight) {
    // One distance from S1 to P, one measured at P towards S2, and a bearing
    // from S3 as control: the outgoing walk supplies the second candidate.
    NetworkGenerator net = TrilaterationSite(780.0, 5230.0);
    net.HorizontalDistance("S1", "P");
    net.Bearing("S3", "P");
    net.HorizontalDistance("P", "S2");
    net.HeightDifference("P", "S2");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"),
              (Lines{"black:        P trilatéré de       S1 et S2 contrôlé sur       S3",
                     "black:        P nivellé de       S2", "green: Point :        P calculé"}));
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

TEST(ResectionTrilateration, TwoDistancesWithoutControlPlaceNothing) {
    NetworkGenerator net = TrilaterationSite(780.0, 5230.0);
    net.HorizontalDistance("S1", "P");
    net.HorizontalDistance("P", "S2");
    net.HeightDifference("S1", "P");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"),
              (Lines{"black:        P nivellé de       S1", kNothingDeterminable}));
    EXPECT_FALSE(survey.Point("P").planimetricKnown);
}

}  // namespace
}  // namespace calctopo
