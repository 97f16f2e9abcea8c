#include "shell/gui/ControlView.h"

#include <QDir>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

#include "check/CheckReport.h"
#include "data/GLOBAL.h"
#include "data/TextFile.h"
#include "data/TextNumbers.h"
#include "shell/gui/CheckModels.h"
#include "shell/gui/ModalHooks.h"

namespace calctopo {

namespace {

// The summary before any load, and after a load that read no point.
constexpr char kNoResult[] = "Aucun calcul";

QString Text(const std::string& cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

}  // namespace

ControlView::ControlView(ModalHooks& hooks, QWidget* parent) : QWidget(parent), hooks_(hooks) {
    setObjectName(QStringLiteral("Controle"));
    observationModel_ = new ObservationCheckModel(this);
    pointModel_ = new PointCheckModel(this);
    observationProxy_ = new QSortFilterProxyModel(this);
    observationProxy_->setSourceModel(observationModel_);
    observationProxy_->setSortRole(kSortRole);
    pointProxy_ = new QSortFilterProxyModel(this);
    pointProxy_->setSourceModel(pointModel_);
    pointProxy_->setSortRole(kSortRole);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    summary_ = new QLabel(QString::fromUtf8(kNoResult), this);
    summary_->setObjectName(QStringLiteral("LControleResume"));
    top->addWidget(summary_, 1);
    export_ = new QPushButton(QStringLiteral("Exporter en CSV…"), this);
    export_->setObjectName(QStringLiteral("BBExporter"));
    top->addWidget(export_);
    layout->addLayout(top);

    tabs_ = new QTabWidget(this);
    observations_ = MakeResultTable(tabs_, observationProxy_, "TVObservations");
    points_ = MakeResultTable(tabs_, pointProxy_, "TVPoints");
    tabs_->addTab(observations_, QStringLiteral("Observations"));
    tabs_->addTab(points_, QStringLiteral("Points"));
    layout->addWidget(tabs_, 1);

    line_ = new QLabel(this);
    line_->setObjectName(QStringLiteral("LLigne"));
    line_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    line_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(line_);

    connect(observations_, &QTableView::doubleClicked, this, &ControlView::ShowObservationLine);
    connect(points_, &QTableView::doubleClicked, this, &ControlView::ShowPointLine);
    connect(observations_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { ChooseRowPoint(index, false); });
    connect(points_, &QTableView::clicked, this,
            [this](const QModelIndex& index) { ChooseRowPoint(index, true); });
    connect(export_, &QPushButton::clicked, this, &ControlView::ExportCsv);
}

ControlView::~ControlView() = default;

void ControlView::Refresh(const SurveyState& state) {
    Show(state, RunDataCheck(state));
}

void ControlView::Show(const SurveyState& state, DataCheckResult result) {
    observationModel_->SetResult(nullptr, nullptr);
    pointModel_->SetResult(nullptr, nullptr);
    state_ = &state;
    result_ = std::move(result);
    observationModel_->SetResult(state_, &result_);
    pointModel_->SetResult(state_, &result_);
    observations_->sortByColumn(ObservationCheckModel::Rank, Qt::AscendingOrder);
    points_->sortByColumn(PointCheckModel::MaxNormalised, Qt::DescendingOrder);
    observations_->resizeColumnsToContents();
    points_->resizeColumnsToContents();
    summary_->setText(QString::fromUtf8("%1 observations suspectes ; %2 points suspects, "
                                        "%3 points non contrôlés (angles en %4)")
                          .arg(result_.suspectCount)
                          .arg(result_.suspectPoints)
                          .arg(result_.uncheckedPoints)
                          .arg(Text(AngleUnitText(result_.angleUnit))));
    line_->clear();
}

void ControlView::ShowNoResult() {
    observationModel_->SetResult(nullptr, nullptr);
    pointModel_->SetResult(nullptr, nullptr);
    state_ = nullptr;
    result_ = DataCheckResult{};
    summary_->setText(QString::fromUtf8(kNoResult));
    line_->clear();
}

QString ControlView::LineShown() const {
    return line_->text();
}

void ControlView::ShowSource(const SourceLine* source) {
    if (state_ == nullptr || source == nullptr) {
        line_->setText(QStringLiteral("Ligne inconnue"));
        return;
    }
    line_->setText(QStringLiteral("%1 ligne %2 : %3")
                       .arg(Text(SourceFileName(*state_, *source)))
                       .arg(source->line)
                       .arg(Text(state_->Sources.TextOf(*source))));
}

void ControlView::ShowObservationLine(const QModelIndex& index) {
    const ObservationCheck* check =
        observationModel_->At(observationProxy_->mapToSource(index).row());
    ShowSource(check != nullptr && check->source.file != 0 ? &check->source : nullptr);
}

void ControlView::ShowPointLine(const QModelIndex& index) {
    const PointCheck* point = pointModel_->At(pointProxy_->mapToSource(index).row());
    if (point == nullptr || state_ == nullptr) {
        ShowSource(nullptr);
        return;
    }
    // A suspect point shows the line to look at; a given point its own line.
    if (point->culprit >= 0 && !point->culpritIsCoordinates) {
        ShowSource(&result_.observations[static_cast<std::size_t>(point->culprit)].source);
    } else {
        ShowSource(InputSources::Of(state_->Sources.points, point->point));
    }
}

void ControlView::ChooseRowPoint(const QModelIndex& index, bool pointTable) {
    if (state_ == nullptr || !index.isValid()) {
        return;
    }
    int point = 0;
    if (pointTable) {
        const PointCheck* check = pointModel_->At(pointProxy_->mapToSource(index).row());
        point = check != nullptr ? check->point : 0;
    } else {
        const ObservationCheck* check =
            observationModel_->At(observationProxy_->mapToSource(index).row());
        if (check != nullptr) {
            point = check->target > 0 ? check->target : check->station;
        }
    }
    if (point >= 1 && point <= state_->PointCount()) {
        emit PointChosen(Text(state_->PointTable[point].name));
    }
}

bool ControlView::ExportCsv() {
    if (state_ == nullptr) {
        return false;
    }
    const QString chosen = hooks_.ChooseFile(
        this, {QStringLiteral("SDControle"), FileDialogRequest::Mode::Save,
               QStringLiteral("Exporter le contrôle"), QStringLiteral("CSV (*.csv)"),
               QStringLiteral("csv"), true, QDir::currentPath()});
    if (chosen.isEmpty()) {
        return false;
    }
    std::string name = Utf8ToCp1252(chosen.toStdString());
    if (!IsCsvName(name)) {
        name += ".csv";
    }
    try {
        WriteFileReplacing(name, CheckReportCsv(*state_, result_));
    } catch (const std::exception& failure) {
        hooks_.ShowMessage(this, QStringLiteral("calctopo"), Text(failure.what()), true);
        return false;
    }
    return true;
}

}  // namespace calctopo
