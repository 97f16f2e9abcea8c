#include "shell/gui/DialogueInitial.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QUrl>
#include <QVBoxLayout>
#include <iostream>

#include "check/CheckSketch.h"
#include "data/Failures.h"
#include "data/TextNumbers.h"
#include "output/ecrit.h"
#include "shell/app/Actions.h"
#include "shell/app/PointsLeft.h"
#include "shell/app/Titles.h"
#include "shell/app/Version.h"
#include "shell/gui/ControlView.h"
#include "shell/gui/CoreText.h"
#include "shell/gui/GuideWindow.h"
#include "shell/gui/MessagePane.h"
#include "shell/gui/Parametre.h"
#include "shell/gui/PointsLeftDock.h"
#include "shell/gui/SketchView.h"
#include "shell/gui/SurveyModels.h"

namespace calctopo {

namespace {

// The per-user store that remembers the last work site, shared with the
// sister adjustment program.
constexpr char kSettingsOrganisation[] = "Ostrel";
constexpr char kSettingsApplication[] = "Belvik";
constexpr char kSettingsValue[] = "Fichier";
// Whether the extended determination follows every run: the user's choice,
// not the work site's (the work-site file is shared and keeps its format).
constexpr char kSettingsExtended[] = "CalculEtendu";

const QColor kInfoColour(0, 0, 0);
const QColor kProblemColour(255, 0, 0);
const QColor kComputedColour(0, 128, 0);

// What "À propos" says of the terms of use. No licence has been chosen for the
// program yet, so the law's default stands.
constexpr char kLicence[] = "Licence : tous droits réservés.";

// Height of the dock of the points left when a run first opens it, in
// pixels: a dozen rows, leaving the pane most of the window.
constexpr int kPointsLeftHeight = 170;

// Every file dialog offers all files beside the files of its kind.
const QString kAllFiles = QStringLiteral(";;Tous les fichiers (*)");

// Order of the start-point list: letter case ignored first, then exact.
bool SortsBefore(const QString& a, const QString& b) {
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.compare(b, Qt::CaseSensitive) < 0;
}

bool SameParameters(const ComputationParameters& a, const ComputationParameters& b) {
    return a.angleUnit == b.angleUnit && a.significantDigits == b.significantDigits &&
           a.meanLatitude == b.meanLatitude && a.refractionCoefficient == b.refractionCoefficient &&
           a.originX == b.originX && a.originY == b.originY && a.originZ == b.originZ &&
           a.originGiven == b.originGiven;
}

bool SameFields(const FileFields& a, const FileFields& b) {
    return a.coordinates == b.coordinates && a.observations == b.observations &&
           a.listing == b.listing;
}

// The listing of this session once "Initialisation" has created it; before,
// the one the field names, from an earlier session.
std::string ListingShown(const SurveyState& state, const FileFields& fields) {
    if (state.ListingFile.IsOpen()) {
        return ResolveFileName(state.ListingFile.Path());
    }
    return ResolveFileName(ListingNameWithExtension(fields.listing), WorkSiteFolder(state));
}

// Every table of the state, emptied.
void ReleaseTables(SurveyState& state) {
    ClearPoints(state);
    state.DistanceTable.Clear();
    state.DirectionTable.Clear();
    state.ZenithTable.Clear();
    state.HeightDifferenceTable.Clear();
    state.BearingTable.Clear();
    state.RoundTable.Clear();
    state.SightTable.Clear();
    state.IncomingSightList.Clear();
    state.OutgoingSightList.Clear();
    state.PointSightRanges.clear();
    state.IndexedPointCount = 0;
    state.DeterminationList.Clear();
    state.PassTable.clear();
}

}  // namespace

void ClickableLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        emit clicked();
    }
}

