// The survey as the window's views read it: the points with how each stands
// and how it was placed, the observations with the line each was read from,
// and the data check of the tables as they stand. Plain values, free of any
// toolkit, rebuilt from the state by Refresh() after each action; the views
// never walk the state's tables themselves.
//
// The model owns the survey state of its owner (or wraps one by reference),
// so that the state and what the views show of it live together.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "check/DataCheck.h"
#include "data/InputSources.h"

namespace calctopo {

struct SurveyState;

// How a point's plan position or height stands after the loads and runs.
enum class PositionStatus : int {
    Given,        // read from the coordinates file
    Computed,     // placed (or levelled) by a run
    NotComputed,  // still unknown
};

struct PointRow {
    int point = 0;     // index in the point table
    std::string name;  // Windows-1252
    PositionStatus plan = PositionStatus::NotComputed;
    PositionStatus height = PositionStatus::NotComputed;
    // East, north (meaningful when the plan is known) and height (when the
    // height is known), in the length unit of the coordinates.
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    // MethodResult, or kPlacedByExtendedStage for a point a local block
    // placed; 0 for a given position or a point not placed.
    int planMethod = 0;
    int heightMethod = 0;
    // The points the plan method used (the far ends of its sights), in the
    // method's order, each once; the point the height came from, 0 none.
    std::vector<int> planFrom;
    int heightFrom = 0;
    // What the extended stage gave the point, and the block that did (index
    // into ExtendedBlocks; 0 for the ordinary methods during the stage).
    bool extendedPlan = false;
    bool extendedHeight = false;
    int extendedBlock = 0;
    SourceLine source;  // the coordinates line of a given point (file 0: none)
};

// The kinds of the five observation tables.
enum class ObservationTable : int { Distance, Direction, Zenith, HeightDifference, Bearing };

struct ObservationRow {
    ObservationTable table = ObservationTable::Distance;
    CheckKind kind = CheckKind::HorizontalDistance;  // as the data check names it
    int record = 0;                                  // index in its table
    int station = 0;
    int target = 0;
    std::string stationName;  // Windows-1252
    std::string targetName;
    int code = 0;  // code of the line it was read from; the table's usual code without source
    // The reading in the user's angle unit for angles (radians after a load
    // whose unit code had no conversion), in the length unit otherwise.
    double value = 0.0;
    bool isAngle = false;
    double instrumentHeight = 0.0;  // distances and zenith angles
    double targetHeight = 0.0;
    int round = 0;         // directions: the round read in, 0 none
    SourceLine source;     // file 0: unknown (a state built by hand)
    std::string fileName;  // the source file's name without its folder; empty when unknown
};

class SurveyModel {
  public:
    // A model owning a fresh state.
    SurveyModel();
    // A model over a state the caller keeps (it must outlive the model).
    explicit SurveyModel(SurveyState& state);
    ~SurveyModel();
    SurveyModel(const SurveyModel&) = delete;
    SurveyModel& operator=(const SurveyModel&) = delete;

    SurveyState& State() { return *state_; }
    const SurveyState& State() const { return *state_; }

    // Rebuilds the rows from the state and runs the data check when the
    // state holds points (none: no check, "no result"); bumps the revision.
    void Refresh();
    // Counts the refreshes: a view compares it with the one it last showed.
    std::uint64_t Revision() const { return revision_; }

    // In point-table order.
    const std::vector<PointRow>& Points() const { return points_; }
    // Table by table (distances, directions, zenith angles, height
    // differences, bearings), each in record order.
    const std::vector<ObservationRow>& Observations() const { return observations_; }

    // The check of the last refresh; false when there was nothing to check.
    bool HasCheck() const { return hasCheck_; }
    const DataCheckResult& Check() const { return check_; }

  private:
    std::unique_ptr<SurveyState> own_;
    SurveyState* state_;
    std::uint64_t revision_ = 0;
    std::vector<PointRow> points_;
    std::vector<ObservationRow> observations_;
    bool hasCheck_ = false;
    DataCheckResult check_;
};

// The rows alone, for a caller without a model.
std::vector<PointRow> BuildPointRows(const SurveyState& state);
std::vector<ObservationRow> BuildObservationRows(const SurveyState& state);

}  // namespace calctopo
