#include "shell/gui/DialogueInitial.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
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

const QColor kInfoColour(0, 0, 0);
const QColor kProblemColour(255, 0, 0);
const QColor kComputedColour(0, 128, 0);

// Texts of the logic are Windows-1252; file names are the file system's own
// bytes, which the logic passes to the file functions untouched.
QString FromCore(const std::string& text) {
    return QString::fromStdString(Cp1252ToUtf8(text));
}

// Length of the well-formed UTF-8 sequence of two or more bytes starting at
// `at`, or 0 when there is none.
std::size_t Utf8SequenceAt(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0U;
    };
    const unsigned lead = byte(at);
    std::size_t length = 0;
    unsigned low = 0x80;
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (byte(at + 1) < low || byte(at + 1) > high) {
        return 0;
    }
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// A message as shown to the user. Messages are Windows-1252 but may carry a
// file name in the file system's UTF-8: a well-formed UTF-8 sequence is read as
// such, every other byte as Windows-1252. French messages never hold a
// Windows-1252 pair that is also well-formed UTF-8.
QString Shown(const std::string& text) {
    std::string utf8;
    utf8.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t sequence = Utf8SequenceAt(text, i);
        if (sequence > 0) {
            utf8.append(text, i, sequence);
            i += sequence;
        } else {
            utf8 += Cp1252ToUtf8(std::string_view(text).substr(i, 1));
            ++i;
        }
    }
    return QString::fromStdString(utf8);
}
std::string ToCore(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}
QString FromCoreName(const std::string& name) {
    return QFile::decodeName(QByteArray::fromStdString(name));
}
std::string ToCoreName(const QString& name) {
    return QFile::encodeName(name).toStdString();
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
    // Reading never creates the store; a missing value reads as empty.
    const QSettings settings(QString::fromLatin1(kSettingsOrganisation),
                             QString::fromLatin1(kSettingsApplication));
    const QString remembered = settings.value(QString::fromLatin1(kSettingsValue)).toString();
    state_.WorkSiteFileName = ToCoreName(remembered);
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
    settings.setValue(QString::fromLatin1(kSettingsValue), FromCoreName(state_.WorkSiteFileName));
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
    LEPoint_->setText(FromCoreName(fields.coordinates));
    LEMes_->setText(FromCoreName(fields.observations));
    LELis_->setText(FromCoreName(fields.listing));
}

FileFields TFInitial::FieldsShown() const {
    return {ToCoreName(LEPoint_->text()), ToCoreName(LEMes_->text()), ToCoreName(LELis_->text())};
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
    Guarded([&] { StartPointChanged(state_, *this); });
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
    state_.WorkSiteFileName = ToCoreName(chosen);
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
    state_.WorkSiteFileName = ToCoreName(chosen);
    Guarded([&] { ShowFields(Lit_Config(state_, *this)); });
}

void TFInitial::FMenuClick() {
    if (recentItem_ != nullptr) {
        state_.WorkSiteFileName = ToCoreName(recentItem_->data().toString());
    }
    Guarded([&] { ShowFields(Lit_Config(state_, *this)); });
}

bool TFInitial::Paramtres1Click() {
    TFParametre dialog(state_.Parameters, this);
    if (!hooks_->ExecParameters(dialog)) {
        return true;
    }
    bool stored = false;
    Guarded([&] {
        dialog.Store();
        stored = true;
    });
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
    hooks_->ShowMessage(this, FromCore(ApplicationTitle()), Shown(text), failure);
    if (paneBatchDepth_ > 0) {
        paneCursor_.beginEditBlock();
    }
}

void TFInitial::Affiche(const std::string& text, MessageKind kind) {
    switch (kind) {
        case MessageKind::Problem:
            AppendLine(Shown(text), kProblemColour);
            break;
        case MessageKind::Computed:
            AppendLine(Shown(text), kComputedColour);
            break;
        case MessageKind::Info:
        default:
            AppendLine(Shown(text), kInfoColour);
            break;
    }
}

void TFInitial::AppendPlain(const std::string& text) {
    AppendLine(Shown(text), lastColour_);
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
    std::cout << Shown(line).toStdString() << std::endl;
}

}  // namespace calctopo