TFInitial::TFInitial(ModalHooks* hooks, QWidget* parent) : QMainWindow(parent), hooks_(hooks) {
    if (hooks_ == nullptr) {
        ownHooks_ = std::make_unique<NativeHooks>();
        hooks_ = ownHooks_.get();
    }
    setObjectName(QStringLiteral("FInitial"));
    // "[*]": the mark of a work site changed and not yet written.
    setWindowTitle(FromCore(MainWindowCaption()) + QStringLiteral("[*]"));
    BuildControls();
    BuildStatusBar();
    BuildMenus();
    // The data check, in a dock beside the message pane, refreshed after each
    // load and each run.
    auto* dock = new QDockWidget(QStringLiteral("Contrôle"), this);
    dock->setObjectName(QStringLiteral("DKControle"));
    Controle_ = new ControlView(*hooks_, dock);
    dock->setWidget(Controle_);
    addDockWidget(Qt::BottomDockWidgetArea, dock);
    // The network sketch beside the pane, refreshed after every load and run.
    sketch_ = new SketchDock(hooks_, this);
    addDockWidget(Qt::RightDockWidgetArea, sketch_);
    sketch_->WatchPane(Memo_);
    // A point clicked in the check's tables is centred in the sketch.
    connect(Controle_, &ControlView::PointChosen, sketch_, &SketchDock::CentrePoint);
    resize(width() + sketch_->minimumWidth(), height());
    FormCreate();
}

TFInitial::~TFInitial() = default;

void TFInitial::BuildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* grid = new QGridLayout(central);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

    // "Initialisation" is made first, so that it heads the focus chain: it
    // has the focus when the window opens, and Tab goes on to the fields.
    auto* actions = new QVBoxLayout;
    BBCalcul_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                QStringLiteral("Initialisation"), central);
    BBCalcul_->setObjectName(QStringLiteral("BBCalcul"));

    const auto fileField = [&](ClickableLineEdit*& field, const char* name, const QString& label,
                               int row) {
        field = new ClickableLineEdit(central);
        field->setObjectName(QString::fromLatin1(name));
        auto* caption = new QLabel(label, central);
        caption->setBuddy(field);
        grid->addWidget(caption, row, 0, Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(field, row, 1);
    };
    fileField(LEPoint_, "LEPoint", QStringLiteral("Fichier de coordonnées"), 0);
    fileField(LEMes_, "LEMes", QStringLiteral("Fichier d'observations"), 1);
    fileField(LELis_, "LELis", QStringLiteral("Fichiers de sortie"), 2);

    // Left column under the labels: the two actions and the start point.
    actions->addWidget(BBCalcul_, 0, Qt::AlignHCenter);
    actions->addSpacing(8);
    LDepart_ = new QLabel(QStringLiteral("Point de départ"), central);
    LDepart_->setObjectName(QStringLiteral("LDepart"));
    LDepart_->setAlignment(Qt::AlignCenter);
    LDepart_->setEnabled(false);
    actions->addWidget(LDepart_);
    CBDepart_ = new QComboBox(central);
    CBDepart_->setObjectName(QStringLiteral("CBDepart"));
    CBDepart_->setEditable(true);
    CBDepart_->setInsertPolicy(QComboBox::NoInsert);
    // No inline completion: the text changes only as the user types or picks.
    CBDepart_->setCompleter(nullptr);
    CBDepart_->setMinimumWidth(145);
    CBDepart_->setEnabled(false);
    LDepart_->setBuddy(CBDepart_);
    actions->addWidget(CBDepart_);
    actions->addStretch(1);
    BBFini_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton),
                              QStringLiteral("Terminer"), central);
    BBFini_->setObjectName(QStringLiteral("BBFini"));
    actions->addWidget(BBFini_, 0, Qt::AlignHCenter);
    grid->addLayout(actions, 3, 0, 2, 1);

    Memo_ = new MessagePane(central);
    grid->addWidget(Memo_, 3, 1);
    findBar_ = new FindBar(Memo_, central);
    grid->addWidget(findBar_, 4, 1);
    connect(findBar_, &FindBar::notFound, this, [this](const QString& text) {
        statusBar()->showMessage(QStringLiteral("Texte introuvable : ") + text);
    });

    pointsLeft_ = new PointsLeftDock(this);
    addDockWidget(Qt::BottomDockWidgetArea, pointsLeft_);
    pointsLeft_->hide();
    // The points and observations as the model lists them, off until asked
    // for ("Résultats" menu).
    survey_ = new SurveyDock(model_, this);
    addDockWidget(Qt::BottomDockWidgetArea, survey_);
    survey_->hide();

    setTabOrder(BBCalcul_, LEPoint_);
    setTabOrder(LEPoint_, LEMes_);
    setTabOrder(LEMes_, LELis_);
    setTabOrder(LELis_, CBDepart_);
    setTabOrder(CBDepart_, Memo_);
    setTabOrder(Memo_, BBFini_);
    // Set once the controls sit in the window, so the window keeps it.
    BBCalcul_->setFocus();

    for (ClickableLineEdit* field : {LEPoint_, LEMes_, LELis_}) {
        // Enter in a field runs "Initialisation", as the button would.
        connect(field, &QLineEdit::returnPressed, this, &TFInitial::BBCalculClick);
        connect(field, &QLineEdit::textChanged, this, &TFInitial::FieldsChanged);
    }
    connect(LEPoint_, &ClickableLineEdit::clicked, this, &TFInitial::LEPointClick);
    connect(LEMes_, &ClickableLineEdit::clicked, this, &TFInitial::LEMesClick);
    connect(LELis_, &ClickableLineEdit::clicked, this, &TFInitial::LELisClick);
    connect(BBCalcul_, &QPushButton::clicked, this, &TFInitial::BBCalculClick);
    connect(CBDepart_, &QComboBox::editTextChanged, this, &TFInitial::CBDepartChange);
    connect(BBFini_, &QPushButton::clicked, this, &TFInitial::Quitter1Click);

    resize(760, 600);
}

