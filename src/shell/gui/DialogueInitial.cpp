#include "shell/gui/DialogueInitial.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QVBoxLayout>
#include <iostream>

#include "data/Failures.h"
#include "data/TextNumbers.h"
#include "shell/app/Actions.h"
#include "shell/app/Titles.h"
#include "shell/gui/Parametre.h"

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

// Every text of the logic is Windows-1252, file names included: the window
// converts at this edge and nowhere else, and the logic reaches the file
// system through its own conversion of the names.
QString FromCore(const std::string& text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}
std::string ToCore(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

// Order of the start-point list: letter case ignored first, then exact.
bool SortsBefore(const QString& a, const QString& b) {
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a.compare(b, Qt::CaseSensitive) < 0;
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
    setWindowTitle(FromCore(MainWindowCaption()));
    BuildControls();
    BuildMenus();
    FormCreate();
}

TFInitial::~TFInitial() = default;

void TFInitial::BuildControls() {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);

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
    auto* actions = new QVBoxLayout;
    BBCalcul_ = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton),
                                QStringLiteral("Initialisation"), central);
    BBCalcul_->setObjectName(QStringLiteral("BBCalcul"));
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
    grid->addLayout(actions, 3, 0);

    Memo_ = new QPlainTextEdit(central);
    Memo_->setObjectName(QStringLiteral("Memo"));
    Memo_->setReadOnly(true);
    Memo_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    Memo_->setUndoRedoEnabled(false);
    Memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo_->setTabChangesFocus(true);
    Memo_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    paneCursor_ = QTextCursor(Memo_->document());
    grid->addWidget(Memo_, 3, 1);

    setCentralWidget(central);

    setTabOrder(BBCalcul_, LEPoint_);
    setTabOrder(LEPoint_, LEMes_);
    setTabOrder(LEMes_, LELis_);
    setTabOrder(LELis_, CBDepart_);
    setTabOrder(CBDepart_, Memo_);
    setTabOrder(Memo_, BBFini_);
    BBCalcul_->setFocus();

    auto* bar = new QStatusBar(this);
    bar->setObjectName(QStringLiteral("SBBarre"));
    bar->setSizeGripEnabled(true);
    for (int width : {100, 100, 100, 50}) {
        auto* panel = new QLabel(bar);
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setFixedWidth(width);
        bar->addWidget(panel);
    }
    setStatusBar(bar);

    connect(LEPoint_, &ClickableLineEdit::clicked, this, &TFInitial::LEPointClick);
    connect(LEMes_, &ClickableLineEdit::clicked, this, &TFInitial::LEMesClick);
    connect(LELis_, &ClickableLineEdit::clicked, this, &TFInitial::LELisClick);
    connect(BBCalcul_, &QPushButton::clicked, this, &TFInitial::BBCalculClick);
    connect(CBDepart_, &QComboBox::editTextChanged, this, &TFInitial::CBDepartChange);
    connect(BBFini_, &QPushButton::clicked, this, &TFInitial::Quitter1Click);

    resize(720, 540);
}

void TFInitial::BuildMenus() {
    F1_ = menuBar()->addMenu(QStringLiteral("Chantier"));
    F1_->setObjectName(QStringLiteral("F1"));
    QAction* nouveau = F1_->addAction(QStringLiteral("Nouveau"));
    nouveau->setObjectName(QStringLiteral("Nouveau1"));
    connect(nouveau, &QAction::triggered, this, &TFInitial::Nouveau1Click);
    QAction* ouvrir = F1_->addAction(QStringLiteral("Ouvrir"));
    ouvrir->setObjectName(QStringLiteral("OuvrirChantier1"));
    connect(ouvrir, &QAction::triggered, this, &TFInitial::OuvrirChantier1Click);
    QAction* quitter = F1_->addAction(QStringLiteral("Quitter"));
    quitter->setObjectName(QStringLiteral("Quitter1"));
    connect(quitter, &QAction::triggered, this, &TFInitial::Quitter1Click);

    QAction* parametres = menuBar()->addAction(QStringLiteral("Paramètres"));
    parametres->setObjectName(QStringLiteral("Paramtres1"));
    connect(parametres, &QAction::triggered, this, [this] { Paramtres1Click(); });
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
        Guarded([&] { ShowFields(Lit_Config(state_, *this)); });
        AddRecentItem(remembered);
    }
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

void TFInitial::closeEvent(QCloseEvent* event) {
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
    BeginPaneBatch();
    const auto batchEnd = qScopeGuard([this] { EndPaneBatch(); });
    try {
        action();
    } catch (const TableLimitReached& limit) {
        MessageBox(limit.what());
        ended_ = true;
        hooks_->EndProgram(3);
    } catch (const IoFailure& failure) {
        ReportFailure(failure.what());
    } catch (const std::exception& failure) {
        ReportFailure(failure.what());
    }
}

// ---- Fields ----

void TFInitial::ShowFields(const FileFields& fields) {
    LEPoint_->setText(FromCore(fields.coordinates));
    LEMes_->setText(FromCore(fields.observations));
    LELis_->setText(FromCore(fields.listing));
}

