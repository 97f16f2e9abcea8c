// Residual lines of a completed point in the listing.
#pragma once

#include "engine/RunObserver.h"

namespace calctopo {

struct SurveyState;

// Writes to the listing one line per sight between the point and a point whose
// plan or height is known: angular misclosure and transverse error, distance
// residual, height residual (SightResidualsOf, formatted). Flushed as written.
void WriteResiduals(SurveyState& state, int point);

// The listing's observer of a run: the residuals of each point as it is
// completed, before it is marked determined.
class ResidualListingWriter final : public RunObserver {
  public:
    void PointCompleted(SurveyState& state, int point) override { WriteResiduals(state, point); }
};

}  // namespace calctopo
