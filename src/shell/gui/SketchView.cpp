#include "shell/gui/SketchView.h"

#include <QAction>
#include <QDir>
#include <QFontMetricsF>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QScrollBar>
#include <QSplitter>
#include <QStyleOptionGraphicsItem>
#include <QTextBlock>
#include <QToolBar>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "data/Failures.h"
#include "data/TextNumbers.h"
#include "output/SketchSvg.h"
#include "shell/app/Titles.h"
#include "shell/gui/ModalHooks.h"

namespace calctopo {

namespace {

// A point answers the hover and the click within this many pixels.
constexpr double kHoverPixels = 6.0;
// Labels are drawn in a sans-serif of this many pixels, as in the SVG file.
constexpr int kLabelPixels = 11;
constexpr double kLabelGap = 5.0;
// Room kept around the network when it is fitted to the window: a whole
// label beside the outermost points (pixels).
constexpr double kFitMarginPixels = 70.0;
// ... but never more than this share of the view's width or height, on each side.
constexpr double kFitMarginShare = 0.2;
// The zoom stays between an eighth of the fitted zoom and a millimetre per
// pixel for a network in metres, or four times the fitted zoom when that is
// closer still.
constexpr double kZoomOutLimit = 1.0 / 8.0;
constexpr double kMaxPixelsPerUnit = 1000.0;
constexpr double kZoomInLimit = 4.0;
// One notch of the wheel (120 eighths of a degree) zooms by this factor.
constexpr double kWheelNotchFactor = 1.25;
// Centring a point zooms in by halves of this factor until its label shows,
// at most this many times.
constexpr double kCentreZoomStep = 2.0;
constexpr int kCentreZoomSteps = 8;
// The view's smallest size (pixels): low enough that the dock's tool bar,
// view, list and legend fit beside the pane of a window of 520 pixels, so the
// window never has to squeeze the list's title under the view.
constexpr int kViewMinimumWidth = 240;
constexpr int kViewMinimumHeight = 120;
// The dock's narrowest width (pixels).
constexpr int kDockMinimumWidth = 380;
// The list of the points without position keeps at least this height
// (pixels, about two rows), so that its title above it always shows.
constexpr int kUnplacedListMinimumHeight = 40;
// The scene's hit grid has about this many cells across the network.
constexpr double kGridCellsAcross = 128.0;
// Markers have their full size when points lie at least this far apart on
// screen (pixels), and shrink down to this share of it when they are closer.
constexpr double kComfortableSpacing = 14.0;
constexpr double kSmallestMarker = 0.3;
// The extent a network of coincident points is shown at (length units).
constexpr double kMinExtent = 1.0;
// The scale bar is at most this long on screen (pixels).
constexpr double kScaleBarMaxPixels = 150.0;
// The ground under the scale bar and the north arrow: white, a little
// transparent.
const QColor kOverlayGround(255, 255, 255, 215);
// The PNG export: its longest side (pixels).
constexpr int kPngLongestSide = 3000;

QString QtText(const std::string& core) {
    return QString::fromStdString(Cp1252ToUtf8(core));
}
std::string CoreText(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

QColor ToQColor(SketchColour colour) {
    return QColor(colour.red, colour.green, colour.blue);
}

QFont LabelFont() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kLabelPixels);
    return font;
}

// The label size the thinning reckons with, from the font: capitals and
// digits, which point names are mostly made of.
LabelMetrics MetricsOf(const QFont& font) {
    const QFontMetricsF metrics(font);
    const QString sample = QStringLiteral("MW08PS");
    LabelMetrics label;
    label.charWidth = metrics.horizontalAdvance(sample) / sample.size();
    label.height = metrics.height();
    label.gap = kLabelGap;
    return label;
}

// The scale bar (bottom left) and the north arrow (top right) over an area
// of a painter in device pixels, for a drawing at pixelsPerUnit.
void DrawScaleAndNorth(QPainter& painter, const QRectF& area, double pixelsPerUnit) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double length = RoundScaleLength(kScaleBarMaxPixels / pixelsPerUnit);
    if (length > 0.0) {
        const double pixels = length * pixelsPerUnit;
        const QPointF start(area.left() + 16.0, area.bottom() - 26.0);
        // A light ground, so that the bar reads over a dense network.
        painter.setPen(Qt::NoPen);
        painter.setBrush(kOverlayGround);
        painter.drawRoundedRect(QRectF(start - QPointF(10.0, 8.0), QSizeF(pixels + 50.0, 32.0)),
                                4.0, 4.0);
        painter.setPen(QPen(Qt::black, 1.0));
        painter.setBrush(Qt::black);
        painter.drawRect(QRectF(start, QSizeF(pixels / 2.0, 5.0)));
        painter.setBrush(Qt::white);
        painter.drawRect(QRectF(start + QPointF(pixels / 2.0, 0.0), QSizeF(pixels / 2.0, 5.0)));
        painter.setFont(LabelFont());
        painter.drawText(QPointF(start.x() - 3.0, start.y() + 18.0), QStringLiteral("0"));
        painter.drawText(QPointF(start.x() + pixels - 10.0, start.y() + 18.0),
                         QtText(FormatScaleLength(length)) + QStringLiteral(" m"));
    }
    const QPointF tip(area.right() - 24.0, area.top() + 26.0);
    const QPolygonF arrow(
        {tip, tip + QPointF(7.0, 30.0), tip + QPointF(0.0, 23.0), tip + QPointF(-7.0, 30.0)});
    painter.setPen(Qt::NoPen);
    painter.setBrush(kOverlayGround);
    painter.drawRoundedRect(QRectF(tip - QPointF(14.0, 24.0), QSizeF(28.0, 58.0)), 4.0, 4.0);
    painter.setBrush(Qt::black);
    painter.drawPolygon(arrow);
    QFont north = LabelFont();
    north.setBold(true);
    north.setPixelSize(14);
    painter.setFont(north);
    painter.setPen(Qt::black);
    painter.drawText(QRectF(tip.x() - 10.0, tip.y() - 20.0, 20.0, 18.0), Qt::AlignCenter,
                     QStringLiteral("N"));
    painter.restore();
}

}  // namespace

