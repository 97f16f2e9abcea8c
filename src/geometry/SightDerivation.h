// Derivation of the sights' bearings, horizontal distances and height
// differences, and of the rounds' orientations, from everything known.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace calctopo {

struct SurveyState;

// Applies the derivation rules to every sight, sweep after sweep, until a sweep
// derives nothing new. Run at the end of every load and after every point the
// engine places or levels. Computed the way state.Strategy says: incrementally
// (IncrementalDerivation.h) or literally; both leave the same tables, bit for
// bit.
void DeriveSights(SurveyState& state);

// The reference derivation: every sweep applies the rules to every sight in
// table order, then shares values over the whole index (ShareSightValues);
// the sweeps stop after the first one in which no rule fired.
void DeriveSightsLiteral(SurveyState& state);

// The rules a to i on one sight, in order, each seeing what the earlier ones
// wrote. True when one of them fired: it wrote a value of the sight or
// oriented the sight's round. Writes nothing when it returns false.
bool ApplySightRules(SurveyState& state, int sight);

// Copies known values between sights of the same line and to reverse sights,
// over the whole per-point index. Called by DeriveSightsLiteral (and tests).
void ShareSightValues(SurveyState& state);

// What ShareSightValues does to the sights between two different points, in
// time linear in their number: `towardsLower` are the sights from the
// higher-numbered point to the lower one, `towardsHigher` the reverse ones,
// each in increasing sight number. Appends to `received` every sight that was
// given a value (a sight may be appended more than once).
void ShareBetweenPoints(SurveyState& state, std::span<const std::int32_t> towardsLower,
                        std::span<const std::int32_t> towardsHigher,
                        std::vector<std::int32_t>& received);

// What ShareSightValues does to the sights from one point to itself (in
// increasing sight number), replayed as it does it. Appends to `received`
// every sight that was given a value.
void ShareWithinPoint(SurveyState& state, std::span<const std::int32_t> sights,
                      std::vector<std::int32_t>& received);

}  // namespace calctopo
