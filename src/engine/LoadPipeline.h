// The whole load: both readers, the statistics, the angles in radians, the
// sights and their per-point index, and the first derivation.
#pragma once

namespace calctopo {

struct SurveyState;
class WindowServices;

// Runs the load in order. The caller has set the input names, opened the
// listing and made the coordinates file's directory current.
void LoadSurveyData(SurveyState& state, WindowServices& ui);

// Resets the per-point ranges for points 1..PointCount (IndexedPointCount = PointCount).
void InitPointSightRanges(SurveyState& state);

// Builds the sight table from the observation tables.
void BuildSights(SurveyState& state);

// Number of the first sight from station to target, appending a new sight when
// there is none. A full sight table throws TableLimitReached.
int FindOrAddSight(SurveyState& state, int station, int target);

// Builds IncomingSightList, OutgoingSightList and the ranges of every indexed point.
void BuildPointSightRanges(SurveyState& state);

}  // namespace calctopo
