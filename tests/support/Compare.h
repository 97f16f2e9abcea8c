// Comparison of reals in the tests: a named tolerance, both values printed.
#pragma once

#include <cmath>

#include <gtest/gtest.h>

namespace calctopo::testing {

// Agreement of two computations of the same exact value in double (a few
// units in the last place of numbers of order 1e3..1e6).
constexpr double kRoundingTolerance = 1e-9;
// A millimetre, in metres: the promise made to the surveyor for approximate
// coordinates computed from exact observations.
constexpr double kMillimetre = 1e-3;

inline ::testing::AssertionResult Near(double expected, double actual, double tolerance) {
    if (std::isfinite(actual) && std::fabs(expected - actual) <= tolerance) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "expected " << expected << " but got " << actual << " (tolerance " << tolerance
           << ", difference " << (actual - expected) << ")";
}

}  // namespace calctopo::testing

#define EXPECT_REAL_NEAR(expected, actual, tolerance) \
    EXPECT_TRUE(::calctopo::testing::Near((expected), (actual), (tolerance)))
