// Derivation of the sights' bearings, horizontal distances and height
// differences, and of the rounds' orientations, from everything known.
#pragma once

namespace calctopo {

struct SurveyState;

// Applies the derivation rules to every sight, sweep after sweep, until a sweep
// derives nothing new. Run at the end of every load and after every point the
// engine places or levels.
void DeriveSights(SurveyState& state);

// Copies known values between sights of the same line and to reverse sights.
// Called by DeriveSights only.
void ShareSightValues(SurveyState& state);

}  // namespace calctopo
