#include "check/CheckSketch.h"

#include <string>
#include <vector>

#include "data/GLOBAL.h"
#include "data/Placement.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "engine/CALCUL.h"

namespace calctopo {

namespace {

// The sketch's class of a plan method. Triangulation and eccentric station
// share one result code, so the sketch cannot tell them apart yet and shows
// neither name rather than a wrong one.
SketchMethod PlanMethodOf(int method) {
    switch (method) {
        case ByRadiation:
            return SketchMethod::Radiation;
        case ByIntersection:
            return SketchMethod::Intersection;
        case ByResection:
            return SketchMethod::Resection;
        case ByTrilateration:
            return SketchMethod::Trilateration;
        case kPlacedByExtendedStage:
            return SketchMethod::ExtendedStage;
        default:
            return SketchMethod::None;
    }
}

SketchMethod HeightMethodOf(int method) {
    switch (method) {
        case ByLevellingFromStation:
            return SketchMethod::LevelFromStation;
        case ByLevellingFromTarget:
            return SketchMethod::LevelFromTarget;
        default:
            return SketchMethod::None;
    }
}

std::vector<SketchPlacement> Placements(const SurveyState& state, const DataCheckResult& check) {
    std::vector<SketchPlacement> placements;
    for (const PointCheck& point : check.points) {
        const PointPlacement& placement = PlacementOf(state, point.point);
        if (placement.planMethod == 0 && placement.heightMethod == 0) {
            continue;
        }
        SketchPlacement drawn;
        drawn.point = point.point;
        drawn.plan = PlanMethodOf(placement.planMethod);
        drawn.height = HeightMethodOf(placement.heightMethod);
        for (const int from : point.planFrom) {
            if (from >= 1 && from <= state.PointCount()) {
                drawn.from += (drawn.from.empty() ? "" : ", ") + state.PointTable[from].name;
            }
        }
        placements.push_back(std::move(drawn));
    }
    return placements;
}

// "écart 0.100 (1.67 × la tolérance)".
std::string Figures(const ObservationCheck& observation) {
    return TextOf(texts::kSketchFigures,
                  FormatFixed(observation.residual, IsAngleKind(observation.kind) ? 4 : 3),
                  FormatFixed(observation.normalised, 2));
}

// What to look at for a suspect point: the observation whose removal explains
// it (its kind and its other point), or its own coordinates.
std::string Culprit(const SurveyState& state, const PointCheck& point,
                    const DataCheckResult& check) {
    if (point.culpritIsCoordinates) {
        return TextOf(texts::kSketchCulpritCoordinates);
    }
    if (point.culprit < 0) {
        return TextOf(texts::kSketchDisagreeing);
    }
    const ObservationCheck& culprit = check.observations[static_cast<std::size_t>(point.culprit)];
    return TextOf(texts::kSketchCulprit, KindText(culprit.kind),
                  state.PointTable[culprit.station].name, state.PointTable[culprit.target].name);
}

std::vector<SketchVerdict> Verdicts(const SurveyState& state, const DataCheckResult& check) {
    std::vector<SketchVerdict> verdicts;
    for (const ObservationCheck& observation : check.observations) {
        if (observation.verdict == CheckVerdict::Suspect) {
            verdicts.push_back(SketchVerdict{observation.station, observation.target,
                                             KindText(observation.kind), Figures(observation)});
        }
    }
    for (const PointCheck& point : check.points) {
        if (point.verdict == CheckVerdict::Suspect) {
            verdicts.push_back(SketchVerdict{
                point.point, 0, Culprit(state, point, check),
                TextOf(texts::kSketchNormalised, FormatFixed(point.maxNormalised, 2))});
        }
    }
    return verdicts;
}

}  // namespace

SketchModel BuildCheckedSketch(const SurveyState& state, const DataCheckResult& check) {
    SketchModel model = BuildSketch(state);
    ApplyPlacements(model, Placements(state, check));
    ApplyCheckVerdicts(model, Verdicts(state, check));
    return model;
}

}  // namespace calctopo
