#include "engine/TriangulationEccentric.h"

#include <vector>

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "data/WindowServices.h"
#include "engine/CALCUL.h"
#include "engine/CandidateWalks.h"
#include "engine/PointSights.h"
#include "geometry/Primitives.h"

namespace calctopo {

namespace {

// The angle at the station from the sight a to the sight b: reading of b
// minus reading of a, as the two readings stand (radians).
double AngleBetween(const SurveyState& state, const Sight& a, const Sight& b) {
    return static_cast<double>(static_cast<long double>(ReadingOf(state, b)) -
                               static_cast<long double>(ReadingOf(state, a)));
}

void ReportPlaced(SurveyState& state, WindowServices& ui,
                  const Text<std::string_view, std::string_view, std::string_view>& text, int point,
                  int a, int b) {
    ui.Affiche(TextOf(text, state.PointTable[point].name, state.PointTable[a].name,
                      state.PointTable[b].name),
               MessageKind::Info);
}

}  // namespace

int TryTriangulation(SurveyState& state, WindowServices& ui, int point) {
    std::vector<int> withDistance;
    for (const int number : ReadingsTowardsPlacedTargets(state, point)) {
        if (state.SightTable[number].horizontalDistanceKnown) {
            withDistance.push_back(number);
        }
    }
    // Pairs of readings of one round towards two differently named points.
    const std::vector<ReadingCandidate> candidates = ReadingCandidatesOf(state, withDistance);
    const bool placed = ForEachForwardPair(candidates, [&](std::size_t i, std::size_t j) {
        const Sight& toA = state.SightTable[candidates[i].sight];
        const Sight& toB = state.SightTable[candidates[j].sight];
        const SurveyPoint& a = state.PointTable[toA.target];
        const SurveyPoint& b = state.PointTable[toB.target];
        double x = 0.0;
        double y = 0.0;
        if (!TriangulatedPoint(a.x, a.y, b.x, b.y, AngleBetween(state, toA, toB),
                               toA.horizontalDistance, toB.horizontalDistance, x, y) ||
            !StorePlanPosition(state, point, x, y, ByTriangulationOrEccentric,
                               {candidates[i].sight, candidates[j].sight})) {
            return false;
        }
        ReportPlaced(state, ui, texts::kTriangulated, point, toA.target, toB.target);
        return true;
    });
    return placed ? ByTriangulationOrEccentric : NotDetermined;
}

int TryEccentricStation(SurveyState& state, WindowServices& ui, int point) {
    const std::vector<ReadingCandidate> candidates =
        ReadingCandidatesOf(state, ReadingsTowardsPlacedTargets(state, point));
    std::vector<std::size_t> withDistance;
    for (std::size_t k = 0; k < candidates.size(); ++k) {
        if (state.SightTable[candidates[k].sight].horizontalDistanceKnown) {
            withDistance.push_back(k);
        }
    }
    if (withDistance.empty() || candidates.size() < 2) {
        return NotDetermined;
    }
    // For each short distance to A, every other reading of its round in turn
    // orients it.
    const bool placed =
        ForEachCrossPair(candidates, withDistance, [&](std::size_t first, std::size_t other) {
            const Sight& toA = state.SightTable[candidates[first].sight];
            const Sight& toB = state.SightTable[candidates[other].sight];
            const SurveyPoint& a = state.PointTable[toA.target];
            const SurveyPoint& b = state.PointTable[toB.target];
            if (!EccentricDistanceFits(a.x, a.y, b.x, b.y, toA.horizontalDistance)) {
                return false;
            }
            double x = 0.0;
            double y = 0.0;
            if (!EccentricPoint(a.x, a.y, b.x, b.y, ReadingOf(state, toA), ReadingOf(state, toB),
                                toA.horizontalDistance, x, y) ||
                !StorePlanPosition(state, point, x, y, ByTriangulationOrEccentric,
                                   {candidates[first].sight, candidates[other].sight})) {
                return false;
            }
            ReportPlaced(state, ui, texts::kEccentric, point, toA.target, toB.target);
            return true;
        });
    return placed ? ByTriangulationOrEccentric : NotDetermined;
}

}  // namespace calctopo
