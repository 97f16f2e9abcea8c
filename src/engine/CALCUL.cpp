#include "engine/CALCUL.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>

#include "data/GLOBAL.h"
#include "data/MessagesComp.h"
#include "data/Saisie.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "data/WindowServices.h"
#include "engine/Levelling.h"
#include "engine/PointSights.h"
#include "engine/RadiationIntersection.h"
#include "engine/ResectionTrilateration.h"
#include "engine/TriangulationEccentric.h"
#include "geometry/SightDerivation.h"
#include "output/ResidualListing.h"

namespace calctopo {

namespace {

// The planimetric methods in the order they are tried: the cheapest and most
// direct first (one or two placed neighbours seen from outside), then those
// that need the point to have been a station, resection before eccentric
// station, trilateration last.
constexpr std::array<DeterminationMethod, 6> kPlanimetricMethods = {
    TryRadiation, TryIntersection,     TryTriangulation,
    TryResection, TryEccentricStation, TryTrilateration,
};

// Levelling from a station of known height first, then towards a target.
constexpr std::array<DeterminationMethod, 2> kLevellingMethods = {
    LevelFromStation,
    LevelFromTarget,
};

// The record of a pass, the table grown as far as needed.
PassRecord& PassRecordOf(SurveyState& state, int pass) {
    const auto index = static_cast<std::size_t>(pass);
    if (state.PassTable.size() <= index) {
        state.PassTable.resize(index + 1);
    }
    return state.PassTable[index];
}

// Runs the methods of one family in order until one gives a result.
template <std::size_t N>
bool RunFirstThatSucceeds(const std::array<DeterminationMethod, N>& methods, SurveyState& state,
                          WindowServices& ui, int point) {
    return std::any_of(methods.begin(), methods.end(), [&](DeterminationMethod method) {
        return method(state, ui, point) != NotDetermined;
    });
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
void HandleCandidate(SurveyState& state, WindowServices& ui, int pass, int candidate,
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
    const bool complete = DeterminePoint(state, ui, candidate);
    if (point.planimetricKnown != hadPlan || point.heightKnown != hadHeight) {
        outcome.changed = true;
    }
    if (!complete) {
        RememberFailure(state, candidate);
        return;
    }
    ui.Affiche(TextOf(texts::kPointComputed, point.name), MessageKind::Computed);
    outcome.completed = true;
    PassRecord& record = PassRecordOf(state, pass);
    record.progress = true;
    record.completed += 1;
    state.DeterminedCount += 1;
    state.DeterminationList.Append({candidate, pass});
}

// One sweep of a centre: the targets of its outgoing sights, then the stations
// of its incoming sights, each as often as a sight leads to it.
SweepOutcome SweepCentre(SurveyState& state, WindowServices& ui, int pass, int centre,
                         std::vector<int>* givenCentres) {
    SweepOutcome outcome;
    for (const int number : OutgoingSightsOf(state, centre)) {
        HandleCandidate(state, ui, pass, state.SightTable[number].target, givenCentres, outcome);
    }
    for (const int number : IncomingSightsOf(state, centre)) {
        HandleCandidate(state, ui, pass, state.SightTable[number].station, givenCentres, outcome);
    }
    return outcome;
}

// Sweeps a centre again and again while the last sweep completed a point. In
// pass 1, before anything at all is complete, a sweep that only gave some
// point its plan position or its height also counts: what it found may be
// exactly what the next sweep needs to complete a neighbour.
void SweepCentreUntilStalled(SurveyState& state, WindowServices& ui, int pass, int centre,
                             std::vector<int>* givenCentres) {
    while (true) {
        const SweepOutcome outcome = SweepCentre(state, ui, pass, centre, givenCentres);
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

bool DeterminePoint(SurveyState& state, WindowServices& ui, int point) {
    // The plan position is found once: a point that has it skips this step.
    if (!state.PointTable[point].planimetricKnown &&
        RunFirstThatSucceeds(kPlanimetricMethods, state, ui, point)) {
        DeriveSights(state);
    }
    if (!state.PointTable[point].heightKnown &&
        RunFirstThatSucceeds(kLevellingMethods, state, ui, point)) {
        DeriveSights(state);
    }
    SurveyPoint& done = state.PointTable[point];
    if (!done.planimetricKnown || !done.heightKnown) {
        return false;
    }
    WriteResiduals(state, point);
    done.status = StatusDetermined;
    NoteStatusStored(state);
    return true;
}

void SweepGivenCentres(SurveyState& state, WindowServices& ui, int pass,
                       const std::vector<int>& givenCentres) {
    do {
        PassRecordOf(state, pass).progress = false;
        for (const int centre : givenCentres) {
            SweepCentreUntilStalled(state, ui, pass, centre, nullptr);
        }
    } while (PassRecordOf(state, pass).progress);
}

void SweepPass(SurveyState& state, WindowServices& ui, int pass, std::vector<int>& givenCentres) {
    ClearGivenCentres(state, givenCentres);
    do {
        PassRecordOf(state, pass).progress = false;
        for (const int centre : CentresOf(state, pass)) {
            SweepCentreUntilStalled(state, ui, pass, centre, &givenCentres);
            if (state.DeterminedCount == 0) {
                ui.MessageBox(TextOf(texts::kNothingDeterminable));
                return;
            }
        }
    } while (PassRecordOf(state, pass).progress);
}

void RunDetermination(SurveyState& state, WindowServices& ui) {
    SelectStartPoint(state, ui);
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
            SweepGivenCentres(state, ui, pass, givenCentres);
        }
        SweepPass(state, ui, pass, givenCentres);
        if (state.DeterminedCount == 0) {
            return;
        }
        if (PassRecordOf(state, pass).completed == 0) {
            break;
        }
        state.PassNumber += 1;
    }

    for (const SurveyPoint& point : state.PointTable) {
        if (!point.planimetricKnown || !point.heightKnown) {
            ui.Affiche(TextOf(texts::kPointNotComputed, point.name), MessageKind::Problem);
        }
    }
}

}  // namespace calctopo
