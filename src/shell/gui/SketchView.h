// The "Croquis" view: the network sketch of the core (output/Sketch.h) on a
// graphics scene, in a dock beside the message pane.
//
// The scene holds two layers, one for the lines and one for the points, each
// painting all of its elements itself: markers and labels keep their size in
// pixels whatever the zoom, lines are drawn with cosmetic pens, and only what
// lies in the exposed area is painted, so that a network of 10 000 points
// stays fluid. Labels are thinned for the zoom of the moment with the same
// rule as the SVG file. The wheel zooms around the cursor, a drag pans, the
// hover tells what the sketch knows of a point.
#pragma once

#include <QDockWidget>
#include <QGraphicsView>
#include <QImage>
#include <QString>
#include <memory>

#include "output/Sketch.h"

class QGraphicsScene;
class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace calctopo {

class ModalHooks;
struct SurveyState;
class SketchLinesItem;
class SketchPointsItem;
struct SketchSceneData;

class SketchView : public QGraphicsView {
    Q_OBJECT
  public:
    explicit SketchView(QWidget* parent = nullptr);
    ~SketchView() override;

    // Shows a new sketch. The view fits the network, unless the user has
    // zoomed, panned or centred a point since the last fit: then it keeps
    // the zoom and the centre.
    void SetModel(SketchModel model);
    const SketchModel& Model() const;

    // Pixels of the viewport per length unit at the current zoom.
    double PixelsPerUnit() const;
    // How many labels the current zoom shows.
    int LabelCount() const;
    // Where a placed point sits in the scene (X east to the right, north up).
    QPointF ScenePosition(int placed) const;
    // The placed point drawn under a viewport position (within a few
    // pixels), or -1.
    int PointAt(const QPoint& viewportPosition) const;
    // The hover text of the point under a viewport position; empty when none.
    QString ToolTipAt(const QPoint& viewportPosition) const;
    // The point last centred, or -1.
    int Highlighted() const { return highlighted_; }
    // The whole sketch drawn into an image whose longest side is about
    // `longestSide` pixels, with labels thinned for that size.
    QImage RenderImage(int longestSide) const;

    // A modest size: the pane beside the view keeps its room.
    QSize sizeHint() const override { return {420, 360}; }

  public slots:
    // Centres the placed point of that name, zooming in until its label
    // shows; false when no placed point has that name.
    bool CentrePoint(const QString& name);
    void FitToWindow();

  protected:
    void wheelEvent(QWheelEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ZoomBy(double factor);
    void ZoomChanged();

    std::unique_ptr<SketchSceneData> data_;
    QGraphicsScene* scene_ = nullptr;
    SketchLinesItem* lines_ = nullptr;
    SketchPointsItem* points_ = nullptr;
    std::unique_ptr<SketchGrid> grid_;  // placed points in scene units
    int highlighted_ = -1;
    bool fitted_ = false;
    double fitScale_ = 0.0;   // pixels per unit of the last fit
    bool userMoved_ = false;  // zoomed, panned or centred since the last fit
};

// The dock "Croquis": the view, a tool bar (fit, SVG and PNG export), the
// legend, and the list of the points without position.
class SketchDock : public QDockWidget {
    Q_OBJECT
  public:
    // hooks: the file dialogs and message boxes of the window (not owned).
    SketchDock(ModalHooks* hooks, QWidget* parent = nullptr);

    // The sketch of the state as it stands; called after every load and run.
    void Refresh(const SurveyState& state);
    // The same with a model the caller completed (placements, check verdicts).
    void SetModel(SketchModel model);
    // A double-click on a line of the pane that names a point centres it.
    void WatchPane(QPlainTextEdit* pane);

    SketchView* View() const { return view_; }
    QListWidget* UnplacedList() const { return unplaced_; }
    QLabel* UnplacedTitle() const { return unplacedTitle_; }

  public slots:
    // Centres a placed point, or selects a point without position in the
    // list; false when the sketch has no point of that name.
    bool CentrePoint(const QString& name);
    void ExportSvg();
    void ExportPng();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ReportFailure(const QString& message);
    // The save dialog of an export; empty when cancelled.
    QString ChooseExport(const QString& dialog, const QString& filter, const QString& suffix);

    ModalHooks* hooks_;
    SketchView* view_ = nullptr;
    QListWidget* unplaced_ = nullptr;
    QLabel* unplacedTitle_ = nullptr;
    QPlainTextEdit* pane_ = nullptr;
};

}  // namespace calctopo
