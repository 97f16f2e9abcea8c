#include "output/RunMessages.h"

#include <string>
#include <vector>

#include "data/GLOBAL.h"
#include "data/MessagesComp.h"
#include "data/Placement.h"
#include "data/TextNumbers.h"
#include "data/WindowServices.h"

namespace calctopo {

namespace {

// The line of each plan method: the point, then the points it worked from
// (PointsUsed), as many as the method uses.
const std::string& PlanFormat(MethodKind method) {
    static const std::string radiated = Utf8ToCp1252("%8s rayonné de %8s");
    static const std::string intersected = Utf8ToCp1252("%8s intersecté de %8s et %s");
    static const std::string triangulated = Utf8ToCp1252("%8s triangulé de %8s et %s");
    static const std::string resected = Utf8ToCp1252("%8s relevé sur %8s , %8s , et %8s");
    static const std::string eccentric = Utf8ToCp1252("%8s excentré de %8s et %s");
    static const std::string trilaterated =
        Utf8ToCp1252("%8s trilatéré de %8s et %s contrôlé sur %8s");
    switch (method) {
        case MethodKind::Intersection:
            return intersected;
        case MethodKind::Triangulation:
            return triangulated;
        case MethodKind::Resection:
            return resected;
        case MethodKind::EccentricStation:
            return eccentric;
        case MethodKind::Trilateration:
            return trilaterated;
        default:
            return radiated;
    }
}

const std::string& MsgLevelled() {
    static const std::string text = Utf8ToCp1252("%8s nivellé de %8s");
    return text;
}

const std::string& MsgNothingDeterminable() {
    static const std::string text = Utf8ToCp1252("Aucun point ne peut être déterminé");
    return text;
}

const char* NameOf(const SurveyState& state, int point) {
    return state.PointTable[point].name.c_str();
}

}  // namespace

void RunMessages::PointPlaced(SurveyState& state, int point, MethodKind method) {
    const std::vector<int> used = PointsUsed(state, point);
    const char* format = PlanFormat(method).c_str();
    std::string line;
    switch (used.size()) {
        case 1:
            line = Format(format, NameOf(state, point), NameOf(state, used[0]));
            break;
        case 2:
            line = Format(format, NameOf(state, point), NameOf(state, used[0]),
                          NameOf(state, used[1]));
            break;
        case 3:
            line = Format(format, NameOf(state, point), NameOf(state, used[0]),
                          NameOf(state, used[1]), NameOf(state, used[2]));
            break;
        default:
            return;  // not a method's placement: nothing to name
    }
    ui_.Affiche(line, MessageKind::Info);
}

void RunMessages::PointLevelled(SurveyState& state, int point, MethodKind /*method*/) {
    const int from = LevelledFrom(state, point);
    if (from == 0) {
        return;
    }
    ui_.Affiche(Format(MsgLevelled().c_str(), NameOf(state, point), NameOf(state, from)),
                MessageKind::Info);
}

void RunMessages::PointDetermined(SurveyState& state, int point) {
    ui_.Affiche(Format(MsgPointComputed().c_str(), NameOf(state, point)), MessageKind::Computed);
}

void RunMessages::PointNotComputed(SurveyState& state, int point) {
    ui_.Affiche(Format(MsgPointNotComputed().c_str(), NameOf(state, point)), MessageKind::Problem);
}

void RunMessages::NothingDeterminable(SurveyState& /*state*/) {
    ui_.MessageBox(MsgNothingDeterminable());
}

}  // namespace calctopo
