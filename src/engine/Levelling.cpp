#include "engine/Levelling.h"

#include <cstdint>
#include <span>

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "data/WindowServices.h"
#include "engine/CALCUL.h"
#include "engine/PointSights.h"
#include "geometry/Primitives.h"

namespace calctopo {

namespace {

void ReportLevelled(SurveyState& state, WindowServices& ui, int point, int from) {
    ui.Affiche(TextOf(texts::kLevelled, state.PointTable[point].name, state.PointTable[from].name),
               MessageKind::Info);
}

// The walk both levellings share: the first of `sights` with a known height
// difference whose far end (`farEnd` of the sight: the station of an incoming
// sight, the target of an outgoing one) has a known height gives the point
// carry(z of the far end, Δh). The list order decides which sight wins.
// Returns `method` when a height was stored, else NotDetermined.
int LevelAlong(SurveyState& state, WindowServices& ui, int point,
               std::span<const std::int32_t> sights, std::int32_t Sight::*farEnd,
               double (*carry)(double, double), int method) {
    for (const int number : sights) {
        const Sight& sight = state.SightTable[number];
        const int from = sight.*farEnd;
        const SurveyPoint& neighbour = state.PointTable[from];
        if (sight.heightDifferenceKnown && neighbour.heightKnown &&
            StoreHeight(state, point, carry(neighbour.z, sight.heightDifference), method, number)) {
            ReportLevelled(state, ui, point, from);
            return method;
        }
    }
    return NotDetermined;
}

}  // namespace

int LevelFromStation(SurveyState& state, WindowServices& ui, int point) {
    return LevelAlong(state, ui, point, IncomingSightsOf(state, point), &Sight::station,
                      AddHeightDifference, ByLevellingFromStation);
}

int LevelFromTarget(SurveyState& state, WindowServices& ui, int point) {
    return LevelAlong(state, ui, point, OutgoingSightsOf(state, point), &Sight::target,
                      SubtractHeightDifference, ByLevellingFromTarget);
}

}  // namespace calctopo