// What both layers draw: the model and where each placed point sits in the
// scene. Scene x = X − minX, scene y = maxY − Y, so north is up.
struct SketchSceneData {
    SketchModel model;
    std::vector<QPointF> positions;  // per placed point
    QRectF bounds;                   // of the positions
};

// ---- Lines layer ----

class SketchLinesItem : public QGraphicsItem {
  public:
    explicit SketchLinesItem(const SketchSceneData& data) : data_(data) {
        setFlag(ItemUsesExtendedStyleOption);
    }

    void Changed() { prepareGeometryChange(); }

    QRectF boundingRect() const override { return data_.bounds; }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) override {
        const QRectF exposed = option->exposedRect;
        // One batch per style, suspect lines last so they stay on top.
        constexpr int kStyles = 5;
        std::array<std::vector<QLineF>, kStyles> batches;
        for (const SketchLine& line : data_.model.lines) {
            const QPointF a = data_.positions[static_cast<std::size_t>(line.first)];
            const QPointF b = data_.positions[static_cast<std::size_t>(line.second)];
            if (std::max(a.x(), b.x()) < exposed.left() ||
                std::min(a.x(), b.x()) > exposed.right() ||
                std::max(a.y(), b.y()) < exposed.top() ||
                std::min(a.y(), b.y()) > exposed.bottom()) {
                continue;
            }
            const int style = line.check.suspect ? kStyles - 1 : static_cast<int>(LineKind(line));
            batches[static_cast<std::size_t>(style)].emplace_back(a, b);
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        for (int style = 0; style < kStyles; ++style) {
            const auto& batch = batches[static_cast<std::size_t>(style)];
            if (batch.empty()) {
                continue;
            }
            painter->setPen(PenOf(style));
            painter->drawLines(batch.data(), static_cast<int>(batch.size()));
        }
        painter->restore();
    }

  private:
    // The SVG file's styles; a dash pattern counts in pen widths.
    static QPen PenOf(int style) {
        QPen pen(ToQColor(kSketchLineColour), 1.0);
        switch (static_cast<SketchLineKind>(style)) {
            case SketchLineKind::DirectionAndDistance:
                break;
            case SketchLineKind::DirectionOnly:
                pen.setDashPattern({5.0, 3.0});
                break;
            case SketchLineKind::DistanceOnly:
                pen.setDashPattern({1.5, 2.5});
                break;
            case SketchLineKind::LevellingOnly:
                pen.setColor(ToQColor(kSketchLevellingColour));
                pen.setDashPattern({7.0, 3.0, 1.5, 3.0});
                break;
            default:  // suspect
                pen = QPen(ToQColor(kSketchSuspectColour), 2.2);
                break;
        }
        pen.setCosmetic(true);
        return pen;
    }

    const SketchSceneData& data_;
};

