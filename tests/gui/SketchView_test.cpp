// The "Croquis" view offscreen: its scene on small and large networks, the
// fit, centring, hover and wheel zoom, the list of points without position,
// both exports, and the main window refreshing it and centring from the pane.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGraphicsScene>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QWheelEvent>
#include <cmath>
#include <iostream>
#include <memory>

#include "ScriptedHooks.h"
#include "data/TextNumbers.h"
#include "output/Sketch.h"
#include "shell/gui/CheckModels.h"
#include "shell/gui/ControlView.h"
#include "shell/gui/DialogueInitial.h"
#include "shell/gui/SketchView.h"
#include "support/StateBuilder.h"
#include "support/TempFolder.h"
#include "support/XmlCheck.h"

namespace calctopo {
namespace {

using testing::DeterminedPoint;
using testing::ScriptedHooks;
using testing::StateBuilder;

// A viewport position agrees with another within a pixel and a half: the
// view rounds the scroll bars to whole pixels.
constexpr double kPixelTolerance = 1.5;

double Distance(const QPointF& a, const QPointF& b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// Given A and B, computed C, plan-only D, and E without position.
SketchModel SmallModel() {
    StateBuilder b;
    const int a = b.KnownPoint("A", 1000.0, 2000.0, 100.0);
    const int c = AppendPoint(b.state, DeterminedPoint("C", 1100.0, 2300.0, 101.0));
    b.KnownPoint("B", 1300.0, 2000.0, 100.0);
    const int d = b.Point("D");
    b.state.PointTable[d].x = 1200.0;
    b.state.PointTable[d].y = 1900.0;
    b.state.PointTable[d].planimetricKnown = true;
    b.Point("E");
    b.Distance(a, c, 316.0, true);
    b.Distance(c, d, 412.0, true);
    return BuildSketch(b.state);
}

// A grid of side × side computed points 10 units apart, each joined to its
// east neighbour: the size of the largest network the program takes.
SketchModel GridModel(int side) {
    StateBuilder b;
    for (int i = 0; i < side * side; ++i) {
        AppendPoint(b.state, DeterminedPoint("P" + std::to_string(i), 10.0 * (i % side),
                                             10.0 * (i / side), 0.0));
        if (i % side != 0) {
            b.Distance(i, i + 1, 10.0, true);
        }
    }
    return BuildSketch(b.state);
}

class SketchViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dock_ = std::make_unique<SketchDock>(&hooks_);
        dock_->resize(640, 800);
        dock_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dock_.get()));
    }
    SketchView& View() { return *dock_->View(); }
    QPoint Where(int placed) { return View().mapFromScene(View().ScenePosition(placed)); }

    ScriptedHooks hooks_;
    std::unique_ptr<SketchDock> dock_;
};

TEST_F(SketchViewTest, SmallNetworkFitsWithEveryLabel) {
    dock_->SetModel(SmallModel());
    SketchView& view = View();
    // Two layers, whatever the size of the network.
    EXPECT_EQ(view.scene()->items().size(), 2);
    ASSERT_EQ(view.Model().placed.size(), 4u);
    EXPECT_EQ(view.LabelCount(), 4);
    // Fitted: every point inside the viewport, away from its edges.
    const QRect inside = view.viewport()->rect().adjusted(20, 20, -20, -20);
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(inside.contains(Where(i))) << i;
    }
    // North up: C (north 2300) above A (north 2000).
    EXPECT_LT(Where(1).y(), Where(0).y());
    // The point without position is listed apart.
    ASSERT_EQ(dock_->UnplacedList()->count(), 1);
    EXPECT_EQ(dock_->UnplacedList()->item(0)->text(), QStringLiteral("E  (non placé)"));
}

TEST_F(SketchViewTest, HoverTellsWhatTheSketchKnows) {
    dock_->SetModel(SmallModel());
    const QPoint c = Where(1);
    EXPECT_EQ(View().PointAt(c + QPoint(3, 2)), 1);
    EXPECT_EQ(View().ToolTipAt(c),
              QString::fromStdString(Cp1252ToUtf8(DescribePoint(View().Model().placed[1]))));
    EXPECT_TRUE(View().ToolTipAt(c + QPoint(40, 40)).isEmpty());
}

