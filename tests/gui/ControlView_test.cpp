// The "Contrôle" view: its two sortable tables after a run, the line shown on
// a double-click, the CSV export, and its place in the main window.
#include "shell/gui/ControlView.h"

#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QLineEdit>
#include <QScopeGuard>
#include <QTableView>
#include <QTemporaryDir>

#include "ScriptedHooks.h"
#include "data/TextNumbers.h"
#include "shell/gui/CheckModels.h"
#include "shell/gui/DialogueInitial.h"
#include "support/NetworkGenerator.h"

namespace calctopo {
namespace {

using testing::LoadedSurvey;
using testing::NetworkGenerator;
using testing::ScriptedHooks;

// Two given points and P read from both with distances: P is radiated from
// A and checked from B. The distance from B is misread by 0.25 m.
NetworkGenerator BlunderedNetwork() {
    NetworkGenerator net;
    net.AddControl("A", 1000.0, 1000.0, 100.0);
    net.AddControl("B", 1300.0, 1000.0, 102.0);
    net.AddPoint("P", 1150.0, 1200.0, 101.0);
    net.Round("A", {"B", "P"}, 0.4);
    net.HorizontalDistance("A", "P");
    net.Round("B", {"A", "P"}, 1.4);
    net.RawObservation("2 B P " + FormatFixed(net.TrueHorizontalDistance("B", "P") + 0.25, 6) +
                       " 0 0 0");
    net.HeightDifference("A", "P");
    net.HeightDifference("B", "P");
    return net;
}

QString Cell(const QTableView* table, int row, int column) {
    return table->model()->index(row, column).data().toString();
}

TEST(ControlView, ShowsTheRankedObservationsAndThePointsAfterARun) {
    LoadedSurvey survey(BlunderedNetwork());
    survey.Run("A");
    ScriptedHooks hooks;
    ControlView view(hooks);
    view.Refresh(survey.state);

    const QTableView* observations = view.ObservationTable();
    ASSERT_EQ(observations->model()->rowCount(), 8);
    // First row: the worst figure, the misread distance (line 6 of the file).
    EXPECT_EQ(Cell(observations, 0, ObservationCheckModel::Rank), QStringLiteral("1"));
    EXPECT_EQ(Cell(observations, 0, ObservationCheckModel::Line), QStringLiteral("6"));
    EXPECT_EQ(Cell(observations, 0, ObservationCheckModel::Verdict), QStringLiteral("suspect"));
    EXPECT_EQ(Cell(observations, 0, ObservationCheckModel::Kind),
              QStringLiteral("distance horizontale"));

    // Sorting by line number sorts numbers as numbers.
    const_cast<QTableView*>(observations)
        ->sortByColumn(ObservationCheckModel::Line, Qt::AscendingOrder);
    EXPECT_EQ(Cell(observations, 0, ObservationCheckModel::Line), QStringLiteral("1"));
    EXPECT_EQ(Cell(observations, 7, ObservationCheckModel::Line), QStringLiteral("8"));

    const QTableView* points = view.PointTable();
    ASSERT_EQ(points->model()->rowCount(), 3);
    EXPECT_EQ(Cell(points, 0, PointCheckModel::Point), QStringLiteral("P"));  // worst first
    EXPECT_EQ(Cell(points, 0, PointCheckModel::Verdict), QStringLiteral("suspect"));
    EXPECT_EQ(Cell(points, 0, PointCheckModel::Placement),
              QStringLiteral("rayonné de A, nivellé de A"));
}

TEST(ControlView, ADoubleClickShowsTheFileLineAndItsText) {
    LoadedSurvey survey(BlunderedNetwork());
    survey.Run("A");
    ScriptedHooks hooks;
    ControlView view(hooks);
    view.Refresh(survey.state);
    view.ShowObservationLine(view.ObservationTable()->model()->index(0, 0));
    EXPECT_TRUE(view.LineShown().startsWith(QStringLiteral("survey.obs ligne 6 : 2 B P ")))
        << view.LineShown().toStdString();
    // A suspect point shows the line to look at.
    view.ShowPointLine(view.PointTable()->model()->index(0, 0));
    EXPECT_TRUE(view.LineShown().startsWith(QStringLiteral("survey.obs ligne 6 : ")))
        << view.LineShown().toStdString();
}

TEST(ControlView, ExportsCsvWhereTheUserSaysAndNothingWhenCancelled) {
    LoadedSurvey survey(BlunderedNetwork());
    survey.Run("A");
    QTemporaryDir folder;
    ScriptedHooks hooks;
    ControlView view(hooks);
    view.Refresh(survey.state);

    EXPECT_FALSE(view.ExportCsv());  // no answer: the dialog was cancelled
    ASSERT_EQ(hooks.fileDialogs.size(), 1u);
    EXPECT_EQ(hooks.fileDialogs[0].mode, FileDialogRequest::Mode::Save);

    hooks.fileAnswers.push_back(folder.filePath(QStringLiteral("contrôle")));
    ASSERT_TRUE(view.ExportCsv());
    QFile file(folder.filePath(QStringLiteral("contrôle.csv")));  // ".csv" added
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    EXPECT_TRUE(
        content.startsWith("rang;fichier;ligne;station;vis\xe9"
                           "e;"));
    EXPECT_TRUE(content.contains("\r\n1;survey.obs;6;B;P;distance horizontale;2;"));
    EXPECT_TRUE(hooks.messages.empty());
}

TEST(ControlView, TheMainWindowRefreshesItAfterEachRun) {
    QTemporaryDir folder;
    // "Initialisation" moves to the coordinates file's folder: come back.
    const QString start = QDir::currentPath();
    const auto restore = qScopeGuard([&] { QDir::setCurrent(start); });
    const NetworkGenerator net = BlunderedNetwork();
    net.WriteFiles(folder.path().toStdString(), "site.cor", "site.obs");
    ScriptedHooks hooks;
    TFInitial window(&hooks);
    auto* dock = window.findChild<QDockWidget*>(QStringLiteral("DKControle"));
    ASSERT_NE(dock, nullptr);
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Contrôle"));
    // A work site naming the two files, opened as the user opens it.
    QFile site(folder.filePath(QStringLiteral("site.bvk")));
    ASSERT_TRUE(site.open(QIODevice::WriteOnly));
    site.write("1\r\n1\r\n3\r\n 4.50000000000000E+0001\r\n 1.20000000000000E-0001\r\n" +
               folder.filePath(QStringLiteral("site.cor")).toUtf8() + "\r\n" +
               folder.filePath(QStringLiteral("site.obs")).toUtf8() + "\r\n" +
               folder.filePath(QStringLiteral("site.vek")).toUtf8() + "\r\n");
    site.close();
    hooks.fileAnswers.push_back(folder.filePath(QStringLiteral("site.bvk")));
    window.OuvrirChantier1Click();
    window.BBCalculClick();
    EXPECT_EQ(window.Controle()->Result().suspectCount, 0);  // nothing placed yet
    window.findChild<QComboBox*>(QStringLiteral("CBDepart"))->setEditText(QStringLiteral("A"));
    EXPECT_EQ(window.Controle()->Result().suspectCount, 1);
    EXPECT_EQ(window.Controle()->ObservationTable()->model()->rowCount(), 8);
    for (const auto& shown : hooks.messages) {
        ADD_FAILURE() << shown.text.toStdString();
    }
}

}  // namespace
}  // namespace calctopo
