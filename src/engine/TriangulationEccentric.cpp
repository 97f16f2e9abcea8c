#include "engine/TriangulationEccentric.h"

#include <vector>

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "data/WindowServices.h"
#include "engine/CALCUL.h"
#include "engine/PointSights.h"
#include "geometry/Primitives.h"

namespace calctopo {

namespace {

const std::string& MsgTriangulated() {
    static const std::string text = Utf8ToCp1252("%8s triangulé de %8s et %s");
    return text;
}

const std::string& MsgEccentric() {
    static const std::string text = Utf8ToCp1252("%8s excentré de %8s et %s");
    return text;
}

// Two readings make an angle only when they belong to the same round: each
// round has its own zero, so readings of two rounds differ by an unknown
// constant.
bool SameRound(const SurveyState& state, const Sight& a, const Sight& b) {
    return RoundOf(state, a) == RoundOf(state, b);
}

// The angle at the station from the sight a to the sight b: reading of b
// minus reading of a, as the two readings stand (radians).
double AngleBetween(const SurveyState& state, const Sight& a, const Sight& b) {
    return static_cast<double>(static_cast<long double>(ReadingOf(state, b)) -
                               static_cast<long double>(ReadingOf(state, a)));
}

void ReportPlaced(SurveyState& state, WindowServices& ui, const std::string& format, int point,
                  int a, int b) {
    ui.Affiche(Format(format.c_str(), state.PointTable[point].name.c_str(),
                      state.PointTable[a].name.c_str(), state.PointTable[b].name.c_str()),
               MessageKind::Info);
}

}  // namespace

int TryTriangulation(SurveyState& state, WindowServices& ui, int point) {
    std::vector<int> candidates;
    for (const int number : ReadingsTowardsPlacedTargets(state, point)) {
        if (state.SightTable[number].horizontalDistanceKnown) {
            candidates.push_back(number);
        }
    }
    const std::size_t n = candidates.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const Sight& toA = state.SightTable[candidates[i]];
        for (std::size_t j = i + 1; j < n; ++j) {
            const Sight& toB = state.SightTable[candidates[j]];
            const SurveyPoint& a = state.PointTable[toA.target];
            const SurveyPoint& b = state.PointTable[toB.target];
            if (a.name == b.name || !SameRound(state, toA, toB)) {
                continue;
            }
            double x = 0.0;
            double y = 0.0;
            if (!TriangulatedPoint(a.x, a.y, b.x, b.y, AngleBetween(state, toA, toB),
                                   toA.horizontalDistance, toB.horizontalDistance, x, y) ||
                !StorePlanPosition(state, point, x, y, ByTriangulationOrEccentric,
                                   {candidates[i], candidates[j]})) {
                continue;
            }
            ReportPlaced(state, ui, MsgTriangulated(), point, toA.target, toB.target);
            return ByTriangulationOrEccentric;
        }
    }
    return NotDetermined;
}

int TryEccentricStation(SurveyState& state, WindowServices& ui, int point) {
    const std::vector<int> all = ReadingsTowardsPlacedTargets(state, point);
    std::vector<int> withDistance;
    for (const int number : all) {
        if (state.SightTable[number].horizontalDistanceKnown) {
            withDistance.push_back(number);
        }
    }
    if (withDistance.empty() || all.size() < 2) {
        return NotDetermined;
    }
    // For each short distance to A, every other reading in turn orients it.
    for (const int numberA : withDistance) {
        const Sight& toA = state.SightTable[numberA];
        const SurveyPoint& a = state.PointTable[toA.target];
        for (const int numberB : all) {
            const Sight& toB = state.SightTable[numberB];
            const SurveyPoint& b = state.PointTable[toB.target];
            if (b.name == a.name || !SameRound(state, toA, toB) ||
                !EccentricDistanceFits(a.x, a.y, b.x, b.y, toA.horizontalDistance)) {
                continue;
            }
            double x = 0.0;
            double y = 0.0;
            if (!EccentricPoint(a.x, a.y, b.x, b.y, ReadingOf(state, toA), ReadingOf(state, toB),
                                toA.horizontalDistance, x, y) ||
                !StorePlanPosition(state, point, x, y, ByTriangulationOrEccentric,
                                   {numberA, numberB})) {
                continue;
            }
            ReportPlaced(state, ui, MsgEccentric(), point, toA.target, toB.target);
            return ByTriangulationOrEccentric;
        }
    }
    return NotDetermined;
}

}  // namespace calctopo