// Four panels: the work site (on the left, where passing messages such as
// "Point inconnu : X" take its place for a while), the counts of the last load,
// those of the last run, and a last one kept free.
void TFInitial::BuildStatusBar() {
    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("SBBarre"));
    bar->setSizeGripEnabled(true);
    const auto panel = [bar](const char* name, int width, bool permanent) {
        auto* label = new QLabel(bar);
        label->setObjectName(QString::fromLatin1(name));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setMinimumWidth(width);
        if (permanent) {
            bar->addPermanentWidget(label);
        } else {
            bar->addWidget(label, 1);
        }
        return label;
    };
    workSitePanel_ = panel("SBChantier", 100, false);
    loadPanel_ = panel("SBChargement", 100, true);
    runPanel_ = panel("SBCalcul", 100, true);
    panel("SBLibre", 50, true);
    setStatusBar(bar);
}

void TFInitial::BuildMenus() {
    F1_ = menuBar()->addMenu(QStringLiteral("&Chantier"));
    F1_->setObjectName(QStringLiteral("F1"));
    const auto item = [this](QMenu* menu, const QString& caption, const char* name,
                             const QKeySequence& keys, auto slot) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    item(F1_, QStringLiteral("&Nouveau"), "Nouveau1", QKeySequence::New, &TFInitial::Nouveau1Click);
    item(F1_, QStringLiteral("&Ouvrir"), "OuvrirChantier1", QKeySequence::Open,
         &TFInitial::OuvrirChantier1Click);
    item(F1_, QStringLiteral("&Quitter"), "Quitter1", QKeySequence(Qt::CTRL | Qt::Key_Q),
         &TFInitial::Quitter1Click);

    QAction* parametres = menuBar()->addAction(QStringLiteral("&Paramètres"));
    parametres->setObjectName(QStringLiteral("Paramtres1"));
    connect(parametres, &QAction::triggered, this, [this] { Paramtres1Click(); });

    QMenu* journal = menuBar()->addMenu(QStringLiteral("&Journal"));
    journal->setObjectName(QStringLiteral("MJournal"));
    item(journal, QStringLiteral("&Copier"), "Copier1", QKeySequence::Copy,
         [this] { Memo_->copy(); });
    item(journal, QStringLiteral("Tout &sélectionner"), "ToutSelectionner1",
         QKeySequence::SelectAll, [this] { Memo_->selectAll(); });
    journal->addSeparator();
    QAction* find = item(journal, QStringLiteral("&Rechercher..."), "Rechercher1",
                         QKeySequence::Find, [this] { findBar_->Open(); });
    QAction* save = item(journal, QStringLiteral("&Enregistrer le journal..."),
                         "EnregistrerJournal1", {}, &TFInitial::EnregistrerJournalClick);
    Memo_->SetExtraContextActions({find, save});

    QMenu* results = menuBar()->addMenu(QStringLiteral("&Résultats"));
    results->setObjectName(QStringLiteral("MResultats"));
    item(results, QStringLiteral("Ouvrir les &résultats (.new)"), "OuvrirResultats1", {},
         &TFInitial::OuvrirResultatsClick);
    item(results, QStringLiteral("Ouvrir le &listing (.vek)"), "OuvrirListing1", {},
         &TFInitial::OuvrirListingClick);
    results->addSeparator();
    QAction* dock = pointsLeft_->toggleViewAction();
    dock->setText(QStringLiteral("&Points non calculés"));
    dock->setObjectName(QStringLiteral("PointsNonCalcules1"));
    results->addAction(dock);
    QAction* survey = survey_->toggleViewAction();
    survey->setText(QStringLiteral("Points et &observations"));
    survey->setObjectName(QStringLiteral("PointsObservations1"));
    results->addAction(survey);

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Aide"));
    help->setObjectName(QStringLiteral("MAide"));
    item(help, QStringLiteral("&Guide de l'utilisateur"), "Guide1", QKeySequence::HelpContents,
         &TFInitial::GuideClick);
    item(help, QStringLiteral("À &propos de calctopo"), "APropos1", {}, &TFInitial::AProposClick);
}

