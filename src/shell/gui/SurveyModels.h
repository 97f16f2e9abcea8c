// The survey model (shell/app/SurveyModel.h) as Qt table models: one row per
// point, one row per observation record, French headers, numbers formatted
// without the locale and sortable as numbers (kSortRole) through a
// QSortFilterProxyModel; and the dock "Points et observations" that shows
// both tables. The models read the survey model's rows and follow it when
// told to (Sync), after each action.
#pragma once

#include <QAbstractTableModel>
#include <QDockWidget>
#include <cstdint>

#include "shell/app/SurveyModel.h"

class QSortFilterProxyModel;
class QTableView;
class QTabWidget;

namespace calctopo {

class PointTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { Name, Plan, Height, X, Y, Z, Method, From, Extended, ColumnCount };

    // `model` must outlive this one.
    explicit PointTableModel(const SurveyModel& model, QObject* parent = nullptr);

    // Shows the survey model's rows when they changed since the last call.
    void Sync();
    const PointRow* At(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // The texts of a status and of how a point was placed ("rayonné de S1,
    // nivellé de S1").
    static QString StatusText(PositionStatus status);
    QString MethodText(const PointRow& row) const;

  private:
    const SurveyModel& model_;
    std::uint64_t shown_ = 0;  // the revision the rows show
    int rows_ = 0;
};

class ObservationTableModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        File,
        Line,
        Station,
        Target,
        Kind,
        Code,
        Value,
        InstrumentHeight,
        TargetHeight,
        Round,
        ColumnCount
    };

    explicit ObservationTableModel(const SurveyModel& model, QObject* parent = nullptr);

    void Sync();
    const ObservationRow* At(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    const SurveyModel& model_;
    std::uint64_t shown_ = 0;
    int rows_ = 0;
};

// The dock "Points et observations": the two tables in tabs.
class SurveyDock : public QDockWidget {
    Q_OBJECT
  public:
    // `model` must outlive the dock.
    explicit SurveyDock(const SurveyModel& model, QWidget* parent = nullptr);

    // Follows the survey model (after its Refresh).
    void Sync();

    PointTableModel* Points() const { return points_; }
    ObservationTableModel* Observations() const { return observations_; }
    QTableView* PointView() const { return pointView_; }
    QTableView* ObservationView() const { return observationView_; }

  private:
    PointTableModel* points_;
    ObservationTableModel* observations_;
    QTabWidget* tabs_;
    QTableView* pointView_;
    QTableView* observationView_;
};

}  // namespace calctopo
