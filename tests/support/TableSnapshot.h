// The tables a computation writes, compared bit for bit: the literal and the
// incremental computation must leave exactly the same numbers.
#pragma once

#include <cstdint>

#include <gtest/gtest.h>

#include "data/GLOBAL.h"

namespace calctopo::testing {

// A fingerprint of every value and flag of the sights, the rounds and the
// points (the bits of every double), for comparing long sequences of states.
std::uint64_t TablesFingerprint(const SurveyState& state);

// Success when the sights, rounds and points of the two states hold the same
// bits; otherwise the first difference, named.
::testing::AssertionResult SameTables(const SurveyState& a, const SurveyState& b);

}  // namespace calctopo::testing
