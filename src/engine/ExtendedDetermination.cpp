#include "engine/ExtendedDetermination.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "data/GLOBAL.h"
#include "data/PointSights.h"
#include "data/TextNumbers.h"
#include "data/UserTexts.h"
#include "data/WindowServices.h"
#include "engine/CALCUL.h"
#include "engine/LoadPipeline.h"
#include "engine/RunObserver.h"
#include "geometry/Angles.h"
#include "geometry/CONVERTI.h"
#include "geometry/Primitives.h"
#include "geometry/SightDerivation.h"
#include "geometry/Similarity.h"

namespace calctopo {

namespace {

using Tol = ExtendedTolerances;

// Stations of one block tried in turn as the origin of its local frame. A
// station placed by an earlier try is not tried again (it would rebuild the
// same figure), so this bounds only blocks made of many separate figures.
constexpr int kMaxSeedsPerBlock = 8;
// Common points named in a block's line before "et N autres".
constexpr std::size_t kNamedCommonPoints = 4;
// Parts per million.
constexpr double kPpm = 1.0e6;

constexpr double kNoDistance = std::numeric_limits<double>::quiet_NaN();

// ---- Texts ----

// A number with its sign always written ("+12", "-3", "0").
std::string Signed(double value, int decimals) {
    std::string text = FormatFixed(value, decimals);
    if (text.find_first_not_of("-0.") == std::string::npos) {
        return FormatFixed(0.0, decimals);
    }
    return text[0] == '-' ? text : "+" + text;
}

std::string Length(double value) {
    return FormatFixed(value, 3);
}

// An angle (radians) in the user's unit: grades and decimal degrees with
// four decimals, sexagesimal degrees packed as D.MMSS. A misclosure carries
// its sign; a disagreement or a tolerance does not.
std::string AngleText(const SurveyState& state, double radians, bool withSign = false) {
    const auto number = [&](double value, int decimals) {
        return withSign ? Signed(value, decimals) : FormatFixed(value, decimals);
    };
    switch (state.Parameters.angleUnit) {
        case Grades:
            return number(RadiansToGrades(radians), 4) + " gr";
        case DecimalDegrees:
            return number(RadiansToDegrees(radians), 4) + TextOf(texts::kDegreeUnitSuffix);
        case SexagesimalDegrees:
            return number(RadiansToSexagesimal(radians), 4) + " (d.mmss)";
        default:
            return number(radians, 6) + " rad";
    }
}

const std::string& NameOf(const SurveyState& state, int point) {
    return state.PointTable[point].name;
}

// ---- Window services ----

// The user's services, with the stage's title written before its first line.
class StageServices : public WindowServices {
  public:
    explicit StageServices(WindowServices& ui) : ui_(ui) {}

    bool Started() const { return started_; }

    // The stage's title, before the first line the stage shows.
    void Start() {
        if (!started_) {
            started_ = true;
            ui_.Affiche(TextOf(texts::kExtendedTitle), MessageKind::Info);
        }
    }

    void Affiche(const std::string& text, MessageKind kind) override {
        Start();
        ui_.Affiche(text, kind);
    }
    void AppendPlain(const std::string& text) override {
        Start();
        ui_.AppendPlain(text);
    }
    void AddStartPoint(const std::string& name) override { ui_.AddStartPoint(name); }
    void ClearStartPoints() override { ui_.ClearStartPoints(); }
    std::string StartPointText() override { return ui_.StartPointText(); }
    void EnableStartPoint() override { ui_.EnableStartPoint(); }
    void MessageBox(const std::string& text) override {
        Start();
        ui_.MessageBox(text);
    }
    void ReportFailure(const std::string& message) override { ui_.ReportFailure(message); }
    void StandardOutput(const std::string& line) override { ui_.StandardOutput(line); }

  private:
    WindowServices& ui_;
    bool started_ = false;
};

// The run's observers during the stage: what the local frames do is never
// announced (they use a SilentObserver); on the real tables every event that
// shows a line comes under the stage's title. Completion only lists
// residuals, so it does not start the title: a listing that cannot be
// written stops the stage before anything of it is shown.
class StageObserver final : public RunObserver {
  public:
    StageObserver(RunObserver& user, StageServices& ui) : user_(user), ui_(ui) {}

    void PointPlaced(SurveyState& state, int point, MethodKind method) override {
        ui_.Start();
        user_.PointPlaced(state, point, method);
    }
    void PointLevelled(SurveyState& state, int point, MethodKind method) override {
        ui_.Start();
        user_.PointLevelled(state, point, method);
    }
    void PointCompleted(SurveyState& state, int point) override {
        user_.PointCompleted(state, point);
    }
    void PointDetermined(SurveyState& state, int point) override {
        ui_.Start();
        user_.PointDetermined(state, point);
    }
    void PointNotComputed(SurveyState& state, int point) override {
        ui_.Start();
        user_.PointNotComputed(state, point);
    }
    void NothingDeterminable(SurveyState& state) override {
        ui_.Start();
        user_.NothingDeterminable(state);
    }

  private:
    RunObserver& user_;
    StageServices& ui_;
};

// ---- Records ----

// The stage's record of each point, found by point index.
class PointRecords {
  public:
    explicit PointRecords(SurveyState& state) : state_(state) {
        for (int i = 1; i <= state.ExtendedPoints.Count(); ++i) {
            indexOf_[state.ExtendedPoints[i].point] = i;
        }
    }

    // Notes that the stage gave the point its plan (and from which block) or its height.
    void Note(int point, int block, bool plan, bool height) {
        auto found = indexOf_.find(point);
        if (found == indexOf_.end()) {
            if (state_.ExtendedPoints.Full()) {
                return;
            }
            const int index = state_.ExtendedPoints.Append(ExtendedPointRecord{point, block});
            found = indexOf_.emplace(point, index).first;
        }
        ExtendedPointRecord& record = state_.ExtendedPoints[found->second];
        if (plan) {
            record.plan = true;
            record.block = block;
        }
        record.height = record.height || height;
    }