// ---- Points layer ----

class SketchPointsItem : public QGraphicsItem {
  public:
    explicit SketchPointsItem(const SketchSceneData& data)
        : data_(data), font_(LabelFont()), metrics_(MetricsOf(font_)) {
        setFlag(ItemUsesExtendedStyleOption);
    }

    // The model changed, or the zoom: new bounds, new labels.
    void SetScale(double pixelsPerUnit) {
        prepareGeometryChange();
        Thin(pixelsPerUnit);
    }
    void SetHighlight(int placed) {
        highlighted_ = placed;
        update();
    }
    int LabelCount() const { return static_cast<int>(labels_.size()); }
    bool Labelled(int placed) const {
        return placed >= 0 && static_cast<std::size_t>(placed) < labelled_.size() &&
               labelled_[static_cast<std::size_t>(placed)];
    }

    QRectF boundingRect() const override {
        // Markers and labels keep their size in pixels: the margin in scene
        // units follows the zoom.
        const double margin =
            (kFitMarginPixels + kSuspectRingRadius) / (scale_ > 0.0 ? scale_ : 1.0);
        return data_.bounds.adjusted(-margin, -margin, margin, margin);
    }

    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget*) override {
        const QTransform transform = painter->worldTransform();
        const double scale = transform.m11();
        if (!(scale > 0.0)) {
            return;
        }
        if (std::fabs(scale - scale_) > 1e-9 * scale) {
            Thin(scale);  // painted at another zoom than the view's (an export)
        }
        const QPointF origin = transform.map(QPointF(0.0, 0.0));
        const QRectF exposed = transform.mapRect(option->exposedRect)
                                   .adjusted(-kFitMarginPixels, -kSuspectRingRadius - 2.0,
                                             kFitMarginPixels, kSuspectRingRadius + 2.0);
        const auto device = [&](std::size_t i) { return origin + data_.positions[i] * scale; };

        painter->save();
        painter->resetTransform();
        const qreal ratio = painter->device()->devicePixelRatioF();
        const double size = MarkerSize(scale);
        if (ratio != markersRatio_ || size != markersSize_) {
            MakeMarkers(ratio, size);
        }
        const std::vector<SketchPoint>& placed = data_.model.placed;
        for (const SketchStatus status : kMarkerDrawingOrder) {
            const QPixmap& marker = markers_[MarkerOf(status)];
            const QPointF half = QPointF(marker.width(), marker.height()) / (2.0 * ratio);
            for (std::size_t i = 0; i < placed.size(); ++i) {
                const QPointF at = device(i);
                if (placed[i].status == status && exposed.contains(at)) {
                    painter->drawPixmap(at - half, marker);
                }
            }
        }
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setBrush(Qt::NoBrush);
        painter->setPen(QPen(ToQColor(kSketchSuspectColour), 1.6));
        for (std::size_t i = 0; i < placed.size(); ++i) {
            if (placed[i].check.suspect && exposed.contains(device(i))) {
                painter->drawEllipse(device(i), kSuspectRingRadius, kSuspectRingRadius);
            }
        }
        if (highlighted_ >= 0 && static_cast<std::size_t>(highlighted_) < placed.size()) {
            painter->setPen(QPen(QColor(30, 110, 230), 2.0));
            painter->drawEllipse(device(static_cast<std::size_t>(highlighted_)), 10.0, 10.0);
        }

        painter->setFont(font_);
        const QFontMetricsF metrics(font_);
        const double baseline = (metrics.ascent() - metrics.descent()) / 2.0;
        const QColor text(32, 32, 32);
        for (const LabelPlacement& label : labels_) {
            const QPointF corner = origin + QPointF(label.box.minX, label.box.minY);
            if (!exposed.contains(corner)) {
                continue;
            }
            const SketchPoint& point = placed[static_cast<std::size_t>(label.position)];
            const QString name = QtText(point.name);
            const double centreY = origin.y() + (label.box.minY + label.box.maxY) / 2.0;
            double x = origin.x() + label.box.minX;
            if (label.side == LabelSide::Left) {
                x = origin.x() + label.box.maxX - metrics.horizontalAdvance(name);
            } else if (label.side != LabelSide::Right) {
                x = origin.x() +
                    (label.box.minX + label.box.maxX - metrics.horizontalAdvance(name)) / 2.0;
            }
            painter->setPen(point.check.suspect ? ToQColor(kSketchSuspectColour) : text);
            painter->drawText(QPointF(x, centreY + baseline), name);
        }
        painter->restore();
    }

  private:
    static std::size_t MarkerOf(SketchStatus status) {
        return status == SketchStatus::Given ? 0 : status == SketchStatus::Computed ? 1 : 2;
    }

    // The three markers as pixmaps, drawn once: painting a pixmap is the
    // quickest way to put ten thousand of them on the screen.
    // The markers' size at a zoom, as a share of their full size: when the
    // points are packed closer than a comfortable spacing, the markers shrink
    // with it, so that the shape of the network still shows. Steps of a
    // twentieth keep the pixmaps from being redrawn at every zoom.
    double MarkerSize(double pixelsPerUnit) const {
        const std::size_t count = data_.model.placed.size();
        if (count == 0) {
            return 1.0;
        }
        const double w = data_.bounds.width() * pixelsPerUnit;
        const double h = data_.bounds.height() * pixelsPerUnit;
        const double n = static_cast<double>(count);
        // A row of points has no area: then the spacing along it counts.
        const double area = std::max(w * h, std::max(w, h) * std::max(w, h) / n);
        const double spacing = std::sqrt(area / n);
        const double share = std::clamp(spacing / kComfortableSpacing, kSmallestMarker, 1.0);
        return std::round(share * 20.0) / 20.0;
    }

    void MakeMarkers(qreal ratio, double size) {
        markersRatio_ = ratio;
        markersSize_ = size;
        const double dot = kMarkerRadius * size;
        const double radius = (kMarkerRadius + kTriangleExtra) * size;
        const int side = static_cast<int>(std::ceil(2.0 * radius + 2.0));
        for (std::size_t m = 0; m < markers_.size(); ++m) {
            QPixmap pixmap(QSize(side, side) * ratio);
            pixmap.setDevicePixelRatio(ratio);
            pixmap.fill(Qt::transparent);
            QPainter p(&pixmap);
            p.setRenderHint(QPainter::Antialiasing);
            const QPointF c(side / 2.0, side / 2.0);
            if (m == 0) {
                const double half = radius * std::sqrt(3.0) / 2.0;
                p.setPen(Qt::NoPen);
                p.setBrush(ToQColor(kSketchGivenColour));
                p.drawPolygon(QPolygonF({c + QPointF(0.0, -radius), c + QPointF(half, radius / 2.0),
                                         c + QPointF(-half, radius / 2.0)}));
            } else {
                // A small dot shows its colour better without its outline.
                p.setPen(size < 0.6 ? QPen(Qt::NoPen) : QPen(Qt::black, 0.4));
                p.setBrush(ToQColor(m == 1 ? kSketchComputedColour : kSketchPlanOnlyColour));
                p.drawEllipse(c, dot, dot);
            }
            markers_[m] = pixmap;
        }
    }

    void Thin(double pixelsPerUnit) {
        scale_ = pixelsPerUnit;
        labels_ = ThinLabels(data_.model, pixelsPerUnit, metrics_);
        labelled_.assign(data_.model.placed.size(), false);
        for (const LabelPlacement& label : labels_) {
            labelled_[static_cast<std::size_t>(label.position)] = true;
        }
    }

    const SketchSceneData& data_;
    QFont font_;
    LabelMetrics metrics_;
    double scale_ = 0.0;
    std::vector<LabelPlacement> labels_;
    std::vector<bool> labelled_;
    int highlighted_ = -1;
    std::array<QPixmap, 3> markers_;
    qreal markersRatio_ = 0.0;
    double markersSize_ = 0.0;
};

