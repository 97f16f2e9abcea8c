// The data check. Its methods, in the order they run:
//
// 1. Residuals. Every observation record whose points are placed (and, for
//    heights, levelled) is compared with the value the coordinates give:
//    horizontal distances with the plane distance; slope distances with the
//    distance the plane distance gives along the observed zenith angle of the
//    same line (the first zenith record from the same station to the same
//    target), else in 3D with the heights, instrument and target heights and
//    the curvature-and-refraction term; zenith angles with the angle from the
//    instrument to the target under the same term; height differences with
//    the difference of the heights; bearings with the plane bearing; a code 9
//    with the plane distance of its two points, which it says is 0.
// 2. Rounds. The readings of a round from one station to placed targets
//    share one orientation, estimated robustly as the median of bearing minus
//    reading (one wild reading cannot move it); each reading is compared with
//    the bearing minus that orientation. A round with a single reading to a
//    placed point has nothing to compare it with and checks nothing.
// 3. Placing observations. The observations a method used to place a point
//    (the sights of its placement record: the reading or bearing, the
//    distance, the height difference or zenith angle that gave the sight its
//    value) agree with the coordinates by construction and check nothing;
//    every other computable observation closes a loop and checks both its
//    points. In a round, one reading is spent on the orientation unless the
//    station itself was placed from that round.
// 4. Points. A point's checks are the observations that check it; it is
//    suspect when one of its observations is beyond tolerance, unchecked when
//    nothing checks the plan position or the height the run gave it (a given
//    point: when no observation at all checks it).
// 5. Culprits. For a suspect point, the point alone is re-placed by weighted
//    least squares from its observations (the other points held where they
//    are; an orientation unknown for each of its own rounds), once without
//    each observation in turn: the observation whose removal leaves every
//    other residual within tolerance, with the largest residual of its own
//    against that position, is named. A given point whose observations all
//    agree with another position has its coordinates named instead.
// 6. Ranking. Observations are ranked by the larger of their normalised
//    residual and, for a named culprit, its normalised residual against the
//    position found without it (a culprit that placed its point shows no
//    residual of its own); equal figures keep file and line order.
#include "check/DataCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <numeric>
#include <unordered_map>

#include "data/GLOBAL.h"
#include "data/ObservationCodes.h"
#include "data/Placement.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "engine/CALCUL.h"
#include "geometry/Angles.h"
#include "geometry/CONVERTI.h"
#include "geometry/ObservationGeometry.h"
#include "geometry/Primitives.h"

namespace calctopo {

namespace {

using Tol = CheckTolerances;

// Below this sine of a zenith angle (a plumb sight) a slope distance has no
// horizontal length to compare.
constexpr double kPlumbSine = 1e-9;
// Gauss–Newton iterations of the local re-placement of one point, and the
// correction (length units, radians) below which it has converged: a tenth
// of a millimetre is far below any tolerance of the check.
constexpr int kMaxIterations = 10;
constexpr double kConverged = 1e-4;
// A pivot of the normal equations below this (relative to the diagonal) is
// a geometry that does not fix the point: no re-placement.
constexpr double kSingularPivot = 1e-12;

std::uint64_t LineKey(int station, int target) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(station)) << 32) |
           static_cast<std::uint32_t>(target);
}

double OneTurn(double a) {
    long double folded = std::fmod(static_cast<long double>(a), kTwoPi);
    if (folded < 0.0L) {
        folded += kTwoPi;
    }
    return static_cast<double>(folded);
}

double ToUserAngle(int unit, double radians) {
    return RadiansToUserUnit(unit, radians);
}

// Angular tolerance (radians) of a sight of length `distance`.
double AngleTolerance(double base, double lengthPart, double distance) {
    return base + lengthPart / std::max(distance, Tol::kMinSight);
}

double DistanceTolerance(double distance) {
    return Tol::kDistance + Tol::kDistancePpm * std::fabs(distance);
}

// One equation of a point's local re-placement.
struct LocalEquation {
    enum Type { Distance, BearingFrom, BearingTo, DirectionAt, CentringX, CentringY, Height };
    Type type = Distance;
    int observation = 0;  // index into the result's observations
    int point = 0;        // the point it places
    int other = 0;        // the point held fixed
    int group = 0;        // DirectionAt: the round group at the point
    double value = 0.0;   // observed: length, bearing or reading (radians), height of the point
    double sigma = 1.0;   // tolerance, same unit
};

struct RoundGroup {
    int round = 0;
    int station = 0;
    std::vector<int> placed;  // observation indices of readings to placed targets
};

struct Checker {
    const SurveyState& state;
    DataCheckResult& result;
    std::vector<LocalEquation> equations;
    std::vector<RoundGroup> groups;
    std::vector<int> groupOf;  // per observation: its round group + 1, 0 none
    std::unordered_map<std::uint64_t, int> firstZenith;
    std::unordered_map<std::uint64_t, int> lastDistance;
    std::unordered_map<std::uint64_t, int> lastBearing;
    std::unordered_map<std::uint64_t, int> lastHeightDifference;
    std::unordered_map<std::uint64_t, int> lastZenith;
    std::unordered_map<std::uint64_t, int> firstDirection;
    // Observation index of each record, per table (0-based record - 1), -1 none.
    std::vector<int> distanceCheck, directionCheck, zenithCheck, heightCheck, bearingCheck;

    // Inherited plan and height errors of every point (length units), by index.
    std::vector<double> inherited;
    std::vector<double> inheritedHeight;

    Checker(const SurveyState& s, DataCheckResult& r) : state(s), result(r) {}

    double Inherited(int a, int b) const {
        return inherited[static_cast<std::size_t>(a)] + inherited[static_cast<std::size_t>(b)];
    }
    double InheritedHeight(int a, int b) const {
        return inheritedHeight[static_cast<std::size_t>(a)] +
               inheritedHeight[static_cast<std::size_t>(b)];
    }

    const SurveyPoint& P(int i) const { return state.PointTable[i]; }
    bool Placed(int i) const { return i >= 1 && i <= state.PointCount() && P(i).planimetricKnown; }
    bool Levelled(int i) const { return i >= 1 && i <= state.PointCount() && P(i).heightKnown; }
    int Unit() const { return result.angleUnit; }

