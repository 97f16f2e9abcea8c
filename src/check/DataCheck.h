// The data check: every observation compared with the value the coordinates
// give, after a run, to find the blunders a field book always holds.
//
// It works from the raw observation tables (angles in radians after the
// load) and the coordinates as they stand, never from the sights' derived
// values, which the derivation rewrites from the coordinates. It changes
// nothing in the state.
//
// Residual = observed minus computed, in the user's angle unit for angles and
// in the coordinate unit for lengths. The normalised figure is |residual| /
// tolerance, with the tolerances below: beyond 1 an observation is suspect.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/InputSources.h"

namespace calctopo {

struct SurveyState;

// Default tolerances of the check. They are meant to catch blunders, not to
// judge precision: approximate coordinates come from minimal figures, so an
// exact observation already disagrees with them by what the sights that
// placed its points carried (a few mm to a few cm), and a blunder (a target
// misnamed, a distance misread by a decimetre, a wrong sign) is far larger.
struct CheckTolerances {
    // Directions, bearings (radians): 5 mgon, five times what a round read on
    // a total station carries, so that errors passed on from the sights that
    // placed the points stay below it.
    static constexpr double kAngle = 7.853981633974483e-5;  // 5 mgon
    // Added to the angular tolerance as a transverse length over the sight
    // (length units): 3 cm, the centring of instrument and target and the
    // position error of a point placed from a short sight. Over a 100 m sight
    // it adds 19 mgon: short sights cannot judge an angle finely.
    static constexpr double kTransverse = 0.03;
    // Distances: 3 cm (length units) plus 50 ppm of the distance, the error
    // of approximate positions growing with the length of the sight.
    static constexpr double kDistance = 0.03;
    static constexpr double kDistancePpm = 50e-6;
    // Height differences and the height part of zenith angles (length
    // units): 3 cm, trigonometric heights over a few hundred metres.
    static constexpr double kHeight = 0.03;
    // Zenith angles (radians): 5 mgon, plus kHeight over the sight.
    static constexpr double kZenith = 7.853981633974483e-5;  // 5 mgon
    // What each placement adds to the position error a point inherits from
    // the points it was placed from (length units): 5 mm plus 5 cm per km
    // of the sight (3 mgon across it). Approximate positions at the end of a
    // long chain of radiations are that much less sure, and the tolerance
    // of an observation grows by the inherited errors of its two points, so
    // that a chain's drift is not taken for a blunder.
    static constexpr double kChainStep = 0.005;
    static constexpr double kChainStepPerLength = 5e-5;
    // The same for heights carried along a chain of levellings: 5 mm plus
    // 2 cm per km of the sight.
    static constexpr double kHeightChainStep = 0.005;
    static constexpr double kHeightChainStepPerLength = 2e-5;
    // A sight shorter than this (length units) has no bearing: its two
    // points are one, and only a centring can be checked along it.
    static constexpr double kMinSight = 0.001;
};

// What an observation record is.
enum class CheckKind : int {
    HorizontalDistance,  // code 2
    SlopeDistance,       // codes 1, 3
    Centring,            // code 9
    Direction,           // codes 5, 7
    Zenith,              // code 6
    HeightDifference,    // code 4
    Bearing,             // code 8
};

enum class CheckVerdict : int {
    Checked,    // "contrôlé": redundant and within tolerance
    Unchecked,  // "non contrôlé": nothing else checks it (or it cannot be computed)
    Suspect,    // "suspect": beyond tolerance
};

struct ObservationCheck {
    CheckKind kind = CheckKind::HorizontalDistance;
    std::int32_t record = 0;  // index in its observation table
    std::int32_t station = 0;
    std::int32_t target = 0;
    SourceLine source;        // file and line it was read from (file 0: unknown)
    std::int32_t round = 0;   // directions: the round read in
    bool computable = false;  // its points are placed (and levelled for heights)
    std::string note;         // Windows-1252: why it is not computable, or what it is
    // In the user's angle unit for angles, in length units for lengths.
    double observed = 0.0;
    double computed = 0.0;
    double residual = 0.0;
    double residualRadians = 0.0;  // angles only
    bool hasOffset = false;        // angles: the residual as a length at the sight's distance
    double offset = 0.0;
    double tolerance = 0.0;   // in the unit of the residual, inherited errors included
    double normalised = 0.0;  // |residual| / tolerance
    bool placing = false;     // it placed a point (or oriented nothing else)
    bool redundant = false;   // something else checks it
    CheckVerdict verdict = CheckVerdict::Unchecked;
    // Named as the culprit of a suspect point: its normalised residual when
    // that point is placed without it (0 otherwise).
    double deletedNormalised = 0.0;
    int rank = 0;  // 1 = first of the ranking
};

struct PointCheck {
    std::int32_t point = 0;
    bool given = false;
    bool planKnown = false;
    bool heightKnown = false;
    std::int32_t planMethod = 0;         // MethodResult, 0 = given or not placed
    std::vector<std::int32_t> planFrom;  // points the plan method used
    std::int32_t heightMethod = 0;
    std::int32_t heightFrom = 0;
    double inheritedError = 0.0;        // plan position error its chain carries (length units)
    double inheritedHeightError = 0.0;  // the same for its height
    int planChecks = 0;    // observations checking its plan beyond those that placed it
    int heightChecks = 0;  // the same for its height
    double maxNormalised = 0.0;
    int worst = -1;  // index into DataCheckResult::observations, -1 none
    CheckVerdict verdict = CheckVerdict::Unchecked;
    // A suspect point: the observation whose removal best explains its
    // residuals (-1 none), or its own coordinates (a given point).
    int culprit = -1;
    bool culpritIsCoordinates = false;
    int alternatives = 0;    // other candidates that explain it as well
    bool explained = false;  // the removal brings every residual within tolerance
};

struct DataCheckResult {
    std::int32_t angleUnit = 1;
    std::vector<ObservationCheck> observations;  // table order: distances, directions, ...
    std::vector<int> ranking;                    // indices of observations, worst first
    std::vector<PointCheck> points;              // point-table order
    int suspectCount = 0;                        // observations
    int uncheckedPoints = 0;                     // placed or given points that nothing checks
    int suspectPoints = 0;
};

// Runs the check on the state as it stands.
DataCheckResult RunDataCheck(const SurveyState& state);

// French texts (Windows-1252) of a kind, a verdict, a method, and of the
// angle unit as printed ("gon", "dms", "°", or "rad" for a unit code
// outside 1..3, whose angles were never converted and are radians).
std::string KindText(CheckKind kind);
std::string VerdictText(CheckVerdict verdict);
std::string MethodText(int method);
std::string AngleUnitText(int angleUnit);
// Whether a kind is an angle (its residual in the user's angle unit).
bool IsAngleKind(CheckKind kind);

}  // namespace calctopo