  private:
    SurveyState& state_;
    std::unordered_map<int, int> indexOf_;
};

bool IsComplete(const SurveyPoint& point) {
    return point.planimetricKnown && point.heightKnown;
}

// ---- The ordinary methods on every incomplete point ----

// The ordinary methods on every point still unknown, in table order, sweep
// after sweep until one finds nothing. `found(point, newPlan, newHeight,
// complete)` hears of every point that got its plan position or its height,
// or became complete. True when some point did.
template <class Found>
bool SweepOrdinaryMethods(SurveyState& state, RunObserver& observer, Found found) {
    bool any = false;
    bool changed = true;
    while (changed) {
        changed = false;
        for (int p = 1; p <= state.PointCount(); ++p) {
            if (state.PointTable[p].status != StatusUnknown) {
                continue;
            }
            const bool hadPlan = state.PointTable[p].planimetricKnown;
            const bool hadHeight = state.PointTable[p].heightKnown;
            const bool complete = DeterminePoint(state, observer, p);
            const bool newPlan = state.PointTable[p].planimetricKnown && !hadPlan;
            const bool newHeight = state.PointTable[p].heightKnown && !hadHeight;
            // A completion counts even without a new value: a point placed by
            // a block whose height was known is completed here.
            if (newPlan || newHeight || complete) {
                found(p, newPlan, newHeight, complete);
                changed = true;
                any = true;
            }
        }
    }
    return any;
}

// The ordinary methods on the real tables: a point completed is announced
// and listed as in a run, and noted as the stage's.
bool CompleteWithOrdinaryMethods(SurveyState& state, RunObserver& observer, PointRecords& records) {
    return SweepOrdinaryMethods(state, observer,
                                [&](int p, bool newPlan, bool newHeight, bool complete) {
                                    if (newPlan || newHeight) {
                                        records.Note(p, 0, newPlan, newHeight);
                                    }
                                    if (complete) {
                                        observer.PointDetermined(state, p);
                                    }
                                });
}

// ---- Blocks ----

// The other ends of every sight of a point (repeated when several sights lead there).
template <class Visit>
void ForEachNeighbour(const SurveyState& state, int point, Visit visit) {
    for (const int number : OutgoingSightsOf(state, point)) {
        visit(state.SightTable[number].target);
    }
    for (const int number : IncomingSightsOf(state, point)) {
        visit(state.SightTable[number].station);
    }
}

// The connected sets of points without plan position, each in table order,
// in the order of their first point.
std::vector<std::vector<int>> FindBlocks(const SurveyState& state) {
    const int n = state.PointCount();
    std::vector<char> seen(static_cast<std::size_t>(n) + 1, 0);
    std::vector<std::vector<int>> blocks;
    for (int start = 1; start <= n; ++start) {
        if (seen[static_cast<std::size_t>(start)] || state.PointTable[start].planimetricKnown) {
            continue;
        }
        std::vector<int> block{start};
        seen[static_cast<std::size_t>(start)] = 1;
        for (std::size_t next = 0; next < block.size(); ++next) {
            ForEachNeighbour(state, block[next], [&](int other) {
                if (other >= 1 && other <= n && !seen[static_cast<std::size_t>(other)] &&
                    !state.PointTable[other].planimetricKnown) {
                    seen[static_cast<std::size_t>(other)] = 1;
                    block.push_back(other);
                }
            });
        }
        std::sort(block.begin(), block.end());
        blocks.push_back(std::move(block));
    }
    return blocks;
}

// The placed points sighted from or towards the block, in table order.
std::vector<int> RingOf(const SurveyState& state, const std::vector<int>& block) {
    std::vector<int> ring;
    for (const int point : block) {
        ForEachNeighbour(state, point, [&](int other) {
            if (other >= 1 && other <= state.PointCount() &&
                state.PointTable[other].planimetricKnown) {
                ring.push_back(other);
            }
        });
    }
    std::sort(ring.begin(), ring.end());
    ring.erase(std::unique(ring.begin(), ring.end()), ring.end());
    return ring;
}

// The observation numbers of each table, grouped by station, in table order.
struct ObservationsByStation {
    std::vector<std::vector<int>> distances;
    std::vector<std::vector<int>> directions;
    std::vector<std::vector<int>> zeniths;
    std::vector<std::vector<int>> heightDifferences;

    explicit ObservationsByStation(const SurveyState& state) {
        Group(state, state.DistanceTable, distances);
        Group(state, state.DirectionTable, directions);
        Group(state, state.ZenithTable, zeniths);
        Group(state, state.HeightDifferenceTable, heightDifferences);
    }

    // True when the point was a station with a reading in a round.
    bool ReadsInARound(const SurveyState& state, int point) const {
        const auto& own = directions[static_cast<std::size_t>(point)];
        return std::any_of(own.begin(), own.end(),
                           [&](int d) { return state.DirectionTable[d].roundNumber != 0; });
    }

