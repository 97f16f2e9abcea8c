// Residual lines of a completed point in the listing.
#pragma once

namespace calctopo {

struct SurveyState;

// Writes to the listing one line per sight between the point and a point whose
// plan or height is known: angular misclosure and transverse error, distance
// residual, height residual. Flushed as written.
void WriteResiduals(SurveyState& state, int point);

}  // namespace calctopo