    void Plane(int a, int b, double& bearing, double& distance) const {
        BearingAndDistanceBetween(P(a).x, P(a).y, P(b).x, P(b).y, bearing, distance);
    }

    int Add(ObservationCheck check) {
        result.observations.push_back(std::move(check));
        return static_cast<int>(result.observations.size()) - 1;
    }

    ObservationCheck Start(CheckKind kind, int record, int station, int target,
                           const std::vector<SourceLine>& sources) const {
        ObservationCheck check;
        check.kind = kind;
        check.record = record;
        check.station = station;
        check.target = target;
        if (const SourceLine* source = InputSources::Of(sources, record)) {
            check.source = *source;
        }
        return check;
    }

    // Why a check cannot be computed, or "" when its points are ready.
    std::string Missing(int station, int target, bool heights) const {
        if (station == target) {
            return TextOf(texts::kCheckSelfSight);
        }
        if (!Placed(station) || !Placed(target)) {
            return TextOf(texts::kCheckPointNotComputed);
        }
        if (heights && (!Levelled(station) || !Levelled(target))) {
            return TextOf(texts::kCheckHeightNotComputed);
        }
        return {};
    }

    void SetLength(ObservationCheck& check, double observed, double computed, double tolerance) {
        check.computable = true;
        check.observed = observed;
        check.computed = computed;
        check.residual = static_cast<double>(static_cast<long double>(observed) - computed);
        check.tolerance = tolerance;
        check.normalised = std::fabs(check.residual) / tolerance;
    }

    // An angle: residual in radians folded into [−π, π], shown in the user unit.
    void SetAngle(ObservationCheck& check, double observedShown, double computedShown,
                  double residual, double toleranceRadians, double sightLength) {
        check.computable = true;
        check.observed = ToUserAngle(Unit(), observedShown);
        check.computed = ToUserAngle(Unit(), computedShown);
        check.residualRadians = residual;
        check.residual = ToUserAngle(Unit(), residual);
        check.hasOffset = true;
        check.offset = TransverseOffset(residual, sightLength);
        check.tolerance = ToUserAngle(Unit(), toleranceRadians);
        check.normalised = std::fabs(residual) / toleranceRadians;
    }

    void IndexLines();
    void InheritErrors();
    void CheckDistances();
    void CheckDirections();
    void CheckZeniths();
    void CheckHeightDifferences();
    void CheckBearings();
    void MarkPlacing();
    void MarkRedundancy();
    void CheckPoints();
    void NameCulprit(PointCheck& point);
    void Rank();
};

void Checker::IndexLines() {
    for (int i = 1; i <= state.ZenithTable.Count(); ++i) {
        const ZenithObservation& z = state.ZenithTable[i];
        firstZenith.emplace(LineKey(z.station, z.target), i);
        lastZenith[LineKey(z.station, z.target)] = i;
    }
    for (int i = 1; i <= state.DistanceTable.Count(); ++i) {
        const DistanceObservation& d = state.DistanceTable[i];
        lastDistance[LineKey(d.station, d.target)] = i;
    }
    for (int i = 1; i <= state.BearingTable.Count(); ++i) {
        const BearingObservation& b = state.BearingTable[i];
        lastBearing[LineKey(b.station, b.target)] = i;
    }
    for (int i = 1; i <= state.HeightDifferenceTable.Count(); ++i) {
        const HeightDifferenceObservation& h = state.HeightDifferenceTable[i];
        lastHeightDifference[LineKey(h.station, h.target)] = i;
    }
    for (int i = 1; i <= state.DirectionTable.Count(); ++i) {
        const DirectionObservation& d = state.DirectionTable[i];
        firstDirection.emplace(LineKey(d.station, d.target), i);
    }
}

// Each point inherits the largest error of the points it was placed (or
// levelled) from, plus one chain step over the sight: given points and
// points a run did not place inherit nothing.
void Checker::InheritErrors() {
    const std::size_t n = static_cast<std::size_t>(state.PointCount()) + 1;
    inherited.assign(n, 0.0);
    inheritedHeight.assign(n, 0.0);
    std::vector<int> visiting(n, 0);  // 0 new, 1 on the way, 2 done
    std::vector<int> visitingHeight(n, 0);
    const auto sightOther = [&](int number, int point) {
        if (number < 1 || number > state.SightTable.Count()) {
            return 0;
        }
        const Sight& sight = state.SightTable[number];
        return sight.station == point ? sight.target : sight.station;
    };
    const auto length = [&](int a, int b) {
        double bearing = 0.0;
        double distance = 0.0;
        Plane(a, b, bearing, distance);
        return distance;
    };
    // Depth-first over the placement records; a record pointing back to a
    // point on the way (never made by a run) inherits nothing from it.
    std::function<double(int)> plan = [&](int point) -> double {
        const auto i = static_cast<std::size_t>(point);
        if (visiting[i] != 0) {
            return visiting[i] == 2 ? inherited[i] : 0.0;
        }
        visiting[i] = 1;
        double error = 0.0;
        if (P(point).planimetricKnown && P(point).status != StatusGiven) {
            for (const int number : PlacementOf(state, point).planSights) {
                const int other = sightOther(number, point);
                if (other >= 1 && other <= state.PointCount() && Placed(other)) {
                    error = std::max(error, plan(other) + Tol::kChainStep +
                                                Tol::kChainStepPerLength * length(point, other));
                }
            }
        }
        inherited[i] = error;
        visiting[i] = 2;
        return error;
    };
    std::function<double(int)> height = [&](int point) -> double {
        const auto i = static_cast<std::size_t>(point);
        if (visitingHeight[i] != 0) {
            return visitingHeight[i] == 2 ? inheritedHeight[i] : 0.0;
        }
        visitingHeight[i] = 1;
        double error = 0.0;
        const int other = sightOther(PlacementOf(state, point).heightSight, point);
        if (P(point).heightKnown && P(point).status != StatusGiven && other >= 1 &&
            other <= state.PointCount() && Levelled(other)) {
            const double sight = Placed(point) && Placed(other) ? length(point, other) : 0.0;
            error = height(other) + Tol::kHeightChainStep + Tol::kHeightChainStepPerLength * sight;
        }
        inheritedHeight[i] = error;
        visitingHeight[i] = 2;
        return error;
    };
    for (int point = 1; point <= state.PointCount(); ++point) {
        plan(point);
        height(point);
    }
}

