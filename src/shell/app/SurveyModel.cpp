#include "shell/app/SurveyModel.h"

#include <algorithm>
#include <cstddef>

#include "data/GLOBAL.h"
#include "data/ObservationCodes.h"
#include "data/Placement.h"
#include "geometry/CONVERTI.h"

namespace calctopo {

namespace {

// The other end of a sight seen from `point`; 0 for a sight number out of range.
int FarEnd(const SurveyState& state, int point, int sight) {
    if (sight < 1 || sight > state.SightTable.Count()) {
        return 0;
    }
    const Sight& s = state.SightTable[sight];
    return s.station == point ? s.target : s.station;
}

std::string NameOf(const SurveyState& state, int point) {
    return point >= 1 && point <= state.PointCount() ? state.PointTable[point].name : std::string();
}

std::string FileNameOf(const SurveyState& state, const SourceLine& source) {
    const SourceFile* file = state.Sources.FileOf(source);
    if (file == nullptr) {
        return {};
    }
    const std::size_t slash = file->name.find_last_of("/\\");
    return slash == std::string::npos ? file->name : file->name.substr(slash + 1);
}

// Gathers the rows of one observation table; `fill` sets what is proper to it.
template <class Table, class Fill>
void AddRows(const SurveyState& state, std::vector<ObservationRow>& rows, const Table& table,
             const std::vector<SourceLine>& sources, ObservationTable kind, int usualCode,
             Fill fill) {
    for (int i = 1; i <= table.Count(); ++i) {
        const auto& record = table[i];
        ObservationRow row;
        row.table = kind;
        row.record = i;
        row.station = record.station;
        row.target = record.target;
        row.stationName = NameOf(state, record.station);
        row.targetName = NameOf(state, record.target);
        row.code = usualCode;
        if (const SourceLine* source = InputSources::Of(sources, i)) {
            row.source = *source;
            row.code = source->code;
            row.fileName = FileNameOf(state, *source);
        }
        fill(record, row);
        rows.push_back(std::move(row));
    }
}

}  // namespace

SurveyModel::SurveyModel() : own_(std::make_unique<SurveyState>()), state_(own_.get()) {}

SurveyModel::SurveyModel(SurveyState& state) : state_(&state) {}

SurveyModel::~SurveyModel() = default;

void SurveyModel::Refresh() {
    points_ = BuildPointRows(*state_);
    observations_ = BuildObservationRows(*state_);
    // With no point there is nothing to check: the views say so rather than
    // show a check of empty tables.
    hasCheck_ = state_->PointCount() > 0;
    check_ = hasCheck_ ? RunDataCheck(*state_) : DataCheckResult{};
    ++revision_;
}

std::vector<PointRow> BuildPointRows(const SurveyState& state) {
    std::vector<PointRow> rows;
    rows.reserve(static_cast<std::size_t>(state.PointCount()));
    for (int i = 1; i <= state.PointCount(); ++i) {
        const SurveyPoint& point = state.PointTable[i];
        const PointPlacement& placement = PlacementOf(state, i);
        PointRow row;
        row.point = i;
        row.name = point.name;
        row.x = point.x;
        row.y = point.y;
        row.z = point.z;
        const bool given = point.status == StatusGiven;
        // A given point keeps its status when a run levels it: its height is
        // then computed, its plan still given.
        if (point.planimetricKnown) {
            row.plan = given && placement.planMethod == 0 ? PositionStatus::Given
                                                          : PositionStatus::Computed;
        }
        if (point.heightKnown) {
            row.height = given && placement.heightMethod == 0 ? PositionStatus::Given
                                                              : PositionStatus::Computed;
        }
        row.planMethod = placement.planMethod;
        row.heightMethod = placement.heightMethod;
        for (const std::int32_t sight : placement.planSights) {
            const int other = FarEnd(state, i, sight);
            if (other != 0 &&
                std::find(row.planFrom.begin(), row.planFrom.end(), other) == row.planFrom.end()) {
                row.planFrom.push_back(other);
            }
        }
        row.heightFrom = FarEnd(state, i, placement.heightSight);
        if (const SourceLine* source = InputSources::Of(state.Sources.points, i)) {
            row.source = *source;
        }
        rows.push_back(std::move(row));
    }
    for (const ExtendedPointRecord& record : state.ExtendedPoints) {
        if (record.point >= 1 && record.point <= static_cast<int>(rows.size())) {
            PointRow& row = rows[static_cast<std::size_t>(record.point - 1)];
            row.extendedPlan = row.extendedPlan || record.plan;
            row.extendedHeight = row.extendedHeight || record.height;
            row.extendedBlock = record.block;
        }
    }
    return rows;
}

std::vector<ObservationRow> BuildObservationRows(const SurveyState& state) {
    const InputSources& sources = state.Sources;
    const std::int32_t unit = state.Parameters.angleUnit;
    std::vector<ObservationRow> rows;
    rows.reserve(static_cast<std::size_t>(
        state.DistanceTable.Count() + state.DirectionTable.Count() + state.ZenithTable.Count() +
        state.HeightDifferenceTable.Count() + state.BearingTable.Count()));
    // Without a source line, a distance is taken for the code that stores it
    // so (2 horizontal, 1 slope), as the data check takes it.
    AddRows(state, rows, state.DistanceTable, sources.distances, ObservationTable::Distance, 0,
            [](const DistanceObservation& d, ObservationRow& row) {
                if (row.code == 0) {
                    row.code = CodeNumber(d.isHorizontal ? ObservationCode::HorizontalDistance
                                                         : ObservationCode::SlopeDistance);
                }
                const auto code = static_cast<ObservationCode>(row.code);
                row.kind = code == ObservationCode::Centring ? CheckKind::Centring
                           : code == ObservationCode::HorizontalDistance
                               ? CheckKind::HorizontalDistance
                               : CheckKind::SlopeDistance;
                row.value = d.value;
                row.instrumentHeight = d.instrumentHeight;
                row.targetHeight = d.targetHeight;
            });
    AddRows(state, rows, state.DirectionTable, sources.directions, ObservationTable::Direction,
            CodeNumber(ObservationCode::Direction),
            [unit](const DirectionObservation& d, ObservationRow& row) {
                row.kind = CheckKind::Direction;
                row.isAngle = true;
                row.value = RadiansToUserUnit(unit, d.value);
                row.round = d.roundNumber;
            });
    AddRows(state, rows, state.ZenithTable, sources.zeniths, ObservationTable::Zenith,
            CodeNumber(ObservationCode::Zenith),
            [unit](const ZenithObservation& z, ObservationRow& row) {
                row.kind = CheckKind::Zenith;
                row.isAngle = true;
                row.value = RadiansToUserUnit(unit, z.value);
                row.instrumentHeight = z.instrumentHeight;
                row.targetHeight = z.targetHeight;
            });
    AddRows(state, rows, state.HeightDifferenceTable, sources.heightDifferences,
            ObservationTable::HeightDifference, CodeNumber(ObservationCode::HeightDifference),
            [](const HeightDifferenceObservation& h, ObservationRow& row) {
                row.kind = CheckKind::HeightDifference;
                row.value = h.value;
            });
    AddRows(state, rows, state.BearingTable, sources.bearings, ObservationTable::Bearing,
            CodeNumber(ObservationCode::Bearing),
            [unit](const BearingObservation& b, ObservationRow& row) {
                row.kind = CheckKind::Bearing;
                row.isAngle = true;
                row.value = RadiansToUserUnit(unit, b.value);
            });
    return rows;
}

}  // namespace calctopo
