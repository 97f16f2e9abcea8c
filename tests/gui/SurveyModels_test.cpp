// The Qt models over the survey model: their rows and cells after a load and
// a run, their sorting through a proxy, and the dock that shows them.
#include "shell/gui/SurveyModels.h"

#include <gtest/gtest.h>

#include <QSortFilterProxyModel>
#include <QTableView>

#include "QStringPrinter.h"
#include "shell/gui/CheckModels.h"
#include "support/NetworkGenerator.h"

namespace calctopo {
namespace {

using testing::LoadedSurvey;
using testing::RadiationExample;

QString Cell(const QAbstractItemModel& model, int row, int column) {
    return model.data(model.index(row, column)).toString();
}

TEST(SurveyModels, PointsBeforeAndAfterARun) {
    // S1, S2 given; P1 radiated and levelled from S1.
    LoadedSurvey survey(RadiationExample());
    SurveyModel model(survey.state);
    model.Refresh();
    PointTableModel points(model);
    ASSERT_EQ(points.rowCount(), 3);
    EXPECT_EQ(points.columnCount(), PointTableModel::ColumnCount);
    EXPECT_EQ(points.headerData(PointTableModel::Height, Qt::Horizontal).toString(),
              QStringLiteral("Altitude"));
    EXPECT_EQ(points.headerData(PointTableModel::Method, Qt::Horizontal).toString(),
              QStringLiteral("Méthode"));
    // Table order: S1, S2 from the coordinates file, then P1.
    EXPECT_EQ(Cell(points, 0, PointTableModel::Name), QStringLiteral("S1"));
    EXPECT_EQ(Cell(points, 0, PointTableModel::Plan), QStringLiteral("donné"));
    // RadiationExample's S1: 1000, 5000, 100, to the millimetre.
    EXPECT_EQ(Cell(points, 0, PointTableModel::X), QStringLiteral("1000.000"));
    EXPECT_EQ(Cell(points, 0, PointTableModel::Y), QStringLiteral("5000.000"));
    EXPECT_EQ(Cell(points, 2, PointTableModel::Plan), QStringLiteral("non calculé"));
    EXPECT_EQ(Cell(points, 2, PointTableModel::X), QString());

    survey.Run("S1");
    // The Qt model follows the survey model, not the state.
    points.Sync();
    EXPECT_EQ(Cell(points, 2, PointTableModel::Plan), QStringLiteral("non calculé"));
    int resets = 0;
    QObject::connect(&points, &QAbstractItemModel::modelReset, [&resets] { ++resets; });
    model.Refresh();
    points.Sync();
    points.Sync();  // nothing new: no second reset
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(Cell(points, 2, PointTableModel::Plan), QStringLiteral("calculé"));
    EXPECT_EQ(Cell(points, 2, PointTableModel::Height), QStringLiteral("calculé"));
    // P1's true position (RadiationExample), computed from exact data.
    EXPECT_EQ(Cell(points, 2, PointTableModel::X), QStringLiteral("1150.000"));
    EXPECT_EQ(Cell(points, 2, PointTableModel::Z), QStringLiteral("95.500"));
    EXPECT_TRUE(
        Cell(points, 2, PointTableModel::Method).startsWith(QStringLiteral("rayonné de S1")))
        << Cell(points, 2, PointTableModel::Method).toStdString();
    EXPECT_EQ(Cell(points, 2, PointTableModel::From), QStringLiteral("S1"));
    EXPECT_EQ(Cell(points, 2, PointTableModel::Extended), QString());
}

TEST(SurveyModels, ObservationsShowTheirLineAndSortAsNumbers) {
    LoadedSurvey survey(RadiationExample());
    SurveyModel model(survey.state);
    model.Refresh();
    ObservationTableModel observations(model);
    // The four lines of RadiationExample: 7 S1 S2, 5 S1 P1, 6 S1 P1, 1 S1 P1;
    // listed distances first.
    ASSERT_EQ(observations.rowCount(), 4);
    EXPECT_EQ(observations.headerData(ObservationTableModel::Target, Qt::Horizontal).toString(),
              QStringLiteral("Visée"));
    EXPECT_EQ(Cell(observations, 0, ObservationTableModel::File), QStringLiteral("survey.obs"));
    EXPECT_EQ(Cell(observations, 0, ObservationTableModel::Line), QStringLiteral("4"));
    EXPECT_EQ(Cell(observations, 0, ObservationTableModel::Kind),
              QStringLiteral("distance inclinée"));
    EXPECT_EQ(Cell(observations, 0, ObservationTableModel::InstrumentHeight),
              QStringLiteral("1.5200"));
    EXPECT_EQ(Cell(observations, 3, ObservationTableModel::Kind), QStringLiteral("zénithale"));
    EXPECT_EQ(Cell(observations, 1, ObservationTableModel::Code), QStringLiteral("7"));
    EXPECT_EQ(Cell(observations, 1, ObservationTableModel::InstrumentHeight), QString());
    EXPECT_FALSE(Cell(observations, 1, ObservationTableModel::Round).isEmpty());

    // Sorted by line through a proxy, as the dock's tables sort: numbers as
    // numbers, so the file's order comes back.
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&observations);
    proxy.setSortRole(kSortRole);
    proxy.sort(ObservationTableModel::Line, Qt::AscendingOrder);
    QStringList lines;
    for (int row = 0; row < proxy.rowCount(); ++row) {
        lines << Cell(proxy, row, ObservationTableModel::Line);
    }
    EXPECT_EQ(lines, QStringList({QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                  QStringLiteral("4")}));
}

TEST(SurveyModels, TheDockShowsBothTablesAndFollowsTheModel) {
    LoadedSurvey survey(RadiationExample());
    SurveyModel model(survey.state);
    SurveyDock dock(model);
    EXPECT_EQ(dock.windowTitle(), QStringLiteral("Points et observations"));
    EXPECT_EQ(dock.PointView()->model()->rowCount(), 0);  // not refreshed yet
    model.Refresh();
    dock.Sync();
    EXPECT_EQ(dock.PointView()->model()->rowCount(), 3);
    EXPECT_EQ(dock.ObservationView()->model()->rowCount(), 4);
    EXPECT_TRUE(dock.PointView()->isSortingEnabled());
}

}  // namespace
}  // namespace calctopo