// ---- Start-up and close ----

void TFInitial::FormCreate() {
    // Reading never creates the store; a missing value reads as empty. The
    // store holds the name in Unicode, the state in Windows-1252.
    const QSettings settings(QString::fromLatin1(kSettingsOrganisation),
                             QString::fromLatin1(kSettingsApplication));
    const QString remembered = settings.value(QString::fromLatin1(kSettingsValue)).toString();
    state_.WorkSiteFileName = ToCore(remembered);
    runOptions_.extendedDetermination =
        settings.value(QString::fromLatin1(kSettingsExtended), false).toBool();
    if (!remembered.isEmpty() && QFileInfo(remembered).isFile()) {
        ReadWorkSite();
        AddRecentItem(remembered);
    }
    ShowWorkSitePanel();
    MarkSaved();
}

void TFInitial::AddRecentItem(const QString& workSite) {
    F1_->addSeparator();
    QString caption = workSite;
    caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
    recentItem_ = F1_->addAction(caption);
    recentItem_->setObjectName(QStringLiteral("FMenu"));
    recentItem_->setData(workSite);
    connect(recentItem_, &QAction::triggered, this, &TFInitial::FMenuClick);
}

// Closing by the frame asks what "Terminer" would not leave unsaid: a work
// site changed and not written, results computed and not written.
void TFInitial::closeEvent(QCloseEvent* event) {
    if (!quitting_ && !closed_ && !ended_) {
        if (!ConfirmLeavingWorkSite()) {
            event->ignore();
            return;
        }
        if (resultsPending_) {
            const Answer answer = hooks_->Ask(
                this, FromCore(ApplicationTitle()),
                {QStringLiteral("ResultatsNonEcrits"),
                 QStringLiteral("Quitter sans écrire les résultats ?"),
                 QStringLiteral("Le fichier .new et la liste des points non calculés du "
                                "listing ne sont écrits que par « Terminer »."),
                 QStringLiteral("Écrire les résultats"), QStringLiteral("Quitter sans écrire")});
            if (answer == Answer::Cancel) {
                event->ignore();
                return;
            }
            if (answer == Answer::Accept) {
                bool written = false;
                Guarded([&] { written = Quitter(state_, *this); });
                if (!written || ended_) {
                    event->ignore();
                    return;
                }
            }
        }
    }
    FormClose();
    event->accept();
}

void TFInitial::FormClose() {
    if (closed_ || ended_) {
        return;
    }
    closed_ = true;
    ReleaseTables(state_);
    QSettings settings(QString::fromLatin1(kSettingsOrganisation),
                       QString::fromLatin1(kSettingsApplication));
    settings.setValue(QString::fromLatin1(kSettingsValue), FromCore(state_.WorkSiteFileName));
    settings.sync();
    state_.ListingFile.Close();
}

// ---- Failures at the edge ----

void TFInitial::Guarded(const std::function<void()>& action) {
    Memo_->BeginBatch();
    const auto batchEnd = qScopeGuard([this] { Memo_->EndBatch(); });
    try {
        action();
    } catch (const TableLimitReached& limit) {
        MessageBox(limit.what());
        ended_ = true;
        hooks_->EndProgram(3);
    } catch (const std::exception& failure) {
        ReportFailure(FailureMessage(failure));
    }
}

// ---- Fields and the work site they belong to ----

