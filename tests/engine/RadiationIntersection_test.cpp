// Radiation and intersection, end to end: networks generated from true
// coordinates, written to files, loaded and run from a start point.
#include "engine/RadiationIntersection.h"

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
using testing::RadiationExample;
using Lines = std::vector<std::string>;

// Ten grades, in radians: a deliberate error large enough to move a point by
// metres if the wrong sight were used.
const double kTenGrades = GradesToRadians(10.0);

TEST(RadiationIntersection, RadiatesFromPlacedStationInEveryAngleUnit) {
    for (const int unit : {1, 2, 3}) {
        SCOPED_TRACE(unit);
        const NetworkGenerator net = RadiationExample(unit);
        LoadedSurvey survey(net);
        EXPECT_EQ(survey.Run("S1"), (Lines{"black:       P1 rayonné de       S1",
                                           "black:       P1 nivellé de       S1",
                                           "green: Point :       P1 calculé"}));
        EXPECT_TRUE(AtTruePosition(survey, net, "P1"));
    }
}

TEST(RadiationIntersection, RadiatesBackFromPlacedTargetHalfATurnAround) {
    // P1 is only a station: a bearing and a horizontal distance towards S1 and
    // a height difference to it. The bearing back from S1 is the sight's
    // bearing plus π.
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddPoint("P1", 940.0, 5075.0, 103.25);
    net.Bearing("P1", "S1");
    net.HorizontalDistance("P1", "S1");
    net.HeightDifference("P1", "S1");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"),
              (Lines{"black:       P1 rayonné de       S1", "black:       P1 nivellé de       S1",
                     "green: Point :       P1 calculé"}));
    EXPECT_TRUE(AtTruePosition(survey, net, "P1"));
}

TEST(RadiationIntersection, PrefersIncomingSightOverOutgoingOne) {
    // P1 measured from S1 (exact) and, as a station, towards S2 with a bearing
    // wrong by ten grades: the incoming sight is used, so P1 is exact.
    NetworkGenerator net = RadiationExample(1);
    net.Bearing("P1", "S2", kTenGrades);
    net.HorizontalDistance("P1", "S2");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.RunFirstLine("S1"), "black:       P1 rayonné de       S1");
    EXPECT_TRUE(AtTruePosition(survey, net, "P1"));
}

// S1, S2, S3 given, each with a round oriented on another given point; P
// read from the stations in the order given, with a zenith angle from S1.
NetworkGenerator IntersectionNetwork(const std::vector<std::string>& stations) {
    NetworkGenerator net;
    net.AddControl("S1", 1000.0, 5000.0, 100.0);
    net.AddControl("S2", 1002.0, 5600.0, 104.0);
    net.AddControl("S3", 1300.0, 5300.0, 98.0);
    net.AddPoint("P", 1000.0, 5300.0, 101.7);
    double zero = 0.3;
    for (const std::string& station : stations) {
        net.Round(station, {station == "S1" ? "S3" : "S1", "P"}, zero);
        zero += 1.1;
    }
    net.Zenith("S1", "P");
    return net;
}

TEST(RadiationIntersection, IntersectsFromTwoStationsWithHeightFromZenithAngle) {
    const NetworkGenerator net = IntersectionNetwork({"S1", "S3"});
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"),
              (Lines{"black:        P intersecté de       S1 et S3",
                     "black:        P nivellé de       S1", "green: Point :        P calculé"}));
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

TEST(RadiationIntersection, SkipsPairCrossingUnderOneGrade) {
    // S2 lies almost on the line S1-P beyond P: its bearing to P is 0.4 grade
    // from the reverse of S1's. The pair (S1, S2) is rejected and (S1, S3)
    // taken; (S2, S3), which crosses well, is never formed.
    const NetworkGenerator net = IntersectionNetwork({"S1", "S2", "S3"});
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.RunFirstLine("S1"), "black:        P intersecté de       S1 et S3");
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

TEST(RadiationIntersection, NeedsTwoDistinctStations) {
    // P read from S1 in two rounds: two qualifying sights from one station
    // never form a pair.
    NetworkGenerator net = IntersectionNetwork({"S1"});
    net.Round("S1", {"S3", "P"}, 1.9);
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("S1"), (Lines{kNothingDeterminable}));
    EXPECT_FALSE(survey.Point("P").planimetricKnown);
}

TEST(RadiationIntersection, UsesEveryCandidateBeyondFifty) {
    // S1 read P in 51 rounds: 51 qualifying sights from one station, then the
    // one from S3 as the 52nd. It still pairs with the first.
    NetworkGenerator net = IntersectionNetwork({"S1"});
    for (int round = 2; round <= 51; ++round) {
        net.Round("S1", {"S3", "P"}, 0.1 * round);
    }
    net.Round("S3", {"S1", "P"}, 4.0);
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.RunFirstLine("S1"), "black:        P intersecté de       S1 et S3");
    EXPECT_TRUE(AtTruePosition(survey, net, "P"));
}

}  // namespace
}  // namespace calctopo