// ---- View ----

SketchView::SketchView(QWidget* parent)
    : QGraphicsView(parent), data_(std::make_unique<SketchSceneData>()) {
    setObjectName(QStringLiteral("SketchView"));
    scene_ = new QGraphicsScene(this);
    scene_->setItemIndexMethod(QGraphicsScene::NoIndex);  // two items: nothing to index
    lines_ = new SketchLinesItem(*data_);
    points_ = new SketchPointsItem(*data_);
    scene_->addItem(lines_);
    scene_->addItem(points_);
    setScene(scene_);
    setBackgroundBrush(Qt::white);
    setRenderHint(QPainter::Antialiasing);
    setDragMode(QGraphicsView::ScrollHandDrag);
    setTransformationAnchor(QGraphicsView::AnchorViewCenter);
    // The scale bar and the north arrow are drawn over the whole viewport.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    setMouseTracking(true);
    setMinimumSize(kViewMinimumWidth, kViewMinimumHeight);
}

SketchView::~SketchView() = default;

const SketchModel& SketchView::Model() const {
    return data_->model;
}

void SketchView::SetModel(SketchModel model) {
    const SketchBounds before = data_->model.bounds;
    data_->model = std::move(model);
    const SketchModel& m = data_->model;
    data_->positions.clear();
    data_->positions.reserve(m.placed.size());
    for (const SketchPoint& point : m.placed) {
        data_->positions.emplace_back(point.x - m.bounds.minX, m.bounds.maxY - point.y);
    }
    data_->bounds = m.bounds.empty ? QRectF()
                                   : QRectF(0.0, 0.0, m.bounds.maxX - m.bounds.minX,
                                            m.bounds.maxY - m.bounds.minY);
    const double extent = std::max({data_->bounds.width(), data_->bounds.height(), kMinExtent});
    grid_ = std::make_unique<SketchGrid>(extent / kGridCellsAcross);
    for (std::size_t i = 0; i < data_->positions.size(); ++i) {
        const QPointF p = data_->positions[i];
        grid_->Insert(static_cast<int>(i), {p.x(), p.y(), p.x(), p.y()});
    }
    // Room to pan a whole network's width beyond every side.
    const QRectF room = data_->bounds.isNull()
                            ? QRectF(-extent, -extent, 2.0 * extent, 2.0 * extent)
                            : data_->bounds.adjusted(-extent, -extent, extent, extent);
    scene_->setSceneRect(room);
    lines_->Changed();
    highlighted_ = -1;
    points_->SetHighlight(-1);

    // Each new sketch (each load, each run) is fitted, unless the user has
    // zoomed or panned since the last fit: the place they look at stays.
    const bool sameBounds = before.empty == m.bounds.empty && before.minX == m.bounds.minX &&
                            before.maxX == m.bounds.maxX && before.minY == m.bounds.minY &&
                            before.maxY == m.bounds.maxY;
    if (!fitted_ || !userMoved_ || (m.bounds.empty && !sameBounds)) {
        FitToWindow();
    } else {
        ZoomChanged();
    }
    viewport()->update();
}

