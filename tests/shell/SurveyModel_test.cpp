#include "shell/app/SurveyModel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/LIT.h"
#include "data/TextNumbers.h"
#include "engine/CALCUL.h"
#include "support/NetworkGenerator.h"
#include "support/StateBuilder.h"

namespace calctopo {
namespace {

using testing::LoadedSurvey;
using testing::NetworkGenerator;
using testing::RadiationExample;
using testing::StateBuilder;

// The generator writes angles with 10 decimals and lengths with 6: a value
// shown in the user's unit agrees with the number on its line to far below
// this (the conversion to radians and back rounds twice in the last place).
constexpr double kWrittenValueTolerance = 1e-8;

// The number in the value field (the fourth) of an observation line.
double WrittenValue(const SurveyState& state, const SourceLine& source) {
    std::vector<std::string> fields;
    SplitLine(state.Sources.TextOf(source), fields);
    EXPECT_GE(fields.size(), 4u);
    return fields.size() >= 4 ? ParseReal(fields[3]).value_or(-1.0) : -1.0;
}

const PointRow& RowNamed(const SurveyModel& model, const std::string& name) {
    for (const PointRow& row : model.Points()) {
        if (row.name == name) {
            return row;
        }
    }
    static const PointRow none;
    ADD_FAILURE() << "no row for " << name;
    return none;
}

TEST(SurveyModel, OwnsAFreshStateWithNothingToShow) {
    SurveyModel model;
    EXPECT_EQ(model.State().PointCount(), 0);
    EXPECT_EQ(model.Revision(), 0u);
    model.Refresh();
    EXPECT_EQ(model.Revision(), 1u);
    EXPECT_TRUE(model.Points().empty());
    EXPECT_TRUE(model.Observations().empty());
    // No point loaded: no check at all, rather than a check of nothing.
    EXPECT_FALSE(model.HasCheck());
}

TEST(SurveyModel, StatusAndMethodOfEachPointBeforeAndAfterARun) {
    // S1, S2 given; P1 radiated and levelled from S1 (RadiationExample).
    const NetworkGenerator net = RadiationExample();
    LoadedSurvey survey(net);
    SurveyModel model(survey.state);
    EXPECT_EQ(&model.State(), &survey.state);
    model.Refresh();
    ASSERT_EQ(model.Points().size(), 3u);
    const PointRow& before = RowNamed(model, "P1");
    EXPECT_EQ(before.plan, PositionStatus::NotComputed);
    EXPECT_EQ(before.height, PositionStatus::NotComputed);
    EXPECT_EQ(before.planMethod, 0);
    EXPECT_TRUE(before.planFrom.empty());
    // The check runs on a load already: the given points hold each other.
    EXPECT_TRUE(model.HasCheck());
    EXPECT_EQ(model.Check().observations.size(), 4u);

    survey.Run("S1");
    // Plain values: nothing changes until the next refresh.
    EXPECT_EQ(RowNamed(model, "P1").plan, PositionStatus::NotComputed);
    model.Refresh();
    EXPECT_EQ(model.Revision(), 2u);

    const int s1 = FindPoint(survey.state, "S1");
    for (const char* name : {"S1", "S2"}) {
        const PointRow& given = RowNamed(model, name);
        EXPECT_EQ(given.plan, PositionStatus::Given) << name;
        EXPECT_EQ(given.height, PositionStatus::Given) << name;
        EXPECT_EQ(given.planMethod, 0) << name;
        // The coordinates file's lines, in order (no header line).
        EXPECT_EQ(given.source.line, given.point) << name;
        EXPECT_NE(given.source.file, 0) << name;
    }
    const PointRow& p1 = RowNamed(model, "P1");
    EXPECT_EQ(p1.plan, PositionStatus::Computed);
    EXPECT_EQ(p1.height, PositionStatus::Computed);
    EXPECT_EQ(p1.planMethod, ByRadiation);
    EXPECT_EQ(p1.planFrom, std::vector<int>{s1});
    EXPECT_NE(p1.heightMethod, 0);
    EXPECT_EQ(p1.heightFrom, s1);
    EXPECT_FALSE(p1.extendedPlan);
    EXPECT_FALSE(p1.extendedHeight);
    EXPECT_EQ(p1.source.file, 0);  // not a given point
    // The generator's true position, from exact observations.
    const testing::TruePoint& truth = net.Point("P1");
    EXPECT_REAL_NEAR(truth.x, p1.x, testing::kMillimetre);
    EXPECT_REAL_NEAR(truth.y, p1.y, testing::kMillimetre);
    EXPECT_REAL_NEAR(truth.z, p1.z, testing::kMillimetre);
}

TEST(SurveyModel, ObservationsListedTableByTableWithTheirFileLine) {
    // The observations file of RadiationExample, line by line: 7 S1 S2,
    // 5 S1 P1, 6 S1 P1, 1 S1 P1.
    for (const int unit : {1, 3}) {
        const NetworkGenerator net = RadiationExample(unit);
        LoadedSurvey survey(net);
        SurveyModel model(survey.state);
        model.Refresh();
        const std::vector<ObservationRow>& rows = model.Observations();
        ASSERT_EQ(rows.size(), 4u) << unit;
        struct Expected {
            ObservationTable table;
            CheckKind kind;
            int code;
            int line;
            const char* target;
        };
        const Expected expected[] = {
            {ObservationTable::Distance, CheckKind::SlopeDistance, 1, 4, "P1"},
            {ObservationTable::Direction, CheckKind::Direction, 7, 1, "S2"},
            {ObservationTable::Direction, CheckKind::Direction, 5, 2, "P1"},
            {ObservationTable::Zenith, CheckKind::Zenith, 6, 3, "P1"},
        };
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const ObservationRow& row = rows[k];
            EXPECT_EQ(row.table, expected[k].table) << k;
            EXPECT_EQ(row.kind, expected[k].kind) << k;
            EXPECT_EQ(row.code, expected[k].code) << k;
            EXPECT_EQ(row.source.line, expected[k].line) << k;
            EXPECT_EQ(row.fileName, "survey.obs") << k;
            EXPECT_EQ(row.stationName, "S1") << k;
            EXPECT_EQ(row.targetName, expected[k].target) << k;
            EXPECT_EQ(row.isAngle, row.table != ObservationTable::Distance) << k;
            // The reading in the user's unit: as the line wrote it.
            EXPECT_REAL_NEAR(WrittenValue(survey.state, row.source), row.value,
                             kWrittenValueTolerance)
                << "unit " << unit << ", row " << k;
        }
        EXPECT_EQ(rows[1].round, rows[2].round);
        EXPECT_NE(rows[1].round, 0);
        // Heights of instrument and target, as RadiationExample measured them.
        EXPECT_REAL_NEAR(1.52, rows[0].instrumentHeight, testing::kRoundingTolerance);
        EXPECT_REAL_NEAR(1.3, rows[3].targetHeight, testing::kRoundingTolerance);
    }
}

TEST(SurveyModel, RowsOfAStateBuiltByHand) {
    // No source lines: each record takes its table's usual code. S1 given
    // without height, levelled by a run; Q placed by the extended stage.
    StateBuilder b;
    const int s1 = b.KnownPoint("S1", 0, 0, 0, false);
    const int s2 = b.KnownPoint("S2", 100, 0, 50);
    const int q = b.Point("Q");
    b.Distance(s2, q, 80.0, true);
    b.HeightDifference(s2, s1, -50.0);
    b.Bearing(s2, q, 1.0);
    b.Build();
    SurveyState& state = b.state;
    state.PointTable[s1].heightKnown = true;
    RecordHeightPlacement(state, s1, ByLevellingFromTarget, 2);
    state.PointTable[q].planimetricKnown = true;
    state.PointTable[q].status = StatusUnknown;
    RecordPlanPlacement(state, q, kPlacedByExtendedStage, {1});
    state.ExtendedPoints.Append({q, 1, true, false});

    const std::vector<PointRow> points = BuildPointRows(state);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].plan, PositionStatus::Given);
    EXPECT_EQ(points[0].height, PositionStatus::Computed);  // levelled, though given
    EXPECT_EQ(points[0].heightMethod, ByLevellingFromTarget);
    EXPECT_EQ(points[2].plan, PositionStatus::Computed);
    EXPECT_EQ(points[2].height, PositionStatus::NotComputed);
    EXPECT_EQ(points[2].planMethod, kPlacedByExtendedStage);
    EXPECT_EQ(points[2].planFrom, std::vector<int>{s2});
    EXPECT_TRUE(points[2].extendedPlan);
    EXPECT_FALSE(points[2].extendedHeight);
    EXPECT_EQ(points[2].extendedBlock, 1);

    const std::vector<ObservationRow> rows = BuildObservationRows(state);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].code, 2);  // horizontal distance
    EXPECT_EQ(rows[0].kind, CheckKind::HorizontalDistance);
    EXPECT_EQ(rows[1].code, 4);
    EXPECT_REAL_NEAR(-50.0, rows[1].value, testing::kRoundingTolerance);
    EXPECT_EQ(rows[2].code, 8);
    EXPECT_EQ(rows[2].source.file, 0);
    EXPECT_TRUE(rows[2].fileName.empty());
    // Grades: one radian is 200/π gon.
    EXPECT_REAL_NEAR(63.66197723675813, rows[2].value, testing::kRoundingTolerance);
}

}  // namespace
}  // namespace calctopo
