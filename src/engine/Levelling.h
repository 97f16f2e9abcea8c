// Levelling: a point's height from one neighbour of known height along a sight
// whose height difference (target minus station, length units) the sight
// derivation has already reduced.
#pragma once

namespace calctopo {

struct SurveyState;

// The first incoming sight with a known height difference from a station of
// known height: z = z(station) + Δh. ByLevellingFromStation or 0.
int LevelFromStation(SurveyState& state, int point);

// The first outgoing sight with a known height difference to a target of
// known height: z = z(target) − Δh. ByLevellingFromTarget or 0.
int LevelFromTarget(SurveyState& state, int point);

}  // namespace calctopo
