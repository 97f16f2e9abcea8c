#include "shell/app/PointsLeft.h"

#include <gtest/gtest.h>

#include "support/StateBuilder.h"

namespace calctopo {
namespace {

using testing::DeterminedPoint;
using testing::StateBuilder;

// Given S1 and S2, P computed, Q placed in plan only, R named by observations
// only. Q is observed from S1 (direction, distance), from P (zenith) and
// observes R (height difference); R is observed from Q only; a code-9 line from
// S2 to R adds a distance and a bearing.
struct Network {
    StateBuilder b;
    int s1, s2, p, q, r;
    Network() {
        s1 = b.KnownPoint("S1", 0, 0, 100);
        s2 = b.KnownPoint("S2", 100, 0, 100);
        p = AppendPoint(b.state, DeterminedPoint("P", 50, 50, 101));
        q = b.Point("Q");
        b.state.PointTable[q].planimetricKnown = true;
        r = b.Point("R");
        const int round = b.Round();
        b.Direction(s1, q, 0.5, round);
        b.Direction(s1, s2, 0.0, round);
        b.Distance(s1, q, 70.0, true);
        b.Zenith(p, q, 1.57);
        b.HeightDifference(q, r, 2.0);
        b.Distance(s2, r, 30.0, true);
        b.Bearing(s2, r, 1.0);
        b.Build();
    }
};

TEST(PointsLeft, CountsWhatTheStatusBarShows) {
    Network net;
    const PointCounts counts = CountPoints(net.b.state);
    EXPECT_EQ(counts.total, 5);
    EXPECT_EQ(counts.given, 2);
    EXPECT_EQ(counts.computed, 1);
    EXPECT_EQ(counts.notComputed, 2);  // Q (no height) and R

    const PointCounts none = CountPoints(SurveyState{});
    EXPECT_EQ(none.total + none.given + none.computed + none.notComputed, 0);
}

TEST(PointsLeft, EachPointLeftSaysWhatItLacksAndWhatItHas) {
    Network net;
    const std::vector<PointLeft> left = ListPointsLeft(net.b.state);
    // Table order, given and computed points never listed.
    ASSERT_EQ(left.size(), 2u);

    const PointLeft& q = left[0];
    EXPECT_EQ(q.name, "Q");
    EXPECT_FALSE(q.lacksPlan);
    EXPECT_TRUE(q.lacksHeight);
    // Links by the other point's index: S1, P, R.
    ASSERT_EQ(q.links.size(), 3u);
    EXPECT_EQ(q.links[0].name, "S1");
    EXPECT_EQ(q.links[0].status, StatusGiven);
    EXPECT_TRUE(q.links[0].planKnown && q.links[0].heightKnown);
    EXPECT_EQ(q.links[0].towardPoint.directions, 1);
    EXPECT_EQ(q.links[0].towardPoint.distances, 1);
    EXPECT_EQ(q.links[0].fromPoint.Total(), 0);
    EXPECT_EQ(q.links[1].name, "P");
    EXPECT_EQ(q.links[1].status, StatusDetermined);
    EXPECT_EQ(q.links[1].towardPoint.zeniths, 1);
    EXPECT_EQ(q.links[2].name, "R");
    EXPECT_FALSE(q.links[2].planKnown || q.links[2].heightKnown);
    EXPECT_EQ(q.links[2].fromPoint.heightDifferences, 1);
    EXPECT_EQ(q.links[2].towardPoint.Total(), 0);

    const PointLeft& r = left[1];
    EXPECT_TRUE(r.lacksPlan && r.lacksHeight);
    ASSERT_EQ(r.links.size(), 2u);
    EXPECT_EQ(r.links[0].name, "S2");
    // The code-9 line: one distance and one bearing, as stored.
    EXPECT_EQ(r.links[0].towardPoint.distances, 1);
    EXPECT_EQ(r.links[0].towardPoint.bearings, 1);
    EXPECT_EQ(r.links[1].name, "Q");
    EXPECT_TRUE(r.links[1].planKnown);
    EXPECT_EQ(r.links[1].towardPoint.heightDifferences, 1);
}

TEST(PointsLeft, AnObservationOfAPointOnItselfIsOneLinkBothWays) {
    StateBuilder b;
    const int u = b.Point("U");
    b.Distance(u, u, 0.0, true);
    b.Build();
    const std::vector<PointLeft> left = ListPointsLeft(b.state);
    ASSERT_EQ(left.size(), 1u);
    ASSERT_EQ(left[0].links.size(), 1u);
    EXPECT_EQ(left[0].links[0].point, u);
    EXPECT_EQ(left[0].links[0].fromPoint.distances, 1);
    EXPECT_EQ(left[0].links[0].towardPoint.distances, 1);
}

}  // namespace
}  // namespace calctopo
