// Triangulation and eccentric station, end to end: the point to place is a
// station that read placed targets; networks generated from true coordinates.
#include "engine/TriangulationEccentric.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/NetworkGenerator.h"

namespace calctopo {
namespace {

using testing::AtTruePosition;
using testing::kNothingDeterminable;
using testing::LoadedSurvey;
using testing::NetworkGenerator;
using Lines = std::vector<std::string>;

// Three given points and a station P among them.
NetworkGenerator Site() {
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddControl("S2", 1400.0, 5050.0, 103.0);
    net.AddControl("S3", 1150.0, 5500.0, 108.0);
    net.AddPoint("P", 1180.0, 5260.0, 101.0);
    return net;
}

TEST(TriangulationEccentric, TriangulatesStationFromTwoReadingsAndDistances) {
    NetworkGenerator net = Site();
    net.Round("P", {"S1", "S2"}, 2.4);
    for (const char* target : {"S1", "S2"}) {
        net.Zenith("P", target, 1.45, 1.6);
        net.SlopeDistance("P", target, 1.45, 1.6);
    }
    LoadedSurvey survey(net);
    // P is met through its sight towards S1, an incoming sight of S1; its
    // height comes back from S1 along the same line.
    EXPECT_EQ(survey.Run("S1"),
              (Lines{"black:        P triangulé de       S1 et S2",
                     "black:        P nivellé de       S1", "green: Point :        P calculé"}));
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

TEST(TriangulationEccentric, NeverCombinesReadingsOfTwoRoundsNorTwiceOneTarget) {
    // Round 1 reads S1; round 2, with another zero, reads S1 again and S2.
    // The pair (S1, S1) is one target twice, (S1 of round 1, S2) mixes two
    // zeros; only (S1, S2) of round 2 is an angle.
    NetworkGenerator net = Site();
    net.Round("P", {"S1"}, 0.4);
    net.Round("P", {"S1", "S2"}, 3.9);
    net.HorizontalDistance("P", "S1");
    net.HorizontalDistance("P", "S2");
    net.HeightDifference("S2", "P");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.RunFirstLine("S1"), "black:        P triangulé de       S1 et S2");
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

TEST(TriangulationEccentric, PlacesEccentricStationNearPillar) {
    // P stands 4.2 m from the pillar S1 and reads S1 and S2; only the short
    // distance to S1 is measured. Triangulation needs two distances and
    // resection three readings, so the eccentric station places P.
    NetworkGenerator net = Site();
    net.AddPoint("E", 1003.1, 5002.83, 99.4);
    net.Round("E", {"S1", "S2"}, 1.3);
    net.HorizontalDistance("E", "S1");
    net.Zenith("E", "S2");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"),
              (Lines{"black:        E excentré de       S1 et S2",
                     "black:        E nivellé de       S2", "green: Point :        E calculé"}));
    EXPECT_TRUE(AtTruePosition(survey, net, "E"));
}

TEST(TriangulationEccentric, EccentricStationOrientedOnlyWithinOneRound) {
    // Round 1 reads S1; round 2 reads S2 and S1 again; the distance to S1
    // reaches both sights of that line. The first distance candidate (S1 in
    // round 1) has no partner of its round; the second (S1 in round 2) pairs
    // with S2.
    NetworkGenerator net = Site();
    net.AddPoint("E", 996.0, 4994.5, 99.4);
    net.Round("E", {"S1"}, 0.2);
    net.Round("E", {"S2", "S1"}, 5.1);
    net.HorizontalDistance("E", "S1");
    net.HeightDifference("E", "S1");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.RunFirstLine("S1"), "black:        E excentré de       S1 et S2");
    EXPECT_TRUE(AtTruePosition(survey, net, "E"));
}

TEST(TriangulationEccentric, EccentricDistanceMustBeShorterThanBaseline) {
    // The distance from P to S1 is longer than S1-S2: no eccentric station,
    // and nothing else can place P.
    NetworkGenerator net = Site();
    net.Round("P", {"S1", "S2"}, 1.3);
    net.AddPoint("F", 1000.0, 4500.0, 95.0);
    net.Round("F", {"S1", "S2"}, 0.8);
    net.HorizontalDistance("F", "S1");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"), (Lines{kNothingDeterminable}));
    EXPECT_FALSE(survey.Point("F").planimetricKnown);
}

}  // namespace
}  // namespace calctopo
