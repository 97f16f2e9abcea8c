#include "engine/LoadPipeline.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/Failures.h"
#include "data/GLOBAL.h"
#include "data/LIT.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "data/WindowServices.h"
#include "geometry/CONVERTI.h"
#include "geometry/SightDerivation.h"

namespace calctopo {

namespace {

// The statistics lines of the load: a label padded to a common width and the
// count right-aligned in six characters.
void ShowStatistics(const SurveyState& state, WindowServices& ui) {
    const auto show = [&](const Text<int>& text, int count) {
        ui.Affiche(TextOf(text, count), MessageKind::Info);
    };
    show(texts::kCountPoints, state.PointCount());
    show(texts::kCountDirections, state.DirectionTable.Count());
    show(texts::kCountZeniths, state.ZenithTable.Count());
    show(texts::kCountDistances, state.DistanceTable.Count());
    show(texts::kCountHeightDifferences, state.HeightDifferenceTable.Count());
    show(texts::kCountBearings, state.BearingTable.Count());
    show(texts::kCountRounds, state.RoundTable.Count());
}

// Appends a fresh sight (no observation, every value unknown) from station to
// target and returns its number. The sight table is a hard limit of the
// program: one more sight than it holds ends the load with the count that was
// asked for.
int AppendSight(SurveyState& state, int station, int target) {
    if (state.SightTable.Full()) {
        throw TableLimitReached(TextOf(texts::kSightLimit, state.SightTable.Count() + 1));
    }
    Sight sight;
    sight.station = station;
    sight.target = target;
    return state.SightTable.Append(sight);
}

// Key of a directed line for the sight index; station and target are point
// indices, both below 2^31.
std::uint64_t LineKey(int station, int target) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(station)) << 32) |
           static_cast<std::uint32_t>(target);
}

// The first sight of every directed line, in step with the sight table while
// BuildSights fills it. A line's first sight never changes once set, so the
// index answers exactly as a search from sight 1 upward would.
class SightIndex {
  public:
    explicit SightIndex(const SurveyState& state) {
        for (int number = 1; number <= state.SightTable.Count(); ++number) {
            const Sight& sight = state.SightTable[number];
            first_.emplace(LineKey(sight.station, sight.target), number);
        }
    }

    int FindOrAdd(SurveyState& state, int station, int target) {
        const auto found = first_.find(LineKey(station, target));
        if (found != first_.end()) {
            return found->second;
        }
        const int number = AppendSight(state, station, target);
        first_.emplace(LineKey(station, target), number);
        return number;
    }

  private:
    std::unordered_map<std::uint64_t, int> first_;
};

}  // namespace

void LoadSurveyData(SurveyState& state, WindowServices& ui) {
    LoadKnownPoints(state, ui);
    LoadObservations(state, ui);
    ShowStatistics(state, ui);
    ConvertObservationAngles(state);
    InitPointSightRanges(state);
    BuildSights(state);
    BuildPointSightRanges(state);
    DeriveSights(state);
}

void InitPointSightRanges(SurveyState& state) {
    ResetChangeTracking(state);
    state.IndexedPointCount = state.PointCount();
    state.PointSightRanges.assign(static_cast<std::size_t>(state.IndexedPointCount) + 1,
                                  PointSightRange{});
    for (int i = 1; i <= state.IndexedPointCount; ++i) {
        state.RangeOf(i).pointIndex = i;
    }
}

int FindOrAddSight(SurveyState& state, int station, int target) {
    for (int number = 1; number <= state.SightTable.Count(); ++number) {
        const Sight& sight = state.SightTable[number];
        if (sight.station == station && sight.target == target) {
            return number;
        }
    }
    return AppendSight(state, station, target);
}

