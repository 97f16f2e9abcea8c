#include "geometry/SightResiduals.h"

#include <cmath>

#include "data/GLOBAL.h"
#include "data/PointSights.h"
#include "data/ValueBounds.h"
#include "geometry/Primitives.h"

namespace calctopo {

SightResiduals SightResidualsOf(const SurveyState& state, int number, int point) {
    SightResiduals result;
    const Sight& sight = state.SightTable[number];
    const SurveyPoint& a = state.PointTable[sight.station];
    const SurveyPoint& b = state.PointTable[sight.target];
    const SurveyPoint& other = state.PointTable[OtherPointOf(sight, point)];
    if (other.planimetricKnown) {
        double bearing = 0.0;
        double computedDistance = 0.0;
        BearingAndDistanceBetween(a.x, a.y, b.x, b.y, bearing, computedDistance);
        if (sight.directionObs != 0 && sight.bearingKnown) {
            const double angle = NormalizeAngle(
                static_cast<double>(static_cast<long double>(sight.bearing) - bearing));
            result.misclosure = angle;
            result.computedDistance = computedDistance;
            const long double transverse =
                std::tan(static_cast<long double>(angle)) * computedDistance;
            if (std::fabs(transverse) <= kMaxLengthMagnitude) {
                result.transverse = static_cast<double>(transverse);
            }
        }
        if (sight.distanceObs != 0 && sight.horizontalDistanceKnown) {
            result.distance = static_cast<double>(
                static_cast<long double>(sight.horizontalDistance) - computedDistance);
        }
    }
    if (other.heightKnown && sight.zenithObs != 0 && sight.heightDifferenceKnown) {
        result.heightDifference =
            static_cast<double>(static_cast<long double>(sight.heightDifference) -
                                (static_cast<long double>(b.z) - a.z));
    }
    return result;
}

}  // namespace calctopo
