#include "output/RunMessages.h"

#include <string>
#include <string_view>
#include <vector>

#include "data/GLOBAL.h"
#include "data/Placement.h"
#include "data/UserTexts.h"
#include "data/WindowServices.h"

namespace calctopo {

namespace {

using ThreeNames = Text<std::string_view, std::string_view, std::string_view>;

const std::string& NameOf(const SurveyState& state, int point) {
    return state.PointTable[point].name;
}

// The line of a plan method from one point (radiation), two (intersection,
// triangulation, eccentric station) or three (resection, trilateration with
// the point that controlled it); empty when the placement names another
// number of points (not a method's placement: nothing to name).
std::string PlanLine(const SurveyState& state, int point, MethodKind method,
                     const std::vector<int>& used) {
    const std::string& name = NameOf(state, point);
    if (method == MethodKind::Radiation || used.size() == 1) {
        return used.size() == 1 ? TextOf(texts::kRadiated, name, NameOf(state, used[0]))
                                : std::string();
    }
    if (used.size() == 2) {
        const ThreeNames& text = method == MethodKind::Intersection    ? texts::kIntersected
                                 : method == MethodKind::Triangulation ? texts::kTriangulated
                                                                       : texts::kEccentric;
        return TextOf(text, name, NameOf(state, used[0]), NameOf(state, used[1]));
    }
    if (used.size() == 3) {
        const auto& first = NameOf(state, used[0]);
        const auto& second = NameOf(state, used[1]);
        const auto& third = NameOf(state, used[2]);
        return method == MethodKind::Trilateration
                   ? TextOf(texts::kTrilaterated, name, first, second, third)
                   : TextOf(texts::kResected, name, first, second, third);
    }
    return {};
}

}  // namespace

void RunMessages::PointPlaced(SurveyState& state, int point, MethodKind method) {
    const std::string line = PlanLine(state, point, method, PointsUsed(state, point));
    if (!line.empty()) {
        ui_.Affiche(line, MessageKind::Info);
    }
}

void RunMessages::PointLevelled(SurveyState& state, int point, MethodKind /*method*/) {
    const int from = LevelledFrom(state, point);
    if (from == 0) {
        return;
    }
    ui_.Affiche(TextOf(texts::kLevelled, NameOf(state, point), NameOf(state, from)),
                MessageKind::Info);
}

void RunMessages::PointDetermined(SurveyState& state, int point) {
    ui_.Affiche(TextOf(texts::kPointComputed, NameOf(state, point)), MessageKind::Computed);
}

void RunMessages::PointNotComputed(SurveyState& state, int point) {
    ui_.Affiche(TextOf(texts::kPointNotComputed, NameOf(state, point)), MessageKind::Problem);
}

void RunMessages::NothingDeterminable(SurveyState& /*state*/) {
    ui_.MessageBox(TextOf(texts::kNothingDeterminable));
}

}  // namespace calctopo