double SketchView::PixelsPerUnit() const {
    return transform().m11();
}

int SketchView::LabelCount() const {
    return points_->LabelCount();
}

QPointF SketchView::ScenePosition(int placed) const {
    return data_->positions.at(static_cast<std::size_t>(placed));
}

int SketchView::PointAt(const QPoint& viewportPosition) const {
    const double scale = PixelsPerUnit();
    if (!grid_ || !(scale > 0.0)) {
        return -1;
    }
    const QPointF at = mapToScene(viewportPosition);
    return grid_->Nearest(at.x(), at.y(), kHoverPixels / scale);
}

QString SketchView::ToolTipAt(const QPoint& viewportPosition) const {
    const int placed = PointAt(viewportPosition);
    if (placed < 0) {
        return {};
    }
    return QtText(DescribePoint(data_->model.placed[static_cast<std::size_t>(placed)]));
}

void SketchView::FitToWindow() {
    fitted_ = true;
    userMoved_ = false;
    const QRectF bounds = data_->bounds.isNull() && !data_->model.bounds.empty
                              ? QRectF(-kMinExtent / 2.0, -kMinExtent / 2.0, kMinExtent, kMinExtent)
                              : data_->bounds;
    if (data_->model.bounds.empty) {
        resetTransform();
        ZoomChanged();
        return;
    }
    const QSize size = viewport()->size();
    // A small view keeps most of each side for the network: a whole margin
    // on a view of 120 pixels would leave the network a single pixel.
    const double marginX = std::min(kFitMarginPixels, kFitMarginShare * size.width());
    const double marginY = std::min(kFitMarginPixels, kFitMarginShare * size.height());
    const double width = std::max(1.0, size.width() - 2.0 * marginX);
    const double height = std::max(1.0, size.height() - 2.0 * marginY);
    const double extentX = std::max(bounds.width(), kMinExtent / 1e6);
    const double extentY = std::max(bounds.height(), kMinExtent / 1e6);
    double scale = std::min(width / extentX, height / extentY);
    if (bounds.width() < kMinExtent && bounds.height() < kMinExtent) {
        scale = std::min(width, height) / kMinExtent;
    }
    setTransform(QTransform::fromScale(scale, scale));
    centerOn(bounds.center());
    fitScale_ = scale;
    ZoomChanged();
}

