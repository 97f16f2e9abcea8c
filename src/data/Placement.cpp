#include "data/Placement.h"

#include <utility>

#include "data/GLOBAL.h"

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
}

void RecordHeightPlacement(SurveyState& state, int point, int method, int sight) {
    PointPlacement& placement = Slot(state, point);
    placement.heightMethod = method;
    placement.heightSight = sight;
}

const PointPlacement& PlacementOf(const SurveyState& state, int point) {
    static const PointPlacement none;
    if (point < 1 || static_cast<std::size_t>(point) >= state.Placements.size()) {
        return none;
    }
    return state.Placements[static_cast<std::size_t>(point)];
}

}  // namespace calctopo