void Checker::CheckDistances() {
    const InputSources& sources = state.Sources;
    distanceCheck.assign(static_cast<std::size_t>(state.DistanceTable.Count()), -1);
    for (int i = 1; i <= state.DistanceTable.Count(); ++i) {
        const DistanceObservation& d = state.DistanceTable[i];
        const SourceLine* source = InputSources::Of(sources.distances, i);
        const auto code = source != nullptr ? static_cast<ObservationCode>(source->code)
                          : d.isHorizontal  ? ObservationCode::HorizontalDistance
                                            : ObservationCode::SlopeDistance;
        const CheckKind kind = code == ObservationCode::Centring ? CheckKind::Centring
                               : code == ObservationCode::HorizontalDistance
                                   ? CheckKind::HorizontalDistance
                                   : CheckKind::SlopeDistance;
        ObservationCheck check = Start(kind, i, d.station, d.target, sources.distances);
        std::string missing = Missing(d.station, d.target, false);
        double bearing = 0.0;
        double dh = 0.0;
        if (missing.empty()) {
            Plane(d.station, d.target, bearing, dh);
        }
        LocalEquation eq;
        eq.type = LocalEquation::Distance;
        if (missing.empty() && kind == CheckKind::Centring) {
            SetLength(check, 0.0, dh, Tol::kTransverse + Inherited(d.station, d.target));
        } else if (missing.empty() && kind == CheckKind::HorizontalDistance) {
            SetLength(check, d.value, dh, DistanceTolerance(dh) + Inherited(d.station, d.target));
            eq.value = d.value;
        } else if (missing.empty()) {
            const auto zenith = firstZenith.find(LineKey(d.station, d.target));
            if (zenith != firstZenith.end()) {
                const long double sine =
                    std::sin(static_cast<long double>(state.ZenithTable[zenith->second].value));
                if (std::fabs(sine) < kPlumbSine) {
                    missing = TextOf(texts::kCheckZenithVertical);
                } else {
                    const double computed = static_cast<double>(dh / sine);
                    SetLength(check, d.value, computed,
                              DistanceTolerance(computed) + Inherited(d.station, d.target));
                    eq.value =
                        HorizontalFromSlope(d.value, state.ZenithTable[zenith->second].value);
                    check.note = TextOf(texts::kCheckReducedByZenith, zenith->second);
                }
            } else if (!Levelled(d.station) || !Levelled(d.target)) {
                missing = TextOf(texts::kCheckNoZenith);
            } else {
                const double dz = HeightDifferenceOfPoints(P(d.station).z, P(d.target).z);
                const double computed =
                    ComputedSlopeDistance(dh, dz, d.instrumentHeight, d.targetHeight);
                SetLength(check, d.value, computed,
                          DistanceTolerance(computed) + Inherited(d.station, d.target) +
                              InheritedHeight(d.station, d.target));
                const long double rise =
                    LineOfSightRise(dh, dz, d.instrumentHeight, d.targetHeight);
                const long double square =
                    static_cast<long double>(d.value) * d.value - rise * rise;
                eq.value = square > 0.0L ? static_cast<double>(std::sqrt(square)) : 0.0;
                check.note = TextOf(texts::kCheckCompared3D);
            }
        }
        if (!missing.empty()) {
            check.note = missing;
        }
        const bool computable = check.computable;
        const int index = Add(std::move(check));
        distanceCheck[static_cast<std::size_t>(i - 1)] = index;
        if (!computable) {
            continue;
        }
        if (kind == CheckKind::Centring) {
            for (const auto type : {LocalEquation::CentringX, LocalEquation::CentringY}) {
                for (const auto& [point, other] :
                     {std::pair{d.station, d.target}, std::pair{d.target, d.station}}) {
                    LocalEquation c;
                    c.type = type;
                    c.observation = index;
                    c.point = point;
                    c.other = other;
                    c.sigma = Tol::kTransverse;
                    equations.push_back(c);
                }
            }
            continue;
        }
        eq.observation = index;
        eq.sigma = result.observations[static_cast<std::size_t>(index)].tolerance;
        for (const auto& [point, other] :
             {std::pair{d.station, d.target}, std::pair{d.target, d.station}}) {
            eq.point = point;
            eq.other = other;
            equations.push_back(eq);
        }
    }
}