  private:
    template <class TableType>
    static void Group(const SurveyState& state, const TableType& table,
                      std::vector<std::vector<int>>& byStation) {
        byStation.assign(static_cast<std::size_t>(state.PointCount()) + 1, {});
        for (int i = 1; i <= table.Count(); ++i) {
            const int station = table[i].station;
            if (station >= 1 && station <= state.PointCount()) {
                byStation[static_cast<std::size_t>(station)].push_back(i);
            }
        }
    }
};

// ---- Local frames ----

enum class FrameKind {
    Distances,   // every observation: distances fix the scale
    AnglesOnly,  // directions and height differences only: the scale is free
};

struct LocalFrame {
    FrameKind kind = FrameKind::Distances;
    std::unique_ptr<SurveyState> survey = std::make_unique<SurveyState>();
    std::vector<int> globalOf;  // local point index -> global one ([0] unused)
    std::vector<int> localOf;   // global point index -> local one, 0 = not in the frame
    // Horizontal distance of each local sight from its observations alone,
    // before anything was placed (NaN when none): what a traverse's legs measure.
    std::vector<double> observedDistance;
};

// Copies the observations of `from` whose two ends are in the frame, in
// table order, with the frame's point numbers.
template <class TableType>
void CopyObservations(const TableType& from, const std::vector<std::vector<int>>& byStation,
                      const LocalFrame& frame, TableType& to) {
    std::vector<int> chosen;
    for (std::size_t local = 1; local < frame.globalOf.size(); ++local) {
        for (const int i : byStation[static_cast<std::size_t>(frame.globalOf[local])]) {
            const int target = from[i].target;
            if (target >= 1 && target < static_cast<int>(frame.localOf.size()) &&
                frame.localOf[static_cast<std::size_t>(target)] != 0) {
                chosen.push_back(i);
            }
        }
    }
    std::sort(chosen.begin(), chosen.end());
    for (const int i : chosen) {
        auto observation = from[i];
        observation.station = frame.localOf[static_cast<std::size_t>(observation.station)];
        observation.target = frame.localOf[static_cast<std::size_t>(observation.target)];
        to.Append(observation);
    }
}

// The local survey of a block and its ring: the points unknown in plan (their
// heights kept), the rounds not oriented, the observations among them loaded
// and derived as a load leaves them. Bearing observations are left out: they
// hold the orientation of the coordinates' frame, not of the local one.
LocalFrame BuildLocalFrame(const SurveyState& state, const ObservationsByStation& observations,
                           const std::vector<int>& members, FrameKind kind) {
    LocalFrame frame;
    frame.kind = kind;
    SurveyState& local = *frame.survey;
    local.Strategy = state.Strategy;  // the local frame computes as the survey does
    frame.globalOf.push_back(0);
    frame.localOf.assign(static_cast<std::size_t>(state.PointCount()) + 1, 0);
    for (const int global : members) {
        const SurveyPoint& original = state.PointTable[global];
        SurveyPoint point;
        point.name = original.name;
        point.z = original.z;
        point.heightKnown = original.heightKnown;
        const int index = AppendPoint(local, point);
        frame.globalOf.push_back(global);
        frame.localOf[static_cast<std::size_t>(global)] = index;
    }
    for (int r = 1; r <= state.RoundTable.Count(); ++r) {
        local.RoundTable.Append(StationRound{});
    }
    CopyObservations(state.DirectionTable, observations.directions, frame, local.DirectionTable);
    CopyObservations(state.HeightDifferenceTable, observations.heightDifferences, frame,
                     local.HeightDifferenceTable);
    if (kind == FrameKind::Distances) {
        CopyObservations(state.DistanceTable, observations.distances, frame, local.DistanceTable);
        CopyObservations(state.ZenithTable, observations.zeniths, frame, local.ZenithTable);
    }
    InitPointSightRanges(local);
    BuildSights(local);
    BuildPointSightRanges(local);
    DeriveSights(local);
    frame.observedDistance.assign(static_cast<std::size_t>(local.SightTable.Count()) + 1,
                                  kNoDistance);
    for (int s = 1; s <= local.SightTable.Count(); ++s) {
        const Sight& sight = local.SightTable[s];
        if (sight.horizontalDistanceKnown) {
            frame.observedDistance[static_cast<std::size_t>(s)] = sight.horizontalDistance;
        }
    }
    return frame;
}

// Places a point of the local frame as its starting data.
void PlaceSeedPoint(SurveyState& local, int point, double x, double y) {
    SurveyPoint& seed = local.PointTable[point];
    seed.x = x;
    seed.y = y;
    seed.planimetricKnown = true;
    seed.status = StatusGiven;
}

// Starts the frame at `seed`: the station at (0, 0) with its first round
// oriented at 0; in a frame of angles alone, the first other point read in
// that round at AngleOnlyBase along its reading. False when the station read
// in no round (or, from angles alone, read no other point).
bool SeedFrame(LocalFrame& frame, int seed) {
    SurveyState& local = *frame.survey;
    int round = 0;
    int second = 0;
    double reading = 0.0;
    for (const DirectionObservation& direction : local.DirectionTable) {
        if (direction.station != seed || direction.roundNumber == 0) {
            continue;
        }
        if (round == 0) {
            round = direction.roundNumber;
        }
        if (direction.roundNumber == round && direction.target != seed && second == 0) {
            second = direction.target;
            reading = direction.value;
        }
    }
    if (round == 0 || (frame.kind == FrameKind::AnglesOnly && second == 0)) {
        return false;
    }
    local.RoundTable[round] = StationRound{0.0, true};
    PlaceSeedPoint(local, seed, 0.0, 0.0);
    if (frame.kind == FrameKind::AnglesOnly) {
        double x = 0.0;
        double y = 0.0;
        PolarPoint(0.0, 0.0, Tol::AngleOnlyBase, reading, x, y);
        PlaceSeedPoint(local, second, x, y);
    }
    // The seed was set by hand, round and points: the derivation starts
    // afresh on the whole frame, as a first sweep over every sight would.
    ResetChangeTracking(local);
    DeriveSights(local);
    return true;
}

// The ordinary methods on every point of the frame until nothing more is
// placed; nothing is shown and nothing is listed.
void RunLocalMethods(SurveyState& local) {
    SilentObserver silent;
    SweepOrdinaryMethods(local, silent, [](int, bool, bool, bool) {});
}

// ---- Fitting a frame ----

// A rotation known in both frames: a round oriented in both, or a bearing
// observation between two points placed in the local frame.
struct OrientationLink {
    double shift = 0.0;  // global bearing minus local bearing, radians, [−π, π]
    int round = 0;       // the round, or 0 for a bearing observation
    int station = 0;     // global point index: the round's station or the bearing's
};

// What one local frame gave.
struct Attempt {
    LocalFrame frame;
    int seed = 0;             // global index
    std::vector<int> figure;  // local points placed, in table order
    std::vector<int> common;  // local points placed in both frames, in table order
    std::vector<OrientationLink> links;
};

void CollectLinks(const SurveyState& state, Attempt& attempt) {
    const SurveyState& local = *attempt.frame.survey;
    // The station of each round, from its first reading in the frame.
    std::vector<int> stationOfRound(static_cast<std::size_t>(local.RoundTable.Count()) + 1, 0);
    for (const DirectionObservation& direction : local.DirectionTable) {
        int& station = stationOfRound[static_cast<std::size_t>(direction.roundNumber)];
        if (direction.roundNumber != 0 && station == 0) {
            station = attempt.frame.globalOf[static_cast<std::size_t>(direction.station)];
        }
    }
    for (int r = 1; r <= local.RoundTable.Count(); ++r) {
        const StationRound& here = local.RoundTable[r];
        const StationRound& there = state.RoundTable[r];
        if (here.orientationKnown && there.orientationKnown &&
            stationOfRound[static_cast<std::size_t>(r)] != 0) {
            attempt.links.push_back(
                {NormalizeAngle(static_cast<double>(static_cast<long double>(there.orientation) -
                                                    here.orientation)),
                 r, stationOfRound[static_cast<std::size_t>(r)]});
        }
    }
    for (const BearingObservation& bearing : state.BearingTable) {
        const int s = attempt.frame.localOf[static_cast<std::size_t>(bearing.station)];
        const int t = attempt.frame.localOf[static_cast<std::size_t>(bearing.target)];
        if (s == 0 || t == 0 || !local.PointTable[s].planimetricKnown ||
            !local.PointTable[t].planimetricKnown) {
            continue;
        }
        double localBearing = 0.0;
        double distance = 0.0;
        BearingAndDistanceBetween(local.PointTable[s].x, local.PointTable[s].y,
                                  local.PointTable[t].x, local.PointTable[t].y, localBearing,
                                  distance);
        // A code 9 (the two points in one place) orients nothing.
        if (distance < Tol::MinCommonBase) {
            continue;
        }
        attempt.links.push_back({NormalizeAngle(static_cast<double>(
                                     static_cast<long double>(bearing.value) - localBearing)),
                                 0, bearing.station});
    }
}

// Builds, seeds and runs one frame from `seed`. False when it could not start.
bool RunAttempt(const SurveyState& state, const ObservationsByStation& observations,
                const std::vector<int>& members, int seed, FrameKind kind, Attempt& attempt) {
    attempt.frame = BuildLocalFrame(state, observations, members, kind);
    attempt.seed = seed;
    if (!SeedFrame(attempt.frame, attempt.frame.localOf[static_cast<std::size_t>(seed)])) {
        return false;
    }
    SurveyState& local = *attempt.frame.survey;
    RunLocalMethods(local);
    for (int p = 1; p <= local.PointCount(); ++p) {
        if (!local.PointTable[p].planimetricKnown) {
            continue;
        }
        attempt.figure.push_back(p);
        if (state.PointTable[attempt.frame.globalOf[static_cast<std::size_t>(p)]]
                .planimetricKnown) {
            attempt.common.push_back(p);
        }
    }
    CollectLinks(state, attempt);
    return true;
}

// Whether the frame can be brought in: two common points, or, when distances
// fixed its scale, one with a rotation known in both frames.
bool CanBeFitted(const Attempt& attempt) {
    if (attempt.common.size() >= 2) {
        return true;
    }
    return attempt.common.size() == 1 && attempt.frame.kind == FrameKind::Distances &&
           !attempt.links.empty();
}

// A figure of more than its starting points.
bool HasFigure(const Attempt& attempt) {
    const std::size_t seeds = attempt.frame.kind == FrameKind::AnglesOnly ? 2 : 1;
    return attempt.figure.size() > seeds;
}

// The fit of an attempt and its verdict.
struct Fit {
    PlaneSimilarity similarity;
    bool accepted = false;
    std::string reason;
    double freeScale = 1.0;
    double largestMisfit = 0.0;
    int largestMisfitPoint = 0;  // global index
    double misfitTolerance = 0.0;
    double largestTurn = 0.0;  // largest disagreement of a link, radians
    int largestTurnStation = 0;
    bool checked = false;  // the data held more than the fit needs
};

CommonPoint CommonOf(const SurveyState& state, const Attempt& attempt, int local) {
    const SurveyPoint& here = attempt.frame.survey->PointTable[local];
    const SurveyPoint& there =
        state.PointTable[attempt.frame.globalOf[static_cast<std::size_t>(local)]];
    return CommonPoint{here.x, here.y, there.x, there.y};
}

// Size of the block once brought in: the diagonal of the box around its
// figure (length units).
double ExtentOf(const Attempt& attempt, const PlaneSimilarity& similarity) {
    const SurveyState& local = *attempt.frame.survey;
    double minX = 0.0;
    double maxX = 0.0;
    double minY = 0.0;
    double maxY = 0.0;
    bool first = true;
    for (const int p : attempt.figure) {
        double x = 0.0;
        double y = 0.0;
        ApplySimilarity(similarity, local.PointTable[p].x, local.PointTable[p].y, x, y);
        if (first) {
            minX = maxX = x;
            minY = maxY = y;
            first = false;
        }
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
    }
    return std::hypot(maxX - minX, maxY - minY);
}

// The longest distance between two common points in the coordinates' frame.
double CommonBaseOf(const std::vector<CommonPoint>& points) {
    double base = 0.0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        for (std::size_t j = i + 1; j < points.size(); ++j) {
            base = std::max(base, std::hypot(points[i].globalX - points[j].globalX,
                                             points[i].globalY - points[j].globalY));
        }
    }
    return base;
}

Fit FitAttempt(const SurveyState& state, const Attempt& attempt) {
    Fit fit;
    std::vector<CommonPoint> points;
    for (const int p : attempt.common) {
        points.push_back(CommonOf(state, attempt, p));
    }
    const bool byDistances = attempt.frame.kind == FrameKind::Distances;
    if (points.size() >= 2) {
        const double base = CommonBaseOf(points);
        if (!(base >= Tol::MinCommonBase)) {
            fit.reason = TextOf(texts::kFitBaseTooShort, Length(base));
            return fit;
        }
        PlaneSimilarity freeFit;
        if (!FitSimilarity(points, SimilarityScale::Free, freeFit)) {
            fit.reason = TextOf(texts::kFitCoincident);
            return fit;
        }
        fit.freeScale = ScaleOf(freeFit);
        fit.similarity = freeFit;
        if (byDistances && !FitSimilarity(points, SimilarityScale::Unit, fit.similarity)) {
            fit.reason = TextOf(texts::kFitCoincident);
            return fit;
        }
        // Unknowns: rotation and translation, plus the scale from angles alone.
        const std::size_t unknowns = byDistances ? 3 : 4;
        fit.checked = 2 * points.size() + attempt.links.size() > unknowns;
        if (byDistances && std::fabs(fit.freeScale - 1.0) > Tol::MaxScaleDeviation &&
            std::fabs(fit.freeScale - 1.0) * base > Tol::MisfitBase) {
            fit.reason = TextOf(texts::kFitScaleOff, Signed((fit.freeScale - 1.0) * kPpm, 0),
                                FormatFixed(Tol::MaxScaleDeviation * kPpm, 0));
            return fit;
        }
    } else {
        fit.similarity = SimilarityFromPointAndShift(points.front(), attempt.links.front().shift);
        fit.checked = attempt.links.size() > 1;
    }

    const double extent = ExtentOf(attempt, fit.similarity);
    fit.misfitTolerance = Tol::MisfitBase + Tol::MisfitPerLength * extent;
    for (std::size_t i = 0; i < points.size(); ++i) {
        double x = 0.0;
        double y = 0.0;
        ApplySimilarity(fit.similarity, points[i].localX, points[i].localY, x, y);
        const double misfit = std::hypot(x - points[i].globalX, y - points[i].globalY);
        // A misfit that is not a number counts as the largest.
        if (fit.largestMisfitPoint == 0 || !(misfit <= fit.largestMisfit)) {
            fit.largestMisfit = misfit;
            fit.largestMisfitPoint =
                attempt.frame.globalOf[static_cast<std::size_t>(attempt.common[i])];
        }
    }
    const double turn = BearingShiftOf(fit.similarity);
    for (const OrientationLink& link : attempt.links) {
        const double disagreement = std::fabs(
            NormalizeAngle(static_cast<double>(static_cast<long double>(link.shift) - turn)));
        if (disagreement > fit.largestTurn || fit.largestTurnStation == 0) {
            fit.largestTurn = disagreement;
            fit.largestTurnStation = link.station;
        }
    }
    if (!std::isfinite(fit.largestMisfit) || fit.largestMisfit > fit.misfitTolerance) {
        fit.reason = TextOf(texts::kFitMisfit, Length(fit.largestMisfit),
                            NameOf(state, fit.largestMisfitPoint), Length(fit.misfitTolerance));
        return fit;
    }
    if (fit.largestTurn > Tol::MaxOrientationMisfit) {
        fit.reason = TextOf(texts::kFitTurn, AngleText(state, fit.largestTurn),
                            NameOf(state, fit.largestTurnStation),
                            AngleText(state, Tol::MaxOrientationMisfit));
        return fit;
    }
    fit.accepted = true;
    return fit;
}

// ---- Traverses ----

// A traverse between two common points, computed leg after leg from its own
// angles and distances. A loop through two control points is two traverses
// (the two blocks its control points cut it into): the second is oriented at
// both ends by the first, and its angular misclosure is the loop's.
struct TraverseClosure {
    std::vector<int> vertices;  // local points, from one common point to the other
    int stations = 0;           // stations of the block on it
    double length = 0.0;
    bool oriented = false;  // both end rounds oriented in the coordinates' frame
    double angular = 0.0;   // radians: carried bearing of the last leg minus the known one
    double linear = 0.0;    // oriented: closing gap; else computed chord minus known chord
};

// The angle at `at` from `from` to `to` (radians): the two readings of one
// round, the later minus the earlier. False when no round holds both.
bool AngleAt(const SurveyState& local, int at, int from, int to, double& angle) {
    for (const int toNumber : OutgoingSightsOf(local, at)) {
        const Sight& forward = local.SightTable[toNumber];
        if (forward.target != to || forward.directionObs == 0 || RoundOf(local, forward) == 0) {
            continue;
        }
        for (const int fromNumber : OutgoingSightsOf(local, at)) {
            const Sight& back = local.SightTable[fromNumber];
            if (back.target == from && back.directionObs != 0 &&
                RoundOf(local, back) == RoundOf(local, forward)) {
                angle = static_cast<double>(static_cast<long double>(ReadingOf(local, forward)) -
                                            ReadingOf(local, back));
                return true;
            }
        }
    }
    return false;
}

// The observed horizontal distance between two points, either way.
bool LegLength(const LocalFrame& frame, int a, int b, double& length) {
    const SurveyState& local = *frame.survey;
    for (const auto& [from, to] : {std::pair{a, b}, std::pair{b, a}}) {
        for (const int number : OutgoingSightsOf(local, from)) {
            const double observed = frame.observedDistance[static_cast<std::size_t>(number)];
            if (local.SightTable[number].target == to && std::isfinite(observed)) {
                length = observed;
                return true;
            }
        }
    }
    return false;
}

bool HasReadingTowards(const SurveyState& local, int from, int to) {
    const auto sights = OutgoingSightsOf(local, from);
    return std::any_of(sights.begin(), sights.end(), [&](int number) {
        const Sight& sight = local.SightTable[number];
        return sight.target == to && sight.directionObs != 0 && RoundOf(local, sight) != 0;
    });
}

// Finds the traverse the block's stations form, if they form exactly one:
// every station of the block read two legs (a reading and a distance towards
// each, to a common point or to another station that read it back).
bool FindTraverse(const Attempt& attempt, const std::vector<char>& isBlockStation,
                  TraverseClosure& traverse) {
    const LocalFrame& frame = attempt.frame;
    const SurveyState& local = *frame.survey;
    const std::size_t n = static_cast<std::size_t>(local.PointCount());
    std::vector<char> isCommon(n + 1, 0);
    for (const int p : attempt.common) {
        isCommon[static_cast<std::size_t>(p)] = 1;
    }
    std::vector<std::vector<int>> legs(n + 1);
    int stations = 0;
    for (std::size_t u = 1; u <= n; ++u) {
        if (!isBlockStation[u]) {
            continue;
        }
        ++stations;
        const int station = static_cast<int>(u);
        for (const int number : OutgoingSightsOf(local, station)) {
            const int v = local.SightTable[number].target;
            double length = 0.0;
            if (v == station || std::find(legs[u].begin(), legs[u].end(), v) != legs[u].end() ||
                !HasReadingTowards(local, station, v) || !LegLength(frame, station, v, length)) {
                continue;
            }
            if (isCommon[static_cast<std::size_t>(v)] ||
                (isBlockStation[static_cast<std::size_t>(v)] &&
                 HasReadingTowards(local, v, station))) {
                legs[u].push_back(v);
                if (isCommon[static_cast<std::size_t>(v)]) {
                    legs[static_cast<std::size_t>(v)].push_back(station);
                }
            }
        }
        if (legs[u].size() != 2) {
            return false;
        }
    }
    if (stations == 0) {
        return false;
    }
    std::vector<int> ends;
    int firstCommon = 0;
    for (std::size_t v = 1; v <= n; ++v) {
        if (!isCommon[v] || legs[v].empty()) {
            continue;
        }
        if (legs[v].size() > 2) {
            return false;
        }
        if (firstCommon == 0) {
            firstCommon = static_cast<int>(v);
        }
        if (legs[v].size() == 1) {
            ends.push_back(static_cast<int>(v));
        }
    }
    if (firstCommon == 0 || ends.size() != 2) {
        return false;
    }
    const int start = ends.front();
    int previous = 0;
    int current = start;
    int visited = 0;
    while (true) {
        traverse.vertices.push_back(current);
        if (isBlockStation[static_cast<std::size_t>(current)]) {
            ++visited;
        }
        if (traverse.vertices.size() > n) {
            return false;
        }
        const std::vector<int>& next = legs[static_cast<std::size_t>(current)];
        if (current != start && next.size() == 1) {
            break;  // the other end
        }
        const int following = next[0] != previous ? next[0] : (next.size() > 1 ? next[1] : 0);
        if (following == 0) {
            return false;
        }
        previous = current;
        current = following;
    }
    traverse.stations = stations;
    return visited == stations;
}

// The bearing, in the coordinates' frame, from the traverse's end `end`
// towards its neighbour `next`: the reading of one of the end's rounds that
// is oriented there. False when none is.
bool EndBearing(const SurveyState& state, const SurveyState& local, int end, int next,
                long double& bearing) {
    for (const int number : OutgoingSightsOf(local, end)) {
        const Sight& sight = local.SightTable[number];
        if (sight.target != next || sight.directionObs == 0) {
            continue;
        }
        const int round = RoundOf(local, sight);
        if (round != 0 && state.RoundTable[round].orientationKnown) {
            bearing = static_cast<long double>(state.RoundTable[round].orientation) +
                      ReadingOf(local, sight);
            return true;
        }
    }
    return false;
}

// Computes the traverse leg after leg. Oriented at both ends: from the first
// end's known bearing, the angular misclosure spread evenly over the angles
// before the closing gap at the other end is measured. Otherwise from an
// arbitrary bearing: only the length of the chord between the ends can be
// compared.
bool ComputeTraverse(const SurveyState& state, const Attempt& attempt, TraverseClosure& traverse) {
    const SurveyState& local = *attempt.frame.survey;
    const std::vector<int>& v = traverse.vertices;
    const std::size_t k = v.size();
    if (k < 3) {
        return false;
    }
    std::vector<double> lengths(k - 1, 0.0);
    for (std::size_t i = 0; i + 1 < k; ++i) {
        if (!LegLength(attempt.frame, v[i], v[i + 1], lengths[i])) {
            return false;
        }
        traverse.length += lengths[i];
    }
    std::vector<double> angles(k - 1, 0.0);
    for (std::size_t i = 1; i + 1 < k; ++i) {
        if (!AngleAt(local, v[i], v[i - 1], v[i + 1], angles[i])) {
            return false;
        }
    }
    const SurveyPoint& first =
        state.PointTable[attempt.frame.globalOf[static_cast<std::size_t>(v.front())]];
    const SurveyPoint& last =
        state.PointTable[attempt.frame.globalOf[static_cast<std::size_t>(v.back())]];
    long double start = 0.0L;
    long double end = 0.0L;
    traverse.oriented = EndBearing(state, local, v.front(), v[1], start) &&
                        EndBearing(state, local, v.back(), v[k - 2], end);
    long double spread = 0.0L;
    if (traverse.oriented) {
        long double carried = start;
        for (std::size_t i = 1; i + 1 < k; ++i) {
            carried += kPi + angles[i];
        }
        traverse.angular = NormalizeAngle(static_cast<double>(carried - (end + kPi)));
        spread = -static_cast<long double>(traverse.angular) / static_cast<long double>(k - 2);
    }
    long double bearing = start;
    long double x = 0.0L;
    long double y = 0.0L;
    for (std::size_t i = 0; i + 1 < k; ++i) {
        if (i > 0) {
            bearing += kPi + angles[i] + spread;
        }
        x += lengths[i] * std::sin(bearing);
        y += lengths[i] * std::cos(bearing);
    }
    const long double knownX = static_cast<long double>(last.x) - first.x;
    const long double knownY = static_cast<long double>(last.y) - first.y;
    traverse.linear = traverse.oriented
                          ? static_cast<double>(std::hypot(x - knownX, y - knownY))
                          : static_cast<double>(std::hypot(x, y) - std::hypot(knownX, knownY));
    return std::isfinite(traverse.linear) && std::isfinite(traverse.length);
}

std::string TraverseLine(const SurveyState& state, const Attempt& attempt,
                         const TraverseClosure& traverse) {
    const auto name = [&](int local) -> const std::string& {
        return NameOf(state, attempt.frame.globalOf[static_cast<std::size_t>(local)]);
    };
    const double ppm = traverse.length > 0.0 ? traverse.linear / traverse.length * kPpm : 0.0;
    const std::string linear =
        traverse.oriented ? Length(traverse.linear) : Signed(traverse.linear, 3);
    const std::string closure = TextOf(texts::kLinearClosure, linear, Signed(ppm, 0));
    const std::string angular =
        traverse.oriented ? TextOf(texts::kAngularClosure, AngleText(state, traverse.angular, true))
                          : TextOf(texts::kAngularClosureNone);
    return TextOf(texts::kTraverse, name(traverse.vertices.front()), name(traverse.vertices.back()),
                  traverse.stations, Length(traverse.length), traverse.oriented ? angular : closure,
                  traverse.oriented ? closure : angular);
}

// ---- The stage ----

class Stage {
  public:
    Stage(SurveyState& state, WindowServices& ui, RunObserver& observer)
        : state_(state), user_(ui), ui_(ui), observer_(observer, ui_), records_(state) {}

