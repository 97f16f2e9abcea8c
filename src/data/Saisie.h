// The choice of the start point.
#pragma once

#include <string>

namespace calctopo {

struct SurveyState;

// The index of the point a start-point text names: the first point named
// exactly so (letter case included; a name given twice in the coordinates
// file is the first of its points), 0 when the text names no point.
int FindStartPoint(const SurveyState& state, const std::string& name);

}  // namespace calctopo