void Checker::CheckDirections() {
    const InputSources& sources = state.Sources;
    directionCheck.assign(static_cast<std::size_t>(state.DirectionTable.Count()), -1);
    groupOf.assign(result.observations.size(), 0);
    std::map<std::pair<int, int>, int> groupIndex;  // (round, station) -> group
    for (int i = 1; i <= state.DirectionTable.Count(); ++i) {
        const DirectionObservation& d = state.DirectionTable[i];
        ObservationCheck check =
            Start(CheckKind::Direction, i, d.station, d.target, sources.directions);
        check.round = d.roundNumber;
        check.observed = ToUserAngle(Unit(), d.value);
        std::string missing = Missing(d.station, d.target, false);
        double bearing = 0.0;
        double dh = 0.0;
        if (missing.empty()) {
            Plane(d.station, d.target, bearing, dh);
            if (dh < Tol::kMinSight) {
                missing = TextOf(texts::kCheckCoincident);
            }
        }
        if (d.roundNumber == 0) {
            missing = TextOf(texts::kCheckOutsideRound);
        }
        check.note = missing;
        const int index = Add(std::move(check));
        groupOf.push_back(0);
        directionCheck[static_cast<std::size_t>(i - 1)] = index;
        if (d.roundNumber == 0) {
            continue;
        }
        const auto key = std::pair{d.roundNumber, d.station};
        auto found = groupIndex.find(key);
        if (found == groupIndex.end()) {
            found = groupIndex.emplace(key, static_cast<int>(groups.size())).first;
            groups.push_back(RoundGroup{d.roundNumber, d.station, {}});
        }
        groupOf[static_cast<std::size_t>(index)] = found->second + 1;
        if (missing.empty()) {
            groups[static_cast<std::size_t>(found->second)].placed.push_back(index);
        }
    }
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const RoundGroup& group = groups[g];
        if (group.placed.size() == 1) {
            result.observations[static_cast<std::size_t>(group.placed.front())].note =
                TextOf(texts::kCheckLoneSight);
            continue;
        }
        // Orientation of each reading: bearing minus reading.
        std::vector<double> orientations;
        std::vector<double> bearings;
        std::vector<double> lengths;
        for (const int index : group.placed) {
            const ObservationCheck& check = result.observations[static_cast<std::size_t>(index)];
            double bearing = 0.0;
            double dh = 0.0;
            Plane(check.station, check.target, bearing, dh);
            const double reading = state.DirectionTable[check.record].value;
            bearings.push_back(bearing);
            lengths.push_back(dh);
            orientations.push_back(
                static_cast<double>(static_cast<long double>(bearing) - reading));
        }
        double orientation = 0.0;
        if (!MedianAngle(orientations, orientation)) {
            continue;
        }
        for (std::size_t k = 0; k < group.placed.size(); ++k) {
            const int index = group.placed[k];
            ObservationCheck& check = result.observations[static_cast<std::size_t>(index)];
            const double reading = state.DirectionTable[check.record].value;
            const double computed =
                static_cast<double>(static_cast<long double>(bearings[k]) - orientation);
            const double residual =
                NormalizeAngle(static_cast<double>(static_cast<long double>(reading) - computed));
            const double tolerance = AngleTolerance(
                Tol::kAngle, Tol::kTransverse + Inherited(check.station, check.target), lengths[k]);
            SetAngle(check, OneTurn(reading), OneTurn(computed), residual, tolerance, lengths[k]);
            // For the target: a bearing from the station, oriented by the others.
            std::vector<double> others = orientations;
            others.erase(others.begin() + static_cast<std::ptrdiff_t>(k));
            double without = 0.0;
            if (MedianAngle(others, without)) {
                LocalEquation eq;
                eq.type = LocalEquation::BearingFrom;
                eq.observation = index;
                eq.point = check.target;
                eq.other = check.station;
                eq.value = static_cast<double>(static_cast<long double>(reading) + without);
                eq.sigma = tolerance;
                equations.push_back(eq);
            }
            // For the station: a reading of its own round, orientation unknown.
            LocalEquation at;
            at.type = LocalEquation::DirectionAt;
            at.observation = index;
            at.point = check.station;
            at.other = check.target;
            at.group = static_cast<int>(g);
            at.value = reading;
            at.sigma = tolerance;
            equations.push_back(at);
        }
    }
}

void Checker::CheckZeniths() {
    zenithCheck.assign(static_cast<std::size_t>(state.ZenithTable.Count()), -1);
    for (int i = 1; i <= state.ZenithTable.Count(); ++i) {
        const ZenithObservation& z = state.ZenithTable[i];
        ObservationCheck check =
            Start(CheckKind::Zenith, i, z.station, z.target, state.Sources.zeniths);
        check.observed = ToUserAngle(Unit(), z.value);
        std::string missing = Missing(z.station, z.target, true);
        double computed = 0.0;
        double bearing = 0.0;
        double dh = 0.0;
        double dz = 0.0;
        if (missing.empty()) {
            Plane(z.station, z.target, bearing, dh);
            dz = HeightDifferenceOfPoints(P(z.station).z, P(z.target).z);
            if (!ComputedZenith(dh, dz, z.instrumentHeight, z.targetHeight, computed)) {
                missing = TextOf(texts::kCheckCoincident);
            }
        }
        check.note = missing;
        if (missing.empty()) {
            const double length = ComputedSlopeDistance(dh, dz, z.instrumentHeight, z.targetHeight);
            const double residual =
                NormalizeAngle(static_cast<double>(static_cast<long double>(z.value) - computed));
            SetAngle(check, z.value, computed, residual,
                     AngleTolerance(Tol::kZenith,
                                    Tol::kHeight + InheritedHeight(z.station, z.target), length),
                     length);
        }
        const int index = Add(std::move(check));
        groupOf.push_back(0);
        zenithCheck[static_cast<std::size_t>(i - 1)] = index;
        double observedDifference = 0.0;
        if (missing.empty() && HeightDifferenceFromHorizontal(dh, z.value, z.instrumentHeight,
                                                              z.targetHeight, observedDifference)) {
            const double sigma =
                Tol::kHeight + InheritedHeight(z.station, z.target) + Tol::kZenith * dh;
            LocalEquation eq;
            eq.type = LocalEquation::Height;
            eq.observation = index;
            eq.point = z.target;
            eq.other = z.station;
            eq.value = AddHeightDifference(P(z.station).z, observedDifference);
            eq.sigma = sigma;
            equations.push_back(eq);
            eq.point = z.station;
            eq.other = z.target;
            eq.value = SubtractHeightDifference(P(z.target).z, observedDifference);
            equations.push_back(eq);
        }
    }
}

void Checker::CheckHeightDifferences() {
    heightCheck.assign(static_cast<std::size_t>(state.HeightDifferenceTable.Count()), -1);
    for (int i = 1; i <= state.HeightDifferenceTable.Count(); ++i) {
        const HeightDifferenceObservation& h = state.HeightDifferenceTable[i];
        ObservationCheck check = Start(CheckKind::HeightDifference, i, h.station, h.target,
                                       state.Sources.heightDifferences);
        check.observed = h.value;
        // A height difference needs the heights only.
        std::string missing;
        if (h.station == h.target) {
            missing = TextOf(texts::kCheckSelfSight);
        } else if (!Levelled(h.station) || !Levelled(h.target)) {
            missing = TextOf(texts::kCheckHeightNotComputed);
        }
        check.note = missing;
        if (missing.empty()) {
            SetLength(check, h.value, HeightDifferenceOfPoints(P(h.station).z, P(h.target).z),
                      Tol::kHeight + InheritedHeight(h.station, h.target));
        }
        const int index = Add(std::move(check));
        groupOf.push_back(0);
        heightCheck[static_cast<std::size_t>(i - 1)] = index;
        if (missing.empty()) {
            LocalEquation eq;
            eq.type = LocalEquation::Height;
            eq.observation = index;
            eq.sigma = result.observations[static_cast<std::size_t>(index)].tolerance;
            eq.point = h.target;
            eq.other = h.station;
            eq.value = AddHeightDifference(P(h.station).z, h.value);
            equations.push_back(eq);
            eq.point = h.station;
            eq.other = h.target;
            eq.value = SubtractHeightDifference(P(h.target).z, h.value);
            equations.push_back(eq);
        }
    }
}