void TFInitial::ShowFields(const FileFields& fields) {
    LEPoint_->setText(FromCore(fields.coordinates));
    LEMes_->setText(FromCore(fields.observations));
    LELis_->setText(FromCore(fields.listing));
}

FileFields TFInitial::FieldsShown() const {
    return {ToCore(LEPoint_->text()), ToCore(LEMes_->text()), ToCore(LELis_->text())};
}

// Lit_Config on WorkSiteFileName, then the fields, the status bar and the
// folder the file dialogs open in follow the work site.
void TFInitial::ReadWorkSite() {
    Guarded([&] { ShowFields(Lit_Config(state_, *this)); });
    dialogFolder_ = FromCore(WorkSiteFolder(state_));
    ShowWorkSitePanel();
    MarkSaved();
    RefreshResultViews();
}

void TFInitial::MarkSaved() {
    savedParameters_ = state_.Parameters;
    savedFields_ = FieldsShown();
    setWindowModified(false);
}

void TFInitial::UpdateModified() {
    setWindowModified(!SameParameters(state_.Parameters, savedParameters_) ||
                      !SameFields(FieldsShown(), savedFields_));
}

// A field's tip names the file it leads to: a relative name is taken from the
// work site's folder.
void TFInitial::FieldsChanged() {
    const std::string folder = WorkSiteFolder(state_);
    for (ClickableLineEdit* field : {LEPoint_, LEMes_, LELis_}) {
        const std::string name = ToCore(field->text());
        field->setToolTip(FromCore(ResolveFileName(name, folder)));
    }
    UpdateModified();
}

bool TFInitial::ConfirmLeavingWorkSite() {
    if (!isWindowModified()) {
        return true;
    }
    const QString where = state_.WorkSiteFileName.empty()
                              ? QStringLiteral("Aucun chantier n'est encore choisi pour eux.")
                              : QStringLiteral("Ils diffèrent de ce que le chantier %1 contient.")
                                    .arg(FromCore(state_.WorkSiteFileName));
    const Answer answer = hooks_->Ask(
        this, FromCore(ApplicationTitle()),
        {QStringLiteral("ChantierModifie"),
         QStringLiteral("Enregistrer les paramètres et les noms de fichiers dans le chantier ?"),
         where, QStringLiteral("Enregistrer"), QStringLiteral("Ne pas enregistrer")});
    if (answer == Answer::Cancel) {
        return false;
    }
    return answer == Answer::Reject || WriteWorkSiteShown();
}

// Writes the work site with the parameters and the names the fields show,
// choosing its file first when there is none yet.
bool TFInitial::WriteWorkSiteShown() {
    if (state_.WorkSiteFileName.empty()) {
        const QString chosen = ChooseWorkSiteToSave();
        if (chosen.isEmpty()) {
            return false;
        }
        state_.WorkSiteFileName = ToCore(chosen);
        ShowWorkSitePanel();
    }
    bool written = false;
    Guarded([&] {
        Ecrit_Config(state_, FieldsShown());
        written = true;
    });
    if (written) {
        MarkSaved();
    }
    return written;
}

QString TFInitial::ChooseFile(const FileDialogRequest& request) {
    FileDialogRequest placed = request;
    placed.directory = dialogFolder_.isEmpty() ? QDir::currentPath() : dialogFolder_;
    return hooks_->ChooseFile(this, placed);
}

QString TFInitial::ChooseWorkSiteToSave() {
    return ChooseFile({QStringLiteral("SDChantier"),
                       FileDialogRequest::Mode::Save,
                       QStringLiteral("Sauvegarder le chantier sous"),
                       QStringLiteral("Chantier Belvik (*.bvk)") + kAllFiles,
                       QStringLiteral("bvk"),
                       true,
                       {}});
}

void TFInitial::LEPointClick() {
    const QString chosen = ChooseFile({QStringLiteral("ODPoint"),
                                       FileDialogRequest::Mode::Open,
                                       QStringLiteral("Fichier de coordonnées"),
                                       QStringLiteral("Coordonnées (*.cor)") + kAllFiles,
                                       {},
                                       true,
                                       {}});
    if (!chosen.isEmpty()) {
        LEPoint_->setText(chosen);
    }
}

