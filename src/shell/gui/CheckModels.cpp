#include "shell/gui/CheckModels.h"

#include <QBrush>
#include <QColor>
#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTableView>

#include "check/CheckReport.h"
#include "data/GLOBAL.h"
#include "data/TextNumbers.h"

namespace calctopo {

namespace {

QString Text(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

QVariant VerdictBrush(CheckVerdict verdict) {
    switch (verdict) {
        case CheckVerdict::Suspect:
            return QBrush(Qt::red);
        case CheckVerdict::Unchecked:
            return QBrush(QColor(0x80, 0x60, 0x00));
        case CheckVerdict::Checked:
            break;
    }
    return {};
}

QString Name(const SurveyState& state, int point) {
    return point >= 1 && point <= state.PointCount() ? Text(state.PointTable[point].name)
                                                     : QString();
}

}  // namespace

// ---- Observations ----

void ObservationCheckModel::SetResult(const SurveyState* state, const DataCheckResult* result) {
    beginResetModel();
    state_ = state;
    result_ = result;
    endResetModel();
}

const ObservationCheck* ObservationCheckModel::At(int row) const {
    if (result_ == nullptr || row < 0 || row >= static_cast<int>(result_->ranking.size())) {
        return nullptr;
    }
    return &result_->observations[static_cast<std::size_t>(
        result_->ranking[static_cast<std::size_t>(row)])];
}

int ObservationCheckModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || result_ == nullptr ? 0 : static_cast<int>(result_->ranking.size());
}

int ObservationCheckModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ObservationCheckModel::data(const QModelIndex& index, int role) const {
    const ObservationCheck* check = At(index.row());
    if (check == nullptr || state_ == nullptr) {
        return {};
    }
    if (role == Qt::ForegroundRole && index.column() == Verdict) {
        return VerdictBrush(check->verdict);
    }
    if (role == Qt::TextAlignmentRole) {
        const bool number = index.column() == Rank || index.column() == Line ||
                            (index.column() >= Observed && index.column() <= Normalised);
        return QVariant::fromValue(Qt::Alignment(number ? Qt::AlignRight | Qt::AlignVCenter
                                                        : Qt::AlignLeft | Qt::AlignVCenter));
    }
    if (role != Qt::DisplayRole && role != kSortRole) {
        return {};
    }
    const bool sort = role == kSortRole;
    const auto value = [&](double v) -> QVariant {
        if (!check->computable) {
            return sort ? QVariant(-1.0e300) : QVariant(QString());
        }
        return sort ? QVariant(v) : QVariant(Text(ValueText(*result_, *check, v)));
    };
    switch (index.column()) {
        case Rank:
            return check->rank;
        case File:
            return Text(SourceFileName(*state_, check->source));
        case Line:
            return sort || check->source.line > 0 ? QVariant(check->source.line) : QVariant();
        case Station:
            return Name(*state_, check->station);
        case Target:
            return Name(*state_, check->target);
        case Kind:
            return Text(KindText(check->kind));
        case Observed:
            return sort ? QVariant(check->observed)
                        : QVariant(Text(ValueText(*result_, *check, check->observed)));
        case Computed:
            return value(check->computed);
        case Residual:
            return value(check->residual);
        case Offset:
            if (!check->computable || !check->hasOffset) {
                return sort ? QVariant(-1.0e300) : QVariant(QString());
            }
            return sort ? QVariant(check->offset)
                        : QVariant(QString::number(check->offset, 'f', 4));
        case Normalised:
            if (!check->computable) {
                return sort ? QVariant(-1.0) : QVariant(QString());
            }
            return sort ? QVariant(std::max(check->normalised, check->deletedNormalised))
                        : QVariant(QString::number(check->normalised, 'f', 2));
        case Verdict:
            return sort ? QVariant(static_cast<int>(check->verdict))
                        : QVariant(Text(VerdictText(check->verdict)));
        case Note:
            return Text(check->note);
        default:
            return {};
    }
}

QVariant ObservationCheckModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const kHeaders[ColumnCount] = {
        "Rang",    "Fichier", "Ligne",       "Station", "Visée",   "Nature",  "Observé",
        "Calculé", "Écart",   "Écart long.", "Normé",   "Verdict", "Remarque"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(kHeaders[section])
                                                 : QVariant();
}

// ---- Points ----

void PointCheckModel::SetResult(const SurveyState* state, const DataCheckResult* result) {
    beginResetModel();
    state_ = state;
    result_ = result;
    endResetModel();
}

const PointCheck* PointCheckModel::At(int row) const {
    if (result_ == nullptr || row < 0 || row >= static_cast<int>(result_->points.size())) {
        return nullptr;
    }
    return &result_->points[static_cast<std::size_t>(row)];
}

int PointCheckModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || result_ == nullptr ? 0 : static_cast<int>(result_->points.size());
}

int PointCheckModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PointCheckModel::data(const QModelIndex& index, int role) const {
    const PointCheck* point = At(index.row());
    if (point == nullptr || state_ == nullptr) {
        return {};
    }
    if (role == Qt::ForegroundRole && index.column() == Verdict) {
        return VerdictBrush(point->verdict);
    }
    if (role != Qt::DisplayRole && role != kSortRole) {
        return {};
    }
    const bool sort = role == kSortRole;
    switch (index.column()) {
        case Point:
            return Name(*state_, point->point);
        case PlanChecks:
            return point->planChecks;
        case HeightChecks:
            return point->heightChecks;
        case MaxNormalised:
            return sort ? QVariant(point->maxNormalised)
                        : QVariant(QString::number(point->maxNormalised, 'f', 2));
        case Verdict:
            return sort ? QVariant(static_cast<int>(point->verdict))
                        : QVariant(Text(VerdictText(point->verdict)));
        case Placement:
            return Text(PlacementText(*state_, *point));
        case Culprit:
            return Text(CulpritText(*state_, *result_, *point));
        default:
            return {};
    }
}

QVariant PointCheckModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const kHeaders[ColumnCount] = {
        "Point",     "Contrôles plan", "Contrôles altitude", "Max normé", "Verdict",
        "Placement", "À revoir"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(kHeaders[section])
                                                 : QVariant();
}

QTableView* MakeResultTable(QWidget* parent, QSortFilterProxyModel* proxy, const char* name) {
    auto* table = new QTableView(parent);
    table->setObjectName(QString::fromLatin1(name));
    table->setModel(proxy);
    table->setSortingEnabled(true);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->verticalHeader()->setVisible(false);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

}  // namespace calctopo
