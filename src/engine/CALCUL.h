// The determination engine: from the start point, pass after pass, every
// neighbour still undetermined is placed and levelled by the first method that
// can.
#pragma once

#include <vector>

namespace calctopo {

struct SurveyState;
class WindowServices;

// Result of every determination method.
enum MethodResult : int {
    NotDetermined = 0,
    ByRadiation = 1,
    ByLevellingFromStation = 2,
    ByLevellingFromTarget = 3,
    ByIntersection = 4,
    ByTriangulationOrEccentric = 5,
    ByResection = 6,
    ByTrilateration = 7,
};

// Not a method's result: how the placement record marks a point that the
// extended stage placed by bringing in a local block.
constexpr int kPlacedByExtendedStage = 8;

// The one signature of every method: the point index in, a MethodResult out. A
// non-zero result means the method stored its result in the point and wrote
// its line to the message pane.
using DeterminationMethod = int (*)(SurveyState& state, WindowServices& ui, int point);

// A whole run from the start point chosen in the start-point list.
void RunDetermination(SurveyState& state, WindowServices& ui);

// The given-centre sweep of pass `pass` (the list is not changed).
void SweepGivenCentres(SurveyState& state, WindowServices& ui, int pass,
                       const std::vector<int>& givenCentres);

// The centre sweep of pass `pass`; empties and refills the given-centre list.
void SweepPass(SurveyState& state, WindowServices& ui, int pass, std::vector<int>& givenCentres);

// One attempt to complete a point; true when its plan and height are now known.
bool DeterminePoint(SurveyState& state, WindowServices& ui, int point);

}  // namespace calctopo