    void Run() {
        bool placedAny = false;
        while (true) {
            // Blocks first: a block brought in on all its common points is
            // checked where the ordinary methods would hang it from the first
            // placed point they meet. Then the ordinary methods level what the
            // blocks placed and place what hangs from it.
            bool progress = false;
            const ObservationsByStation observations(state_);
            for (const std::vector<int>& block : FindBlocks(state_)) {
                progress = TryBlock(observations, block) || progress;
            }
            progress = CompleteWithOrdinaryMethods(state_, observer_, records_) || progress;
            if (!progress) {
                break;
            }
            placedAny = true;
        }
        if (!placedAny) {
            // Said once, under the stage's title when it wrote other lines.
            WindowServices& out = ui_.Started() ? static_cast<WindowServices&>(ui_) : user_;
            out.Affiche(TextOf(texts::kExtendedNothingMore), MessageKind::Info);
            return;
        }
        for (int point = 1; point <= state_.PointCount(); ++point) {
            if (!IsComplete(state_.PointTable[point])) {
                observer_.PointNotComputed(state_, point);
            }
        }
    }

  private:
    // One block: frames from its stations in turn until one can be fitted.
    // True when the block was brought in.
    bool TryBlock(const ObservationsByStation& observations, const std::vector<int>& block) {
        const std::vector<int> ring = RingOf(state_, block);
        std::vector<int> members;
        std::merge(block.begin(), block.end(), ring.begin(), ring.end(),
                   std::back_inserter(members));
        std::vector<char> covered(static_cast<std::size_t>(state_.PointCount()) + 1, 0);
        std::string reason;
        int seedShown = 0;
        int tries = 0;
        for (const int seed : block) {
            if (covered[static_cast<std::size_t>(seed)] ||
                !observations.ReadsInARound(state_, seed)) {
                continue;
            }
            if (seedShown == 0) {
                seedShown = seed;
            }
            if (ring.empty()) {
                reason = TextOf(texts::kBlockNoRing);
                break;
            }
            if (++tries > kMaxSeedsPerBlock) {
                break;
            }
            for (const FrameKind kind : {FrameKind::Distances, FrameKind::AnglesOnly}) {
                Attempt attempt;
                if (!RunAttempt(state_, observations, members, seed, kind, attempt)) {
                    continue;
                }
                for (const int p : attempt.figure) {
                    covered[static_cast<std::size_t>(
                        attempt.frame.globalOf[static_cast<std::size_t>(p)])] = 1;
                }
                if (CanBeFitted(attempt)) {
                    const Fit fit = FitAttempt(state_, attempt);
                    if (fit.accepted) {
                        return BringIn(attempt, fit);
                    }
                    Refuse(block, attempt.seed, fit.reason, &attempt, &fit);
                    return false;
                }
                if (HasFigure(attempt) && reason.empty()) {
                    reason = UnfittedReason(attempt);
                }
            }
        }
        if (!reason.empty()) {
            Refuse(block, seedShown, reason, nullptr, nullptr);
        }
        return false;
    }