TEST_F(SketchViewTest, WheelZoomsAroundTheCursor) {
    dock_->SetModel(SmallModel());
    SketchView& view = View();
    const QPoint cursor = Where(3) + QPoint(10, -5);
    const QPointF under = view.mapToScene(cursor);
    const double before = view.PixelsPerUnit();
    QWheelEvent notch(QPointF(cursor), view.viewport()->mapToGlobal(QPointF(cursor)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &notch);
    // One notch: a quarter more pixels per unit, the same place under the cursor.
    EXPECT_NEAR(view.PixelsPerUnit() / before, 1.25, 1e-9);
    EXPECT_LT(Distance(view.mapFromScene(under), cursor), kPixelTolerance);
    // Fit brings the whole network back.
    dock_->findChild<QAction*>(QStringLiteral("SketchFit"))->trigger();
    EXPECT_NEAR(view.PixelsPerUnit(), before, 1e-9);
}

TEST_F(SketchViewTest, EachNewSketchIsFittedUntilTheUserZoomsOrPans) {
    SketchView& view = View();
    // Every point of the grid (290 units across) inside the viewport.
    const auto allInside = [&] {
        const QRect inside = view.viewport()->rect();
        for (int i = 0; i < static_cast<int>(view.Model().placed.size()); ++i) {
            if (!inside.contains(Where(i))) {
                return false;
            }
        }
        return true;
    };
    // A load shows the given points; the run then places the others, far
    // beyond them: the view fits the larger network.
    dock_->SetModel(SmallModel());
    const double small = view.PixelsPerUnit();
    dock_->SetModel(GridModel(30));
    const double grid = view.PixelsPerUnit();
    EXPECT_GT(grid, small);  // 290 units across instead of 400
    EXPECT_TRUE(allInside());

    // A zoom of the user's stays through the next runs.
    const QPoint cursor = view.viewport()->rect().center();
    QWheelEvent notch(QPointF(cursor), view.viewport()->mapToGlobal(QPointF(cursor)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &notch);
    const double zoomed = view.PixelsPerUnit();
    EXPECT_NEAR(zoomed / grid, 1.25, 1e-9);  // one notch
    dock_->SetModel(SmallModel());
    EXPECT_EQ(view.PixelsPerUnit(), zoomed);

    // "Ajuster" ends it: the next sketch is fitted again.
    dock_->findChild<QAction*>(QStringLiteral("SketchFit"))->trigger();
    dock_->SetModel(GridModel(30));
    EXPECT_EQ(view.PixelsPerUnit(), grid);

    // So does a drag that pans.
    QTest::mousePress(view.viewport(), Qt::LeftButton, Qt::NoModifier, cursor);
    QMouseEvent drag(QEvent::MouseMove, QPointF(cursor + QPoint(30, 20)),
                     view.viewport()->mapToGlobal(QPointF(cursor + QPoint(30, 20))), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &drag);
    QTest::mouseRelease(view.viewport(), Qt::LeftButton, Qt::NoModifier, cursor + QPoint(30, 20));
    dock_->SetModel(SmallModel());
    EXPECT_EQ(view.PixelsPerUnit(), grid);  // kept, though the bounds changed
}

TEST_F(SketchViewTest, ASmallViewStillFitsTheWholeNetwork) {
    // A view at its smallest (a low window): the margins kept around the
    // network shrink with it, so the network still fills most of the view
    // rather than a pixel of it.
    SketchView view;
    view.resize(view.minimumSize());
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.SetModel(SmallModel());
    const QRect inside = view.viewport()->rect();
    QRectF spread;
    for (int i = 0; i < static_cast<int>(view.Model().placed.size()); ++i) {
        const QPoint at = view.mapFromScene(view.ScenePosition(i));
        EXPECT_TRUE(inside.contains(at)) << i;
        spread |= QRectF(at, QSizeF(1.0, 1.0));
    }
    // SmallModel is 400 units north to south: at least half the viewport's
    // height, where whole margins would have left it squeezed to a pixel.
    EXPECT_GT(spread.height(), 0.5 * inside.height());
}

TEST_F(SketchViewTest, TheTitleOfTheUnplacedListAlwaysShows) {
    dock_->SetModel(SmallModel());
    auto* split = dock_->findChild<QSplitter*>();
    ASSERT_NE(split, nullptr);
    QLabel* title = dock_->UnplacedTitle();
    EXPECT_EQ(title->text(), QStringLiteral("Points sans position : 1"));
    // The handle dragged to the bottom, then to the top: the list and its
    // title keep their room, the view keeps its own.
    for (const QList<int>& sizes : {QList<int>{10000, 0}, QList<int>{0, 10000}}) {
        split->setSizes(sizes);
        QApplication::processEvents();
        EXPECT_TRUE(title->isVisible());
        const QRect shown(title->mapTo(split, QPoint(0, 0)), title->size());
        EXPECT_TRUE(split->rect().contains(shown)) << shown.y() << " " << split->height();
        EXPECT_GE(title->height(), title->sizeHint().height());
        EXPECT_GT(dock_->UnplacedList()->height(), 0);
        EXPECT_GE(View().height(), View().minimumHeight());
    }
}

TEST_F(SketchViewTest, CentringZoomsInUntilTheNameShows) {
    dock_->SetModel(GridModel(100));
    SketchView& view = View();
    // Ten thousand points in 480 pixels: far from every name shows.
    EXPECT_LT(view.LabelCount(), 1000);
    const int target = PlacedPositionOf(view.Model(), PointIndexOf(view.Model(), "P5050"));
    ASSERT_GE(target, 0);
    const double fitted = view.PixelsPerUnit();
    EXPECT_TRUE(dock_->CentrePoint(QStringLiteral("P5050")));
    EXPECT_GT(view.PixelsPerUnit(), fitted);
    EXPECT_EQ(view.Highlighted(), target);
    const QPointF centre = QRectF(view.viewport()->rect()).center();
    EXPECT_LT(Distance(Where(target), centre), kPixelTolerance);

    EXPECT_FALSE(dock_->CentrePoint(QStringLiteral("ABSENT")));
    EXPECT_FALSE(dock_->CentrePoint(QStringLiteral("p5050")));  // names are exact
}

TEST_F(SketchViewTest, APointWithoutPositionIsChosenInTheList) {
    dock_->SetModel(SmallModel());
    EXPECT_TRUE(dock_->CentrePoint(QStringLiteral("E")));
    EXPECT_EQ(dock_->UnplacedList()->currentRow(), 0);
    EXPECT_EQ(View().Highlighted(), -1);
}

TEST_F(SketchViewTest, DegenerateNetworksShowWithoutFailing) {
    StateBuilder one;
    one.KnownPoint("S", 600000.0, 200000.0, 0.0);
    dock_->SetModel(BuildSketch(one.state));
    EXPECT_TRUE(std::isfinite(View().PixelsPerUnit()));
    EXPECT_GT(View().PixelsPerUnit(), 0.0);
    EXPECT_TRUE(View().viewport()->rect().contains(Where(0)));
    dock_->SetModel(BuildSketch(SurveyState{}));
    EXPECT_EQ(View().LabelCount(), 0);
    QImage image(View().viewport()->size(), QImage::Format_ARGB32);
    QPainter painter(&image);
    View().render(&painter);  // nothing to draw, and nothing fails
}

TEST_F(SketchViewTest, ExportsWriteTheFileOrTellWhyNot) {
    dock_->SetModel(SmallModel());
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    hooks_.fileAnswers = {folder.filePath(QStringLiteral("croquis.svg")),
                          folder.filePath(QStringLiteral("croquis.png")),
                          folder.filePath(QStringLiteral("absent/croquis.svg")),
                          folder.filePath(QStringLiteral("absent/croquis.png"))};
    dock_->findChild<QAction*>(QStringLiteral("SketchExportSvg"))->trigger();
    dock_->findChild<QAction*>(QStringLiteral("SketchExportPng"))->trigger();
    ASSERT_EQ(hooks_.fileDialogs.size(), 2u);
    EXPECT_EQ(hooks_.fileDialogs[0].filter, QStringLiteral("Croquis SVG (*.svg)"));
    EXPECT_EQ(hooks_.fileDialogs[1].filter, QStringLiteral("Image PNG (*.png)"));
    EXPECT_TRUE(hooks_.messages.empty());

    QFile svg(folder.filePath(QStringLiteral("croquis.svg")));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const testing::XmlDocument document = testing::ParseXml(svg.readAll().toStdString());
    EXPECT_TRUE(document.root) << document.error;
    const QImage png(folder.filePath(QStringLiteral("croquis.png")));
    ASSERT_FALSE(png.isNull());
    // Fitted into 3000 pixels: the network is 300 wide and 400 high.
    EXPECT_LT(png.width(), png.height());
    EXPECT_LE(png.height(), 3001);
    EXPECT_GT(png.height(), 2900);
    // The view keeps its own labels after the export.
    EXPECT_EQ(View().LabelCount(), 4);

    dock_->ExportSvg();
    dock_->ExportPng();
    ASSERT_EQ(hooks_.messages.size(), 2u);
    EXPECT_TRUE(hooks_.messages[0].failure);
    EXPECT_TRUE(
        hooks_.messages[0].text.startsWith(QStringLiteral("Impossible de créer le fichier")))
        << hooks_.messages[0].text.toStdString();
    EXPECT_TRUE(hooks_.messages[1].failure);
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("absent"))));
}