void Checker::CheckBearings() {
    bearingCheck.assign(static_cast<std::size_t>(state.BearingTable.Count()), -1);
    for (int i = 1; i <= state.BearingTable.Count(); ++i) {
        const BearingObservation& b = state.BearingTable[i];
        const SourceLine* source = InputSources::Of(state.Sources.bearings, i);
        if (source != nullptr && source->code == CodeNumber(ObservationCode::Centring)) {
            continue;  // the bearing half of a centring: checked with its distance
        }
        ObservationCheck check =
            Start(CheckKind::Bearing, i, b.station, b.target, state.Sources.bearings);
        check.observed = ToUserAngle(Unit(), b.value);
        std::string missing = Missing(b.station, b.target, false);
        double bearing = 0.0;
        double dh = 0.0;
        if (missing.empty()) {
            Plane(b.station, b.target, bearing, dh);
            if (dh < Tol::kMinSight) {
                missing = TextOf(texts::kCheckCoincident);
            }
        }
        check.note = missing;
        const double tolerance =
            missing.empty()
                ? AngleTolerance(Tol::kAngle, Tol::kTransverse + Inherited(b.station, b.target), dh)
                : 0.0;
        if (missing.empty()) {
            const double residual =
                NormalizeAngle(static_cast<double>(static_cast<long double>(b.value) - bearing));
            SetAngle(check, b.value, bearing, residual, tolerance, dh);
        }
        const int index = Add(std::move(check));
        groupOf.push_back(0);
        bearingCheck[static_cast<std::size_t>(i - 1)] = index;
        if (missing.empty()) {
            LocalEquation eq;
            eq.observation = index;
            eq.value = b.value;
            eq.sigma = tolerance;
            eq.type = LocalEquation::BearingFrom;
            eq.point = b.target;
            eq.other = b.station;
            equations.push_back(eq);
            eq.type = LocalEquation::BearingTo;
            eq.point = b.station;
            eq.other = b.target;
            equations.push_back(eq);
        }
    }
}

// Marks the observations the placement records say were used.
void Checker::MarkPlacing() {
    const auto mark = [&](const std::vector<int>& checks, int record) {
        if (record >= 1 && static_cast<std::size_t>(record) <= checks.size()) {
            const int index = checks[static_cast<std::size_t>(record - 1)];
            if (index >= 0) {
                result.observations[static_cast<std::size_t>(index)].placing = true;
            }
        }
    };
    const auto lookup = [](const std::unordered_map<std::uint64_t, int>& map, int a, int b) {
        const auto found = map.find(LineKey(a, b));
        return found == map.end() ? 0 : found->second;
    };
    // The observation that gave a sight its bearing: its own reading in a
    // round, else a bearing on the line or on the reverse line, else a
    // reading on the reverse line.
    const auto markBearing = [&](const Sight& sight) {
        if (sight.directionObs != 0 && state.DirectionTable[sight.directionObs].roundNumber != 0) {
            mark(directionCheck, sight.directionObs);
        } else if (const int own = lookup(lastBearing, sight.station, sight.target); own != 0) {
            mark(bearingCheck, own);
        } else if (const int back = lookup(lastBearing, sight.target, sight.station); back != 0) {
            mark(bearingCheck, back);
        } else {
            mark(directionCheck, lookup(firstDirection, sight.target, sight.station));
        }
    };
    const auto markDistance = [&](const Sight& sight) {
        if (sight.distanceObs != 0) {
            mark(distanceCheck, sight.distanceObs);
        } else {
            mark(distanceCheck, lookup(lastDistance, sight.target, sight.station));
        }
    };
    const auto markHeight = [&](const Sight& sight) {
        if (const int own = lookup(lastHeightDifference, sight.station, sight.target); own != 0) {
            mark(heightCheck, own);
        } else if (sight.zenithObs != 0) {
            mark(zenithCheck, sight.zenithObs);
        } else if (const int back = lookup(lastHeightDifference, sight.target, sight.station);
                   back != 0) {
            mark(heightCheck, back);
        } else {
            mark(zenithCheck, lookup(lastZenith, sight.target, sight.station));
        }
    };
    const auto sightAt = [&](int number) -> const Sight* {
        return number >= 1 && number <= state.SightTable.Count() ? &state.SightTable[number]
                                                                 : nullptr;
    };
    for (int point = 1; point <= state.PointCount(); ++point) {
        const PointPlacement& placement = PlacementOf(state, point);
        const std::vector<std::int32_t>& sights = placement.planSights;
        for (std::size_t k = 0; k < sights.size(); ++k) {
            const Sight* sight = sightAt(sights[k]);
            if (sight == nullptr) {
                continue;
            }
            switch (placement.planMethod) {
                case ByRadiation:
                    markBearing(*sight);
                    markDistance(*sight);
                    break;
                case ByIntersection:
                    markBearing(*sight);
                    break;
                case ByTriangulationOrEccentric:
                    // Triangulation uses both distances, the eccentric station
                    // the first only; both use the two readings.
                    mark(directionCheck, sight->directionObs);
                    if (k == 0 || sight->horizontalDistanceKnown) {
                        markDistance(*sight);
                    }
                    break;
                case ByResection:
                    mark(directionCheck, sight->directionObs);
                    break;
                case ByTrilateration:
                    // The control only chooses between two mirror points: it
                    // still checks the point.
                    if (k < 2) {
                        markDistance(*sight);
                    }
                    break;
                default:
                    break;
            }
        }
        if (const Sight* sight = sightAt(placement.heightSight)) {
            markHeight(*sight);
        }
    }
}

