#include "shell/gui/PointsLeftDock.h"

#include <QHeaderView>
#include <QStringList>
#include <QTreeWidget>

#include "data/GLOBAL.h"
#include "shell/gui/CoreText.h"

namespace calctopo {

namespace {

// "1 direction", "2 directions".
QString Counted(int count, const char* word) {
    QString text = QString::number(count) + QLatin1Char(' ') + QString::fromUtf8(word);
    if (count > 1) {
        text += QLatin1Char('s');
    }
    return text;
}

// "2 directions, 1 distance"; empty when nothing was observed.
QString CountsText(const ObservationCounts& counts) {
    QStringList parts;
    const std::pair<int, const char*> kinds[] = {{counts.directions, "direction"},
                                                 {counts.distances, "distance"},
                                                 {counts.zeniths, "zénithale"},
                                                 {counts.heightDifferences, "dénivelée"},
                                                 {counts.bearings, "gisement"}};
    for (const auto& [count, word] : kinds) {
        if (count > 0) {
            parts << Counted(count, word);
        }
    }
    return parts.join(QStringLiteral(", "));
}

}  // namespace

PointsLeftDock::PointsLeftDock(QWidget* parent)
    : QDockWidget(QStringLiteral("Points non calculés"), parent) {
    setObjectName(QStringLiteral("DockPointsNonCalcules"));
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("ArbrePointsNonCalcules"));
    tree_->setColumnCount(3);
    tree_->setHeaderLabels(
        {QStringLiteral("Point"), QStringLiteral("État"), QStringLiteral("Observations")});
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->setUniformRowHeights(true);
    setWidget(tree_);
}

void PointsLeftDock::Clear() {
    tree_->clear();
    setWindowTitle(QStringLiteral("Points non calculés"));
}

void PointsLeftDock::Show(const std::vector<PointLeft>& points) {
    tree_->clear();
    setWindowTitle(QStringLiteral("Points non calculés : %1").arg(points.size()));
    QList<QTreeWidgetItem*> rows;
    for (const PointLeft& point : points) {
        auto* row = new QTreeWidgetItem({FromCore(point.name), LackText(point), LinksText(point)});
        for (const PointLink& link : point.links) {
            row->addChild(new QTreeWidgetItem(
                {FromCore(link.name), OtherPointText(link), ObservationsText(point, link)}));
        }
        rows << row;
    }
    tree_->addTopLevelItems(rows);
}

QString PointsLeftDock::LackText(const PointLeft& point) {
    if (point.lacksPlan && point.lacksHeight) {
        return QStringLiteral("sans plan ni altitude");
    }
    return point.lacksPlan ? QStringLiteral("sans plan") : QStringLiteral("sans altitude");
}

// "lié à 3 points : 1 placé en plan, 2 avec altitude", counting only what the
// point lacks.
QString PointsLeftDock::LinksText(const PointLeft& point) {
    if (point.links.empty()) {
        return QStringLiteral("aucune observation");
    }
    int placed = 0;
    int withHeight = 0;
    for (const PointLink& link : point.links) {
        placed += link.planKnown ? 1 : 0;
        withHeight += link.heightKnown ? 1 : 0;
    }
    QStringList parts;
    if (point.lacksPlan) {
        parts << Counted(placed, "placé") + QStringLiteral(" en plan");
    }
    if (point.lacksHeight) {
        parts << QString::number(withHeight) + QStringLiteral(" avec altitude");
    }
    return QStringLiteral("lié à ") + Counted(static_cast<int>(point.links.size()), "point") +
           QStringLiteral(" : ") + parts.join(QStringLiteral(", "));
}

QString PointsLeftDock::OtherPointText(const PointLink& link) {
    if (link.status == StatusGiven) {
        return QStringLiteral("connu");
    }
    if (link.status == StatusDetermined) {
        return QStringLiteral("calculé");
    }
    if (link.planKnown) {
        return link.heightKnown ? QStringLiteral("placé") : QStringLiteral("plan seul");
    }
    return link.heightKnown ? QStringLiteral("altitude seule") : QStringLiteral("non placé");
}

// "station Q : 1 dénivelée ; station S1 : 1 direction, 1 distance".
QString PointsLeftDock::ObservationsText(const PointLeft& point, const PointLink& link) {
    QStringList parts;
    if (const QString from = CountsText(link.fromPoint); !from.isEmpty()) {
        parts << QStringLiteral("station ") + FromCore(point.name) + QStringLiteral(" : ") + from;
    }
    if (link.point != point.point) {
        if (const QString toward = CountsText(link.towardPoint); !toward.isEmpty()) {
            parts << QStringLiteral("station ") + FromCore(link.name) + QStringLiteral(" : ") +
                         toward;
        }
    }
    return parts.join(QStringLiteral(" ; "));
}

}  // namespace calctopo
