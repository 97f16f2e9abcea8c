// Plane similarities: the fit recovers a known rotation, scale and
// translation, holds the scale to 1 when asked, and refuses what cannot orient.
#include "geometry/Similarity.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "support/Compare.h"

namespace calctopo {
namespace {

// A similarity built by hand: bearings turned by 0.3 rad, scale 1.25,
// translation (1000, 2000). Local points are mapped through it, so the fit
// must give it back to rounding.
constexpr double kShift = 0.3;
constexpr double kScale = 1.25;

CommonPoint Through(double x, double y, double scale = kScale) {
    // A clockwise turn of the bearings by kShift is a counter-clockwise
    // rotation by -kShift.
    const double a = scale * std::cos(-kShift);
    const double b = scale * std::sin(-kShift);
    return CommonPoint{x, y, 1000.0 + a * x - b * y, 2000.0 + b * x + a * y};
}

TEST(Similarity, FreeFitRecoversRotationScaleAndTranslation) {
    const std::vector<CommonPoint> points{Through(0, 0), Through(500, 20), Through(250, 400)};
    PlaneSimilarity fit;
    ASSERT_TRUE(FitSimilarity(points, SimilarityScale::Free, fit));
    EXPECT_REAL_NEAR(kScale, ScaleOf(fit), testing::kRoundingTolerance);
    EXPECT_REAL_NEAR(kShift, BearingShiftOf(fit), testing::kRoundingTolerance);
    double x = 0.0;
    double y = 0.0;
    ApplySimilarity(fit, 100.0, -50.0, x, y);
    const CommonPoint expected = Through(100.0, -50.0);
    EXPECT_REAL_NEAR(expected.globalX, x, testing::kRoundingTolerance * 1e3);
    EXPECT_REAL_NEAR(expected.globalY, y, testing::kRoundingTolerance * 1e3);
}

TEST(Similarity, UnitFitKeepsTheScaleAndSplitsTheMisfit) {
    // Two points 500 m apart locally and 500.1 m apart in the coordinates:
    // held to scale 1, each end misses by 0.05 m along the line.
    const std::vector<CommonPoint> points{{0, 0, 0, 0}, {500, 0, 500.1, 0}};
    PlaneSimilarity fit;
    ASSERT_TRUE(FitSimilarity(points, SimilarityScale::Unit, fit));
    EXPECT_REAL_NEAR(1.0, ScaleOf(fit), testing::kRoundingTolerance);
    EXPECT_REAL_NEAR(0.0, BearingShiftOf(fit), testing::kRoundingTolerance);
    double x = 0.0;
    double y = 0.0;
    ApplySimilarity(fit, 0.0, 0.0, x, y);
    EXPECT_REAL_NEAR(0.05, x, testing::kRoundingTolerance);
    // The free fit of the same points reads the scale 1.0002 (200 ppm).
    ASSERT_TRUE(FitSimilarity(points, SimilarityScale::Free, fit));
    EXPECT_REAL_NEAR(1.0002, ScaleOf(fit), testing::kRoundingTolerance);
}

TEST(Similarity, RefusesWhatCannotOrient) {
    PlaneSimilarity fit;
    fit.tx = 7.0;
    const std::vector<CommonPoint> one{Through(0, 0)};
    EXPECT_FALSE(FitSimilarity(one, SimilarityScale::Free, fit));
    const std::vector<CommonPoint> same{Through(10, 10), Through(10, 10)};
    EXPECT_FALSE(FitSimilarity(same, SimilarityScale::Unit, fit));
    EXPECT_FALSE(FitSimilarity(same, SimilarityScale::Free, fit));
    // A refused fit leaves the result as it was.
    EXPECT_EQ(fit.tx, 7.0L);
}

TEST(Similarity, OnePointAndAShift) {
    const CommonPoint point = Through(40.0, 30.0, 1.0);
    const PlaneSimilarity s = SimilarityFromPointAndShift(point, kShift);
    EXPECT_REAL_NEAR(1.0, ScaleOf(s), testing::kRoundingTolerance);
    EXPECT_REAL_NEAR(kShift, BearingShiftOf(s), testing::kRoundingTolerance);
    double x = 0.0;
    double y = 0.0;
    ApplySimilarity(s, 240.0, -70.0, x, y);
    const CommonPoint expected = Through(240.0, -70.0, 1.0);
    EXPECT_REAL_NEAR(expected.globalX, x, testing::kRoundingTolerance * 1e3);
    EXPECT_REAL_NEAR(expected.globalY, y, testing::kRoundingTolerance * 1e3);
}

}  // namespace
}  // namespace calctopo
