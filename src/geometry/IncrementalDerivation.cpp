#include "geometry/IncrementalDerivation.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <utility>

#include "data/GLOBAL.h"
#include "data/PairingRules.h"
#include "geometry/SightDerivation.h"

namespace calctopo {

namespace {

using Book = IncrementalDerivationBookkeeping;

std::size_t Slot(std::int32_t index) {
    return static_cast<std::size_t>(index);
}

// The round a sight's direction was read in, 0 when it has none.
std::int32_t RoundOfSight(const SurveyState& state, const Sight& sight) {
    return sight.directionObs == 0 ? 0 : state.DirectionTable[sight.directionObs].roundNumber;
}

bool PreparedFor(const Book& book, const SurveyState& state) {
    return book.prepared && book.sightCount == state.SightTable.Count() &&
           book.roundCount == state.RoundTable.Count() && book.pointCount == state.PointCount();
}

// The sights of every round in increasing number, by counting.
void IndexRounds(const SurveyState& state, Book& book) {
    const std::int32_t rounds = state.RoundTable.Count();
    book.roundFirst.assign(Slot(rounds) + 2, 0);
    for (const Sight& sight : state.SightTable) {
        const std::int32_t round = RoundOfSight(state, sight);
        if (HasRoundToOrient(round)) {
            ++book.roundFirst[Slot(round) + 1];
        }
    }
    for (std::size_t r = 1; r < book.roundFirst.size(); ++r) {
        book.roundFirst[r] += book.roundFirst[r - 1];
    }
    book.roundSights.assign(Slot(book.roundFirst.back()), 0);
    std::vector<std::int32_t> next(book.roundFirst.begin(), book.roundFirst.end() - 1);
    for (std::int32_t number = 1; number <= state.SightTable.Count(); ++number) {
        const std::int32_t round = RoundOfSight(state, state.SightTable[number]);
        if (HasRoundToOrient(round)) {
            book.roundSights[Slot(next[Slot(round)]++)] = number;
        }
    }
}

// The lines: the sights grouped by unordered pair of points, each group split
// into the sights towards the lower-numbered point and those back, each part
// in increasing sight number.
void IndexLines(const SurveyState& state, Book& book) {
    const std::int32_t count = state.SightTable.Count();
    std::vector<std::pair<std::uint64_t, std::int32_t>> keyed;
    keyed.reserve(Slot(count));
    for (std::int32_t number = 1; number <= count; ++number) {
        const Sight& sight = state.SightTable[number];
        const auto lower = static_cast<std::uint32_t>(std::min(sight.station, sight.target));
        const auto higher = static_cast<std::uint32_t>(std::max(sight.station, sight.target));
        keyed.emplace_back((static_cast<std::uint64_t>(lower) << 32) | higher, number);
    }
    std::sort(keyed.begin(), keyed.end());

    book.lines.clear();
    book.lineSights.clear();
    book.lineSights.reserve(Slot(count));
    book.lineOfSight.assign(Slot(count) + 1, 0);
    for (std::size_t begin = 0; begin < keyed.size();) {
        std::size_t end = begin;
        while (end < keyed.size() && keyed[end].first == keyed[begin].first) {
            ++end;
        }
        const Sight& some = state.SightTable[keyed[begin].second];
        const std::int32_t higher = std::max(some.station, some.target);
        SightLine line;
        line.first = static_cast<std::int32_t>(book.lineSights.size());
        line.toItself = some.station == some.target;
        const auto lineIndex = static_cast<std::int32_t>(book.lines.size());
        // Towards the lower point first (all of them for a point to itself),
        // then back; the sort left each part in increasing sight number.
        for (const bool towardsLower : {true, false}) {
            for (std::size_t k = begin; k < end; ++k) {
                const std::int32_t number = keyed[k].second;
                const bool fromHigher = state.SightTable[number].station == higher;
                if (fromHigher == towardsLower) {
                    book.lineSights.push_back(number);
                    book.lineOfSight[Slot(number)] = lineIndex;
                    ++(towardsLower ? line.towardsLowerCount : line.towardsHigherCount);
                }
            }
        }
        book.lines.push_back(line);
        begin = end;
    }
}

void MarkPending(Book& book, std::int32_t number) {
    if (book.isPending[Slot(number)] == 0) {
        book.isPending[Slot(number)] = 1;
        book.pendingSights.push_back(number);
    }
}

void MarkDirty(Book& book, std::int32_t line) {
    if (book.isDirty[Slot(line)] == 0) {
        book.isDirty[Slot(line)] = 1;
        book.dirtyLines.push_back(line);
    }
}

// Indexes the current sight table; every sight is pending and every line
// dirty, as for the first sweep and the first sharing of a literal call.
void Prepare(SurveyState& state, Book& book) {
    const std::int32_t count = state.SightTable.Count();
    IndexRounds(state, book);
    IndexLines(state, book);
    book.isPending.assign(Slot(count) + 1, 1);
    book.pendingSights.resize(Slot(count));
    for (std::int32_t number = 1; number <= count; ++number) {
        book.pendingSights[Slot(number - 1)] = number;
    }
    book.isDirty.assign(book.lines.size(), 1);
    book.dirtyLines.resize(book.lines.size());
    for (std::size_t line = 0; line < book.lines.size(); ++line) {
        book.dirtyLines[line] = static_cast<std::int32_t>(line);
    }
    book.sweep.clear();
    book.inSweep.assign(Slot(count) + 1, 0);
    book.received.clear();
    book.sightCount = count;
    book.roundCount = state.RoundTable.Count();
    book.pointCount = state.PointCount();
    book.prepared = true;
    state.Changes.storedPoints.clear();
}

// The sights of a stored point: the rules on them read its position and height.
void MarkSightsOfPoint(const SurveyState& state, Book& book, std::int32_t point) {
    if (point < 1 || point > state.IndexedPointCount) {
        return;
    }
    const PointSightRange& range = state.RangeOf(point);
    const auto markRun = [&](const auto& list, std::int32_t first, std::int32_t last) {
        for (std::int32_t j = first; first != 0 && j <= last; ++j) {
            MarkPending(book, list[j]);
        }
    };
    markRun(state.IncomingSightList, range.firstIncoming, range.lastIncoming);
    markRun(state.OutgoingSightList, range.firstOutgoing, range.lastOutgoing);
}

// A round was just oriented by the rules on sight `by`: its other sights see
// it later in this sweep when they come after `by`, else in the next sweep.
void RevisitRound(Book& book, std::int32_t round, std::int32_t by) {
    const auto begin = book.roundSights.begin() + book.roundFirst[Slot(round)];
    const auto end = book.roundSights.begin() + book.roundFirst[Slot(round) + 1];
    for (auto it = begin; it != end; ++it) {
        const std::int32_t number = *it;
        if (number < by) {
            MarkPending(book, number);
        } else if (number > by && book.inSweep[Slot(number)] == 0) {
            book.inSweep[Slot(number)] = 1;
            book.sweep.push_back(number);
            std::push_heap(book.sweep.begin(), book.sweep.end(), std::greater<>());
        }
    }
}

// One sweep over the pending sights, lowest number first. True when a rule fired.
bool Sweep(SurveyState& state, Book& book) {
    book.sweep.swap(book.pendingSights);
    book.pendingSights.clear();
    for (const std::int32_t number : book.sweep) {
        book.isPending[Slot(number)] = 0;
        book.inSweep[Slot(number)] = 1;
    }
    std::make_heap(book.sweep.begin(), book.sweep.end(), std::greater<>());
    bool changed = false;
    while (!book.sweep.empty()) {
        std::pop_heap(book.sweep.begin(), book.sweep.end(), std::greater<>());
        const std::int32_t number = book.sweep.back();
        book.sweep.pop_back();
        book.inSweep[Slot(number)] = 0;

        const std::int32_t round = RoundOfSight(state, state.SightTable[number]);
        const bool wasOriented =
            HasRoundToOrient(round) && state.RoundTable[round].orientationKnown;
        if (!ApplySightRules(state, number)) {
            continue;
        }
        changed = true;
        MarkPending(book, number);
        MarkDirty(book, book.lineOfSight[Slot(number)]);
        if (HasRoundToOrient(round) && !wasOriented && state.RoundTable[round].orientationKnown) {
            RevisitRound(book, round, number);
        }
    }
    return changed;
}

// Shares the lines that got a value; the sights they give a value to are
// visited by the next sweep.
void ShareDirtyLines(SurveyState& state, Book& book) {
    for (const std::int32_t index : book.dirtyLines) {
        book.isDirty[Slot(index)] = 0;
        const SightLine& line = book.lines[Slot(index)];
        const std::span<const std::int32_t> sights(
            book.lineSights.data() + line.first,
            Slot(line.towardsLowerCount) + Slot(line.towardsHigherCount));
        if (line.toItself) {
            ShareWithinPoint(state, sights, book.received);
        } else {
            ShareBetweenPoints(state, sights.first(Slot(line.towardsLowerCount)),
                               sights.subspan(Slot(line.towardsLowerCount)), book.received);
        }
    }
    book.dirtyLines.clear();
    for (const std::int32_t number : book.received) {
        MarkPending(book, number);
    }
    book.received.clear();
}

}  // namespace

void DeriveSightsIncremental(SurveyState& state) {
    // The lines are read from the per-point index; an index that does not
    // cover every point is left to the literal derivation.
    if (state.IndexedPointCount != state.PointCount()) {
        DeriveSightsLiteral(state);
        return;
    }
    Book& book = state.Derivation;
    if (!PreparedFor(book, state)) {
        Prepare(state, book);
    }
    for (const std::int32_t point : state.Changes.storedPoints) {
        MarkSightsOfPoint(state, book, point);
    }
    state.Changes.storedPoints.clear();

    bool changed = true;
    while (changed) {
        changed = Sweep(state, book);
        ShareDirtyLines(state, book);
    }
}

}  // namespace calctopo