    std::string UnfittedReason(const Attempt& attempt) const {
        if (attempt.common.empty()) {
            return TextOf(texts::kBlockNoCommonPoint);
        }
        const std::string& name =
            NameOf(state_, attempt.frame.globalOf[static_cast<std::size_t>(attempt.common[0])]);
        if (attempt.frame.kind == FrameKind::AnglesOnly) {
            return TextOf(texts::kBlockOneCommonAnglesOnly, name);
        }
        return TextOf(texts::kBlockOneCommonUnoriented, name);
    }

    int AppendBlock(ExtendedBlock block) {
        if (state_.ExtendedBlocks.Full()) {
            return 0;
        }
        return state_.ExtendedBlocks.Append(std::move(block));
    }

    void Refuse(const std::vector<int>& block, int seed, const std::string& reason,
                const Attempt* attempt, const Fit* fit) {
        if (!refused_.insert(block).second) {
            return;  // told once; the block is the same as when it was refused
        }
        ExtendedBlock record;
        record.reason = reason;
        record.seed = seed;
        if (attempt != nullptr && fit != nullptr) {
            FillFit(record, *attempt, *fit);
        }
        const int number = AppendBlock(record);
        ui_.Affiche(TextOf(texts::kBlockRefused, number, static_cast<int>(block.size()),
                           NameOf(state_, seed), reason),
                    MessageKind::Problem);
    }

