// The choice of the start point.
#pragma once

namespace calctopo {

struct SurveyState;
class WindowServices;

// Sets StartPointIndex to the first point named exactly as the start-point
// list's text; leaves it unchanged when no point has that name.
void SelectStartPoint(SurveyState& state, WindowServices& ui);

}  // namespace calctopo