void BuildSights(SurveyState& state) {
    ResetChangeTracking(state);
    state.SightTable.Clear();

    // Every direction reading has a sight of its own: a target read in several
    // rounds from one station gives several sights of the same line, each tied
    // to its round.
    for (int d = 1; d <= state.DirectionTable.Count(); ++d) {
        const DirectionObservation& direction = state.DirectionTable[d];
        const int number = AppendSight(state, direction.station, direction.target);
        state.SightTable[number].directionObs = d;
    }

    // The other observations join the first sight of their line. When several
    // of one kind meet on a sight, the last one read is kept.
    SightIndex index(state);
    for (int d = 1; d <= state.DistanceTable.Count(); ++d) {
        const DistanceObservation& distance = state.DistanceTable[d];
        Sight& sight = state.SightTable[index.FindOrAdd(state, distance.station, distance.target)];
        sight.distanceObs = d;
        // A slope distance is reduced later with a zenith angle or a height
        // difference; it leaves a horizontal distance read earlier in place.
        if (distance.isHorizontal) {
            sight.horizontalDistance = distance.value;
            sight.horizontalDistanceKnown = true;
        }
    }
    for (int z = 1; z <= state.ZenithTable.Count(); ++z) {
        const ZenithObservation& zenith = state.ZenithTable[z];
        state.SightTable[index.FindOrAdd(state, zenith.station, zenith.target)].zenithObs = z;
    }
    for (int h = 1; h <= state.HeightDifferenceTable.Count(); ++h) {
        const HeightDifferenceObservation& levelled = state.HeightDifferenceTable[h];
        Sight& sight = state.SightTable[index.FindOrAdd(state, levelled.station, levelled.target)];
        sight.heightDifference = levelled.value;
        sight.heightDifferenceKnown = true;
    }
    for (int b = 1; b <= state.BearingTable.Count(); ++b) {
        const BearingObservation& bearing = state.BearingTable[b];
        Sight& sight = state.SightTable[index.FindOrAdd(state, bearing.station, bearing.target)];
        sight.bearing = bearing.value;
        sight.bearingKnown = true;
    }
}

void BuildPointSightRanges(SurveyState& state) {
    ResetChangeTracking(state);
    state.IncomingSightList.Clear();
    state.OutgoingSightList.Clear();

    const int pointCount = state.IndexedPointCount;
    const int sightCount = state.SightTable.Count();
    const auto indexed = [pointCount](int point) { return point >= 1 && point <= pointCount; };

    // Counting pass: how many sights arrive at and leave every point.
    std::vector<int> incoming(static_cast<std::size_t>(pointCount) + 1, 0);
    std::vector<int> outgoing(static_cast<std::size_t>(pointCount) + 1, 0);
    for (int s = 1; s <= sightCount; ++s) {
        const Sight& sight = state.SightTable[s];
        if (indexed(sight.station)) {
            ++outgoing[static_cast<std::size_t>(sight.station)];
        }
        if (indexed(sight.target)) {
            ++incoming[static_cast<std::size_t>(sight.target)];
        }
    }

    // Runs laid out point after point; a point without sights of one kind
    // keeps that run absent (positions 0, as InitPointSightRanges left them).
    std::vector<int> nextIncoming(static_cast<std::size_t>(pointCount) + 1, 0);
    std::vector<int> nextOutgoing(static_cast<std::size_t>(pointCount) + 1, 0);
    int incomingTotal = 0;
    int outgoingTotal = 0;
    for (int i = 1; i <= pointCount; ++i) {
        PointSightRange& range = state.RangeOf(i);
        const auto slot = static_cast<std::size_t>(i);
        if (incoming[slot] > 0) {
            range.firstIncoming = incomingTotal + 1;
            range.lastIncoming = incomingTotal + incoming[slot];
        }
        if (outgoing[slot] > 0) {
            range.firstOutgoing = outgoingTotal + 1;
            range.lastOutgoing = outgoingTotal + outgoing[slot];
        }
        nextIncoming[slot] = incomingTotal;
        nextOutgoing[slot] = outgoingTotal;
        incomingTotal += incoming[slot];
        outgoingTotal += outgoing[slot];
    }

    // Filling pass in sight order, so that within a point the sight numbers
    // increase. A sight from a point to itself is entered in both lists.
    std::vector<std::int32_t> incomingList(static_cast<std::size_t>(incomingTotal), 0);
    std::vector<std::int32_t> outgoingList(static_cast<std::size_t>(outgoingTotal), 0);
    for (int s = 1; s <= sightCount; ++s) {
        const Sight& sight = state.SightTable[s];
        if (indexed(sight.station)) {
            int& next = nextOutgoing[static_cast<std::size_t>(sight.station)];
            outgoingList[static_cast<std::size_t>(next++)] = s;
        }
        if (indexed(sight.target)) {
            int& next = nextIncoming[static_cast<std::size_t>(sight.target)];
            incomingList[static_cast<std::size_t>(next++)] = s;
        }
    }
    for (const std::int32_t s : incomingList) {
        state.IncomingSightList.Append(s);
    }
    for (const std::int32_t s : outgoingList) {
        state.OutgoingSightList.Append(s);
    }
}

}  // namespace calctopo