void TFInitial::LEMesClick() {
    const QString chosen = ChooseFile({QStringLiteral("ODMes"),
                                       FileDialogRequest::Mode::Open,
                                       QStringLiteral("Fichier d'observations"),
                                       QStringLiteral("Observations (*.obs)") + kAllFiles,
                                       {},
                                       true,
                                       {}});
    if (!chosen.isEmpty()) {
        LEMes_->setText(chosen);
    }
}

void TFInitial::LELisClick() {
    const QString chosen = ChooseFile({QStringLiteral("SDLis"),
                                       FileDialogRequest::Mode::Save,
                                       QStringLiteral("Fichiers de sortie"),
                                       QStringLiteral("résultats approchés (*.vek)") + kAllFiles,
                                       {},
                                       false,
                                       {}});
    if (!chosen.isEmpty()) {
        LELis_->setText(chosen);
    }
}

// ---- Load and compute ----

// The model is refreshed once, its data check run once, and every view
// follows it: the "Contrôle" dock, the suspects of the sketch, the points and
// observations. Without a point there is no check, and "Contrôle" says so.
void TFInitial::RefreshResultViews() {
    model_.Refresh();
    if (model_.HasCheck()) {
        sketch_->SetModel(BuildCheckedSketch(state_, model_.Check()));
        Controle_->Show(state_, model_.Check());
    } else {
        sketch_->SetModel(BuildCheckedSketch(state_, DataCheckResult{}));
        Controle_->ShowNoResult();
    }
    survey_->Sync();
}

void TFInitial::BBCalculClick() {
    statusBar()->clearMessage();
    bool loaded = false;
    bool written = false;
    // Relative names are taken from the work site's folder, whether read from
    // it or typed.
    Guarded([&] {
        loaded = Initialisation(state_, *this, FieldsShown(), WorkSiteWrite::Write,
                                WorkSiteFolder(state_), &written);
    });
    if (ended_) {
        return;
    }
    // The working directory now follows the input files: so do the dialogs.
    dialogFolder_.clear();
    if (written) {
        MarkSaved();
    }
    RefreshResultViews();
    if (loaded) {
        resultsPending_ = false;
        pointsLeft_->Clear();
        ShowLoadCounts();
    }
}

void TFInitial::CBDepartChange(const QString& text) {
    if (text.isEmpty()) {
        statusBar()->clearMessage();
        return;
    }
    statusBar()->clearMessage();
    StartPointOutcome outcome = StartPointOutcome::UnknownPoint;
    Guarded([&] { outcome = StartPointChanged(state_, *this, runOptions_); });
    if (ended_) {
        return;
    }
    if (outcome == StartPointOutcome::UnknownPoint) {
        statusBar()->showMessage(FromCore(UnknownPointText(ToCore(text))));
        return;
    }
    resultsPending_ = true;
    ShowRunCounts();
    RefreshResultViews();
    const std::vector<PointLeft> left = ListPointsLeft(state_);
    pointsLeft_->Show(left);
    if (!left.empty() && !pointsLeft_->isVisible()) {
        pointsLeft_->show();
        resizeDocks({pointsLeft_}, {kPointsLeftHeight}, Qt::Vertical);
    }
}

void TFInitial::Quitter1Click() {
    if (!ConfirmLeavingWorkSite()) {
        return;
    }
    bool written = false;
    Guarded([&] { written = Quitter(state_, *this); });
    if (written && !ended_) {
        quitting_ = true;
        close();
    }
}

// ---- Work sites ----

void TFInitial::Nouveau1Click() {
    if (!Paramtres1Click()) {
        return;
    }
    const QString chosen = ChooseWorkSiteToSave();
    if (chosen.isEmpty()) {
        return;
    }
    // The new work site names no input file yet.
    LEMes_->clear();
    LEPoint_->clear();
    LELis_->clear();
    state_.CoordinatesFileName.clear();
    state_.ObservationsFileName.clear();
    state_.ListingFileName.clear();
    state_.WorkSiteFileName = ToCore(chosen);
    dialogFolder_ = FromCore(WorkSiteFolder(state_));
    ShowWorkSitePanel();
    bool written = false;
    Guarded([&] {
        Ecrit_Config(state_);
        written = true;
    });
    if (written) {
        MarkSaved();
    } else {
        UpdateModified();
    }
    RefreshResultViews();
}