void Checker::MarkRedundancy() {
    // Rounds: the readings that placed nothing check the round, one of them
    // spent on the orientation unless the station was placed from the round.
    std::vector<int> freeReadings(groups.size(), 0);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const RoundGroup& group = groups[g];
        int unused = 0;
        bool stationFromRound = false;
        for (const int index : group.placed) {
            const ObservationCheck& check = result.observations[static_cast<std::size_t>(index)];
            if (!check.placing) {
                ++unused;
            } else if (PlacementOf(state, group.station).planMethod == ByResection ||
                       PlacementOf(state, group.station).planMethod == ByTriangulationOrEccentric) {
                const std::vector<std::int32_t>& used =
                    PlacementOf(state, group.station).planSights;
                for (const int number : used) {
                    if (number >= 1 && number <= state.SightTable.Count() &&
                        state.SightTable[number].directionObs == check.record) {
                        stationFromRound = true;
                    }
                }
            }
        }
        freeReadings[g] = stationFromRound ? unused : std::max(0, unused - 1);
    }
    for (std::size_t i = 0; i < result.observations.size(); ++i) {
        ObservationCheck& check = result.observations[i];
        if (!check.computable || check.placing) {
            check.redundant = false;
        } else if (check.kind == CheckKind::Direction) {
            const int group = groupOf[i];
            check.redundant = group > 0 && freeReadings[static_cast<std::size_t>(group - 1)] > 0;
        } else {
            check.redundant = true;
        }
        if (check.computable && check.normalised > 1.0) {
            check.verdict = CheckVerdict::Suspect;
        } else {
            check.verdict = check.redundant ? CheckVerdict::Checked : CheckVerdict::Unchecked;
        }
    }
}

bool IsPlanKind(CheckKind kind) {
    return kind != CheckKind::Zenith && kind != CheckKind::HeightDifference;
}

void Checker::CheckPoints() {
    for (int i = 1; i <= state.PointCount(); ++i) {
        PointCheck point;
        point.point = i;
        point.given = P(i).status == StatusGiven;
        point.planKnown = P(i).planimetricKnown;
        point.heightKnown = P(i).heightKnown;
        const PointPlacement& placement = PlacementOf(state, i);
        point.planMethod = placement.planMethod;
        point.heightMethod = placement.heightMethod;
        for (const int number : placement.planSights) {
            if (number >= 1 && number <= state.SightTable.Count()) {
                const Sight& sight = state.SightTable[number];
                const int other = sight.station == i ? sight.target : sight.station;
                if (std::find(point.planFrom.begin(), point.planFrom.end(), other) ==
                    point.planFrom.end()) {
                    point.planFrom.push_back(other);
                }
            }
        }
        if (placement.heightSight >= 1 && placement.heightSight <= state.SightTable.Count()) {
            const Sight& sight = state.SightTable[placement.heightSight];
            point.heightFrom = sight.station == i ? sight.target : sight.station;
        }
        point.inheritedError = inherited[static_cast<std::size_t>(i)];
        point.inheritedHeightError = inheritedHeight[static_cast<std::size_t>(i)];
        result.points.push_back(std::move(point));
    }
    for (std::size_t k = 0; k < result.observations.size(); ++k) {
        const ObservationCheck& check = result.observations[k];
        for (const int end : {check.station, check.target}) {
            if (end < 1 || end > state.PointCount() ||
                (end == check.target && end == check.station)) {
                continue;
            }
            PointCheck& point = result.points[static_cast<std::size_t>(end - 1)];
            if (check.redundant) {
                (IsPlanKind(check.kind) ? point.planChecks : point.heightChecks) += 1;
            }
            if (check.computable && check.normalised > point.maxNormalised) {
                point.maxNormalised = check.normalised;
                point.worst = static_cast<int>(k);
            }
        }
    }
    for (PointCheck& point : result.points) {
        if (!point.planKnown && !point.heightKnown) {
            point.verdict = CheckVerdict::Unchecked;
            continue;
        }
        if (point.maxNormalised > 1.0) {
            point.verdict = CheckVerdict::Suspect;
            ++result.suspectPoints;
            NameCulprit(point);
        } else if (point.given ? point.planChecks + point.heightChecks == 0
                               : (point.planKnown && point.planChecks == 0) ||
                                     (point.heightKnown && point.heightChecks == 0)) {
            // A part the run computed and nothing checks; for a given point,
            // no observation at all checking it.
            point.verdict = CheckVerdict::Unchecked;
            ++result.uncheckedPoints;
        } else {
            point.verdict = CheckVerdict::Checked;
        }
    }
}

// ---------------------------------------------------------------------------
// Local re-placement of one point.

struct LocalSolution {
    bool solved = false;
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    std::vector<double> orientations;  // per local round group
    int redundancy = 0;
};

double Bearing(double fromX, double fromY, double toX, double toY) {
    return static_cast<double>(
        std::atan2(static_cast<long double>(toX) - fromX, static_cast<long double>(toY) - fromY));
}

// Residual (observed minus computed) of an equation at a position, in its unit.
double EquationResidual(const LocalEquation& eq, const SurveyPoint& other,
                        const LocalSolution& at) {
    switch (eq.type) {
        case LocalEquation::Distance:
            return eq.value - std::hypot(at.x - other.x, at.y - other.y);
        case LocalEquation::BearingFrom:
            return NormalizeAngle(eq.value - Bearing(other.x, other.y, at.x, at.y));
        case LocalEquation::BearingTo:
            return NormalizeAngle(eq.value - Bearing(at.x, at.y, other.x, other.y));
        case LocalEquation::DirectionAt:
            return NormalizeAngle(eq.value - (Bearing(at.x, at.y, other.x, other.y) -
                                              at.orientations[static_cast<std::size_t>(eq.group)]));
        case LocalEquation::CentringX:
            return other.x - at.x;
        case LocalEquation::CentringY:
            return other.y - at.y;
        case LocalEquation::Height:
            return eq.value - at.z;
    }
    return 0.0;
}

// Solves the square system a·x = b in place (Gaussian elimination with
// partial pivoting); false when it is singular.
bool SolveLinear(std::vector<std::vector<long double>>& a, std::vector<long double>& b) {
    const std::size_t n = b.size();
    for (std::size_t col = 0; col < n; ++col) {
        std::size_t pivot = col;
        for (std::size_t row = col + 1; row < n; ++row) {
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) {
                pivot = row;
            }
        }
        const long double scale = std::max(std::fabs(a[col][col]), 1.0L);
        if (!(std::fabs(a[pivot][col]) > kSingularPivot * scale)) {
            return false;
        }
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (std::size_t row = col + 1; row < n; ++row) {
            const long double factor = a[row][col] / a[col][col];
            for (std::size_t k = col; k < n; ++k) {
                a[row][k] -= factor * a[col][k];
            }
            b[row] -= factor * b[col];
        }
    }
    for (std::size_t col = n; col-- > 0;) {
        long double sum = b[col];
        for (std::size_t k = col + 1; k < n; ++k) {
            sum -= a[col][k] * b[k];
        }
        b[col] = sum / a[col][col];
    }
    return true;
}

