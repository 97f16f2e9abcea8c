// Walking the sights of one point, shared by the driver, the determination
// methods, the residuals and the data check.
//
// A point's sights are two runs of the per-point index: the sights that end at
// the point (incoming, the point is the target) and those that start at it
// (outgoing, the point is the station). Every method walks one of these runs in
// list order, and the order decides which sight wins, so the walk sits behind
// these few functions and nothing else reads the ranges directly.
#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "data/GLOBAL.h"
#include "data/Placement.h"

namespace calctopo {

// The entries first..last (inclusive, 1-based) of a sight list; empty when the
// run is absent (first 0, or last before first) or lies outside the list.
template <class List>
std::span<const std::int32_t> SightRun(const List& list, std::int32_t first, std::int32_t last) {
    if (first <= 0 || last < first || last > list.Count()) {
        return {};
    }
    return std::span<const std::int32_t>(&list[first], static_cast<std::size_t>(last - first + 1));
}

// The numbers of the sights whose target is `point`, in increasing sight number.
inline std::span<const std::int32_t> IncomingSightsOf(const SurveyState& state, int point) {
    if (point <= 0 || point > state.IndexedPointCount) {
        return {};
    }
    const PointSightRange& range = state.RangeOf(point);
    return SightRun(state.IncomingSightList, range.firstIncoming, range.lastIncoming);
}

// The numbers of the sights whose station is `point`, in increasing sight number.
inline std::span<const std::int32_t> OutgoingSightsOf(const SurveyState& state, int point) {
    if (point <= 0 || point > state.IndexedPointCount) {
        return {};
    }
    const PointSightRange& range = state.RangeOf(point);
    return SightRun(state.OutgoingSightList, range.firstOutgoing, range.lastOutgoing);
}

// The other end of a sight, seen from `point`: its target unless that is the
// point itself, else its station.
inline int OtherPointOf(const Sight& sight, int point) {
    return sight.target != point ? sight.target : sight.station;
}

// The point's outgoing sights that carry a direction reading towards a placed
// target, in list order: what the methods working from the point's own
// readings start from.
inline std::vector<int> ReadingsTowardsPlacedTargets(const SurveyState& state, int point) {
    std::vector<int> candidates;
    for (const int number : OutgoingSightsOf(state, point)) {
        const Sight& sight = state.SightTable[number];
        if (sight.directionObs != 0 && state.PointTable[sight.target].planimetricKnown) {
            candidates.push_back(number);
        }
    }
    return candidates;
}

// The direction reading of a sight (radians) and the round it was read in.
inline double ReadingOf(const SurveyState& state, const Sight& sight) {
    return state.DirectionTable[sight.directionObs].value;
}
inline std::int32_t RoundOf(const SurveyState& state, const Sight& sight) {
    return state.DirectionTable[sight.directionObs].roundNumber;
}

// Stores a plan position found by a method, with the method (MethodResult)
// and the sights it used. A position that is not a pair of finite numbers is
// refused (false) and the point is left as it was, so no NaN or infinity ever
// reaches the point table. A stored position is noted, so that the derivation
// revisits the point's sights.
inline bool StorePlanPosition(SurveyState& state, int point, double x, double y, int method,
                              std::vector<std::int32_t> sights) {
    if (!std::isfinite(x) || !std::isfinite(y)) {
        return false;
    }
    SurveyPoint& target = state.PointTable[point];
    target.x = x;
    target.y = y;
    target.planimetricKnown = true;
    RecordPlanPlacement(state, point, method, std::move(sights));
    NotePointStored(state, point);
    return true;
}

// Stores a height found by a levelling along `sight`; refused like a
// non-finite position.
inline bool StoreHeight(SurveyState& state, int point, double z, int method, int sight) {
    if (!std::isfinite(z)) {
        return false;
    }
    SurveyPoint& target = state.PointTable[point];
    target.z = z;
    target.heightKnown = true;
    RecordHeightPlacement(state, point, method, sight);
    NotePointStored(state, point);
    return true;
}

}  // namespace calctopo