void TFInitial::OuvrirChantier1Click() {
    if (!ConfirmLeavingWorkSite()) {
        return;
    }
    const QString chosen = ChooseFile({QStringLiteral("ODChantier"),
                                       FileDialogRequest::Mode::Open,
                                       QStringLiteral("Ouvrir un chantier"),
                                       QStringLiteral("Chantier Belvik (*.bvk)") + kAllFiles,
                                       QStringLiteral("bvk"),
                                       true,
                                       {}});
    if (chosen.isEmpty()) {
        return;
    }
    state_.WorkSiteFileName = ToCore(chosen);
    ReadWorkSite();
}

void TFInitial::FMenuClick() {
    if (!ConfirmLeavingWorkSite()) {
        return;
    }
    if (recentItem_ != nullptr) {
        state_.WorkSiteFileName = ToCore(recentItem_->data().toString());
    }
    ReadWorkSite();
}

bool TFInitial::Paramtres1Click() {
    TFParametre dialog(state_.Parameters, this);
    dialog.SetCalculEtendu(runOptions_.extendedDetermination);
    if (!hooks_->ExecParameters(dialog)) {
        return true;
    }
    bool stored = false;
    Guarded([&] {
        dialog.Store();
        stored = true;
    });
    UpdateModified();
    // The check box comes last in the dialog: a field that was not a number
    // leaves it as it was, like the values after that field.
    if (stored && dialog.CalculEtendu() != runOptions_.extendedDetermination) {
        runOptions_.extendedDetermination = dialog.CalculEtendu();
        QSettings settings(QString::fromLatin1(kSettingsOrganisation),
                           QString::fromLatin1(kSettingsApplication));
        settings.setValue(QString::fromLatin1(kSettingsExtended),
                          runOptions_.extendedDetermination);
        settings.sync();
    }
    return stored;
}

// ---- Journal, results, help ----

void TFInitial::EnregistrerJournalClick() {
    const QString chosen = ChooseFile({QStringLiteral("SDJournal"),
                                       FileDialogRequest::Mode::Save,
                                       QStringLiteral("Enregistrer le journal"),
                                       QStringLiteral("Texte (*.txt)") + kAllFiles,
                                       QStringLiteral("txt"),
                                       true,
                                       {}});
    if (chosen.isEmpty()) {
        return;
    }
    const QString failure = Memo_->SaveAsUtf8(chosen);
    if (!failure.isEmpty()) {
        hooks_->ShowMessage(
            this, FromCore(ApplicationTitle()),
            QStringLiteral("Le journal n'a pas pu être écrit dans %1 : %2").arg(chosen, failure),
            true);
        return;
    }
    statusBar()->showMessage(QStringLiteral("Journal écrit dans ") + chosen, 5000);
}

void TFInitial::OuvrirResultatsClick() {
    OpenWithViewer(NewFileNameFor(ListingShown(state_, FieldsShown())));
}

void TFInitial::OuvrirListingClick() {
    OpenWithViewer(ListingShown(state_, FieldsShown()));
}

void TFInitial::OpenWithViewer(const std::string& name) {
    const QString path = FromCore(name);
    if (name.empty() || !QFileInfo(path).isFile()) {
        // The ".new" file is written by "Terminer": often not there yet.
        statusBar()->showMessage(QStringLiteral("Le fichier %1 n'existe pas encore").arg(path),
                                 8000);
        return;
    }
    if (!hooks_->OpenUrl(QUrl::fromLocalFile(path))) {
        hooks_->ShowMessage(this, FromCore(ApplicationTitle()),
                            QStringLiteral("Aucun programme n'a pu ouvrir le fichier %1").arg(path),
                            true);
    }
}

void TFInitial::GuideClick() {
    if (guide_ == nullptr) {
        const QString path = GuideWindow::FindUserGuide();
        if (path.isEmpty()) {
            hooks_->ShowMessage(this, FromCore(ApplicationTitle()),
                                QStringLiteral("Le guide de l'utilisateur est introuvable : il "
                                               "s'installe avec le programme, dans "
                                               "share/doc/calctopo/guide.md."),
                                true);
            return;
        }
        guide_ = new GuideWindow(path, hooks_, this);
    }
    guide_->show();
    guide_->raise();
    guide_->activateWindow();
}

