#include "geometry/SightDerivation.h"

#include <cmath>
#include <cstddef>

#include "data/GLOBAL.h"
#include "data/PairingRules.h"
#include "geometry/Angles.h"
#include "geometry/IncrementalDerivation.h"
#include "geometry/Primitives.h"

namespace calctopo {

namespace {

// A zenith angle closer than this to π/2 (radians) makes the line of sight too
// flat for its height difference to give the horizontal distance: tan z grows
// without bound and the smallest error in the height difference is multiplied
// by it (0.01 rad ≈ 0.64 grade gives a factor of about 100).
constexpr long double kFlatSightZenithMargin = 0.01L;

// What one sight can draw on: its observations and the round of its direction.
struct SightContext {
    Sight& sight;
    const SurveyPoint& station;
    const SurveyPoint& target;
    const DistanceObservation* distance;  // nullptr: no distance observed
    const ZenithObservation* zenith;      // nullptr: no zenith angle observed
    StationRound* round;                  // nullptr: no direction, or read outside any round
    double reading;                       // the direction reading when round is set
};

SightContext ContextOf(SurveyState& state, int number) {
    Sight& sight = state.SightTable[number];
    SightContext context{sight,
                         state.PointTable[sight.station],
                         state.PointTable[sight.target],
                         nullptr,
                         nullptr,
                         nullptr,
                         0.0};
    if (sight.distanceObs != 0) {
        context.distance = &state.DistanceTable[sight.distanceObs];
    }
    if (sight.zenithObs != 0) {
        context.zenith = &state.ZenithTable[sight.zenithObs];
    }
    if (sight.directionObs != 0) {
        const DirectionObservation& direction = state.DirectionTable[sight.directionObs];
        if (HasRoundToOrient(direction.roundNumber)) {
            context.round = &state.RoundTable[direction.roundNumber];
            context.reading = direction.value;
        }
    }
    return context;
}

bool Finite(long double value) {
    return std::isfinite(value);
}

// Records a value a rule derived, with its flag, unless it is not finite: an
// overflow or a NaN would otherwise feed every later rule. True when recorded.
bool Record(double& value, bool& known, long double derived) {
    if (!Finite(derived)) {
        return false;
    }
    value = static_cast<double>(derived);
    known = true;
    return true;
}

// a. A known bearing on a sight of a round that is not yet oriented orients it.
// The orientation is left as it falls, negative or not.
bool OrientRoundFromBearing(SightContext& c) {
    if (c.round == nullptr || c.round->orientationKnown || !c.sight.bearingKnown) {
        return false;
    }
    const long double orientation =
        static_cast<long double>(c.sight.bearing) - static_cast<long double>(c.reading);
    return Record(c.round->orientation, c.round->orientationKnown, orientation);
}

// b. Two known heights give the height difference.
bool HeightDifferenceFromHeights(SightContext& c) {
    if (c.sight.heightDifferenceKnown || !c.station.heightKnown || !c.target.heightKnown) {
        return false;
    }
    return Record(c.sight.heightDifference, c.sight.heightDifferenceKnown,
                  HeightDifferenceOfPoints(c.station.z, c.target.z));
}

// c. Two known positions give bearing and distance, both taken from the
// coordinates as soon as either is missing; the round of the sight, when not
// yet oriented, is oriented on the same line (folded once above 0).
bool BearingAndDistanceFromPositions(SightContext& c) {
    if ((c.sight.bearingKnown && c.sight.horizontalDistanceKnown) || !c.station.planimetricKnown ||
        !c.target.planimetricKnown) {
        return false;
    }
    double bearing = 0.0;
    double distance = 0.0;
    BearingAndDistanceBetween(c.station.x, c.station.y, c.target.x, c.target.y, bearing, distance);
    if (!Finite(bearing) || !Finite(distance)) {
        return false;
    }
    c.sight.bearing = bearing;
    c.sight.horizontalDistance = distance;
    c.sight.bearingKnown = true;
    c.sight.horizontalDistanceKnown = true;
    if (c.round != nullptr && !c.round->orientationKnown) {
        long double orientation =
            OrientationFromDirection(c.station.x, c.station.y, c.reading, c.target.x, c.target.y);
        if (orientation < 0.0L) {
            orientation += kTwoPi;
        }
        Record(c.round->orientation, c.round->orientationKnown, orientation);
    }
    return true;
}

// d. A distance and a zenith angle measured on the sight give the height
// difference, with the curvature and refraction term.
bool HeightDifferenceFromDistanceAndZenith(SightContext& c) {
    if (c.sight.heightDifferenceKnown || c.distance == nullptr || c.zenith == nullptr) {
        return false;
    }
    double heightDifference = 0.0;
    if (c.distance->isHorizontal) {
        if (!HeightDifferenceFromHorizontal(c.distance->value, c.zenith->value,
                                            c.zenith->instrumentHeight, c.zenith->targetHeight,
                                            heightDifference)) {
            return false;
        }
    } else {
        heightDifference = HeightDifferenceFromSlope(
            c.distance->value, c.zenith->value, c.zenith->instrumentHeight, c.zenith->targetHeight);
    }
    return Record(c.sight.heightDifference, c.sight.heightDifferenceKnown, heightDifference);
}

// e. A horizontal distance known by any means and a zenith angle give the
// height difference.
bool HeightDifferenceFromKnownDistance(SightContext& c) {
    if (c.sight.heightDifferenceKnown || !c.sight.horizontalDistanceKnown || c.zenith == nullptr) {
        return false;
    }
    double heightDifference = 0.0;
    if (!HeightDifferenceFromHorizontal(c.sight.horizontalDistance, c.zenith->value,
                                        c.zenith->instrumentHeight, c.zenith->targetHeight,
                                        heightDifference)) {
        return false;
    }
    return Record(c.sight.heightDifference, c.sight.heightDifferenceKnown, heightDifference);
}

// f. A slope distance reduced to the horizontal with its zenith angle.
bool HorizontalFromDistanceAndZenith(SightContext& c) {
    if (c.sight.horizontalDistanceKnown || c.distance == nullptr || c.zenith == nullptr) {
        return false;
    }
    return Record(c.sight.horizontalDistance, c.sight.horizontalDistanceKnown,
                  HorizontalFromSlope(c.distance->value, c.zenith->value));
}

// g. The height difference and the zenith angle give the horizontal distance,
// without curvature term, on a sight that is steep enough.
bool HorizontalFromHeightDifferenceAndZenith(SightContext& c) {
    if (c.sight.horizontalDistanceKnown || !c.sight.heightDifferenceKnown || c.zenith == nullptr) {
        return false;
    }
    const long double zenith = c.zenith->value;
    if (!(std::fabs(zenith - kHalfPi) > kFlatSightZenithMargin)) {
        return false;
    }
    const long double horizontal =
        std::tan(zenith) * (static_cast<long double>(c.sight.heightDifference) +
                            c.zenith->targetHeight - c.zenith->instrumentHeight);
    return Record(c.sight.horizontalDistance, c.sight.horizontalDistanceKnown, horizontal);
}

// h. The height difference and a slope distance give the horizontal distance
// by Pythagoras. A rise (corrected for the instrument and target heights)
// longer than the measured distance contradicts it: no distance then.
bool HorizontalFromHeightDifferenceAndDistance(SightContext& c) {
    if (c.sight.horizontalDistanceKnown || !c.sight.heightDifferenceKnown ||
        c.distance == nullptr) {
        return false;
    }
    const long double slope = c.distance->value;
    const long double rise = static_cast<long double>(c.sight.heightDifference) +
                             c.distance->targetHeight - c.distance->instrumentHeight;
    if (!(std::fabs(rise) <= slope)) {
        return false;
    }
    const long double horizontal = std::sqrt(slope * slope - rise * rise);
    return Record(c.sight.horizontalDistance, c.sight.horizontalDistanceKnown, horizontal);
}

// i. An oriented round turns the reading into a bearing, brought back once
// below 2π; a negative sum is kept as it is.
bool BearingFromOrientedRound(SightContext& c) {
    if (c.sight.bearingKnown || c.round == nullptr || !c.round->orientationKnown) {
        return false;
    }
    long double bearing =
        static_cast<long double>(c.round->orientation) + static_cast<long double>(c.reading);
    if (bearing > kTwoPi) {
        bearing -= kTwoPi;
    }
    return Record(c.sight.bearing, c.sight.bearingKnown, bearing);
}

// What a value becomes when copied to the other sight: the same value on the
// same line; on the reverse line the same distance, the bearing turned by
// half a turn (staying in [0, 2π] for a bearing that was in it) and the
// height difference negated. Each works the same way in both directions.
double Same(double value) {
    return value;
}
double ReverseBearing(double bearing) {
    const long double b = bearing;
    return static_cast<double>(b <= kPi ? b + kPi : b - kPi);
}
double Negated(double heightDifference) {
    return -heightDifference;
}

// Copies one value between two sights when only one of them knows it.
void ShareValue(double& valueA, bool& knownA, double& valueB, bool& knownB,
                double (*carry)(double)) {
    if (knownA && !knownB) {
        valueB = carry(valueA);
        knownB = true;
    } else if (knownB && !knownA) {
        valueA = carry(valueB);
        knownA = true;
    }
}

// Copies every value known on one of two sights of the same line to the other.
void ShareSameLine(Sight& a, Sight& b) {
    ShareValue(a.bearing, a.bearingKnown, b.bearing, b.bearingKnown, Same);
    ShareValue(a.horizontalDistance, a.horizontalDistanceKnown, b.horizontalDistance,
               b.horizontalDistanceKnown, Same);
    ShareValue(a.heightDifference, a.heightDifferenceKnown, b.heightDifference,
               b.heightDifferenceKnown, Same);
}

// Copies between a sight and its reverse: the bearing turned by π, the same
// horizontal distance, the height difference negated.
void ShareReverse(Sight& a, Sight& e) {
    ShareValue(a.bearing, a.bearingKnown, e.bearing, e.bearingKnown, ReverseBearing);
    ShareValue(a.horizontalDistance, a.horizontalDistanceKnown, e.horizontalDistance,
               e.horizontalDistanceKnown, Same);
    ShareValue(a.heightDifference, a.heightDifferenceKnown, e.heightDifference,
               e.heightDifferenceKnown, Negated);
}

// One kind of value of a sight (bearing, horizontal distance or height
// difference) and what it becomes on the reverse sight.
struct ValueKind {
    double Sight::*value;
    bool Sight::*known;
    double (*reverse)(double);
};

constexpr ValueKind kBearingKind{&Sight::bearing, &Sight::bearingKnown, ReverseBearing};
constexpr ValueKind kDistanceKind{&Sight::horizontalDistance, &Sight::horizontalDistanceKnown,
                                  Same};
constexpr ValueKind kHeightKind{&Sight::heightDifference, &Sight::heightDifferenceKnown, Negated};

// One kind of value shared between the sights of two different points, as
// the whole sharing pass leaves it. It visits the lower point first: each
// sight A from the higher point shares with the later sights of its line and
// then with every reverse sight E; then the same from the higher point. So:
// - when some sight of A knows the value, the first that does gives it to
//   every A that lacks it, and (turned) to every E that lacks it;
// - otherwise the first E that knows it, E_f, gives every A its turned value;
//   the E before E_f receive E_f's value itself (from the later sights of
//   their line), and the E after it receive what the first A holds, turned
//   back (turned twice: for a bearing not always the same double).
void ShareKindBetweenPoints(SurveyState& state, const ValueKind& kind,
                            std::span<const std::int32_t> towardsLower,
                            std::span<const std::int32_t> towardsHigher,
                            std::vector<std::int32_t>& received) {
    const auto sight = [&state](std::int32_t number) -> Sight& { return state.SightTable[number]; };
    const auto give = [&](std::int32_t number, double value) {
        Sight& s = sight(number);
        s.*kind.value = value;
        s.*kind.known = true;
        received.push_back(number);
    };
    for (const std::int32_t first : towardsLower) {
        if (!(sight(first).*kind.known)) {
            continue;
        }
        const double value = sight(first).*kind.value;
        for (const std::int32_t a : towardsLower) {
            if (!(sight(a).*kind.known)) {
                give(a, value);
            }
        }
        const double turned = kind.reverse(value);
        for (const std::int32_t e : towardsHigher) {
            if (!(sight(e).*kind.known)) {
                give(e, turned);
            }
        }
        return;
    }
    std::size_t f = 0;
    while (f < towardsHigher.size() && !(sight(towardsHigher[f]).*kind.known)) {
        ++f;
    }
    if (f == towardsHigher.size()) {
        return;
    }
    const double value = sight(towardsHigher[f]).*kind.value;
    double later = value;
    if (!towardsLower.empty()) {
        const double turned = kind.reverse(value);
        for (const std::int32_t a : towardsLower) {
            give(a, turned);
        }
        later = kind.reverse(turned);
    }
    for (std::size_t k = 0; k < f; ++k) {
        give(towardsHigher[k], value);
    }
    for (std::size_t k = f + 1; k < towardsHigher.size(); ++k) {
        if (!(sight(towardsHigher[k]).*kind.known)) {
            give(towardsHigher[k], later);
        }
    }
}

struct KnownFlags {
    bool bearing;
    bool distance;
    bool height;
    bool operator==(const KnownFlags&) const = default;
};

KnownFlags FlagsOf(const Sight& sight) {
    return {sight.bearingKnown, sight.horizontalDistanceKnown, sight.heightDifferenceKnown};
}

}  // namespace

void DeriveSights(SurveyState& state) {
    if (state.Strategy == ComputationStrategy::Literal) {
        DeriveSightsLiteral(state);
    } else {
        DeriveSightsIncremental(state);
    }
}

void DeriveSightsLiteral(SurveyState& state) {
    // The sights change here behind the incremental bookkeeping: should the
    // incremental derivation run next, it starts afresh.
    ResetChangeTracking(state);
    bool changed = true;
    while (changed) {
        changed = false;
        for (int number = 1; number <= state.SightTable.Count(); ++number) {
            changed = ApplySightRules(state, number) || changed;
        }
        // Shared values do not count as new: they feed the rules of the next
        // sweep only when a rule has fired in this one.
        ShareSightValues(state);
    }
}

bool ApplySightRules(SurveyState& state, int number) {
    // Each rule sees what the earlier ones wrote.
    SightContext c = ContextOf(state, number);
    bool changed = false;
    changed = OrientRoundFromBearing(c) || changed;
    changed = HeightDifferenceFromHeights(c) || changed;
    changed = BearingAndDistanceFromPositions(c) || changed;
    changed = HeightDifferenceFromDistanceAndZenith(c) || changed;
    changed = HeightDifferenceFromKnownDistance(c) || changed;
    changed = HorizontalFromDistanceAndZenith(c) || changed;
    changed = HorizontalFromHeightDifferenceAndZenith(c) || changed;
    changed = HorizontalFromHeightDifferenceAndDistance(c) || changed;
    changed = BearingFromOrientedRound(c) || changed;
    return changed;
}

void ShareSightValues(SurveyState& state) {
    for (int point = 1; point <= state.IndexedPointCount; ++point) {
        const PointSightRange& range = state.RangeOf(point);
        if (range.firstIncoming == 0 || range.lastIncoming < range.firstIncoming) {
            continue;
        }
        const bool hasOutgoing = range.firstOutgoing != 0;
        for (int j = range.firstIncoming; j <= range.lastIncoming; ++j) {
            Sight& a = state.SightTable[state.IncomingSightList[j]];
            for (int k = j + 1; k <= range.lastIncoming; ++k) {
                Sight& b = state.SightTable[state.IncomingSightList[k]];
                if (b.station == a.station && b.target == a.target) {
                    ShareSameLine(a, b);
                }
            }
            if (!hasOutgoing) {
                continue;
            }
            for (int k = range.firstOutgoing; k <= range.lastOutgoing; ++k) {
                Sight& e = state.SightTable[state.OutgoingSightList[k]];
                if (e.target == a.station) {
                    ShareReverse(a, e);
                }
            }
        }
    }
}

void ShareBetweenPoints(SurveyState& state, std::span<const std::int32_t> towardsLower,
                        std::span<const std::int32_t> towardsHigher,
                        std::vector<std::int32_t>& received) {
    for (const ValueKind& kind : {kBearingKind, kDistanceKind, kHeightKind}) {
        ShareKindBetweenPoints(state, kind, towardsLower, towardsHigher, received);
    }
}

void ShareWithinPoint(SurveyState& state, std::span<const std::int32_t> sights,
                      std::vector<std::int32_t>& received) {
    std::vector<KnownFlags> before;
    before.reserve(sights.size());
    for (const std::int32_t number : sights) {
        before.push_back(FlagsOf(state.SightTable[number]));
    }
    // Each sight is both of the same line as the later ones and the reverse
    // of every one of them, itself included (which changes nothing).
    for (std::size_t j = 0; j < sights.size(); ++j) {
        Sight& a = state.SightTable[sights[j]];
        for (std::size_t k = j + 1; k < sights.size(); ++k) {
            ShareSameLine(a, state.SightTable[sights[k]]);
        }
        for (const std::int32_t e : sights) {
            ShareReverse(a, state.SightTable[e]);
        }
    }
    for (std::size_t j = 0; j < sights.size(); ++j) {
        if (!(FlagsOf(state.SightTable[sights[j]]) == before[j])) {
            received.push_back(sights[j]);
        }
    }
}

}  // namespace calctopo
