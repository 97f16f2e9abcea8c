// How a run placed each point: the method that gave it its plan position and
// the sights that method used, and the levelling that gave it its height and
// its sight. Filled where the methods store a result; read by the data check,
// which must know which observations placed a point to tell the surveyor how
// many others check it.
#pragma once

#include <cstdint>
#include <vector>

namespace calctopo {

struct SurveyState;

struct PointPlacement {
    std::int32_t planMethod = 0;           // MethodResult, 0 = not placed by a run
    std::vector<std::int32_t> planSights;  // sight numbers used, in the method's order
    std::int32_t heightMethod = 0;         // MethodResult of the levelling, 0 = none
    std::int32_t heightSight = 0;          // sight number of the levelling, 0 = none
};

// Records the plan placement of `point` (the placements grow as needed).
void RecordPlanPlacement(SurveyState& state, int point, int method,
                         std::vector<std::int32_t> sights);
// Records the levelling of `point`.
void RecordHeightPlacement(SurveyState& state, int point, int method, int sight);
// The placement of `point`; an empty record when it has none.
const PointPlacement& PlacementOf(const SurveyState& state, int point);

}  // namespace calctopo