    void FillFit(ExtendedBlock& record, const Attempt& attempt, const Fit& fit) const {
        for (const int p : attempt.common) {
            record.commonPoints.push_back(attempt.frame.globalOf[static_cast<std::size_t>(p)]);
        }
        record.freeScale = attempt.frame.kind == FrameKind::AnglesOnly;
        record.scale = record.freeScale ? ScaleOf(fit.similarity) : fit.freeScale;
        record.largestMisfit = fit.largestMisfit;
        record.largestMisfitPoint = fit.largestMisfitPoint;
        if (attempt.common.size() == 1 && !attempt.links.empty()) {
            record.orientingRound = attempt.links.front().round;
        }
    }

    // Moves the block's points into the coordinates' frame and tells how.
    bool BringIn(const Attempt& attempt, const Fit& fit) {
        ExtendedBlock record;
        record.accepted = true;
        record.seed = attempt.seed;
        FillFit(record, attempt, fit);
        const SurveyState& local = *attempt.frame.survey;
        std::vector<int> newPoints;
        for (const int p : attempt.figure) {
            const int global = attempt.frame.globalOf[static_cast<std::size_t>(p)];
            if (!state_.PointTable[global].planimetricKnown) {
                newPoints.push_back(global);
            }
        }
        // Measured before the block is in: the rounds its points will orient
        // orient none of its ends yet.
        TraverseClosure traverse;
        const bool isTraverse =
            attempt.frame.kind == FrameKind::Distances && TraverseOf(attempt, newPoints, traverse);
        for (const int global : newPoints) {
            const int p = attempt.frame.localOf[static_cast<std::size_t>(global)];
            double x = 0.0;
            double y = 0.0;
            ApplySimilarity(fit.similarity, local.PointTable[p].x, local.PointTable[p].y, x, y);
            if (StorePlanPosition(state_, global, x, y, kPlacedByExtendedStage, {})) {
                record.points.push_back(global);
            }
        }
        if (record.points.empty()) {
            return false;
        }
        DeriveSights(state_);
        const int number = AppendBlock(record);
        ui_.Affiche(BlockLine(number, attempt, fit, record), MessageKind::Info);
        if (isTraverse) {
            ui_.Affiche(TraverseLine(state_, attempt, traverse), MessageKind::Info);
        }
        const std::string second = SecondReference(attempt, record);
        for (const int point : record.points) {
            records_.Note(point, number, true, false);
            ui_.Affiche(TextOf(texts::kPlacedByBlock, NameOf(state_, point), number,
                               NameOf(state_, record.commonPoints.front()), second),
                        MessageKind::Info);
        }
        return true;
    }

