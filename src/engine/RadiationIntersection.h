// Radiation and intersection: the first two ways of placing a point, from the
// bearings (radians, clockwise from north) and horizontal distances (length
// units) that the sight derivation has already put in its sights.
#pragma once

namespace calctopo {

struct SurveyState;

// Radiation: the point from one placed point, a bearing and a horizontal
// distance. Incoming sights first (from a placed station), then outgoing ones
// (to a placed target, bearing turned by a half turn). ByRadiation or 0.
int TryRadiation(SurveyState& state, int point);

// Intersection: the point at the crossing of the bearing of its first
// qualifying incoming sight with that of a later one from another placed
// station, crossing at more than 1 grade. ByIntersection or 0.
int TryIntersection(SurveyState& state, int point);

}  // namespace calctopo
