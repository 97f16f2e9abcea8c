// The data check as two Qt table models: one row per observation (in the
// order of the ranking) and one row per point. Texts come from the report
// writer, so the window, the CSV export and the batch report agree.
#pragma once

#include <QAbstractTableModel>

class QSortFilterProxyModel;
class QTableView;
class QWidget;

#include "check/DataCheck.h"

namespace calctopo {

struct SurveyState;

// The role that holds the value a column sorts by (numbers as numbers).
inline constexpr int kSortRole = Qt::UserRole;

// A read-only table of results over `proxy`: whole rows selected, sortable
// by a click on a column, no row numbers, the last column stretched.
QTableView* MakeResultTable(QWidget* parent, QSortFilterProxyModel* proxy, const char* name);

class ObservationCheckModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        Rank,
        File,
        Line,
        Station,
        Target,
        Kind,
        Observed,
        Computed,
        Residual,
        Offset,
        Normalised,
        Verdict,
        Note,
        ColumnCount
    };
    using QAbstractTableModel::QAbstractTableModel;

    // Shows `result`; `state` must outlive the model or the next call.
    void SetResult(const SurveyState* state, const DataCheckResult* result);
    // The observation shown on `row`, null when none.
    const ObservationCheck* At(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    const SurveyState* state_ = nullptr;
    const DataCheckResult* result_ = nullptr;
};

class PointCheckModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column {
        Point,
        PlanChecks,
        HeightChecks,
        MaxNormalised,
        Verdict,
        Placement,
        Culprit,
        ColumnCount
    };
    using QAbstractTableModel::QAbstractTableModel;

    void SetResult(const SurveyState* state, const DataCheckResult* result);
    const PointCheck* At(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

  private:
    const SurveyState* state_ = nullptr;
    const DataCheckResult* result_ = nullptr;
};

}  // namespace calctopo
