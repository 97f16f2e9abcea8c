#include "engine/Levelling.h"

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "data/WindowServices.h"
#include "engine/CALCUL.h"
#include "engine/PointSights.h"
#include "geometry/Primitives.h"

namespace calctopo {

namespace {

const std::string& MsgLevelled() {
    static const std::string text = Utf8ToCp1252("%8s nivellé de %8s");
    return text;
}

void ReportLevelled(SurveyState& state, WindowServices& ui, int point, int from) {
    ui.Affiche(Format(MsgLevelled().c_str(), state.PointTable[point].name.c_str(),
                      state.PointTable[from].name.c_str()),
               MessageKind::Info);
}

}  // namespace

int LevelFromStation(SurveyState& state, WindowServices& ui, int point) {
    for (const int number : IncomingSightsOf(state, point)) {
        const Sight& sight = state.SightTable[number];
        const SurveyPoint& station = state.PointTable[sight.station];
        if (sight.heightDifferenceKnown && station.heightKnown &&
            StoreHeight(state, point, AddHeightDifference(station.z, sight.heightDifference))) {
            ReportLevelled(state, ui, point, sight.station);
            return ByLevellingFromStation;
        }
    }
    return NotDetermined;
}

int LevelFromTarget(SurveyState& state, WindowServices& ui, int point) {
    for (const int number : OutgoingSightsOf(state, point)) {
        const Sight& sight = state.SightTable[number];
        const SurveyPoint& target = state.PointTable[sight.target];
        if (sight.heightDifferenceKnown && target.heightKnown &&
            StoreHeight(state, point, SubtractHeightDifference(target.z, sight.heightDifference))) {
            ReportLevelled(state, ui, point, sight.target);
            return ByLevellingFromTarget;
        }
    }
    return NotDetermined;
}

}  // namespace calctopo
