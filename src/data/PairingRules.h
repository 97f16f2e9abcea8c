// Two rules of how readings pair, which look like accidents and are not.
//
// (a) Same target: triangulation and eccentric station pass over a pair of
//     readings whose targets bear the same NAME; intersection (two stations)
//     and resection (three targets) compare POINTS, their indices. The two
//     differ only when the coordinates file holds a name twice: two points
//     then share the name, and the angle methods will not pair a reading
//     towards one with a reading towards the other, while resection will.
//
// (b) Round 0: a direction read before the first round line of its station
//     carries round number 0. For the angle methods 0 is a round number like
//     any other, so two such readings pair (their difference is an angle all
//     the same); for the derivation they belong to no round, which has no
//     orientation to find or to use: their sights never get a bearing from
//     them.
#pragma once

#include <cstdint>
#include <string_view>

namespace calctopo {

// (a) Triangulation and eccentric station: the targets are one by name.
inline bool SameTargetByName(std::string_view a, std::string_view b) {
    return a == b;
}

// (a) Intersection and resection: the points are one by index.
inline bool SamePoint(std::int32_t a, std::int32_t b) {
    return a == b;
}

// (b) The angle methods: two readings share a zero when they carry the same
// round number, 0 (before any round) included.
inline bool ReadInOneRound(std::int32_t roundA, std::int32_t roundB) {
    return roundA == roundB;
}

// (b) The derivation: a reading has a round to orient, or oriented to turn it
// into a bearing, only when its round number is not 0.
inline bool HasRoundToOrient(std::int32_t round) {
    return round != 0;
}

}  // namespace calctopo