void SketchView::ZoomBy(double factor) {
    const double current = PixelsPerUnit();
    const double fit = fitScale_ > 0.0 ? fitScale_ : current;
    const double low = fit * kZoomOutLimit;
    const double high = std::max(kMaxPixelsPerUnit, fit * kZoomInLimit);
    const double wanted = std::clamp(current * factor, low, high);
    if (!(current > 0.0) || wanted == current) {
        return;
    }
    scale(wanted / current, wanted / current);
    ZoomChanged();
}

void SketchView::ZoomChanged() {
    const double scale = PixelsPerUnit();
    points_->SetScale(scale > 0.0 ? scale : 1.0);
    viewport()->update();
}

bool SketchView::CentrePoint(const QString& name) {
    const int placed = PlacedPositionOf(data_->model, PointIndexOf(data_->model, CoreText(name)));
    if (placed < 0) {
        return false;
    }
    const QPointF at = ScenePosition(placed);
    const ViewportAnchor anchor = transformationAnchor();
    setTransformationAnchor(QGraphicsView::AnchorViewCenter);
    centerOn(at);
    for (int step = 0; step < kCentreZoomSteps && !points_->Labelled(placed); ++step) {
        const double before = PixelsPerUnit();
        ZoomBy(kCentreZoomStep);
        if (PixelsPerUnit() == before) {
            break;
        }
        centerOn(at);
    }
    setTransformationAnchor(anchor);
    userMoved_ = true;  // the user asked to look there
    highlighted_ = placed;
    points_->SetHighlight(placed);
    return true;
}

QImage SketchView::RenderImage(int longestSide) const {
    if (data_->model.bounds.empty || longestSide <= 0) {
        QImage empty(1, 1, QImage::Format_ARGB32_Premultiplied);
        empty.fill(Qt::white);
        return empty;
    }
    const double extent = std::max({data_->bounds.width(), data_->bounds.height(), kMinExtent});
    const double inner = std::max(1.0, longestSide - 2.0 * kFitMarginPixels);
    const double scale = inner / extent;
    const double margin = kFitMarginPixels / scale;
    const QRectF source = data_->bounds.adjusted(-margin, -margin, margin, margin);
    const QSize size(std::max(1, static_cast<int>(std::ceil(source.width() * scale))),
                     std::max(1, static_cast<int>(std::ceil(source.height() * scale))));
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    scene_->render(&painter, QRectF(QPointF(0.0, 0.0), QSizeF(size)), source, Qt::KeepAspectRatio);
    DrawScaleAndNorth(painter, QRectF(QPointF(0.0, 0.0), QSizeF(size)), scale);
    painter.end();
    // The view's own labels again, for its zoom.
    points_->SetScale(PixelsPerUnit());
    return image;
}

void SketchView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0.0) {
        // The place under the cursor stays under it: zoom, then scroll it back.
        const QPoint cursor = event->position().toPoint();
        const QPointF under = mapToScene(cursor);
        const ViewportAnchor anchor = transformationAnchor();
        setTransformationAnchor(QGraphicsView::NoAnchor);
        ZoomBy(std::pow(kWheelNotchFactor, notches));
        userMoved_ = true;
        setTransformationAnchor(anchor);
        const QPoint drift = mapFromScene(under) - cursor;
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + drift.x());
        verticalScrollBar()->setValue(verticalScrollBar()->value() + drift.y());
    }
    event->accept();
}

void SketchView::mouseMoveEvent(QMouseEvent* event) {
    // A drag with the left button pans (ScrollHandDrag).
    if (event->buttons() & Qt::LeftButton) {
        userMoved_ = true;
    }
    QGraphicsView::mouseMoveEvent(event);
}

bool SketchView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = ToolTipAt(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, viewport());
        }
        return true;
    }
    return QGraphicsView::viewportEvent(event);
}

void SketchView::drawForeground(QPainter* painter, const QRectF& /*rect*/) {
    if (data_->model.bounds.empty) {
        return;
    }
    painter->save();
    painter->resetTransform();
    DrawScaleAndNorth(*painter, QRectF(viewport()->rect()), PixelsPerUnit());
    painter->restore();
}

