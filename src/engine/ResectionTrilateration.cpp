#include "engine/ResectionTrilateration.h"

#include <algorithm>
#include <vector>

#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "data/WindowServices.h"
#include "engine/CALCUL.h"
#include "engine/CandidateWalks.h"
#include "engine/PointSights.h"
#include "geometry/Primitives.h"
#include "geometry/Resection.h"

namespace calctopo {

namespace {

// The control that picks one of the two intersections of the distance circles.
struct TrilaterationCandidates {
    std::vector<int> sights;  // distance candidates, in the order met
    std::vector<int> others;  // their other points, in step
    int control = 0;          // sight number, 0 = none
    int controlKind = 0;      // TrilaterationControl
};

bool AlreadyCandidate(const TrilaterationCandidates& found, int other) {
    return std::find(found.others.begin(), found.others.end(), other) != found.others.end();
}

void AppendCandidate(TrilaterationCandidates& found, int number, int other) {
    found.sights.push_back(number);
    found.others.push_back(other);
}

// First walk: distances measured from placed stations to the point, and the
// first bearing from a given or determined station as a provisional control.
// A station that already gave a distance is passed over as a candidate: a
// repeated sight carries the same circle.
void CollectIncoming(const SurveyState& state, int point, TrilaterationCandidates& found) {
    for (const int number : IncomingSightsOf(state, point)) {
        const Sight& sight = state.SightTable[number];
        const SurveyPoint& station = state.PointTable[sight.station];
        if (sight.horizontalDistanceKnown && station.planimetricKnown &&
            !AlreadyCandidate(found, sight.station)) {
            AppendCandidate(found, number, sight.station);
        }
        if (found.sights.size() == 3) {
            found.control = found.sights[2];
            found.controlKind = ControlByDistance;
        } else if (found.control == 0 && sight.bearingKnown && station.status != StatusUnknown) {
            found.control = number;
            found.controlKind = ControlByBearing;
        }
    }
}

// Second walk: distances measured from the point to given or determined targets.
void CollectOutgoing(const SurveyState& state, int point, TrilaterationCandidates& found) {
    for (const int number : OutgoingSightsOf(state, point)) {
        const Sight& sight = state.SightTable[number];
        if (state.PointTable[sight.target].status == StatusUnknown ||
            !sight.horizontalDistanceKnown || AlreadyCandidate(found, sight.target)) {
            continue;
        }
        AppendCandidate(found, number, sight.target);
        if (found.sights.size() >= 3 && found.control == 0) {
            found.control = number;
            found.controlKind = ControlByDistance;
        }
    }
}

}  // namespace

int TryResection(SurveyState& state, WindowServices& ui, int point) {
    // Triples (i, j, j + 1) read in one round (a common zero that cancels)
    // towards three different points; the third member always follows the
    // second.
    const std::vector<ReadingCandidate> candidates =
        ReadingCandidatesOf(state, ReadingsTowardsPlacedTargets(state, point));
    const bool placed =
        ForEachChainedTriple(candidates, [&](std::size_t i, std::size_t j, std::size_t k) {
            const Sight& s1 = state.SightTable[candidates[i].sight];
            const Sight& s2 = state.SightTable[candidates[j].sight];
            const Sight& s3 = state.SightTable[candidates[k].sight];
            const SurveyPoint& p1 = state.PointTable[s1.target];
            const SurveyPoint& p2 = state.PointTable[s2.target];
            const SurveyPoint& p3 = state.PointTable[s3.target];
            const double r1 = ReadingOf(state, s1);
            const double r2 = ReadingOf(state, s2);
            const double r3 = ReadingOf(state, s3);
            if (!CheckResection(p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, r1, r2, r3)) {
                return false;
            }
            double x = 0.0;
            double y = 0.0;
            if (!ResectionPoint(p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, r1, r2, r3, x, y) ||
                !StorePlanPosition(state, point, x, y, ByResection,
                                   {candidates[i].sight, candidates[j].sight,
                                    candidates[k].sight})) {
                return false;
            }
            ui.Affiche(TextOf(texts::kResected, state.PointTable[point].name,
                              p1.name, p2.name, p3.name),
                       MessageKind::Info);
            return true;
        });
    return placed ? ByResection : NotDetermined;
}

int TryTrilateration(SurveyState& state, WindowServices& ui, int point) {
    TrilaterationCandidates found;
    CollectIncoming(state, point, found);
    const std::size_t n = found.sights.size();
    if ((found.control == 0 && n < 3) || (found.control != 0 && n < 2)) {
        CollectOutgoing(state, point, found);
    }
    if (found.control == 0 || found.sights.size() < 2) {
        return NotDetermined;
    }
    const Sight& first = state.SightTable[found.sights[0]];
    const Sight& second = state.SightTable[found.sights[1]];
    const Sight& control = state.SightTable[found.control];
    const int i1 = found.others[0];
    const int i2 = found.others[1];
    const int i3 = OtherPointOf(control, point);
    const SurveyPoint& p1 = state.PointTable[i1];
    const SurveyPoint& p2 = state.PointTable[i2];
    const SurveyPoint& p3 = state.PointTable[i3];
    if (p1.x == p2.x && p1.y == p2.y) {
        return NotDetermined;
    }
    // The control value: the distance between the point and P3, or the bearing
    // from P3 towards the point, which the solver compares modulo a full turn
    // (a bearing near north may read just under 2π or be negative).
    const double controlValue =
        found.controlKind == ControlByBearing ? control.bearing : control.horizontalDistance;
    double x = 0.0;
    double y = 0.0;
    const bool solved =
        TrilateratedPoint(found.controlKind, p1.x, p1.y, p2.x, p2.y, first.horizontalDistance,
                          second.horizontalDistance, p3.x, p3.y, controlValue, x, y);
    if (!solved || !StorePlanPosition(state, point, x, y, ByTrilateration,
                                      {found.sights[0], found.sights[1], found.control})) {
        return NotDetermined;
    }
    ui.Affiche(TextOf(texts::kTrilaterated, state.PointTable[point].name,
                      p1.name, p2.name, p3.name),
               MessageKind::Info);
    return ByTrilateration;
}

}  // namespace calctopo
