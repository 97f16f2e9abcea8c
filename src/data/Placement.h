// How a run placed each point: the method that gave it its plan position, the
// sights that method used and the pass it was found in, and the levelling that
// gave it its height, its sight and its pass. Filled where the methods store a
// result; read by the driver's observers (the pane line of a method names the
// points it used), the sketch and the data check, which must know which
// observations placed a point to tell the surveyor how many others check it.
#pragma once

#include <cstdint>
#include <vector>

namespace calctopo {

struct SurveyState;

struct PointPlacement {
    std::int32_t planMethod = 0;           // MethodResult, 0 = not placed by a run
    std::vector<std::int32_t> planSights;  // sight numbers used, in the method's order
    std::int32_t planPass = 0;             // pass of the run it was placed in, 0 = none
    std::int32_t heightMethod = 0;         // MethodResult of the levelling, 0 = none
    std::int32_t heightSight = 0;          // sight number of the levelling, 0 = none
    std::int32_t heightPass = 0;           // pass of the run it was levelled in, 0 = none
};

// Records the plan placement of `point` in the current pass (PassNumber; the
// extended stage places in the last pass of the run it follows). The
// placements grow as needed.
void RecordPlanPlacement(SurveyState& state, int point, int method,
                         std::vector<std::int32_t> sights);
// Records the levelling of `point` in the current pass.
void RecordHeightPlacement(SurveyState& state, int point, int method, int sight);
// The placement of `point`; an empty record when it has none.
const PointPlacement& PlacementOf(const SurveyState& state, int point);

// The points the plan method of `point` worked from: the other end of each of
// its sights, in the method's order (radiation: the known end; intersection:
// both stations; triangulation, eccentric station, resection: the targets
// read; trilateration: the two distance ends, then the control). Empty when
// no method placed it.
std::vector<int> PointsUsed(const SurveyState& state, int point);
// The point the levelling of `point` carried the height from; 0 when none.
int LevelledFrom(const SurveyState& state, int point);

}  // namespace calctopo
