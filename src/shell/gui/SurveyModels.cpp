#include "shell/gui/SurveyModels.h"

#include <QHeaderView>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>

#include "check/CheckReport.h"
#include "check/DataCheck.h"
#include "data/GLOBAL.h"
#include "data/TextNumbers.h"
#include "engine/CALCUL.h"
#include "geometry/CONVERTI.h"
#include "shell/gui/CheckModels.h"
#include "shell/gui/CoreText.h"

namespace calctopo {

namespace {

// Coordinates to the millimetre, observed lengths to the tenth of one, as
// the listing and the check show them.
constexpr int kCoordinateDecimals = 3;
constexpr int kLengthDecimals = 4;

QString Number(double value, int decimals) {
    return FromCore(FormatFixed(value, decimals));
}

QVariant Alignment(bool number) {
    return QVariant::fromValue(Qt::Alignment(number ? Qt::AlignRight | Qt::AlignVCenter
                                                    : Qt::AlignLeft | Qt::AlignVCenter));
}

QString PointName(const SurveyState& state, int point) {
    return point >= 1 && point <= state.PointCount() ? FromCore(state.PointTable[point].name)
                                                     : QString();
}

QVariant Header(int section, const char* const* headers, int count) {
    return section >= 0 && section < count ? QVariant(QString::fromUtf8(headers[section]))
                                           : QVariant();
}

QTableView* MakeTable(QWidget* parent, QAbstractItemModel* source, const char* name) {
    auto* proxy = new QSortFilterProxyModel(parent);
    proxy->setSourceModel(source);
    proxy->setSortRole(kSortRole);
    QTableView* table = MakeResultTable(parent, proxy, name);
    table->sortByColumn(-1, Qt::AscendingOrder);  // the model's order until the user sorts
    return table;
}

}  // namespace

// ---- Points ----

PointTableModel::PointTableModel(const SurveyModel& model, QObject* parent)
    : QAbstractTableModel(parent), model_(model) {
    Sync();
}

void PointTableModel::Sync() {
    if (shown_ == model_.Revision() && rows_ == static_cast<int>(model_.Points().size())) {
        return;
    }
    beginResetModel();
    shown_ = model_.Revision();
    rows_ = static_cast<int>(model_.Points().size());
    endResetModel();
}

const PointRow* PointTableModel::At(int row) const {
    return row >= 0 && row < rows_ ? &model_.Points()[static_cast<std::size_t>(row)] : nullptr;
}

int PointTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int PointTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString PointTableModel::StatusText(PositionStatus status) {
    switch (status) {
        case PositionStatus::Given:
            return QStringLiteral("donné");
        case PositionStatus::Computed:
            return QStringLiteral("calculé");
        case PositionStatus::NotComputed:
            break;
    }
    return QStringLiteral("non calculé");
}

QString PointTableModel::MethodText(const PointRow& row) const {
    const SurveyState& state = model_.State();
    QStringList parts;
    if (row.planMethod != 0) {
        QString plan = FromCore(calctopo::MethodText(row.planMethod));
        QStringList from;
        for (const int point : row.planFrom) {
            from << PointName(state, point);
        }
        if (!from.isEmpty()) {
            plan +=
                (row.planMethod == ByResection ? QStringLiteral(" sur ") : QStringLiteral(" de ")) +
                from.join(QStringLiteral(", "));
        }
        parts << plan;
    }
    if (row.heightMethod != 0) {
        QString height = FromCore(calctopo::MethodText(row.heightMethod));
        if (row.heightFrom != 0) {
            height += QStringLiteral(" de ") + PointName(state, row.heightFrom);
        }
        parts << height;
    }
    return parts.join(QStringLiteral(", "));
}

QVariant PointTableModel::data(const QModelIndex& index, int role) const {
    const PointRow* row = At(index.row());
    if (row == nullptr) {
        return {};
    }
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        return Alignment(column == X || column == Y || column == Z);
    }
    if (role != Qt::DisplayRole && role != kSortRole) {
        return {};
    }
    const bool sort = role == kSortRole;
    // An unknown coordinate shows nothing and sorts before every known one.
    const auto coordinate = [&](double value, bool known) -> QVariant {
        if (!known) {
            return sort ? QVariant(-1.0e300) : QVariant(QString());
        }
        return sort ? QVariant(value) : QVariant(Number(value, kCoordinateDecimals));
    };
    const bool planKnown = row->plan != PositionStatus::NotComputed;
    const bool heightKnown = row->height != PositionStatus::NotComputed;
    switch (column) {
        case Name:
            return FromCore(row->name);
        case Plan:
            return sort ? QVariant(static_cast<int>(row->plan)) : QVariant(StatusText(row->plan));
        case Height:
            return sort ? QVariant(static_cast<int>(row->height))
                        : QVariant(StatusText(row->height));
        case X:
            return coordinate(row->x, planKnown);
        case Y:
            return coordinate(row->y, planKnown);
        case Z:
            return coordinate(row->z, heightKnown);
        case Method:
            return MethodText(*row);
        case From: {
            QStringList names;
            for (const int point : row->planFrom) {
                names << PointName(model_.State(), point);
            }
            return names.join(QStringLiteral(", "));
        }
        case Extended:
            if (!row->extendedPlan && !row->extendedHeight) {
                return QString();
            }
            return row->extendedPlan && row->extendedHeight ? QStringLiteral("plan et altitude")
                   : row->extendedPlan                      ? QStringLiteral("plan")
                                                            : QStringLiteral("altitude");
        default:
            return {};
    }
}

