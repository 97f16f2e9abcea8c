// The walks that pair the readings a station made towards placed points, for
// triangulation, eccentric station and resection.
//
// Each method tries its pairs or triples in a fixed order and keeps the first
// that solves; two readings pair only when they were read in one round (a
// common zero) towards different points. These walks give exactly the pairs
// and triples of the plain nested loops, in the same order, but pass over a
// run of readings of one target, or the readings of another round, in one
// step: a station that read the same target thousands of times costs a walk
// over its readings, not over every pair of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/GLOBAL.h"
#include "data/PointSights.h"

namespace calctopo {

// One reading of the station, as the walks compare them.
struct ReadingCandidate {
    std::int32_t sight = 0;             // sight number
    std::int32_t target = 0;            // point index of the target
    std::int32_t round = 0;             // round of the reading, 0 for none
    const std::string* name = nullptr;  // the target's name
};

// Positions into the candidate list; a visit returns true to stop the walk.
using PairVisit = std::function<bool(std::size_t, std::size_t)>;
using TripleVisit = std::function<bool(std::size_t, std::size_t, std::size_t)>;

// Triangulation: the pairs (i, j), i < j, of one round whose targets have
// different names, i increasing, then j. True when a visit stopped the walk.
bool ForEachForwardPair(const std::vector<ReadingCandidate>& candidates, const PairVisit& visit);

// Eccentric station: for each position a of `firsts` in turn (increasing),
// every position b of the list, of a's round and with a target named
// otherwise, b increasing. True when a visit stopped the walk.
bool ForEachCrossPair(const std::vector<ReadingCandidate>& candidates,
                      const std::vector<std::size_t>& firsts, const PairVisit& visit);

// Resection: the triples (i, j, j + 1), i < j, whose three readings are of one
// round towards three different points (by index), i increasing, then j.
// True when a visit stopped the walk.
bool ForEachChainedTriple(const std::vector<ReadingCandidate>& candidates,
                          const TripleVisit& visit);

// Sights with a direction reading, as the walks that pair readings compare
// them (CandidateWalks.h).
inline std::vector<ReadingCandidate> ReadingCandidatesOf(const SurveyState& state,
                                                         const std::vector<int>& sights) {
    std::vector<ReadingCandidate> candidates;
    candidates.reserve(sights.size());
    for (const int number : sights) {
        const Sight& sight = state.SightTable[number];
        candidates.push_back(
            {number, sight.target, RoundOf(state, sight), &state.PointTable[sight.target].name});
    }
    return candidates;
}

}  // namespace calctopo