void TFInitial::AProposClick() {
    hooks_->ShowMessage(
        this, QStringLiteral("À propos de calctopo"),
        QStringLiteral("calctopo %1\n\n"
                       "Coordonnées approchées des points d'un levé, déterminées de proche en "
                       "proche à partir des points connus (.cor) et des observations (.obs).\n\n"
                       "Construit avec Qt %2.\n%3")
            .arg(QString::fromStdString(ProgramVersion()), QString::fromLatin1(qVersion()),
                 QString::fromUtf8(kLicence)),
        false);
}

// ---- Status bar ----

void TFInitial::ShowWorkSitePanel() {
    if (state_.WorkSiteFileName.empty()) {
        workSitePanel_->setText(QStringLiteral("Aucun chantier"));
        workSitePanel_->setToolTip({});
        return;
    }
    const QString name = FromCore(state_.WorkSiteFileName);
    workSitePanel_->setText(QStringLiteral("Chantier : ") + QFileInfo(name).fileName());
    workSitePanel_->setToolTip(name);
}

void TFInitial::ShowLoadCounts() {
    const PointCounts counts = CountPoints(state_);
    loadPanel_->setText(
        QStringLiteral("%1 connus / %2 points").arg(counts.given).arg(counts.total));
    loadPanel_->setToolTip(QStringLiteral("Points du fichier de coordonnées / points en tout"));
    runPanel_->clear();
}

void TFInitial::ShowRunCounts() {
    const PointCounts counts = CountPoints(state_);
    runPanel_->setText(QStringLiteral("%1 calculés, %2 non calculés")
                           .arg(counts.computed)
                           .arg(counts.notComputed));
    runPanel_->setToolTip(
        QStringLiteral("Points calculés par les calculs depuis le chargement / "
                       "points encore sans plan ou sans altitude"));
}

// ---- Window services ----

// A modal box in the middle of an action shows the pane as it stands.
void TFInitial::ShowModalMessage(const std::string& text, bool failure) {
    Memo_->ShowAsItStands();
    hooks_->ShowMessage(this, FromCore(ApplicationTitle()), FromCore(text), failure);
}

void TFInitial::Affiche(const std::string& text, MessageKind kind) {
    switch (kind) {
        case MessageKind::Problem:
            lastColour_ = kProblemColour;
            break;
        case MessageKind::Computed:
            lastColour_ = kComputedColour;
            break;
        case MessageKind::Info:
        default:
            lastColour_ = kInfoColour;
            break;
    }
    Memo_->AppendLine(FromCore(text), lastColour_);
}

void TFInitial::AppendPlain(const std::string& text) {
    Memo_->AppendLine(FromCore(text), lastColour_);
}

void TFInitial::AddStartPoint(const std::string& name) {
    const QString entry = FromCore(name);
    // Adding an entry must not change the text of the edit part: only the
    // user's typing or choice runs the determination.
    const QSignalBlocker blocker(CBDepart_);
    const QString shown = CBDepart_->currentText();
    int low = 0;
    int high = CBDepart_->count();
    while (low < high) {
        const int middle = (low + high) / 2;
        if (SortsBefore(entry, CBDepart_->itemText(middle))) {
            high = middle;
        } else {
            low = middle + 1;
        }
    }
    CBDepart_->insertItem(low, entry);
    if (CBDepart_->currentText() != shown) {
        CBDepart_->setEditText(shown);
    }
}

void TFInitial::ClearStartPoints() {
    const QSignalBlocker blocker(CBDepart_);
    CBDepart_->clear();
    CBDepart_->setEditText(QString());
}

std::string TFInitial::StartPointText() {
    return ToCore(CBDepart_->currentText());
}

void TFInitial::EnableStartPoint() {
    LDepart_->setEnabled(true);
    CBDepart_->setEnabled(true);
}

void TFInitial::MessageBox(const std::string& text) {
    ShowModalMessage(text, false);
}

void TFInitial::ReportFailure(const std::string& message) {
    ShowModalMessage(message, true);
}

// The readers' lines stay on the standard output, and a desktop user, who
// sees no console, finds them in the pane too, in red, where they fall among
// the other lines. They choose no colour for the lines that follow: a plain
// append after them keeps the colour set before.
void TFInitial::StandardOutput(const std::string& line) {
    std::cout << Cp1252ToUtf8(line) << std::endl;
    Memo_->AppendLine(FromCore(line), kProblemColour);
}

}  // namespace calctopo
