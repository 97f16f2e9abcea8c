// Triangulation and eccentric station: a point placed from what was measured
// at the point itself, as a station: its direction readings (radians, one
// round) towards placed targets and its horizontal distances (length units)
// to them.
#pragma once

namespace calctopo {

struct SurveyState;

// Triangulation: the triangle point-A-B solved from the angle at the point
// (reading to B minus reading to A) and the two horizontal distances. Pairs
// (1, 2), (1, 3) ... (2, 3) ... of the outgoing sights that have a reading, a
// placed target and a distance. ByTriangulationOrEccentric or 0.
int TryTriangulation(SurveyState& state, int point);

// Eccentric station: the point at a short distance d from a placed target A,
// oriented by the angle at the point between A and a second placed target B
// (d must be shorter than AB). ByTriangulationOrEccentric or 0.
int TryEccentricStation(SurveyState& state, int point);

}  // namespace calctopo
