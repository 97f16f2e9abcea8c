// Levelling, end to end: heights carried along sights whose height difference
// is known, from a station of known height or towards a target of known height.
#include "engine/Levelling.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/NetworkGenerator.h"

namespace calctopo {
namespace {

using testing::AtTruePosition;
using testing::kMillimetre;
using testing::LoadedSurvey;
using testing::NetworkGenerator;
using Lines = std::vector<std::string>;

// A at height 100, B at height 100, P1 placed from A by radiation (reading
// and horizontal distance, no zenith angle, so no height from that sight).
NetworkGenerator Site(double heightOfP1) {
    NetworkGenerator net;
    net.AddControl("A", 1000.0, 5000.0, 100.0);
    net.AddControl("B", 1200.0, 5000.0, 100.0);
    net.AddControl("C", 1100.0, 5200.0, 100.0);
    net.AddPoint("P1", 1100.0, 5100.0, heightOfP1);
    net.Round("A", {"B", "P1"}, 0.0);
    net.HorizontalDistance("A", "P1");
    return net;
}

TEST(Levelling, FromStationAddsHeightDifference) {
    // +2.5 from A at 100: 102.5.
    NetworkGenerator net = Site(102.5);
    net.HeightDifference("A", "P1");
    LoadedSurvey survey(net);
    EXPECT_EQ(survey.Run("A"),
              (Lines{"black:       P1 rayonné de        A", "black:       P1 nivellé de        A",
                     "green: Point :       P1 calculé"}));
    EXPECT_REAL_NEAR(102.5, survey.Point("P1").z, kMillimetre);
}

TEST(Levelling, FromTargetSubtractsHeightDifference) {
    // Only P1 -> B observed, +2.5 with B at 100: 97.5.
    NetworkGenerator net = Site(97.5);
    net.HeightDifference("P1", "B");
    LoadedSurvey survey(net);
    const Lines shown = survey.Run("A");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1], "black:       P1 nivellé de        B");
    EXPECT_REAL_NEAR(97.5, survey.Point("P1").z, kMillimetre);
}

TEST(Levelling, FirstUsableSightWinsWithoutMean) {
    // From C a height difference 0.3 m too large, observed after the one from
    // A: the sight from A, lower in number, gives the height.
    NetworkGenerator net = Site(102.5);
    net.HeightDifference("A", "P1");
    net.RawObservation("4 C P1 2.800 0 0 0");
    LoadedSurvey survey(net);
    const Lines shown = survey.Run("A");
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[1], "black:       P1 nivellé de        A");
    EXPECT_REAL_NEAR(102.5, survey.Point("P1").z, kMillimetre);
}

TEST(Levelling, CarriesHeightThroughDeterminedPoint) {
    // P2 is levelled from P1, determined in the same run: the height
    // difference P1 -> P2 from a zenith angle and the distance between the
    // two placed points.
    NetworkGenerator net = Site(102.5);
    net.AddPoint("P2", 1150.0, 5180.0, 104.75);
    net.HeightDifference("A", "P1");
    net.Round("P1", {"A", "P2"}, 1.0);
    net.Zenith("P1", "P2", 1.6, 1.8);
    net.HorizontalDistance("P1", "P2");
    LoadedSurvey survey(net);
    const Lines shown = survey.Run("A");
    EXPECT_EQ(shown.back(), "green: Point :       P2 calculé");
    EXPECT_TRUE(AtTruePosition(survey, net, "P2"));
    EXPECT_NE(std::find(shown.begin(), shown.end(), "black:       P2 nivellé de       P1"),
              shown.end());
}

}  // namespace
}  // namespace calctopo