void SketchView::resizeEvent(QResizeEvent* event) {
    QGraphicsView::resizeEvent(event);
    // Until the user zooms or pans, the network follows the size of the view.
    if (fitted_ && !userMoved_) {
        FitToWindow();
    }
}

// ---- Dock ----

SketchDock::SketchDock(ModalHooks* hooks, QWidget* parent)
    : QDockWidget(QStringLiteral("Croquis"), parent), hooks_(hooks) {
    setObjectName(QStringLiteral("Croquis"));
    // Always there: the window's menus have no item to bring it back.
    setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);

    auto* content = new QWidget(this);
    auto* layout = new QVBoxLayout(content);
    layout->setContentsMargins(2, 2, 2, 2);

    auto* tools = new QToolBar(content);
    QAction* fit = tools->addAction(QStringLiteral("Ajuster"));
    fit->setObjectName(QStringLiteral("SketchFit"));
    fit->setToolTip(QStringLiteral("Tout le réseau dans la vue"));
    QAction* svg = tools->addAction(QStringLiteral("Exporter SVG…"));
    svg->setObjectName(QStringLiteral("SketchExportSvg"));
    QAction* png = tools->addAction(QStringLiteral("Exporter PNG…"));
    png->setObjectName(QStringLiteral("SketchExportPng"));
    layout->addWidget(tools);

    auto* split = new QSplitter(Qt::Vertical, content);
    view_ = new SketchView(split);
    auto* apart = new QWidget(split);
    auto* apartLayout = new QVBoxLayout(apart);
    apartLayout->setContentsMargins(0, 0, 0, 0);
    unplacedTitle_ = new QLabel(QStringLiteral("Points sans position : 0"), apart);
    unplaced_ = new QListWidget(apart);
    unplaced_->setObjectName(QStringLiteral("SketchUnplaced"));
    unplaced_->setMinimumHeight(kUnplacedListMinimumHeight);
    apartLayout->addWidget(unplacedTitle_);
    apartLayout->addWidget(unplaced_);
    split->addWidget(view_);
    split->addWidget(apart);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    // Neither part collapses: the view and the title of the list stay shown
    // however far the handle is dragged.
    split->setChildrenCollapsible(false);
    layout->addWidget(split, 1);

    const auto swatch = [](SketchColour colour, const QString& glyph) {
        return QStringLiteral("<span style='color:%1'>%2</span>")
            .arg(ToQColor(colour).name(), glyph);
    };
    auto* legend = new QLabel(content);
    legend->setObjectName(QStringLiteral("SketchLegend"));
    legend->setWordWrap(true);
    legend->setText(
        swatch(kSketchGivenColour, QStringLiteral("▲")) + QStringLiteral(" Point donné &nbsp; ") +
        swatch(kSketchComputedColour, QStringLiteral("●")) +
        QStringLiteral(" Point calculé &nbsp; ") +
        swatch(kSketchPlanOnlyColour, QStringLiteral("●")) + QStringLiteral(" Plan seul &nbsp; ") +
        swatch(kSketchSuspectColour, QStringLiteral("◯")) + QStringLiteral(" Suspect<br>") +
        swatch(kSketchLineColour, QStringLiteral("───")) +
        QStringLiteral(" Direction et distance &nbsp; ") +
        swatch(kSketchLineColour, QStringLiteral("- - -")) +
        QStringLiteral(" Direction seule &nbsp; ") +
        swatch(kSketchLineColour, QStringLiteral("·····")) +
        QStringLiteral(" Distance seule &nbsp; ") +
        swatch(kSketchLevellingColour, QStringLiteral("-·-·")) +
        QStringLiteral(" Nivellement seul &nbsp; ") +
        swatch(kSketchSuspectColour, QStringLiteral("━━")) + QStringLiteral(" Visée suspecte"));
    layout->addWidget(legend);
    setWidget(content);
    setMinimumWidth(kDockMinimumWidth);
    // A wrapped label reports a minimum of one line: the dock's minimum would
    // then leave out the legend's other lines, and a window of that height
    // would squeeze the splitter, hiding the list's title under the view.
    // The legend asks for the lines it needs at the dock's narrowest.
    legend->setMinimumHeight(legend->heightForWidth(kDockMinimumWidth));

    connect(fit, &QAction::triggered, view_, &SketchView::FitToWindow);
    connect(svg, &QAction::triggered, this, &SketchDock::ExportSvg);
    connect(png, &QAction::triggered, this, &SketchDock::ExportPng);
}

