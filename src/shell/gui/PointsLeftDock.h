// The dock "Points non calculés": after a run, every point left without its
// plan or its height, with what it lacks and, point by point, what ties it to
// the others (which observations, from which station, and whether that other
// point is placed), so the surveyor sees what to measure or to fix.
#pragma once

#include <QDockWidget>
#include <QString>
#include <vector>

#include "shell/app/PointsLeft.h"

class QTreeWidget;

namespace calctopo {

class PointsLeftDock : public QDockWidget {
    Q_OBJECT
  public:
    explicit PointsLeftDock(QWidget* parent = nullptr);

    // Shows the points left of a run.
    void Show(const std::vector<PointLeft>& points);
    // Empties the list (a new load: no run yet).
    void Clear();

    // The texts of the rows.
    static QString LackText(const PointLeft& point);
    static QString LinksText(const PointLeft& point);
    static QString OtherPointText(const PointLink& link);
    static QString ObservationsText(const PointLeft& point, const PointLink& link);

  private:
    QTreeWidget* tree_;
};

}  // namespace calctopo