QVariant PointTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const kHeaders[ColumnCount] = {
        "Point", "Plan", "Altitude", "X", "Y", "Z", "Méthode", "Depuis", "Calcul étendu"};
    return Header(section, kHeaders, ColumnCount);
}

// ---- Observations ----

ObservationTableModel::ObservationTableModel(const SurveyModel& model, QObject* parent)
    : QAbstractTableModel(parent), model_(model) {
    Sync();
}

void ObservationTableModel::Sync() {
    if (shown_ == model_.Revision() && rows_ == static_cast<int>(model_.Observations().size())) {
        return;
    }
    beginResetModel();
    shown_ = model_.Revision();
    rows_ = static_cast<int>(model_.Observations().size());
    endResetModel();
}

const ObservationRow* ObservationTableModel::At(int row) const {
    return row >= 0 && row < rows_ ? &model_.Observations()[static_cast<std::size_t>(row)]
                                   : nullptr;
}

int ObservationTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int ObservationTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ObservationTableModel::data(const QModelIndex& index, int role) const {
    const ObservationRow* row = At(index.row());
    if (row == nullptr) {
        return {};
    }
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        return Alignment(column == Line || column == Code || column == Value ||
                         column == InstrumentHeight || column == TargetHeight || column == Round);
    }
    if (role != Qt::DisplayRole && role != kSortRole) {
        return {};
    }
    const bool sort = role == kSortRole;
    // Instrument and target heights belong to distances and zenith angles only.
    const bool heights =
        row->table == ObservationTable::Distance || row->table == ObservationTable::Zenith;
    const auto length = [&](double value, bool shown) -> QVariant {
        if (!shown) {
            return sort ? QVariant(-1.0e300) : QVariant(QString());
        }
        return sort ? QVariant(value) : QVariant(Number(value, kLengthDecimals));
    };
    switch (column) {
        case File:
            return FromCore(row->fileName);
        case Line:
            return sort || row->source.line > 0 ? QVariant(row->source.line) : QVariant();
        case Station:
            return FromCore(row->stationName);
        case Target:
            return FromCore(row->targetName);
        case Kind:
            return FromCore(KindText(row->kind));
        case Code:
            return row->code;
        case Value:
            if (sort) {
                return row->value;
            }
            return Number(row->value, row->isAngle
                                          ? AngleDecimals(model_.State().Parameters.angleUnit)
                                          : kLengthDecimals);
        case InstrumentHeight:
            return length(row->instrumentHeight, heights);
        case TargetHeight:
            return length(row->targetHeight, heights);
        case Round:
            return sort || row->round > 0 ? QVariant(row->round) : QVariant();
        default:
            return {};
    }
}

QVariant ObservationTableModel::headerData(int section, Qt::Orientation orientation,
                                           int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const char* const kHeaders[ColumnCount] = {
        "Fichier", "Ligne",  "Station",      "Visée",       "Nature",
        "Code",    "Valeur", "Haut. instr.", "Haut. cible", "Tour"};
    return Header(section, kHeaders, ColumnCount);
}

// ---- Dock ----

SurveyDock::SurveyDock(const SurveyModel& model, QWidget* parent)
    : QDockWidget(QStringLiteral("Points et observations"), parent) {
    setObjectName(QStringLiteral("DKLeve"));
    tabs_ = new QTabWidget(this);
    points_ = new PointTableModel(model, this);
    observations_ = new ObservationTableModel(model, this);
    pointView_ = MakeTable(tabs_, points_, "TVLevePoints");
    observationView_ = MakeTable(tabs_, observations_, "TVLeveObservations");
    tabs_->addTab(pointView_, QStringLiteral("Points"));
    tabs_->addTab(observationView_, QStringLiteral("Observations"));
    setWidget(tabs_);
}

void SurveyDock::Sync() {
    points_->Sync();
    observations_->Sync();
    // Columns fitted to their texts while they are few; a large survey keeps
    // the widths it has (fitting reads every row).
    constexpr int kFittedRows = 2000;
    if (points_->rowCount() <= kFittedRows) {
        pointView_->resizeColumnsToContents();
    }
    if (observations_->rowCount() <= kFittedRows) {
        observationView_->resizeColumnsToContents();
    }
}

}  // namespace calctopo