void SketchDock::Refresh(const SurveyState& state) {
    SetModel(BuildSketch(state));
}

void SketchDock::SetModel(SketchModel model) {
    {
        const QSignalBlocker blocker(unplaced_);
        unplaced_->clear();
        for (const SketchPoint& point : model.unplaced) {
            auto* item =
                new QListWidgetItem(QtText(point.name) + QStringLiteral("  (") +
                                    QtText(StatusName(point.status)) + QStringLiteral(")"));
            item->setToolTip(QtText(DescribePoint(point)));
            if (point.check.suspect) {
                item->setForeground(ToQColor(kSketchSuspectColour));
            }
            unplaced_->addItem(item);
        }
    }
    unplacedTitle_->setText(QStringLiteral("Points sans position : %1").arg(model.unplaced.size()));
    view_->SetModel(std::move(model));
}

void SketchDock::WatchPane(QPlainTextEdit* pane) {
    pane_ = pane;
    pane_->viewport()->installEventFilter(this);
}

bool SketchDock::eventFilter(QObject* watched, QEvent* event) {
    if (pane_ != nullptr && watched == pane_->viewport() &&
        event->type() == QEvent::MouseButtonDblClick) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QTextCursor cursor = pane_->cursorForPosition(mouse->position().toPoint());
        const SketchModel& model = view_->Model();
        const int index =
            PointIndexInText(model, CoreText(cursor.block().text()), cursor.positionInBlock());
        const int placed = PlacedPositionOf(model, index);
        const int other = UnplacedPositionOf(model, index);
        if (placed >= 0) {
            CentrePoint(QtText(model.placed[static_cast<std::size_t>(placed)].name));
        } else if (other >= 0) {
            CentrePoint(QtText(model.unplaced[static_cast<std::size_t>(other)].name));
        }
    }
    return QDockWidget::eventFilter(watched, event);  // the pane still selects the word
}

bool SketchDock::CentrePoint(const QString& name) {
    show();
    raise();
    if (view_->CentrePoint(name)) {
        return true;
    }
    const SketchModel& model = view_->Model();
    const int other = UnplacedPositionOf(model, PointIndexOf(model, CoreText(name)));
    if (other < 0) {
        return false;
    }
    unplaced_->setCurrentRow(other);
    unplaced_->scrollToItem(unplaced_->currentItem());
    return true;
}

void SketchDock::ReportFailure(const QString& message) {
    hooks_->ShowMessage(this, QtText(ApplicationTitle()), message, true);
}

QString SketchDock::ChooseExport(const QString& dialog, const QString& filter,
                                 const QString& suffix) {
    return hooks_->ChooseFile(
        this, {dialog, FileDialogRequest::Mode::Save, QStringLiteral("Exporter le croquis"), filter,
               suffix, true, QDir::currentPath()});
}

void SketchDock::ExportSvg() {
    const QString chosen =
        ChooseExport(QStringLiteral("SDCroquisSvg"), QStringLiteral("Croquis SVG (*.svg)"),
                     QStringLiteral("svg"));
    if (chosen.isEmpty()) {
        return;
    }
    try {
        WriteSketchSvg(view_->Model(), CoreText(chosen));
    } catch (const IoFailure& failure) {
        ReportFailure(QtText(failure.what()));
    }
}

void SketchDock::ExportPng() {
    const QString chosen = ChooseExport(QStringLiteral("SDCroquisPng"),
                                        QStringLiteral("Image PNG (*.png)"), QStringLiteral("png"));
    if (chosen.isEmpty()) {
        return;
    }
    // Written beside and renamed over the old file, as the program's other files.
    QSaveFile file(chosen);
    if (!file.open(QIODevice::WriteOnly)) {
        ReportFailure(QStringLiteral("Impossible de créer le fichier %1 (%2)")
                          .arg(chosen, file.errorString()));
        return;
    }
    const QImage image = view_->RenderImage(kPngLongestSide);
    if (!image.save(&file, "PNG") || !file.commit()) {
        ReportFailure(QStringLiteral("Erreur d'écriture dans le fichier %1 (%2)")
                          .arg(chosen, file.errorString()));
    }
}

}  // namespace calctopo
