#include "data/Saisie.h"

#include "data/GLOBAL.h"

namespace calctopo {

int FindStartPoint(const SurveyState& state, const std::string& name) {
    if (state.PointCount() == 0) {
        return 0;
    }
    return FindPoint(state, name);
}

}  // namespace calctopo