TEST_F(SketchViewTest, TenThousandPointsStayFluid) {
    const SketchModel model = GridModel(100);
    QElapsedTimer timer;
    timer.start();
    dock_->SetModel(model);
    const qint64 shown = timer.elapsed();

    // A repaint of the whole viewport, as a pan or a zoom gives, at the
    // fitted zoom (every point in view) and zoomed in.
    QImage frame(View().viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    const auto paint = [&] {
        QElapsedTimer paintTimer;
        paintTimer.start();
        QPainter painter(&frame);
        View().render(&painter);
        return paintTimer.elapsed();
    };
    const qint64 fitted = paint();
    View().CentrePoint(QStringLiteral("P5050"));
    const qint64 zoomed = paint();
    std::cout << "10 000 points: shown in " << shown << " ms, painted in " << fitted
              << " ms fitted, " << zoomed << " ms zoomed\n";
    // Generous bounds for a debug build under a loaded machine: a slip into
    // drawing item by item would cost seconds.
    EXPECT_LT(shown, 2000);
    EXPECT_LT(fitted, 1000);
    EXPECT_LT(zoomed, 1000);
}

// The main window: the dock refreshed after the load and the run, and a
// double-click on a pane line centring the point it names.
TEST(SketchInWindow, RefreshedAfterEachRunAndCentredFromThePane) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString start = QDir::currentPath();
    QDir::setCurrent(folder.path());
    const auto write = [&](const QString& name, const QByteArray& content) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    };
    // A and B given, P radiated from A (round on B, reading 100 grades, 500 m).
    write(QStringLiteral("s.cor"),
          "1 A 1000.0 1000.0 100.0 0 0\r\n1 B 1000.0 2000.0 100.0 0 0\r\n");
    write(QStringLiteral("s.obs"),
          "7 A B 0.0 0 1.5 1.5\r\n5 A P 100.0 0 1.5 1.5\r\n2 A P 500.0 0 1.5 1.5\r\n"
          "4 A P 10.0 0 0 0\r\n");
    write(QStringLiteral("s.bvk"),
          "1\r\n1\r\n3\r\n 4.50000000000000E+0001\r\n 1.20000000000000E-0001\r\n" +
              QFile::encodeName(folder.filePath(QStringLiteral("s.cor"))) + "\r\n" +
              QFile::encodeName(folder.filePath(QStringLiteral("s.obs"))) + "\r\n" +
              QFile::encodeName(folder.filePath(QStringLiteral("s"))) + "\r\n");
    {
        ScriptedHooks hooks;
        TFInitial window(&hooks);
        window.resize(1200, 700);
        window.show();
        hooks.fileAnswers = {folder.filePath(QStringLiteral("s.bvk"))};
        window.findChild<QAction*>(QStringLiteral("OuvrirChantier1"))->trigger();
        window.findChild<QPushButton*>(QStringLiteral("BBCalcul"))->click();
        SketchDock* dock = window.Sketch();
        ASSERT_NE(dock, nullptr);
        EXPECT_EQ(dock->View()->Model().placed.size(), 2u);  // the given points
        EXPECT_EQ(dock->UnplacedList()->count(), 1);         // P, not yet computed

        window.findChild<QComboBox*>(QStringLiteral("CBDepart"))->setEditText(QStringLiteral("A"));
        ASSERT_EQ(dock->View()->Model().placed.size(), 3u);
        EXPECT_EQ(dock->UnplacedList()->count(), 0);

        // Double-click on "Point :        P calculé" in the pane.
        auto* pane = window.findChild<QPlainTextEdit*>(QStringLiteral("Memo"));
        const QTextBlock line =
            pane->document()->find(QStringLiteral("Point :        P calculé")).block();
        ASSERT_TRUE(line.isValid());
        QTextCursor cursor(line);
        cursor.setPosition(line.position() + 15);  // on the P
        pane->setTextCursor(cursor);
        pane->ensureCursorVisible();
        const QPoint at = pane->cursorRect(cursor).center();
        QTest::mouseDClick(pane->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        const int p =
            PlacedPositionOf(dock->View()->Model(), PointIndexOf(dock->View()->Model(), "P"));
        EXPECT_EQ(dock->View()->Highlighted(), p);

        // A click on a row of the check's point table centres that point.
        QTableView* points = window.Controle()->PointTable();
        const QAbstractItemModel* rows = points->model();
        int rowOfA = -1;
        for (int row = 0; row < rows->rowCount(); ++row) {
            if (rows->index(row, PointCheckModel::Point).data().toString() == QStringLiteral("A")) {
                rowOfA = row;
            }
        }
        ASSERT_GE(rowOfA, 0);
        const QModelIndex cell = rows->index(rowOfA, PointCheckModel::Point);
        emit points->clicked(cell);  // the dock may lie under another tab
        EXPECT_EQ(
            dock->View()->Highlighted(),
            PlacedPositionOf(dock->View()->Model(), PointIndexOf(dock->View()->Model(), "A")));
        hooks.messages.clear();
    }
    QDir::setCurrent(start);
}

}  // namespace
}  // namespace calctopo
