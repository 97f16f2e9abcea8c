#include "data/Placement.h"

#include <utility>

#include "data/GLOBAL.h"
#include "data/PointSights.h"

namespace calctopo {

namespace {

PointPlacement& Slot(SurveyState& state, int point) {
    const auto index = static_cast<std::size_t>(point < 0 ? 0 : point);
    if (state.Placements.size() <= index) {
        state.Placements.resize(index + 1);
    }
    return state.Placements[index];
}

}  // namespace

void RecordPlanPlacement(SurveyState& state, int point, int method,
                         std::vector<std::int32_t> sights) {
    PointPlacement& placement = Slot(state, point);
    placement.planMethod = method;
    placement.planSights = std::move(sights);
    placement.planPass = state.PassNumber;
}

void RecordHeightPlacement(SurveyState& state, int point, int method, int sight) {
    PointPlacement& placement = Slot(state, point);
    placement.heightMethod = method;
    placement.heightSight = sight;
    placement.heightPass = state.PassNumber;
}

const PointPlacement& PlacementOf(const SurveyState& state, int point) {
    static const PointPlacement none;
    if (point < 1 || static_cast<std::size_t>(point) >= state.Placements.size()) {
        return none;
    }
    return state.Placements[static_cast<std::size_t>(point)];
}

std::vector<int> PointsUsed(const SurveyState& state, int point) {
    std::vector<int> points;
    for (const int number : PlacementOf(state, point).planSights) {
        points.push_back(OtherPointOf(state.SightTable[number], point));
    }
    return points;
}

int LevelledFrom(const SurveyState& state, int point) {
    const int sight = PlacementOf(state, point).heightSight;
    return sight == 0 ? 0 : OtherPointOf(state.SightTable[sight], point);
}

}  // namespace calctopo
