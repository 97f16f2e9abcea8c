// The determination engine: from the start point, pass after pass, every
// neighbour still undetermined is placed and levelled by the first method that
// can. The driver writes nothing: what it does is announced to a RunObserver.
#pragma once

#include <vector>

namespace calctopo {

struct SurveyState;
class RunObserver;

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
// non-zero result means the method stored its result in the point, with its
// placement (data/Placement.h); the driver announces it.
using DeterminationMethod = int (*)(SurveyState& state, int point);

// A whole run from `startPoint` (a point index). A start point that is not a
// point of this load (0: no name matched) keeps the one chosen before; when
// that names no loaded point either, nothing runs.
void RunDetermination(SurveyState& state, RunObserver& observer, int startPoint);

// The given-centre sweep of pass `pass` (the list is not changed).
void SweepGivenCentres(SurveyState& state, RunObserver& observer, int pass,
                       const std::vector<int>& givenCentres);

// The centre sweep of pass `pass`; empties and refills the given-centre list.
void SweepPass(SurveyState& state, RunObserver& observer, int pass, std::vector<int>& givenCentres);

// One attempt to complete a point; true when its plan and height are now known
// (announced as PointCompleted, not yet PointDetermined).
bool DeterminePoint(SurveyState& state, RunObserver& observer, int point);

}  // namespace calctopo