    // What, besides the first common point, brought the block in.
    std::string SecondReference(const Attempt& attempt, const ExtendedBlock& record) const {
        if (record.commonPoints.size() >= 2) {
            return NameOf(state_, record.commonPoints[1]);
        }
        const OrientationLink& link = attempt.links.front();
        return TextOf(link.round != 0 ? texts::kReferenceRound : texts::kReferenceBearing,
                      NameOf(state_, link.station));
    }

    std::string BlockLine(int number, const Attempt& attempt, const Fit& fit,
                          const ExtendedBlock& record) const {
        std::string names;
        for (std::size_t i = 0; i < record.commonPoints.size() && i < kNamedCommonPoints; ++i) {
            names += (i == 0 ? "" : ", ") + NameOf(state_, record.commonPoints[i]);
        }
        if (record.commonPoints.size() > kNamedCommonPoints) {
            names += TextOf(texts::kAndOthers,
                            static_cast<int>(record.commonPoints.size() - kNamedCommonPoints));
        }
        if (record.commonPoints.size() == 1) {
            names += TextOf(texts::kAndReference, SecondReference(attempt, record));
        }
        std::string scale;
        if (record.freeScale) {
            scale = TextOf(texts::kScaleFree);
        } else if (record.commonPoints.size() >= 2) {
            scale = TextOf(texts::kScaleUnit, Signed((fit.freeScale - 1.0) * kPpm, 0));
        } else {
            scale = "1";
        }
        std::string misfit = fit.checked ? TextOf(texts::kMisfitOn, Length(fit.largestMisfit),
                                                  NameOf(state_, fit.largestMisfitPoint),
                                                  Length(fit.misfitTolerance))
                                         : TextOf(texts::kMisfitUnchecked);
        if (record.commonPoints.size() == 1 && fit.checked) {
            misfit = TextOf(texts::kMisfitPositionUnchecked);
        }
        std::string line = TextOf(texts::kBlockAccepted, number,
                                  static_cast<int>(record.points.size()), names, scale, misfit);
        if (!attempt.links.empty() && fit.checked) {
            line += TextOf(texts::kOrientationWithin, AngleText(state_, fit.largestTurn));
        }
        return line;
    }

