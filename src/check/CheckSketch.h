// The sketch of the network as the window and the batch command show it: the
// points and lines of the state, how each point was placed, and the verdicts
// of the data check drawn on them.
#pragma once

#include "check/DataCheck.h"
#include "output/Sketch.h"

namespace calctopo {

struct SurveyState;

// The sketch of the state with the recorded placements and the suspect points
// and observations of `check`.
SketchModel BuildCheckedSketch(const SurveyState& state, const DataCheckResult& check);

}  // namespace calctopo