// Weighted least squares of the point's plan position (and the orientations
// of its rounds) from `used`, starting where the point stands.
LocalSolution SolvePlan(const SurveyState& state, int point,
                        const std::vector<const LocalEquation*>& used) {
    LocalSolution solution;
    solution.x = state.PointTable[point].x;
    solution.y = state.PointTable[point].y;
    std::map<int, std::size_t> groupSlot;
    std::size_t rows = 0;
    for (const LocalEquation* eq : used) {
        ++rows;
        if (eq->type == LocalEquation::DirectionAt && !groupSlot.count(eq->group)) {
            const std::size_t slot = groupSlot.size();
            groupSlot[eq->group] = slot;
        }
    }
    const std::size_t unknowns = 2 + groupSlot.size();
    solution.redundancy = static_cast<int>(rows) - static_cast<int>(unknowns);
    if (solution.redundancy < 0) {
        return solution;
    }
    // Orientations start at the median of bearing minus reading.
    std::vector<std::vector<double>> starts(groupSlot.size());
    for (const LocalEquation* eq : used) {
        if (eq->type == LocalEquation::DirectionAt) {
            const SurveyPoint& other = state.PointTable[eq->other];
            starts[groupSlot[eq->group]].push_back(
                Bearing(solution.x, solution.y, other.x, other.y) - eq->value);
        }
    }
    std::vector<double> orientationOf(groupSlot.size(), 0.0);
    for (std::size_t g = 0; g < starts.size(); ++g) {
        MedianAngle(starts[g], orientationOf[g]);
    }
    // Orientations indexed by the global group number, for EquationResidual.
    int maxGroup = 0;
    for (const auto& [group, slot] : groupSlot) {
        maxGroup = std::max(maxGroup, group);
    }
    solution.orientations.assign(static_cast<std::size_t>(maxGroup) + 1, 0.0);
    const auto publish = [&] {
        for (const auto& [group, slot] : groupSlot) {
            solution.orientations[static_cast<std::size_t>(group)] = orientationOf[slot];
        }
    };
    publish();
    for (int iteration = 0; iteration < kMaxIterations; ++iteration) {
        std::vector<std::vector<long double>> normal(unknowns,
                                                     std::vector<long double>(unknowns, 0.0L));
        std::vector<long double> rhs(unknowns, 0.0L);
        for (const LocalEquation* eq : used) {
            const SurveyPoint& other = state.PointTable[eq->other];
            std::vector<long double> row(unknowns, 0.0L);
            const long double dx = static_cast<long double>(solution.x) - other.x;
            const long double dy = static_cast<long double>(solution.y) - other.y;
            const long double r2 = std::max(dx * dx + dy * dy, 1e-12L);
            switch (eq->type) {
                case LocalEquation::Distance:
                    row[0] = dx / std::sqrt(r2);
                    row[1] = dy / std::sqrt(r2);
                    break;
                case LocalEquation::BearingFrom:  // atan2(x − xq, y − yq)
                case LocalEquation::BearingTo:    // atan2(xq − x, yq − y): same derivatives
                    row[0] = dy / r2;
                    row[1] = -dx / r2;
                    break;
                case LocalEquation::DirectionAt:
                    row[0] = dy / r2;
                    row[1] = -dx / r2;
                    row[2 + groupSlot[eq->group]] = -1.0L;
                    break;
                case LocalEquation::CentringX:
                    row[0] = 1.0L;
                    break;
                case LocalEquation::CentringY:
                    row[1] = 1.0L;
                    break;
                case LocalEquation::Height:
                    break;
            }
            const long double weight = 1.0L / (static_cast<long double>(eq->sigma) * eq->sigma);
            const long double v = EquationResidual(*eq, other, solution);
            for (std::size_t i = 0; i < unknowns; ++i) {
                rhs[i] += row[i] * weight * v;
                for (std::size_t j = 0; j < unknowns; ++j) {
                    normal[i][j] += row[i] * weight * row[j];
                }
            }
        }
        if (!SolveLinear(normal, rhs)) {
            return solution;
        }
        solution.x = static_cast<double>(solution.x + rhs[0]);
        solution.y = static_cast<double>(solution.y + rhs[1]);
        for (std::size_t g = 0; g < orientationOf.size(); ++g) {
            orientationOf[g] = static_cast<double>(orientationOf[g] + rhs[2 + g]);
        }
        publish();
        if (!std::isfinite(solution.x) || !std::isfinite(solution.y)) {
            return solution;
        }
        if (std::fabs(rhs[0]) < kConverged && std::fabs(rhs[1]) < kConverged) {
            break;
        }
    }
    solution.solved = true;
    return solution;
}

// Weighted mean of the heights the equations give the point.
LocalSolution SolveHeight(const std::vector<const LocalEquation*>& used) {
    LocalSolution solution;
    solution.redundancy = static_cast<int>(used.size()) - 1;
    long double sum = 0.0L;
    long double weights = 0.0L;
    for (const LocalEquation* eq : used) {
        const long double weight = 1.0L / (static_cast<long double>(eq->sigma) * eq->sigma);
        sum += weight * eq->value;
        weights += weight;
    }
    if (weights > 0.0L) {
        solution.z = static_cast<double>(sum / weights);
        solution.solved = std::isfinite(solution.z);
    }
    return solution;
}

