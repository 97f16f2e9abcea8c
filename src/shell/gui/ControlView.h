// The "Contrôle" view: the data check after each run, observations ranked
// in one sortable table, points in another; a double-click shows the line of
// the file the observation (or the given point) was read from; a click on a
// row names its point, so the sketch can centre it; "Exporter" writes both
// tables to a CSV file.
#pragma once

#include <QWidget>

#include "check/DataCheck.h"

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;
class QTabWidget;

namespace calctopo {

class ModalHooks;
class ObservationCheckModel;
class PointCheckModel;
struct SurveyState;

class ControlView : public QWidget {
    Q_OBJECT
  public:
    // hooks: the file dialog and message boxes (not owned).
    ControlView(ModalHooks& hooks, QWidget* parent = nullptr);
    ~ControlView() override;

    // Runs the check on `state` (which must outlive the view) and shows it.
    void Refresh(const SurveyState& state);
    // Shows a check already run on `state`.
    void Show(const SurveyState& state, DataCheckResult result);
    // Shows that there is no check ("Aucun calcul"): empty tables, nothing
    // to export.
    void ShowNoResult();

    const DataCheckResult& Result() const { return result_; }
    QTableView* ObservationTable() const { return observations_; }
    QTableView* PointTable() const { return points_; }
    // The text under the tables: the line last double-clicked.
    QString LineShown() const;

  public slots:
    void ShowObservationLine(const QModelIndex& index);
    void ShowPointLine(const QModelIndex& index);
    // Asks for a file name and writes the CSV; false when nothing was written.
    bool ExportCsv();

  signals:
    // A row was clicked: the point of a point row, the target of an
    // observation row (where a misread line ends), its station when the
    // observation has no target (Windows-1252 name).
    void PointChosen(const QString& name);

  private:
    void ChooseRowPoint(const QModelIndex& index, bool pointTable);
    void ShowSource(const SourceLine* source);

    ModalHooks& hooks_;
    const SurveyState* state_ = nullptr;
    DataCheckResult result_;
    ObservationCheckModel* observationModel_ = nullptr;
    PointCheckModel* pointModel_ = nullptr;
    QSortFilterProxyModel* observationProxy_ = nullptr;
    QSortFilterProxyModel* pointProxy_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    QTableView* observations_ = nullptr;
    QTableView* points_ = nullptr;
    QLabel* summary_ = nullptr;
    QLabel* line_ = nullptr;
    QPushButton* export_ = nullptr;
};

}  // namespace calctopo
