// The shared survey state: every table, count, file name and parameter of a
// run of the program, in one plain struct.
//
// The window (or the batch runner, or a test) owns one SurveyState and passes it
// by reference to the plain procedures of the logic; nothing else holds state
// between calls. Every table is 1-based with stable indices (see Table.h); the
// limits below are the program's hard limits.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/InputSources.h"
#include "data/Placement.h"
#include "data/ChangeTracking.h"
#include "data/Table.h"
#include "data/TextFile.h"

namespace calctopo {

// Table limits.
constexpr int kMaxPoints = 10000;
constexpr int kMaxObservations = 50000;  // per observation table
constexpr int kMaxRounds = 1000;
constexpr int kMaxSights = 50000;
constexpr int kMaxSightListEntries = 50000;  // per sight list (incoming, outgoing)
constexpr int kMaxDeterminations = 10000;
constexpr int kMaxNameLength = 8;  // point names, in bytes

enum PointStatus : std::int32_t {
    StatusUnknown = 0,     // named by an observation, not yet determined
    StatusDetermined = 1,  // plan and height completed during a run
    StatusGiven = 9,       // read from the coordinates file
};

struct SurveyPoint {
    std::string name;  // at most 8 single-byte characters, compared exactly
    double x = 0.0;    // east
    double y = 0.0;    // north
    double z = 0.0;    // height
    std::int32_t status = StatusUnknown;
    bool planimetricKnown = false;
    bool heightKnown = false;
    double sixthFieldValue = 0.0;    // carried to the ".new" file only
    double seventhFieldValue = 0.0;  // carried to the ".new" file only
};

// Codes 1, 2, 3, 9.
struct DistanceObservation {
    std::int32_t station = 0;
    std::int32_t target = 0;
    double value = 0.0;  // distance (length unit of the coordinates)
    double instrumentHeight = 0.0;
    double targetHeight = 0.0;
    bool isHorizontal = false;  // codes 2 and 9
};

// Codes 5, 7.
struct DirectionObservation {
    std::int32_t station = 0;
    std::int32_t target = 0;
    double value = 0.0;            // reading; radians after the load
    std::int32_t roundNumber = 0;  // round current when read, 0 = none
};

// Code 6.
struct ZenithObservation {
    std::int32_t station = 0;
    std::int32_t target = 0;
    double value = 0.0;  // zenith angle; radians after the load
    double instrumentHeight = 0.0;
    double targetHeight = 0.0;
};

// Code 4.
struct HeightDifferenceObservation {
    std::int32_t station = 0;
    std::int32_t target = 0;
    double value = 0.0;  // target height minus station height
};

// Codes 8, 9.
struct BearingObservation {
    std::int32_t station = 0;
    std::int32_t target = 0;
    double value = 0.0;  // bearing; radians after the load
};

struct StationRound {
    double orientation = -1.0;  // radians: reading + orientation = bearing
    bool orientationKnown = false;
};

// Everything observed along one directed line from a station to a target.
struct Sight {
    std::int32_t station = 0;
    std::int32_t target = 0;
    std::int32_t distanceObs = 0;      // index into DistanceTable, 0 = none
    std::int32_t directionObs = 0;     // index into DirectionTable, 0 = none
    std::int32_t zenithObs = 0;        // index into ZenithTable, 0 = none
    double bearing = -1.0;             // radians, station to target
    double horizontalDistance = -1.0;  // length unit
    double heightDifference = -1.0;    // target minus station
    bool bearingKnown = false;
    bool horizontalDistanceKnown = false;
    bool heightDifferenceKnown = false;
};

// A point's runs in IncomingSightList and OutgoingSightList (inclusive,
// 1-based; a run is absent when its first position is 0).
struct PointSightRange {
    std::int32_t pointIndex = 0;
    std::int32_t firstIncoming = 0;
    std::int32_t lastIncoming = 0;
    std::int32_t firstOutgoing = 0;
    std::int32_t lastOutgoing = 0;
};

struct ComputationParameters {
    std::int32_t angleUnit = 1;  // AngleUnit: 1 grades, 2 sexagesimal D.MMSS, 3 decimal degrees
    std::int32_t significantDigits = 3;
    double meanLatitude = 45.0;
    double refractionCoefficient = 0.12;
    long double originX = 0.0L;
    long double originY = 0.0L;
    long double originZ = 0.0L;
    bool originGiven = false;
};

// One completed point of a determination run.
struct DeterminationRecord {
    std::int32_t point = 0;
    std::int32_t pass = 0;
};

// Progress of one pass of a determination run.
struct PassRecord {
    bool progress = false;       // a point was completed in the current cycle of a sweep
    std::int32_t completed = 0;  // points completed in this pass
};

// The action whose failure left the tables and the listing incomplete.
enum class InterruptedAction : std::int32_t {
    None = 0,
    Load,  // "Initialisation": the load (or what precedes it) ended by a failure
    Run,   // a determination run ended by a failure
};

// A block of points that the extended determination computed in a frame of
// its own, from one of its stations, and brought into the frame of the
// coordinates through the points known in both (ExtendedDetermination.h).
struct ExtendedBlock {
    bool accepted = false;
    std::string reason;                // why it was refused (Windows-1252); empty when accepted
    std::int32_t seed = 0;             // the station the local frame started from
    std::vector<std::int32_t> points;  // the points it placed, in table order (accepted only)
    std::vector<std::int32_t> commonPoints;  // known in both frames, in table order
    std::int32_t orientingRound = 0;      // round that turned a block of one common point, 0 = none
    bool freeScale = false;               // built from angles alone: the fit chose the scale
    double scale = 1.0;                   // scale of the free fit (local to coordinates frame)
    double largestMisfit = 0.0;           // largest distance of a common point from its image
    std::int32_t largestMisfitPoint = 0;  // the common point where it lies, 0 = none
};

// A point that the extended determination gave its plan position or its height.
struct ExtendedPointRecord {
    std::int32_t point = 0;
    std::int32_t block = 0;  // index into ExtendedBlocks; 0: the ordinary methods, during the stage
    bool plan = false;       // the stage gave the point its plan position
    bool height = false;     // the stage gave the point its height
};

struct SurveyState {
    // Survey tables, rebuilt by every load.
    Table<SurveyPoint, kMaxPoints> PointTable;
    Table<DistanceObservation, kMaxObservations> DistanceTable;
    Table<DirectionObservation, kMaxObservations> DirectionTable;
    Table<ZenithObservation, kMaxObservations> ZenithTable;
    Table<HeightDifferenceObservation, kMaxObservations> HeightDifferenceTable;
    Table<BearingObservation, kMaxObservations> BearingTable;
    Table<StationRound, kMaxRounds> RoundTable;
    Table<Sight, kMaxSights> SightTable;

