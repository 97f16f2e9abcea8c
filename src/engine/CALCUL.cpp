#include "engine/CALCUL.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "data/GLOBAL.h"
#include "data/PointSights.h"
#include "engine/Levelling.h"
#include "engine/RadiationIntersection.h"
#include "engine/ResectionTrilateration.h"
#include "engine/RunObserver.h"
#include "engine/TriangulationEccentric.h"
#include "geometry/SightDerivation.h"

namespace calctopo {

namespace {

// The planimetric methods in the order they are tried: the cheapest and most
// direct first (one or two placed neighbours seen from outside), then those
// that need the point to have been a station, resection before eccentric
// station, trilateration last. Each with the name it is announced by.
struct MethodEntry {
    DeterminationMethod run;
    MethodKind kind;
};

constexpr std::array<MethodEntry, 6> kPlanimetricMethods = {{
    {TryRadiation, MethodKind::Radiation},
    {TryIntersection, MethodKind::Intersection},
    {TryTriangulation, MethodKind::Triangulation},
    {TryResection, MethodKind::Resection},
    {TryEccentricStation, MethodKind::EccentricStation},
    {TryTrilateration, MethodKind::Trilateration},
}};

// Levelling from a station of known height first, then towards a target.
constexpr std::array<MethodEntry, 2> kLevellingMethods = {{
    {LevelFromStation, MethodKind::LevellingFromStation},
    {LevelFromTarget, MethodKind::LevellingFromTarget},
}};

// The record of a pass, the table grown as far as needed.
PassRecord& PassRecordOf(SurveyState& state, int pass) {
    const auto index = static_cast<std::size_t>(pass);
    if (state.PassTable.size() <= index) {
        state.PassTable.resize(index + 1);
    }
    return state.PassTable[index];
}

// Runs the methods of one family in order until one gives a result; the
// entry that did, or null.
template <std::size_t N>
const MethodEntry* RunFirstThatSucceeds(const std::array<MethodEntry, N>& methods,
                                        SurveyState& state, int point) {
    const auto found = std::find_if(methods.begin(), methods.end(), [&](const MethodEntry& method) {
        return method.run(state, point) != NotDetermined;
    });
    return found == methods.end() ? nullptr : &*found;
}

// What one sweep of a centre did.
struct SweepOutcome {
    bool completed = false;  // some neighbour became complete
    bool changed = false;    // some neighbour got its plan position or its height
};

// Adds a given point met as a neighbour to the given-centre list, once. A
// point is in the list when its mark is the list's current generation.
void CollectGivenCentre(SurveyState& state, std::vector<int>& givenCentres, int point) {
    RetryBookkeeping& book = state.Retries;
    const auto slot = static_cast<std::size_t>(point);
    if (book.givenCentreMark.size() <= slot) {
        book.givenCentreMark.resize(static_cast<std::size_t>(state.PointCount()) + 1, 0);
    }
    if (book.givenCentreMark[slot] != book.givenCentreGeneration) {
        book.givenCentreMark[slot] = book.givenCentreGeneration;
        givenCentres.push_back(point);
    }
}

// Empties the given-centre list: a new generation unmarks every point.
void ClearGivenCentres(SurveyState& state, std::vector<int>& givenCentres) {
    ++state.Retries.givenCentreGeneration;
    givenCentres.clear();
}

// Whether an attempt on the point would repeat one that left it incomplete:
// a failed attempt writes and shows nothing, so until a position, a height or
// a status is stored somewhere (a new version) it would fail again the same
// way. The literal strategy tries every time.
bool WouldFailAgain(const SurveyState& state, int point) {
    const std::vector<std::uint64_t>& failed = state.Retries.failedAtVersion;
    return state.Strategy == ComputationStrategy::Incremental &&
           static_cast<std::size_t>(point) < failed.size() &&
           failed[static_cast<std::size_t>(point)] == state.Changes.version;
}

void RememberFailure(SurveyState& state, int point) {
    std::vector<std::uint64_t>& failed = state.Retries.failedAtVersion;
    if (failed.size() <= static_cast<std::size_t>(point)) {
        failed.resize(static_cast<std::size_t>(state.PointCount()) + 1, RetryBookkeeping::kNever);
    }
    failed[static_cast<std::size_t>(point)] = state.Changes.version;
}

// One neighbour met during a sweep, handled by its status at that moment.
// Given points are collected as next-pass centres when `givenCentres` is set.
void HandleCandidate(SurveyState& state, RunObserver& observer, int pass, int candidate,
                     std::vector<int>* givenCentres, SweepOutcome& outcome) {
    const SurveyPoint& point = state.PointTable[candidate];
    if (point.status == StatusGiven) {
        if (givenCentres != nullptr) {
            CollectGivenCentre(state, *givenCentres, candidate);
        }
        return;
    }
    if (point.status != StatusUnknown || WouldFailAgain(state, candidate)) {
        return;
    }
    const bool hadPlan = point.planimetricKnown;
    const bool hadHeight = point.heightKnown;
    const bool complete = DeterminePoint(state, observer, candidate);
    if (point.planimetricKnown != hadPlan || point.heightKnown != hadHeight) {
        outcome.changed = true;
    }
    if (!complete) {
        RememberFailure(state, candidate);
        return;
    }
    observer.PointDetermined(state, candidate);
    outcome.completed = true;
    PassRecord& record = PassRecordOf(state, pass);
    record.progress = true;
    record.completed += 1;
    state.DeterminedCount += 1;
    state.DeterminationList.Append({candidate, pass});
}

// One sweep of a centre: the targets of its outgoing sights, then the stations
// of its incoming sights, each as often as a sight leads to it.
SweepOutcome SweepCentre(SurveyState& state, RunObserver& observer, int pass, int centre,
                         std::vector<int>* givenCentres) {
    SweepOutcome outcome;
    for (const int number : OutgoingSightsOf(state, centre)) {
        HandleCandidate(state, observer, pass, state.SightTable[number].target, givenCentres,
                        outcome);
    }
    for (const int number : IncomingSightsOf(state, centre)) {
        HandleCandidate(state, observer, pass, state.SightTable[number].station, givenCentres,
                        outcome);
    }
    return outcome;
}

// Sweeps a centre again and again while the last sweep completed a point. In
// pass 1, before anything at all is complete, a sweep that only gave some
// point its plan position or its height also counts: what it found may be
// exactly what the next sweep needs to complete a neighbour.
void SweepCentreUntilStalled(SurveyState& state, RunObserver& observer, int pass, int centre,
                             std::vector<int>* givenCentres) {
    while (true) {
        const SweepOutcome outcome = SweepCentre(state, observer, pass, centre, givenCentres);
        if (outcome.completed) {
            continue;
        }
        if (pass == 1 && state.DeterminedCount == 0 && outcome.changed) {
            continue;
        }
        return;
    }
}

// The centres of a pass: the start point in pass 1, else the points completed
// in the previous pass, in the order of completion. The list is in order of
// pass (each record carries the pass it was appended in), so they are one
// block of it.
std::vector<int> CentresOf(const SurveyState& state, int pass) {
    std::vector<int> centres;
    if (pass == 1) {
        centres.push_back(state.StartPointIndex);
        return centres;
    }
    const auto byPass = [](const DeterminationRecord& record, int p) { return record.pass < p; };
    const auto first = std::lower_bound(state.DeterminationList.begin(),
                                        state.DeterminationList.end(), pass - 1, byPass);
    for (auto it = first; it != state.DeterminationList.end() && it->pass == pass - 1; ++it) {
        centres.push_back(it->point);
    }
    return centres;
}

bool IsLoadedPoint(const SurveyState& state, int point) {
    return point >= 1 && point <= state.PointCount();
}

}  // namespace

bool DeterminePoint(SurveyState& state, RunObserver& observer, int point) {
    // The plan position is found once: a point that has it skips this step.
    if (!state.PointTable[point].planimetricKnown) {
        if (const MethodEntry* placed = RunFirstThatSucceeds(kPlanimetricMethods, state, point)) {
            observer.PointPlaced(state, point, placed->kind);
            DeriveSights(state);
        }
    }
    if (!state.PointTable[point].heightKnown) {
        if (const MethodEntry* levelled = RunFirstThatSucceeds(kLevellingMethods, state, point)) {
            observer.PointLevelled(state, point, levelled->kind);
            DeriveSights(state);
        }
    }
    SurveyPoint& done = state.PointTable[point];
    if (!done.planimetricKnown || !done.heightKnown) {
        return false;
    }
    observer.PointCompleted(state, point);
    done.status = StatusDetermined;
    NoteStatusStored(state);
    return true;
}

void SweepGivenCentres(SurveyState& state, RunObserver& observer, int pass,
                       const std::vector<int>& givenCentres) {
    do {
        PassRecordOf(state, pass).progress = false;
        for (const int centre : givenCentres) {
            SweepCentreUntilStalled(state, observer, pass, centre, nullptr);
        }
    } while (PassRecordOf(state, pass).progress);
}

void SweepPass(SurveyState& state, RunObserver& observer, int pass,
               std::vector<int>& givenCentres) {
    ClearGivenCentres(state, givenCentres);
    do {
        PassRecordOf(state, pass).progress = false;
        for (const int centre : CentresOf(state, pass)) {
            SweepCentreUntilStalled(state, observer, pass, centre, &givenCentres);
            if (state.DeterminedCount == 0) {
                observer.NothingDeterminable(state);
                return;
            }
        }
    } while (PassRecordOf(state, pass).progress);
}

void RunDetermination(SurveyState& state, RunObserver& observer, int startPoint) {
    if (IsLoadedPoint(state, startPoint)) {
        state.StartPointIndex = startPoint;
    }
    // A start point kept from an earlier, larger load names no point of this one.
    if (state.StartPointIndex == 0 || !IsLoadedPoint(state, state.StartPointIndex)) {
        return;
    }
    state.DeterminedCount = 0;
    state.PassNumber = 1;
    state.DeterminationList.Clear();
    state.PassTable.assign(2, PassRecord{});
    // Nothing is remembered from an earlier run: every point is tried afresh.
    state.Retries.failedAtVersion.assign(static_cast<std::size_t>(state.PointCount()) + 1,
                                         RetryBookkeeping::kNever);
    std::vector<int> givenCentres;

    while (true) {
        const int pass = state.PassNumber;
        if (pass != 1 && !givenCentres.empty()) {
            SweepGivenCentres(state, observer, pass, givenCentres);
        }
        SweepPass(state, observer, pass, givenCentres);
        if (state.DeterminedCount == 0) {
            return;
        }
        if (PassRecordOf(state, pass).completed == 0) {
            break;
        }
        state.PassNumber += 1;
    }

    for (int point = 1; point <= state.PointCount(); ++point) {
        const SurveyPoint& left = state.PointTable[point];
        if (!left.planimetricKnown || !left.heightKnown) {
            observer.PointNotComputed(state, point);
        }
    }
}

}  // namespace calctopo