    // The traverse the block's new points form, computed with the
    // orientations as they stand.
    bool TraverseOf(const Attempt& attempt, const std::vector<int>& newPoints,
                    TraverseClosure& traverse) const {
        const SurveyState& local = *attempt.frame.survey;
        std::vector<char> isBlockStation(static_cast<std::size_t>(local.PointCount()) + 1, 0);
        for (const int global : newPoints) {
            const int p = attempt.frame.localOf[static_cast<std::size_t>(global)];
            for (const int number : OutgoingSightsOf(local, p)) {
                const Sight& sight = local.SightTable[number];
                if (sight.directionObs != 0 && RoundOf(local, sight) != 0) {
                    isBlockStation[static_cast<std::size_t>(p)] = 1;
                    break;
                }
            }
        }
        return FindTraverse(attempt, isBlockStation, traverse) &&
               ComputeTraverse(state_, attempt, traverse);
    }

    SurveyState& state_;
    WindowServices& user_;
    StageServices ui_;
    StageObserver observer_;
    PointRecords records_;
    std::set<std::vector<int>> refused_;
};

}  // namespace

void RunExtendedDetermination(SurveyState& state, WindowServices& ui, RunObserver& observer) {
    Stage stage(state, ui, observer);
    stage.Run();
}

}  // namespace calctopo