    // Per-point index of the sights.
    Table<std::int32_t, kMaxSightListEntries> IncomingSightList;
    Table<std::int32_t, kMaxSightListEntries> OutgoingSightList;
    std::vector<PointSightRange> PointSightRanges;  // 1-based: entry 0 unused
    std::int32_t IndexedPointCount = 0;

    std::int32_t StartPointIndex = 0;

    // File names, as the user typed or chose them (see the load action).
    std::string CoordinatesFileName;
    std::string ObservationsFileName;
    std::string ListingFileName;
    std::string NewFileName;
    std::string WorkSiteFileName;
    TextOutputFile ListingFile;

    ComputationParameters Parameters;

    // Set when a load or a run ended by a failure: the tables and the listing
    // hold what the failed action left, which "Quitter" must not write over a
    // good ".new" file of an earlier session. Cleared by the next load that
    // completes.
    InterruptedAction Interrupted = InterruptedAction::None;

    // Determination engine state, kept between runs.
    std::int32_t PassNumber = 1;
    std::int32_t DeterminedCount = 0;
    Table<DeterminationRecord, kMaxDeterminations> DeterminationList;
    std::vector<PassRecord> PassTable;  // indexed by pass number from 1

    // Where each record of the input tables was read (file, line, code, text).
    InputSources Sources;
    // How a run placed each point, by point index (entry 0 unused; grown as
    // the methods store results, emptied with the points).
    std::vector<PointPlacement> Placements;
    // How the sights are derived and how often the engine retries (the
    // program: Incremental), and what the fast paths remember between calls
    // (ChangeTracking.h).
    ComputationStrategy Strategy = ComputationStrategy::Incremental;
    PointChangeLog Changes;
    IncrementalDerivationBookkeeping Derivation;
    RetryBookkeeping Retries;
    // What the extended determination did since the load, so that later views
    // can show its points as a class of their own; emptied with the points.
    Table<ExtendedBlock, kMaxPoints> ExtendedBlocks;
    Table<ExtendedPointRecord, kMaxPoints> ExtendedPoints;  // one per point, in order placed

    // Name -> first index of that name in PointTable. An index of the linear
    // search, kept in step by AppendPoint and ClearPoints.
    std::unordered_map<std::string, std::int32_t> PointIndexByName;

    int PointCount() const { return PointTable.Count(); }
    PointSightRange& RangeOf(int point) {
        return PointSightRanges.at(static_cast<std::size_t>(point));
    }
    const PointSightRange& RangeOf(int point) const {
        return PointSightRanges.at(static_cast<std::size_t>(point));
    }
};

// A point's position or height was stored: the derivation revisits its
// sights, and every incomplete point may be tried again.
void NotePointStored(SurveyState& state, int point);
// A point's status was stored: every incomplete point may be tried again.
void NoteStatusStored(SurveyState& state);
// The sight table was (re)built: the next derivation visits every sight.
void ResetChangeTracking(SurveyState& state);

// Empties the point table, its name index and the extended determination's
// records of the points (start of a load).
void ClearPoints(SurveyState& state);

// Appends a point without looking for an earlier point of the same name and
// returns its index. The caller has checked that the table is not full.
int AppendPoint(SurveyState& state, SurveyPoint point);

// Index of the first point named exactly `name` (same length, same bytes), or 0.
int FindPoint(const SurveyState& state, const std::string& name);

// Index of the point named `name`, adding an unknown point when there is none.
// A 10001st point throws TableLimitReached with "Nombre maximum de points
// atteint : 10001".
int FindOrAddPoint(SurveyState& state, const std::string& name);

}  // namespace calctopo