FileFields TFInitial::FieldsShown() const {
    return {ToCore(LEPoint_->text()), ToCore(LEMes_->text()), ToCore(LELis_->text())};
}

QString TFInitial::ChooseFile(const FileDialogRequest& request) {
    FileDialogRequest inWorkingDirectory = request;
    inWorkingDirectory.directory = QDir::currentPath();
    return hooks_->ChooseFile(this, inWorkingDirectory);
}

void TFInitial::LEPointClick() {
    const QString chosen = ChooseFile({QStringLiteral("ODPoint"),
                                       FileDialogRequest::Mode::Open,
                                       {},
                                       QStringLiteral("Coordonnées (*.cor)"),
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
                                       {},
                                       QStringLiteral("Observations (*.obs)"),
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
                                       {},
                                       QStringLiteral("résultats approchés (*.vek)"),
                                       {},
                                       false,
                                       {}});
    if (!chosen.isEmpty()) {
        LELis_->setText(chosen);
    }
}

// ---- Load and compute ----

void TFInitial::BBCalculClick() {
    Guarded([&] { Initialisation(state_, *this, FieldsShown(), WorkSiteWrite::Write); });
}

void TFInitial::CBDepartChange(const QString& /*text*/) {
    Guarded([&] { StartPointChanged(state_, *this, runOptions_); });
}

void TFInitial::Quitter1Click() {
    bool written = false;
    Guarded([&] { written = Quitter(state_, *this); });
    if (written && !ended_) {
        close();
    }
}

// ---- Work sites ----

void TFInitial::Nouveau1Click() {
    if (!Paramtres1Click()) {
        return;
    }
    const QString chosen = ChooseFile({QStringLiteral("SDChantier"),
                                       FileDialogRequest::Mode::Save,
                                       QStringLiteral("Sauvegarder le chantier sous"),
                                       QStringLiteral("Chantier Belvik (*.bvk)"),
                                       QStringLiteral("bvk"),
                                       true,
                                       {}});
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
    Guarded([&] { Ecrit_Config(state_); });
}

void TFInitial::OuvrirChantier1Click() {
    const QString chosen = ChooseFile({QStringLiteral("ODChantier"),
                                       FileDialogRequest::Mode::Open,
                                       {},
                                       QStringLiteral("Chantier Belvik (*.bvk)"),
                                       QStringLiteral("bvk"),
                                       true,
                                       {}});
    if (chosen.isEmpty()) {
        return;
    }
    state_.WorkSiteFileName = ToCore(chosen);
    Guarded([&] { ShowFields(Lit_Config(state_, *this)); });
}

void TFInitial::FMenuClick() {
    if (recentItem_ != nullptr) {
        state_.WorkSiteFileName = ToCore(recentItem_->data().toString());
    }
    Guarded([&] { ShowFields(Lit_Config(state_, *this)); });
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

// ---- Window services ----

void TFInitial::AppendLine(const QString& text, const QColor& colour) {
    paneCursor_.movePosition(QTextCursor::End);
    if (!memoEmpty_) {
        paneCursor_.insertBlock();
    }
    QTextCharFormat format;
    format.setForeground(colour);
    paneCursor_.insertText(text, format);
    memoEmpty_ = false;
    lastColour_ = colour;
    if (paneBatchDepth_ == 0) {
        ScrollPaneToEnd();
    }
}

void TFInitial::ScrollPaneToEnd() {
    QScrollBar* bar = Memo_->verticalScrollBar();
    bar->setValue(bar->maximum());
}

// The lines of one action are laid out together when it ends, which keeps a
// load or a run of tens of thousands of lines quick. The window does not
// repaint during an action, so the user sees the same.
void TFInitial::BeginPaneBatch() {
    if (paneBatchDepth_++ == 0) {
        paneCursor_.beginEditBlock();
    }
}

void TFInitial::EndPaneBatch() {
    if (--paneBatchDepth_ == 0) {
        paneCursor_.endEditBlock();
        ScrollPaneToEnd();
    }
}

// A modal box in the middle of an action shows the pane as it stands.
void TFInitial::ShowModalMessage(const std::string& text, bool failure) {
    if (paneBatchDepth_ > 0) {
        paneCursor_.endEditBlock();
        ScrollPaneToEnd();
    }
    hooks_->ShowMessage(this, FromCore(ApplicationTitle()), FromCore(text), failure);
    if (paneBatchDepth_ > 0) {
        paneCursor_.beginEditBlock();
    }
}

void TFInitial::Affiche(const std::string& text, MessageKind kind) {
    switch (kind) {
        case MessageKind::Problem:
            AppendLine(FromCore(text), kProblemColour);
            break;
        case MessageKind::Computed:
            AppendLine(FromCore(text), kComputedColour);
            break;
        case MessageKind::Info:
        default:
            AppendLine(FromCore(text), kInfoColour);
            break;
    }
}

void TFInitial::AppendPlain(const std::string& text) {
    AppendLine(FromCore(text), lastColour_);
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

void TFInitial::StandardOutput(const std::string& line) {
    std::cout << Cp1252ToUtf8(line) << std::endl;
}

}  // namespace calctopo