void Checker::NameCulprit(PointCheck& point) {
    const ObservationCheck& worst = result.observations[static_cast<std::size_t>(point.worst)];
    const bool plan = IsPlanKind(worst.kind);
    std::vector<const LocalEquation*> all;
    for (const LocalEquation& eq : equations) {
        const bool heightEquation = eq.type == LocalEquation::Height;
        if (eq.point == point.point && heightEquation != plan && Placed(eq.other) &&
            (!heightEquation || Levelled(eq.other))) {
            all.push_back(&eq);
        }
    }
    point.culprit = point.worst;
    const auto solve = [&](const std::vector<const LocalEquation*>& used) {
        return plan ? SolvePlan(state, point.point, used) : SolveHeight(used);
    };
    const auto score = [&](const std::vector<const LocalEquation*>& used, const LocalSolution& at) {
        double largest = 0.0;
        for (const LocalEquation* eq : used) {
            largest =
                std::max(largest, std::fabs(EquationResidual(*eq, P(eq->other), at)) / eq->sigma);
        }
        return largest;
    };
    const LocalSolution full = solve(all);
    if (!full.solved || full.redundancy < 1) {
        point.explained = true;  // nothing else to weigh it against: the worst is named
        return;
    }
    std::vector<int> candidates;
    for (const LocalEquation* eq : all) {
        if (std::find(candidates.begin(), candidates.end(), eq->observation) == candidates.end()) {
            candidates.push_back(eq->observation);
        }
    }
    int best = -1;
    double bestDeleted = -1.0;
    double bestScore = 0.0;
    int strong = 0;
    int trivial = 0;
    int leastIndex = -1;
    double leastScore = 0.0;
    for (const int candidate : candidates) {
        std::vector<const LocalEquation*> rest;
        std::vector<const LocalEquation*> removed;
        for (const LocalEquation* eq : all) {
            (eq->observation == candidate ? removed : rest).push_back(eq);
        }
        const LocalSolution without = solve(rest);
        if (!without.solved) {
            continue;
        }
        if (without.redundancy == 0) {
            ++trivial;
            continue;
        }
        const double left = score(rest, without);
        const double deleted = score(removed, without);
        if (leastIndex < 0 || left < leastScore) {
            leastIndex = candidate;
            leastScore = left;
        }
        if (left <= 1.0) {
            ++strong;
            if (deleted > bestDeleted) {
                best = candidate;
                bestDeleted = deleted;
                bestScore = left;
            }
        }
    }
    (void)bestScore;
    if (best >= 0) {
        point.culprit = best;
        point.explained = true;
        point.alternatives = strong - 1;
        ObservationCheck& named = result.observations[static_cast<std::size_t>(best)];
        named.deletedNormalised = std::max(named.deletedNormalised, bestDeleted);
        return;
    }
    // A given point whose observations agree among themselves elsewhere.
    if (point.given && score(all, full) <= 1.0) {
        point.culprit = -1;
        point.culpritIsCoordinates = true;
        point.explained = true;
        return;
    }
    if (strong == 0 && trivial > 0 && leastIndex < 0) {
        // Every single removal leaves nothing to check: one observation more
        // than the point needs, and nothing tells which one is wrong.
        point.explained = true;
        point.alternatives = trivial - 1;
        return;
    }
    if (leastIndex >= 0) {
        point.culprit = leastIndex;
    }
}

void Checker::Rank() {
    std::vector<int>& ranking = result.ranking;
    ranking.resize(result.observations.size());
    std::iota(ranking.begin(), ranking.end(), 0);
    const auto figure = [&](int i) {
        const ObservationCheck& check = result.observations[static_cast<std::size_t>(i)];
        return check.computable ? std::max(check.normalised, check.deletedNormalised) : -1.0;
    };
    std::stable_sort(ranking.begin(), ranking.end(), [&](int a, int b) {
        const double fa = figure(a);
        const double fb = figure(b);
        if (fa != fb) {
            return fa > fb;
        }
        const SourceLine& sa = result.observations[static_cast<std::size_t>(a)].source;
        const SourceLine& sb = result.observations[static_cast<std::size_t>(b)].source;
        return std::pair{sa.file, sa.line} < std::pair{sb.file, sb.line};
    });
    for (std::size_t r = 0; r < ranking.size(); ++r) {
        ObservationCheck& check = result.observations[static_cast<std::size_t>(ranking[r])];
        check.rank = static_cast<int>(r) + 1;
        if (check.verdict == CheckVerdict::Suspect) {
            ++result.suspectCount;
        }
    }
}

}  // namespace

DataCheckResult RunDataCheck(const SurveyState& state) {
    DataCheckResult result;
    result.angleUnit = state.Parameters.angleUnit;
    Checker checker(state, result);
    checker.IndexLines();
    checker.InheritErrors();
    checker.CheckDistances();
    checker.CheckDirections();
    checker.CheckZeniths();
    checker.CheckHeightDifferences();
    checker.CheckBearings();
    checker.MarkPlacing();
    checker.MarkRedundancy();
    checker.CheckPoints();
    checker.Rank();
    return result;
}

bool IsAngleKind(CheckKind kind) {
    return kind == CheckKind::Direction || kind == CheckKind::Zenith || kind == CheckKind::Bearing;
}

std::string KindText(CheckKind kind) {
    switch (kind) {
        case CheckKind::HorizontalDistance:
            return TextOf(texts::kKindHorizontalDistance);
        case CheckKind::SlopeDistance:
            return TextOf(texts::kKindSlopeDistance);
        case CheckKind::Centring:
            return TextOf(texts::kKindCentring);
        case CheckKind::Direction:
            return TextOf(texts::kKindDirection);
        case CheckKind::Zenith:
            return TextOf(texts::kKindZenith);
        case CheckKind::HeightDifference:
            return TextOf(texts::kKindHeightDifference);
        case CheckKind::Bearing:
            return TextOf(texts::kKindBearing);
    }
    return {};
}

std::string VerdictText(CheckVerdict verdict) {
    switch (verdict) {
        case CheckVerdict::Checked:
            return TextOf(texts::kVerdictChecked);
        case CheckVerdict::Unchecked:
            return TextOf(texts::kVerdictUnchecked);
        case CheckVerdict::Suspect:
            return TextOf(texts::kVerdictSuspect);
    }
    return {};
}

std::string MethodText(int method) {
    switch (method) {
        case ByRadiation:
            return TextOf(texts::kMethodRadiated);
        case ByLevellingFromStation:
        case ByLevellingFromTarget:
            return TextOf(texts::kMethodLevelled);
        case ByIntersection:
            return TextOf(texts::kMethodIntersected);
        case ByTriangulationOrEccentric:
            return TextOf(texts::kMethodTriangulatedOrEccentric);
        case ByResection:
            return TextOf(texts::kMethodResected);
        case ByTrilateration:
            return TextOf(texts::kMethodTrilaterated);
        case kPlacedByExtendedStage:
            return TextOf(texts::kMethodExtended);
        default:
            return {};
    }
}

std::string AngleUnitText(int angleUnit) {
    switch (angleUnit) {
        case Grades:
            return "gon";
        case SexagesimalDegrees:
            return "dms";
        case DecimalDegrees:
            return TextOf(texts::kUnitDegreeSign);
        default:
            return "rad";
    }
}

}  // namespace calctopo
