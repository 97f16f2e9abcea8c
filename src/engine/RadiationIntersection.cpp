#include "engine/RadiationIntersection.h"

#include "data/GLOBAL.h"
#include "data/PairingRules.h"
#include "data/PointSights.h"
#include "engine/CALCUL.h"
#include "geometry/Angles.h"
#include "geometry/Primitives.h"

namespace calctopo {

namespace {

bool IsPlaced(const SurveyState& state, int point) {
    return state.PointTable[point].planimetricKnown;
}

// Polar point from the reference R with bearing G (radians) and horizontal
// distance D; stores it. False when the result is not finite.
bool PlaceByRadiation(SurveyState& state, int point, int sightNumber, int reference, double bearing,
                      double distance) {
    const SurveyPoint& from = state.PointTable[reference];
    double x = 0.0;
    double y = 0.0;
    PolarPoint(from.x, from.y, distance, bearing, x, y);
    return StorePlanPosition(state, point, x, y, ByRadiation, {sightNumber});
}

}  // namespace

int TryRadiation(SurveyState& state, int point) {
    // A placed station that measured bearing and distance towards the point.
    for (const int number : IncomingSightsOf(state, point)) {
        const Sight& sight = state.SightTable[number];
        if (sight.bearingKnown && sight.horizontalDistanceKnown && IsPlaced(state, sight.station) &&
            PlaceByRadiation(state, point, number, sight.station, sight.bearing,
                             sight.horizontalDistance)) {
            return ByRadiation;
        }
    }
    // The point as a station towards a placed target: the bearing back from the
    // target is the sight's bearing plus a half turn, not reduced to one turn.
    for (const int number : OutgoingSightsOf(state, point)) {
        const Sight& sight = state.SightTable[number];
        if (sight.bearingKnown && sight.horizontalDistanceKnown && IsPlaced(state, sight.target)) {
            const double back = static_cast<double>(sight.bearing + kPi);
            if (PlaceByRadiation(state, point, number, sight.target, back,
                                 sight.horizontalDistance)) {
                return ByRadiation;
            }
        }
    }
    return NotDetermined;
}

int TryIntersection(SurveyState& state, int point) {
    // The first qualifying sight is paired with each later one in turn; pairs
    // without it are never formed.
    int first = 0;
    for (const int number : IncomingSightsOf(state, point)) {
        const Sight& sight = state.SightTable[number];
        if (!sight.bearingKnown || !IsPlaced(state, sight.station)) {
            continue;
        }
        if (first == 0) {
            first = number;
            continue;
        }
        const Sight& base = state.SightTable[first];
        if (SamePoint(sight.station, base.station) ||
            !CheckIntersectionAngle(base.bearing, sight.bearing)) {
            continue;
        }
        const SurveyPoint& s1 = state.PointTable[base.station];
        const SurveyPoint& sk = state.PointTable[sight.station];
        double x = 0.0;
        double y = 0.0;
        if (!IntersectBearings(s1.x, s1.y, base.bearing, sk.x, sk.y, sight.bearing, x, y) ||
            !StorePlanPosition(state, point, x, y, ByIntersection, {first, number})) {
            continue;
        }
        return ByIntersection;
    }
    return NotDetermined;
}

}  // namespace calctopo
