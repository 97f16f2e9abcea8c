#include "data/Saisie.h"

#include "data/GLOBAL.h"
#include "data/WindowServices.h"

namespace calctopo {

void SelectStartPoint(SurveyState& state, WindowServices& ui) {
    if (state.PointCount() == 0) {
        return;
    }
    // Names are compared exactly, letter case included; a name given twice in
    // the coordinates file is the first of its points. A text that names no
    // point keeps the previous choice.
    const int point = FindPoint(state, ui.StartPointText());
    if (point != 0) {
        state.StartPointIndex = point;
    }
}

}  // namespace calctopo
