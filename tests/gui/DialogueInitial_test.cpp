// The main window driven as a user would: its controls, the message pane, the
// start-point list, the work-site menus, the remembered work site and the
// whole road from opening a work site to the ".new" file.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QElapsedTimer>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextStream>
#include <QTreeWidget>
#include <QUrl>
#include <memory>

#include "QStringPrinter.h"
#include "ScriptedHooks.h"
#include "data/TextNumbers.h"
#include "shell/app/Version.h"
#include "shell/gui/ControlView.h"
#include "shell/gui/DialogueInitial.h"
#include "shell/gui/SurveyModels.h"

namespace calctopo {
namespace {

using testing::ScriptedHooks;

// Two known points A (south) and B (north), and P measured from A: east of it
// at 500 m, 10 m higher.
constexpr char kCoordinates[] =
    "* points connus\r\n"
    "1 A 1000.0 1000.0 100.0 0 0\r\n"
    "1 B 1000.0 2000.0 100.0 0 0\r\n";
constexpr char kObservations[] =
    "7 A B   0.0 0 1.5 1.5\r\n"
    "5 A P 100.0 0 1.5 1.5\r\n"
    "2 A P 500.0 0 1.5 1.5\r\n"
    "4 A P  10.0 0 0 0\r\n";

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        startDirectory_ = QDir::currentPath();
        QDir::setCurrent(folder_.path());
        Settings().clear();
    }
    void TearDown() override { QDir::setCurrent(startDirectory_); }

    static QSettings Settings() {
        return QSettings(QStringLiteral("Ostrel"), QStringLiteral("Belvik"));
    }
    QString PathOf(const QString& name) const { return folder_.filePath(name); }
    void WriteFile(const QString& name, const QByteArray& content) const {
        QFile file(PathOf(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray ReadFile(const QString& name) const {
        QFile file(PathOf(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A file name as a work-site file holds it: Windows-1252.
    static QByteArray CoreName(const QString& name) {
        return QByteArray::fromStdString(Utf8ToCp1252(name.toStdString()));
    }
    // A work site naming the demo files, the listing without extension.
    void WriteWorkSite(const QString& name) const {
        WriteFile(QStringLiteral("demo.cor"), kCoordinates);
        WriteFile(QStringLiteral("demo.obs"), kObservations);
        WriteFile(name, WorkSiteContent(CoreName(PathOf(QStringLiteral("demo.cor"))),
                                        CoreName(PathOf(QStringLiteral("demo.obs"))),
                                        CoreName(PathOf(QStringLiteral("demo.vek")))));
    }
    static QByteArray WorkSiteContent(const QByteArray& coordinates, const QByteArray& observations,
                                      const QByteArray& listing) {
        return "1\r\n1\r\n3\r\n 4.50000000000000E+0001\r\n 1.20000000000000E-0001\r\n" +
               coordinates + "\r\n" + observations + "\r\n" + listing + "\r\n";
    }
    // A window on the demo work site, loaded.
    std::unique_ptr<TFInitial> LoadedWindow() {
        WriteWorkSite(QStringLiteral("demo.bvk"));
        Settings().setValue(QStringLiteral("Fichier"), PathOf(QStringLiteral("demo.bvk")));
        auto window = NewWindow();
        Control<QPushButton>(*window, "BBCalcul")->click();
        return window;
    }
    static QString StatusText(TFInitial& window, const char* panel) {
        return Control<QLabel>(window, panel)->text();
    }

    std::unique_ptr<TFInitial> NewWindow() { return std::make_unique<TFInitial>(&hooks_); }

    template <class T>
    static T* Control(TFInitial& window, const char* name) {
        auto* control = window.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    static QAction* MenuItem(TFInitial& window, const char* name) {
        return Control<QAction>(window, name);
    }
    static QStringList PaneLines(TFInitial& window) {
        return Control<QPlainTextEdit>(window, "Memo")->toPlainText().split(QLatin1Char('\n'));
    }
    static QStringList StartPoints(TFInitial& window) {
        QStringList names;
        auto* list = Control<QComboBox>(window, "CBDepart");
        for (int i = 0; i < list->count(); ++i) {
            names << list->itemText(i);
        }
        return names;
    }

    QTemporaryDir folder_;
    QString startDirectory_;
    ScriptedHooks hooks_;
};

TEST_F(MainWindowTest, StartsWithItsCaptionsAndTheStartPointDisabled) {
    auto window = NewWindow();
    // The caption, with the place of the mark of a changed work site.
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Calcul topographique approché[*]"));
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(Control<QPushButton>(*window, "BBCalcul")->text(), QStringLiteral("Initialisation"));
    EXPECT_EQ(Control<QPushButton>(*window, "BBFini")->text(), QStringLiteral("Terminer"));
    EXPECT_EQ(Control<QLabel>(*window, "LDepart")->text(), QStringLiteral("Point de départ"));
    EXPECT_FALSE(Control<QLabel>(*window, "LDepart")->isEnabled());
    EXPECT_FALSE(Control<QComboBox>(*window, "CBDepart")->isEnabled());
    for (const char* field : {"LEPoint", "LEMes", "LELis"}) {
        EXPECT_TRUE(Control<QLineEdit>(*window, field)->text().isEmpty()) << field;
    }
    // The field labels, in order from the top.
    QStringList labels;
    for (auto* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr && label->buddy()->inherits("QLineEdit")) {
            labels << label->text();
        }
    }
    EXPECT_EQ(labels, QStringList({QStringLiteral("Fichier de coordonnées"),
                                   QStringLiteral("Fichier d'observations"),
                                   QStringLiteral("Fichiers de sortie")}));

    // Menus: "Chantier" with its three items, then "Paramètres" at the top
    // level, each with its mnemonic ('&' marks the letter); the menus added
    // after them.
    QStringList top;
    for (QAction* item : window->menuBar()->actions()) {
        top << item->text();
    }
    EXPECT_EQ(top, QStringList({QStringLiteral("&Chantier"), QStringLiteral("&Paramètres"),
                                QStringLiteral("&Journal"), QStringLiteral("&Résultats"),
                                QStringLiteral("&Aide")}));
    QStringList chantier;
    for (QAction* item : Control<QMenu>(*window, "F1")->actions()) {
        chantier << QString(item->text()).remove(QLatin1Char('&'));
    }
    EXPECT_EQ(chantier, QStringList({QStringLiteral("Nouveau"), QStringLiteral("Ouvrir"),
                                     QStringLiteral("Quitter")}));

    // "Initialisation" comes first in the tab order and has the focus.
    window->show();
    QApplication::setActiveWindow(window.get());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), Control<QPushButton>(*window, "BBCalcul"));
    EXPECT_EQ(window->statusBar()->findChildren<QLabel*>().size(), 4);
    window->close();
}

TEST_F(MainWindowTest, PaneLinesKeepTheirColourAndEveryBlank) {
    auto window = NewWindow();
    window->Affiche("Nombre de points connus :      2", MessageKind::Info);
    window->Affiche(Utf8ToCp1252("Point :        P calculé"), MessageKind::Computed);
    window->AppendPlain("  plain   after green  ");
    window->Affiche(Utf8ToCp1252("Point :        Q non calculé"), MessageKind::Problem);
    window->AppendPlain("");
    window->Affiche("black again", MessageKind::Info);
    // A file name is Windows-1252 like the rest of its message.
    window->Affiche(Utf8ToCp1252("Le fichier /tmp/Relevés/a.cor n'existe pas é"),
                    MessageKind::Problem);
    // Windows-1252 throughout: two bytes that would also read as UTF-8 "é"
    // are the two characters they stand for.
    window->Affiche("Point :        \xC3\xA9", MessageKind::Info);

    const QTextDocument* document = Control<QPlainTextEdit>(*window, "Memo")->document();
    ASSERT_EQ(document->blockCount(), 8);
    const QString texts[] = {QStringLiteral("Nombre de points connus :      2"),
                             QStringLiteral("Point :        P calculé"),
                             QStringLiteral("  plain   after green  "),
                             QStringLiteral("Point :        Q non calculé"),
                             QString(),
                             QStringLiteral("black again"),
                             QStringLiteral("Le fichier /tmp/Relevés/a.cor n'existe pas é"),
                             QStringLiteral("Point :        Ã©")};
    const QColor colours[] = {QColor(0, 0, 0),   QColor(0, 128, 0), QColor(0, 128, 0),
                              QColor(255, 0, 0), QColor(255, 0, 0), QColor(0, 0, 0),
                              QColor(255, 0, 0), QColor(0, 0, 0)};
    QTextBlock block = document->firstBlock();
    for (int line = 0; line < 8; ++line, block = block.next()) {
        EXPECT_EQ(block.text(), texts[line]) << line;
        if (!block.text().isEmpty()) {
            const QTextCharFormat format = block.begin().fragment().charFormat();
            EXPECT_EQ(format.foreground().color(), colours[line]) << line;
        }
    }
}

TEST_F(MainWindowTest, PaneStaysQuickWithTensOfThousandsOfLines) {
    // Every line: a bad value under a code that records nothing, one red line.
    QByteArray observations;
    for (int line = 0; line < 30000; ++line) {
        observations += "12 A B x 0 1.5 1.5\r\n";
    }
    WriteWorkSite(QStringLiteral("demo.bvk"));
    WriteFile(QStringLiteral("demo.obs"), observations);
    Settings().setValue(QStringLiteral("Fichier"), PathOf(QStringLiteral("demo.bvk")));
    auto window = NewWindow();
    window->show();
    QElapsedTimer timer;
    timer.start();
    Control<QPushButton>(*window, "BBCalcul")->click();
    QApplication::processEvents();
    EXPECT_LT(timer.elapsed(), 15000);
    const QStringList lines = PaneLines(*window);
    EXPECT_GT(lines.size(), 30000);
    EXPECT_EQ(lines[1], QStringLiteral("Erreur de lecture du fichier demo.obs ligne 1 champ x : "));
    // The view follows the newest line.
    const QScrollBar* bar = Control<QPlainTextEdit>(*window, "Memo")->verticalScrollBar();
    EXPECT_EQ(bar->value(), bar->maximum());
    window->close();
}

TEST_F(MainWindowTest, StartPointListIsSortedAndAddingRunsNothing) {
    auto window = NewWindow();
    for (const char* name : {"P10", "b2", "A1", "P10", "B1"}) {
        window->AddStartPoint(name);
    }
    EXPECT_EQ(StartPoints(*window), QStringList({"A1", "B1", "b2", "P10", "P10"}));
    EXPECT_TRUE(window->StartPointText().empty());
    window->ClearStartPoints();
    EXPECT_TRUE(StartPoints(*window).isEmpty());
}

TEST_F(MainWindowTest, FileFieldsOpenTheirDialogsOnAClick) {
    auto window = NewWindow();
    const QString chosen = PathOf(QStringLiteral("levé.cor"));
    hooks_.fileAnswers = {chosen};
    QTest::mouseClick(Control<QLineEdit>(*window, "LEPoint"), Qt::LeftButton);
    QTest::mouseClick(Control<QLineEdit>(*window, "LEMes"), Qt::LeftButton);  // cancelled
    QTest::mouseClick(Control<QLineEdit>(*window, "LELis"), Qt::LeftButton);  // cancelled
    ASSERT_EQ(hooks_.fileDialogs.size(), 3U);
    // Each dialog says what is chosen, and offers all files after its own kind.
    EXPECT_EQ(hooks_.fileDialogs[0].filter,
              QStringLiteral("Coordonnées (*.cor);;Tous les fichiers (*)"));
    EXPECT_EQ(hooks_.fileDialogs[0].caption, QStringLiteral("Fichier de coordonnées"));
    EXPECT_EQ(hooks_.fileDialogs[0].mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(hooks_.fileDialogs[1].filter,
              QStringLiteral("Observations (*.obs);;Tous les fichiers (*)"));
    EXPECT_EQ(hooks_.fileDialogs[1].caption, QStringLiteral("Fichier d'observations"));
    EXPECT_EQ(hooks_.fileDialogs[2].filter,
              QStringLiteral("résultats approchés (*.vek);;Tous les fichiers (*)"));
    EXPECT_EQ(hooks_.fileDialogs[2].caption, QStringLiteral("Fichiers de sortie"));
    EXPECT_EQ(hooks_.fileDialogs[2].mode, FileDialogRequest::Mode::Save);
    EXPECT_FALSE(hooks_.fileDialogs[2].confirmOverwrite);
    EXPECT_TRUE(hooks_.fileDialogs[2].defaultSuffix.isEmpty());
    for (const auto& dialog : hooks_.fileDialogs) {
        EXPECT_EQ(QDir(dialog.directory), QDir(folder_.path()));
    }
    EXPECT_EQ(Control<QLineEdit>(*window, "LEPoint")->text(), chosen);
    EXPECT_TRUE(Control<QLineEdit>(*window, "LEMes")->text().isEmpty());
}

TEST_F(MainWindowTest, OpenInitialiseChooseAndFinish) {
    WriteWorkSite(QStringLiteral("demo.bvk"));
    auto window = NewWindow();
    hooks_.fileAnswers = {PathOf(QStringLiteral("demo.bvk"))};
    MenuItem(*window, "OuvrirChantier1")->trigger();
    ASSERT_EQ(hooks_.fileDialogs.size(), 1U);
    EXPECT_EQ(hooks_.fileDialogs[0].filter,
              QStringLiteral("Chantier Belvik (*.bvk);;Tous les fichiers (*)"));
    EXPECT_EQ(hooks_.fileDialogs[0].caption, QStringLiteral("Ouvrir un chantier"));
    EXPECT_EQ(Control<QLineEdit>(*window, "LEPoint")->text(), PathOf(QStringLiteral("demo.cor")));
    EXPECT_EQ(Control<QLineEdit>(*window, "LEMes")->text(), PathOf(QStringLiteral("demo.obs")));
    EXPECT_EQ(Control<QLineEdit>(*window, "LELis")->text(), PathOf(QStringLiteral("demo")));
    EXPECT_EQ(window->State().Parameters.significantDigits, 3);

    Control<QPushButton>(*window, "BBCalcul")->click();
    EXPECT_TRUE(hooks_.messages.empty()) << hooks_.messages.front().text.toStdString();
    EXPECT_TRUE(Control<QComboBox>(*window, "CBDepart")->isEnabled());
    EXPECT_TRUE(Control<QLabel>(*window, "LDepart")->isEnabled());
    EXPECT_EQ(StartPoints(*window), QStringList({"A", "B"}));
    EXPECT_TRUE(QFile::exists(PathOf(QStringLiteral("demo.vek"))));
    const int loadLines = PaneLines(*window).size();

    // Choosing the start point runs the determination.
    auto* startPoint = Control<QComboBox>(*window, "CBDepart");
    startPoint->setCurrentIndex(0);
    const QStringList lines = PaneLines(*window);
    ASSERT_GT(lines.size(), loadLines);
    EXPECT_TRUE(lines.contains(QStringLiteral("Point :        P calculé")))
        << lines.join('\n').toStdString();

    window->show();
    Control<QPushButton>(*window, "BBFini")->click();
    EXPECT_FALSE(window->isVisible());
    const QByteArray results = ReadFile(QStringLiteral("demo.new"));
    EXPECT_TRUE(results.contains(" P ")) << results.toStdString();
    EXPECT_EQ(Settings().value(QStringLiteral("Fichier")).toString(),
              PathOf(QStringLiteral("demo.bvk")));
}

// A surveyor's folder and files with accented names: the window shows them in
// Unicode, the work-site file holds them in Windows-1252, and the files are
// found, written and remembered.
TEST_F(MainWindowTest, AnAccentedWorkSiteOpensRunsAndIsRemembered) {
    ASSERT_TRUE(QDir(folder_.path()).mkpath(QStringLiteral("Relevés/sous-dossier")));
    const QString coordinates = PathOf(QStringLiteral("Relevés/chantier été.cor"));
    const QString observations = PathOf(QStringLiteral("Relevés/chantier été.obs"));
    const QString listing = PathOf(QStringLiteral("Relevés/résultats"));
    const QString workSite = PathOf(QStringLiteral("Relevés/chantier été.bvk"));
    WriteFile(QStringLiteral("Relevés/chantier été.cor"), kCoordinates);
    WriteFile(QStringLiteral("Relevés/chantier été.obs"), "@sous-dossier/\xE9t\xE9\r\n");
    WriteFile(QStringLiteral("Relevés/sous-dossier/été.obs"), kObservations);
    WriteFile(QStringLiteral("Relevés/chantier été.bvk"),
              "1\r\n1\r\n3\r\n 4.50000000000000E+0001\r\n 1.20000000000000E-0001\r\n" +
                  CoreName(coordinates) + "\r\n" + CoreName(observations) + "\r\n" +
                  CoreName(listing) + ".vek\r\n");

    auto window = NewWindow();
    hooks_.fileAnswers = {workSite};
    MenuItem(*window, "OuvrirChantier1")->trigger();
    EXPECT_TRUE(hooks_.messages.empty()) << hooks_.messages.front().text.toStdString();
    EXPECT_EQ(Control<QLineEdit>(*window, "LEPoint")->text(), coordinates);
    EXPECT_EQ(Control<QLineEdit>(*window, "LEMes")->text(), observations);
    EXPECT_EQ(Control<QLineEdit>(*window, "LELis")->text(), listing);

    Control<QPushButton>(*window, "BBCalcul")->click();
    EXPECT_TRUE(hooks_.messages.empty()) << hooks_.messages.front().text.toStdString();
    EXPECT_EQ(StartPoints(*window), QStringList({"A", "B"}));
    Control<QComboBox>(*window, "CBDepart")->setCurrentIndex(0);
    EXPECT_TRUE(PaneLines(*window).contains(QStringLiteral("Point :        P calculé")))
        << PaneLines(*window).join('\n').toStdString();
    // "Initialisation" wrote the work site back, names in Windows-1252.
    EXPECT_TRUE(
        ReadFile(QStringLiteral("Relevés/chantier été.bvk")).contains(CoreName(observations)));

    window->show();
    Control<QPushButton>(*window, "BBFini")->click();
    EXPECT_TRUE(ReadFile(QStringLiteral("Relevés/résultats.new")).contains(" P "));
    EXPECT_TRUE(QFile::exists(PathOf(QStringLiteral("Relevés/résultats.vek"))));
    EXPECT_EQ(Settings().value(QStringLiteral("Fichier")).toString(), workSite);

    // The next start opens it again from the store, and offers it in the menu.
    auto next = NewWindow();
    EXPECT_EQ(Control<QLineEdit>(*next, "LEPoint")->text(), coordinates);
    const QList<QAction*> items = Control<QMenu>(*next, "F1")->actions();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[4]->text(), workSite);
    EXPECT_TRUE(hooks_.messages.empty());

    // A missing accented file is named in its box as the field shows it.
    Control<QLineEdit>(*next, "LEPoint")->setText(PathOf(QStringLiteral("Relevés/absent été.cor")));
    Control<QPushButton>(*next, "BBCalcul")->click();
    ASSERT_EQ(hooks_.messages.size(), 1U);
    EXPECT_EQ(hooks_.messages[0].text, QStringLiteral("Le fichier ") +
                                           PathOf(QStringLiteral("Relevés/absent été.cor")) +
                                           QStringLiteral(" n'existe pas "));
    next->close();
}

TEST_F(MainWindowTest, CalculEtenduIsKeptInTheUserSettingsAndFollowsTheRun) {
    WriteWorkSite(QStringLiteral("demo.bvk"));
    Settings().setValue(QStringLiteral("Fichier"), PathOf(QStringLiteral("demo.bvk")));
    {
        auto window = NewWindow();
        EXPECT_FALSE(window->Options().extendedDetermination);
        bool shownOff = false;
        hooks_.parameters = [&](TFParametre& dialog) {
            auto* box = dialog.findChild<QCheckBox*>(QStringLiteral("CBCalculEtendu"));
            EXPECT_NE(box, nullptr);
            shownOff = box != nullptr && !box->isChecked() &&
                       box->text() == QStringLiteral("Calcul étendu");
            if (box != nullptr) {
                box->setChecked(true);
            }
            return true;
        };
        MenuItem(*window, "Paramtres1")->trigger();
        EXPECT_TRUE(shownOff);
        EXPECT_TRUE(window->Options().extendedDetermination);
        EXPECT_TRUE(Settings().value(QStringLiteral("CalculEtendu")).toBool());

        Control<QPushButton>(*window, "BBCalcul")->click();
        Control<QComboBox>(*window, "CBDepart")->setCurrentIndex(0);
        const QStringList lines = PaneLines(*window);
        ASSERT_GE(lines.size(), 2);
        EXPECT_EQ(lines[lines.size() - 2], QStringLiteral("Point :        P calculé"));
        EXPECT_EQ(lines.back(), QStringLiteral("Calcul étendu : aucun point de plus"));
    }
    // The next window starts with the option on, and the work-site file
    // holds nothing of it.
    auto window = NewWindow();
    EXPECT_TRUE(window->Options().extendedDetermination);
    EXPECT_FALSE(ReadFile(QStringLiteral("demo.bvk")).contains("tendu"));
    // Abandoning the dialog changes nothing.
    hooks_.parameters = [](TFParametre& dialog) {
        dialog.findChild<QCheckBox*>(QStringLiteral("CBCalculEtendu"))->setChecked(false);
        return false;
    };
    MenuItem(*window, "Paramtres1")->trigger();
    EXPECT_TRUE(window->Options().extendedDetermination);
    EXPECT_TRUE(Settings().value(QStringLiteral("CalculEtendu")).toBool());
}

TEST_F(MainWindowTest, TypingAStartPointRunsTheDeterminationAtEveryChange) {
    WriteWorkSite(QStringLiteral("demo.bvk"));
    Settings().setValue(QStringLiteral("Fichier"), PathOf(QStringLiteral("demo.bvk")));
    auto window = NewWindow();
    Control<QPushButton>(*window, "BBCalcul")->click();
    auto* startPoint = Control<QComboBox>(*window, "CBDepart");
    QTest::keyClicks(startPoint, QStringLiteral("A"));
    EXPECT_EQ(window->StartPointText(), "A");
    EXPECT_TRUE(PaneLines(*window).contains(QStringLiteral("Point :        P calculé")));
    // Typing never adds an entry to the list.
    QTest::keyClick(startPoint, Qt::Key_Return);
    EXPECT_EQ(StartPoints(*window), QStringList({"A", "B"}));
}

TEST_F(MainWindowTest, ClosingByTheFrameWritesNoResults) {
    WriteWorkSite(QStringLiteral("demo.bvk"));
    Settings().setValue(QStringLiteral("Fichier"), PathOf(QStringLiteral("demo.bvk")));
    auto window = NewWindow();
    Control<QPushButton>(*window, "BBCalcul")->click();
    Control<QComboBox>(*window, "CBDepart")->setCurrentIndex(0);
    window->show();
    // Asked whether to quit without the results, and answered yes.
    hooks_.answers = {Answer::Reject};
    window->close();
    ASSERT_EQ(hooks_.questions.size(), 1U);
    EXPECT_EQ(hooks_.questions[0].text, QStringLiteral("Quitter sans écrire les résultats ?"));
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("demo.new"))));
    EXPECT_EQ(window->State().PointCount(), 0);
    EXPECT_FALSE(window->State().ListingFile.IsOpen());
}

TEST_F(MainWindowTest, ClosingByTheFrameAfterARunOffersToWriteTheResults) {
    auto window = LoadedWindow();
    window->show();
    // Loaded but nothing computed yet: nothing to ask.
    hooks_.answers = {Answer::Cancel};
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(hooks_.questions.empty());

    auto again = LoadedWindow();
    again->show();
    Control<QComboBox>(*again, "CBDepart")->setCurrentIndex(0);
    // Cancelled: the window stays, nothing written.
    hooks_.answers = {Answer::Cancel};
    EXPECT_FALSE(again->close());
    EXPECT_TRUE(again->isVisible());
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("demo.new"))));
    EXPECT_EQ(again->State().PointCount(), 3);
    // "Écrire les résultats": what "Terminer" writes, then the window closes.
    hooks_.answers = {Answer::Accept};
    EXPECT_TRUE(again->close());
    ASSERT_EQ(hooks_.questions.size(), 2U);
    EXPECT_EQ(hooks_.questions[1].accept, QStringLiteral("Écrire les résultats"));
    EXPECT_TRUE(ReadFile(QStringLiteral("demo.new")).contains(" P "));
    EXPECT_TRUE(ReadFile(QStringLiteral("demo.vek")).contains("P"));
    // "Terminer" itself asks nothing: it writes the results.
    auto third = LoadedWindow();
    third->show();
    Control<QComboBox>(*third, "CBDepart")->setCurrentIndex(0);
    Control<QPushButton>(*third, "BBFini")->click();
    EXPECT_FALSE(third->isVisible());
    EXPECT_EQ(hooks_.questions.size(), 2U);
}

// The readers' lines go to the standard output, which a desktop user never
// sees: the pane shows them too, red, among the other lines in their order.
TEST_F(MainWindowTest, ReaderLinesReachThePaneInRed) {
    WriteWorkSite(QStringLiteral("demo.bvk"));
    WriteFile(QStringLiteral("demo.cor"), QByteArray(kCoordinates) + "1 C 5\r\n");
    WriteFile(QStringLiteral("demo.obs"), QByteArray(kObservations) + "2 A\r\n");
    Settings().setValue(QStringLiteral("Fichier"), PathOf(QStringLiteral("demo.bvk")));
    auto window = NewWindow();
    // A green line before: the plain count after the red reader line keeps it.
    window->Affiche("vert", MessageKind::Computed);
    Control<QPushButton>(*window, "BBCalcul")->click();

    const QTextDocument* document = Control<QPlainTextEdit>(*window, "Memo")->document();
    const QString expected[] = {
        QStringLiteral("vert"),
        QStringLiteral("erreur de lecture du fichier des points ligne :      4 ligne incomplète"),
        QStringLiteral("Nombre de points connus :      2"),
        QStringLiteral(
            "erreur de lecture du fichier d'observations ligne :      5 ligne incomplète"),
        QStringLiteral("Nombre total de points  :      3")};
    const QColor colours[] = {QColor(0, 128, 0), QColor(255, 0, 0), QColor(0, 128, 0),
                              QColor(255, 0, 0), QColor(0, 0, 0)};
    QTextBlock block = document->firstBlock();
    for (int line = 0; line < 5; ++line, block = block.next()) {
        ASSERT_TRUE(block.isValid()) << line;
        EXPECT_EQ(block.text(), expected[line]) << line;
        EXPECT_EQ(block.begin().fragment().charFormat().foreground().color(), colours[line])
            << line;
    }
}

// net.cor, net.obs and resultat beside net.bvk, the program started elsewhere:
// opened from the menu or the recent item, the work site finds its files.
TEST_F(MainWindowTest, RelativeNamesOfAWorkSiteResolveFromItsFolder) {
    ASSERT_TRUE(QDir(folder_.path()).mkpath(QStringLiteral("chantier")));
    ASSERT_TRUE(QDir(folder_.path()).mkpath(QStringLiteral("ailleurs")));
    WriteFile(QStringLiteral("chantier/net.cor"), kCoordinates);
    WriteFile(QStringLiteral("chantier/net.obs"), kObservations);
    const QByteArray content = WorkSiteContent("net.cor", "net.obs", "resultat");
    WriteFile(QStringLiteral("chantier/net.bvk"), content);
    QDir::setCurrent(PathOf(QStringLiteral("ailleurs")));

    auto window = NewWindow();
    hooks_.fileAnswers = {PathOf(QStringLiteral("chantier/net.bvk"))};
    MenuItem(*window, "OuvrirChantier1")->trigger();
    EXPECT_EQ(Control<QLineEdit>(*window, "LEPoint")->text(), QStringLiteral("net.cor"));
    // The field's tip names the file it leads to.
    EXPECT_EQ(Control<QLineEdit>(*window, "LEPoint")->toolTip(),
              PathOf(QStringLiteral("chantier/net.cor")));
    // The dialogs now open in the work site's folder.
    QTest::mouseClick(Control<QLineEdit>(*window, "LEMes"), Qt::LeftButton);
    ASSERT_EQ(hooks_.fileDialogs.size(), 2U);
    EXPECT_EQ(QDir(hooks_.fileDialogs[1].directory), QDir(PathOf(QStringLiteral("chantier"))));

    Control<QPushButton>(*window, "BBCalcul")->click();
    EXPECT_TRUE(hooks_.messages.empty()) << hooks_.messages.front().text.toStdString();
    EXPECT_EQ(StartPoints(*window), QStringList({"A", "B"}));
    EXPECT_TRUE(QFile::exists(PathOf(QStringLiteral("chantier/resultat.vek"))));
    // Written back as it was read.
    EXPECT_EQ(ReadFile(QStringLiteral("chantier/net.bvk")).split('\n').mid(5, 3),
              QList<QByteArray>({"net.cor\r", "net.obs\r", "resultat\r"}));
    Control<QComboBox>(*window, "CBDepart")->setCurrentIndex(0);
    window->show();
    Control<QPushButton>(*window, "BBFini")->click();
    EXPECT_TRUE(ReadFile(QStringLiteral("chantier/resultat.new")).contains(" P "));

    // The recent item at the next start, from yet another folder.
    QDir::setCurrent(folder_.path());
    auto next = NewWindow();
    Control<QPushButton>(*next, "BBCalcul")->click();
    EXPECT_TRUE(hooks_.messages.empty()) << hooks_.messages.front().text.toStdString();
    EXPECT_EQ(StartPoints(*next), QStringList({"A", "B"}));
    next->close();
}

TEST_F(MainWindowTest, KeyboardInitialisationFirstEnterMnemonicsShortcuts) {
    auto window = NewWindow();
    // The focus chain from the window itself: what Tab visits, in order.
    Control<QComboBox>(*window, "CBDepart")->setEnabled(true);
    window->show();
    QStringList chain;
    for (QWidget* w = window->nextInFocusChain(); w != window.get(); w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled() &&
            !w->objectName().isEmpty() && !chain.contains(w->objectName())) {
            chain << w->objectName();
        }
    }
    EXPECT_EQ(chain.mid(0, 7),
              QStringList({"BBCalcul", "LEPoint", "LEMes", "LELis", "CBDepart", "Memo", "BBFini"}));

    // Enter in a file field runs "Initialisation".
    QTest::keyClick(Control<QLineEdit>(*window, "LEMes"), Qt::Key_Return);
    ASSERT_EQ(hooks_.messages.size(), 2U);
    EXPECT_EQ(hooks_.messages[0].text, QStringLiteral("Le fichier  n'existe pas "));

    EXPECT_EQ(MenuItem(*window, "Nouveau1")->shortcut(), QKeySequence(QKeySequence::New));
    EXPECT_EQ(MenuItem(*window, "OuvrirChantier1")->shortcut(), QKeySequence(QKeySequence::Open));
    EXPECT_EQ(MenuItem(*window, "Quitter1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    EXPECT_EQ(MenuItem(*window, "Rechercher1")->shortcut(), QKeySequence(QKeySequence::Find));
    EXPECT_EQ(MenuItem(*window, "Guide1")->shortcut(), QKeySequence(QKeySequence::HelpContents));
    EXPECT_EQ(MenuItem(*window, "Paramtres1")->text(), QStringLiteral("&Paramètres"));
    window->close();
}

// A changed parameter or file name marks the caption until the work site is
// written; leaving asks whether to write it.
TEST_F(MainWindowTest, AChangedWorkSiteIsMarkedAndNeverLostSilently) {
    WriteWorkSite(QStringLiteral("demo.bvk"));
    Settings().setValue(QStringLiteral("Fichier"), PathOf(QStringLiteral("demo.bvk")));
    auto window = NewWindow();
    window->show();
    EXPECT_FALSE(window->isWindowModified());
    hooks_.parameters = [](TFParametre& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("LELatitude"))->setText("47.25");
        return true;
    };
    MenuItem(*window, "Paramtres1")->trigger();
    EXPECT_TRUE(window->isWindowModified());

    // "Terminer", then "Annuler": nothing happens.
    hooks_.answers = {Answer::Cancel};
    Control<QPushButton>(*window, "BBFini")->click();
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(hooks_.questions.size(), 1U);
    EXPECT_EQ(hooks_.questions[0].name, QStringLiteral("ChantierModifie"));
    EXPECT_EQ(hooks_.questions[0].accept, QStringLiteral("Enregistrer"));
    EXPECT_FALSE(ReadFile(QStringLiteral("demo.bvk")).contains("4.725"));

    // "Initialisation" writes the work site: the mark goes.
    Control<QPushButton>(*window, "BBCalcul")->click();
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_TRUE(ReadFile(QStringLiteral("demo.bvk")).contains(" 4.72500000000000E+0001"));

    // Confirming the dialog unchanged marks nothing; a field typed in does.
    hooks_.parameters = [](TFParametre&) { return true; };
    MenuItem(*window, "Paramtres1")->trigger();
    EXPECT_FALSE(window->isWindowModified());
    QTest::keyClicks(Control<QLineEdit>(*window, "LELis"), QStringLiteral("2"));
    EXPECT_TRUE(window->isWindowModified());
    // Opening another work site asks first; "Enregistrer" writes the fields.
    hooks_.answers = {Answer::Accept};
    hooks_.fileAnswers = {};  // the open dialog is then cancelled
    MenuItem(*window, "OuvrirChantier1")->trigger();
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_TRUE(ReadFile(QStringLiteral("demo.bvk")).contains(CoreName(PathOf("demo2")) + "\r\n"));

    // "Terminer" with the question answered "Enregistrer": written, then closed.
    hooks_.parameters = [](TFParametre& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("LELatitude"))->setText("46");
        return true;
    };
    MenuItem(*window, "Paramtres1")->trigger();
    hooks_.answers = {Answer::Accept};
    Control<QPushButton>(*window, "BBFini")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(ReadFile(QStringLiteral("demo.bvk")).contains(" 4.60000000000000E+0001"));
}

TEST_F(MainWindowTest, TheStatusBarSaysWhereTheWorkStands) {
    auto window = NewWindow();
    EXPECT_EQ(StatusText(*window, "SBChantier"), QStringLiteral("Aucun chantier"));
    WriteWorkSite(QStringLiteral("demo.bvk"));
    hooks_.fileAnswers = {PathOf(QStringLiteral("demo.bvk"))};
    MenuItem(*window, "OuvrirChantier1")->trigger();
    EXPECT_EQ(StatusText(*window, "SBChantier"), QStringLiteral("Chantier : demo.bvk"));
    EXPECT_EQ(Control<QLabel>(*window, "SBChantier")->toolTip(), PathOf("demo.bvk"));

    Control<QPushButton>(*window, "BBCalcul")->click();
    // A and B from the coordinates, P from the observations.
    EXPECT_EQ(StatusText(*window, "SBChargement"), QStringLiteral("2 connus / 3 points"));
    EXPECT_TRUE(StatusText(*window, "SBCalcul").isEmpty());

    // A text that names no point runs nothing and says so.
    auto* startPoint = Control<QComboBox>(*window, "CBDepart");
    const int lines = PaneLines(*window).size();
    QTest::keyClicks(startPoint, QStringLiteral("Z"));
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Point inconnu : Z"));
    EXPECT_EQ(PaneLines(*window).size(), lines);
    // Backspace, then a point: it runs at once, and the counts follow.
    QTest::keyClick(startPoint, Qt::Key_Backspace);
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    QTest::keyClicks(startPoint, QStringLiteral("A"));
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
    EXPECT_GT(PaneLines(*window).size(), lines);
    EXPECT_EQ(StatusText(*window, "SBCalcul"), QStringLiteral("1 calculés, 0 non calculés"));
    // "Ab" names no point: the run from A is not made again.
    const int afterRun = PaneLines(*window).size();
    QTest::keyClicks(startPoint, QStringLiteral("b"));
    EXPECT_EQ(PaneLines(*window).size(), afterRun);
    EXPECT_EQ(window->statusBar()->currentMessage(), QStringLiteral("Point inconnu : Ab"));
    window->close();
}

// After a run, the points left and what each has: here Q, seen from A by a
// zenith angle only.
TEST_F(MainWindowTest, TheDockSaysWhyAPointWasNotComputed) {
    WriteWorkSite(QStringLiteral("demo.bvk"));
    WriteFile(QStringLiteral("demo.obs"), QByteArray(kObservations) + "6 A Q 100.0 0 1.5 1.5\r\n");
    Settings().setValue(QStringLiteral("Fichier"), PathOf(QStringLiteral("demo.bvk")));
    auto window = NewWindow();
    window->show();
    Control<QPushButton>(*window, "BBCalcul")->click();
    auto* dock = Control<QDockWidget>(*window, "DockPointsNonCalcules");
    EXPECT_FALSE(dock->isVisible());
    Control<QComboBox>(*window, "CBDepart")->setCurrentIndex(0);
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(dock->windowTitle(), QStringLiteral("Points non calculés : 1"));
    auto* tree = Control<QTreeWidget>(*window, "ArbrePointsNonCalcules");
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    const QTreeWidgetItem* q = tree->topLevelItem(0);
    EXPECT_EQ(q->text(0), QStringLiteral("Q"));
    EXPECT_EQ(q->text(1), QStringLiteral("sans plan ni altitude"));
    EXPECT_EQ(q->text(2), QStringLiteral("lié à 1 point : 1 placé en plan, 1 avec altitude"));
    ASSERT_EQ(q->childCount(), 1);
    EXPECT_EQ(q->child(0)->text(0), QStringLiteral("A"));
    EXPECT_EQ(q->child(0)->text(1), QStringLiteral("connu"));
    EXPECT_EQ(q->child(0)->text(2), QStringLiteral("station A : 1 zénithale"));
    EXPECT_EQ(StatusText(*window, "SBCalcul"), QStringLiteral("1 calculés, 1 non calculés"));
    EXPECT_TRUE(PaneLines(*window).contains(QStringLiteral("Point :        Q non calculé")));

    // A new load empties it until the next run.
    Control<QPushButton>(*window, "BBCalcul")->click();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
    window->close();
}

TEST_F(MainWindowTest, EveryViewFollowsTheModelAfterEachAction) {
    auto window = NewWindow();
    window->show();
    auto* summary = Control<QLabel>(*window, "LControleResume");
    auto* dock = Control<QDockWidget>(*window, "DKLeve");
    auto* points = Control<QTableView>(*window, "TVLevePoints");
    auto* observations = Control<QTableView>(*window, "TVLeveObservations");
    // Off until the user asks for it, from "Résultats".
    EXPECT_FALSE(dock->isVisible());
    QAction* item = MenuItem(*window, "PointsObservations1");
    EXPECT_EQ(item->text(), QStringLiteral("Points et &observations"));
    item->trigger();
    EXPECT_TRUE(dock->isVisible());

    // "Initialisation" without a work site or files: refused, nothing loaded,
    // and "Contrôle" says there is no check rather than show one of nothing.
    Control<QPushButton>(*window, "BBCalcul")->click();
    EXPECT_FALSE(hooks_.messages.empty());  // the missing files
    hooks_.messages.clear();
    EXPECT_FALSE(window->Model().HasCheck());
    EXPECT_EQ(summary->text(), QStringLiteral("Aucun calcul"));
    EXPECT_EQ(window->Controle()->ObservationTable()->model()->rowCount(), 0);
    EXPECT_EQ(points->model()->rowCount(), 0);

    // A load: A and B given, P named by the observations, four lines.
    WriteWorkSite(QStringLiteral("demo.bvk"));
    hooks_.fileAnswers.push_back(PathOf(QStringLiteral("demo.bvk")));
    window->OuvrirChantier1Click();
    const std::uint64_t opened = window->Model().Revision();
    Control<QPushButton>(*window, "BBCalcul")->click();
    EXPECT_GT(window->Model().Revision(), opened);
    EXPECT_EQ(&window->Model().State(), &window->State());
    ASSERT_EQ(points->model()->rowCount(), 3);
    EXPECT_EQ(observations->model()->rowCount(), 4);
    EXPECT_TRUE(window->Model().HasCheck());
    EXPECT_NE(summary->text(), QStringLiteral("Aucun calcul"));
    const auto cell = [](QTableView* table, int row, int column) {
        return table->model()->index(row, column).data().toString();
    };
    EXPECT_EQ(cell(points, 2, PointTableModel::Name), QStringLiteral("P"));
    EXPECT_EQ(cell(points, 2, PointTableModel::Plan), QStringLiteral("non calculé"));

    // A run from A: P radiated from A (reading 100 gon, 500 m east of A).
    Control<QComboBox>(*window, "CBDepart")->setEditText(QStringLiteral("A"));
    EXPECT_EQ(cell(points, 2, PointTableModel::Plan), QStringLiteral("calculé"));
    EXPECT_EQ(cell(points, 2, PointTableModel::X), QStringLiteral("1500.000"));
    EXPECT_EQ(window->Model().Points()[2].planMethod,
              window->Controle()->Result().points[2].planMethod);
    for (const auto& shown : hooks_.messages) {
        ADD_FAILURE() << shown.text.toStdString();
    }
    window->close();
}

TEST_F(MainWindowTest, TheJournalIsSavedAndTheResultsOpenInTheViewer) {
    auto window = LoadedWindow();
    // Before "Terminer" the ".new" file is not there: said, nothing opened.
    MenuItem(*window, "OuvrirResultats1")->trigger();
    EXPECT_TRUE(hooks_.opened.empty());
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("Le fichier %1 n'existe pas encore").arg(PathOf("demo.new")));
    MenuItem(*window, "OuvrirListing1")->trigger();
    ASSERT_EQ(hooks_.opened.size(), 1U);
    EXPECT_EQ(hooks_.opened[0], QUrl::fromLocalFile(PathOf("demo.vek")));
    // A viewer that cannot open it: told.
    hooks_.openResult = false;
    MenuItem(*window, "OuvrirListing1")->trigger();
    ASSERT_EQ(hooks_.messages.size(), 1U);
    EXPECT_TRUE(hooks_.messages[0].text.startsWith(QStringLiteral("Aucun programme")));

    // The journal, in UTF-8 with CR LF.
    hooks_.fileAnswers = {PathOf(QStringLiteral("journal.txt"))};
    MenuItem(*window, "EnregistrerJournal1")->trigger();
    EXPECT_EQ(hooks_.fileDialogs.back().name, QStringLiteral("SDJournal"));
    const QByteArray journal = ReadFile(QStringLiteral("journal.txt"));
    EXPECT_TRUE(journal.startsWith("Nombre de points connus :      2\r\n"));
    EXPECT_TRUE(journal.contains(QStringLiteral("Nombre de zénithales").toUtf8()));
    // A folder that does not exist: the failure and its reason.
    hooks_.fileAnswers = {PathOf(QStringLiteral("absent/journal.txt"))};
    MenuItem(*window, "EnregistrerJournal1")->trigger();
    ASSERT_EQ(hooks_.messages.size(), 2U);
    EXPECT_TRUE(hooks_.messages[1].failure);
    EXPECT_TRUE(hooks_.messages[1].text.startsWith(
        QStringLiteral("Le journal n'a pas pu être écrit dans ") + PathOf("absent/journal.txt")));
    window->close();
}

TEST_F(MainWindowTest, HelpShowsTheGuideAndTheVersion) {
    auto window = NewWindow();
    MenuItem(*window, "Guide1")->trigger();
    auto* guide = window->findChild<QWidget*>(QStringLiteral("FGuide"));
    ASSERT_NE(guide, nullptr);
    EXPECT_TRUE(guide->isVisible());
    auto* text = guide->findChild<QTextBrowser*>(QStringLiteral("GuideTexte"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("guide de l'utilisateur")));
    // Asked again: the same window.
    MenuItem(*window, "Guide1")->trigger();
    EXPECT_EQ(window->findChildren<QWidget*>(QStringLiteral("FGuide")).size(), 1);

    MenuItem(*window, "APropos1")->trigger();
    ASSERT_EQ(hooks_.messages.size(), 1U);
    EXPECT_EQ(hooks_.messages[0].caption, QStringLiteral("À propos de calctopo"));
    EXPECT_TRUE(hooks_.messages[0].text.startsWith(QString::fromStdString("calctopo " + ProgramVersion())))
        << hooks_.messages[0].text.toStdString();
    EXPECT_TRUE(hooks_.messages[0].text.contains(QStringLiteral("Licence")));
    window->close();
}

TEST_F(MainWindowTest, RemembersTheWorkSiteAcrossRuns) {
    WriteWorkSite(QStringLiteral("demo.bvk"));
    Settings().setValue(QStringLiteral("Fichier"), PathOf(QStringLiteral("demo.bvk")));
    auto window = NewWindow();
    EXPECT_EQ(Control<QLineEdit>(*window, "LEPoint")->text(), PathOf(QStringLiteral("demo.cor")));
    const QList<QAction*> items = Control<QMenu>(*window, "F1")->actions();
    ASSERT_EQ(items.size(), 5);
    EXPECT_TRUE(items[3]->isSeparator());
    EXPECT_EQ(items[4]->text(), PathOf(QStringLiteral("demo.bvk")));

    // Another work site opened, then the recent item: it opens its own file.
    WriteFile(QStringLiteral("autre.bvk"), "1\r\n2\r\n4\r\n1\r\n0\r\nx.cor\r\ny.obs\r\nz.vek\r\n");
    hooks_.fileAnswers = {PathOf(QStringLiteral("autre.bvk"))};
    MenuItem(*window, "OuvrirChantier1")->trigger();
    EXPECT_EQ(Control<QLineEdit>(*window, "LEPoint")->text(), QStringLiteral("x.cor"));
    EXPECT_EQ(Control<QLineEdit>(*window, "LELis")->text(), QStringLiteral("z"));
    items[4]->trigger();
    EXPECT_EQ(Control<QLineEdit>(*window, "LEPoint")->text(), PathOf(QStringLiteral("demo.cor")));
    window->close();
    EXPECT_EQ(Settings().value(QStringLiteral("Fichier")).toString(),
              PathOf(QStringLiteral("demo.bvk")));
}

// The window keeps the last work site where the sister program Belvik keeps
// it: Qt's native format (the default one, which the tests above read back)
// under organisation "Ostrel" and application "Belvik", value "Fichier". On
// Windows the native format is the registry, and these names make the key
// HKEY_CURRENT_USER\Software\Ostrel\Belvik.
TEST_F(MainWindowTest, RemembersTheWorkSiteUnderBelviksKey) {
    const QSettings native(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Ostrel"),
                           QStringLiteral("Belvik"));
#ifdef Q_OS_WIN
    // The tests keep their settings out of the registry (GuiTestMain), so
    // the key is only named here, never written.
    EXPECT_TRUE(
        native.fileName().endsWith(QStringLiteral("HKEY_CURRENT_USER\\Software\\Ostrel\\Belvik")))
        << native.fileName().toStdString();
#else
    EXPECT_EQ(QSettings::defaultFormat(), QSettings::NativeFormat);
    EXPECT_TRUE(native.fileName().endsWith(QStringLiteral("/Ostrel/Belvik.conf")))
        << native.fileName().toStdString();
    EXPECT_EQ(Settings().fileName(), native.fileName());
#endif
}

TEST_F(MainWindowTest, AVanishedWorkSiteIsRememberedWithoutAMenuItem) {
    const QString gone = PathOf(QStringLiteral("parti.bvk"));
    Settings().setValue(QStringLiteral("Fichier"), gone);
    auto window = NewWindow();
    EXPECT_EQ(Control<QMenu>(*window, "F1")->actions().size(), 3);
    EXPECT_TRUE(hooks_.messages.empty());
    EXPECT_EQ(QString::fromStdString(Cp1252ToUtf8(window->State().WorkSiteFileName)), gone);
    window->close();
    EXPECT_EQ(Settings().value(QStringLiteral("Fichier")).toString(), gone);

    // Never a work site: an empty name is stored.
    Settings().clear();
    auto fresh = NewWindow();
    fresh->close();
    EXPECT_TRUE(Settings().contains(QStringLiteral("Fichier")));
    EXPECT_TRUE(Settings().value(QStringLiteral("Fichier")).toString().isEmpty());
}

TEST_F(MainWindowTest, NouveauWritesAWorkSiteWithoutInputNames) {
    WriteWorkSite(QStringLiteral("demo.bvk"));
    Settings().setValue(QStringLiteral("Fichier"), PathOf(QStringLiteral("demo.bvk")));
    auto window = NewWindow();
    hooks_.parameters = [](TFParametre& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("LELatitude"))->setText("47.25");
        return true;
    };
    hooks_.fileAnswers = {PathOf(QStringLiteral("neuf.bvk"))};
    MenuItem(*window, "Nouveau1")->trigger();
    EXPECT_EQ(hooks_.parameterDialogs, 1);
    ASSERT_EQ(hooks_.fileDialogs.size(), 1U);
    EXPECT_EQ(hooks_.fileDialogs[0].caption, QStringLiteral("Sauvegarder le chantier sous"));
    EXPECT_EQ(hooks_.fileDialogs[0].mode, FileDialogRequest::Mode::Save);
    for (const char* field : {"LEPoint", "LEMes", "LELis"}) {
        EXPECT_TRUE(Control<QLineEdit>(*window, field)->text().isEmpty()) << field;
    }
    const QList<QByteArray> lines = ReadFile(QStringLiteral("neuf.bvk")).split('\n');
    ASSERT_GE(lines.size(), 9);
    EXPECT_EQ(lines[3], " 4.72500000000000E+0001\r");
    EXPECT_EQ(lines[5], "\r");
    EXPECT_EQ(lines[6], "\r");
    EXPECT_EQ(lines[7], "\r");
}

TEST_F(MainWindowTest, NouveauEndsAtABadParameter) {
    auto window = NewWindow();
    hooks_.parameters = [](TFParametre& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("LECoefRefrac"))->setText("0,5");
        return true;
    };
    hooks_.fileAnswers = {PathOf(QStringLiteral("neuf.bvk"))};
    MenuItem(*window, "Nouveau1")->trigger();
    EXPECT_TRUE(hooks_.fileDialogs.empty());
    ASSERT_EQ(hooks_.messages.size(), 1U);
    EXPECT_TRUE(hooks_.messages[0].failure);
    EXPECT_EQ(hooks_.messages[0].caption, QStringLiteral("Calculs topo approchés"));
    EXPECT_EQ(hooks_.messages[0].text,
              QStringLiteral("'0,5' n'est pas une valeur en virgule flottante correcte"));
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("neuf.bvk"))));
}

TEST_F(MainWindowTest, FailuresAreReportedAndTheWindowGoesOn) {
    WriteFile(QStringLiteral("demo.cor"), kCoordinates);
    WriteFile(QStringLiteral("demo.obs"), kObservations);
    auto window = NewWindow();
    // No work site: its file cannot be written, and the load does not run.
    Control<QLineEdit>(*window, "LEPoint")->setText(PathOf(QStringLiteral("demo.cor")));
    Control<QLineEdit>(*window, "LEMes")->setText(PathOf(QStringLiteral("demo.obs")));
    Control<QLineEdit>(*window, "LELis")->setText(PathOf(QStringLiteral("demo")));
    Control<QPushButton>(*window, "BBCalcul")->click();
    ASSERT_EQ(hooks_.messages.size(), 1U);
    EXPECT_TRUE(hooks_.messages[0].failure);
    EXPECT_FALSE(Control<QComboBox>(*window, "CBDepart")->isEnabled());

    // A missing input file is a plain message box.
    hooks_.messages.clear();
    Control<QLineEdit>(*window, "LEPoint")->clear();
    Control<QPushButton>(*window, "BBCalcul")->click();
    ASSERT_EQ(hooks_.messages.size(), 1U);
    EXPECT_FALSE(hooks_.messages[0].failure);
    EXPECT_EQ(hooks_.messages[0].text, QStringLiteral("Le fichier  n'existe pas "));
    EXPECT_TRUE(hooks_.endings.empty());

    // A failure's text, the system's part included, is converted once, at the
    // window's edge: accented as written.
    hooks_.messages.clear();
    window->ReportFailure(
        Utf8ToCp1252("Impossible de créer le fichier /x/é.vek (Permission non accordée)"));
    ASSERT_EQ(hooks_.messages.size(), 1U);
    EXPECT_EQ(hooks_.messages[0].text,
              QStringLiteral("Impossible de créer le fichier /x/é.vek (Permission non accordée)"));
}

TEST_F(MainWindowTest, ATableLimitEndsTheProgram) {
    QByteArray points;
    for (int i = 1; i <= 10001; ++i) {
        points += "1 P" + QByteArray::number(i) + " 0 0 0 0 0\r\n";
    }
    WriteFile(QStringLiteral("demo.cor"), points);
    WriteFile(QStringLiteral("demo.obs"), kObservations);
    WriteFile(QStringLiteral("demo.bvk"), "1\r\n");
    hooks_.fileAnswers = {PathOf(QStringLiteral("demo.bvk"))};
    auto window = NewWindow();
    MenuItem(*window, "OuvrirChantier1")->trigger();
    Control<QLineEdit>(*window, "LEPoint")->setText(PathOf(QStringLiteral("demo.cor")));
    Control<QLineEdit>(*window, "LEMes")->setText(PathOf(QStringLiteral("demo.obs")));
    Control<QPushButton>(*window, "BBCalcul")->click();
    ASSERT_FALSE(hooks_.messages.empty());
    EXPECT_TRUE(
        hooks_.messages.back().text.startsWith(QStringLiteral("Nombre maximum de points atteint")));
    EXPECT_EQ(hooks_.endings, std::vector<int>({3}));
}

#ifndef _WIN32
// A run that fills the disk: the failure is shown with the system's text in
// French, converted once; "Terminer" then keeps the previous results, says
// why, and the window closes all the same.
TEST_F(MainWindowTest, AfterAFailedRunTerminerKeepsThePreviousResultsAndCloses) {
    if (!QFile::exists(QStringLiteral("/dev/full"))) {
        GTEST_SKIP() << "no /dev/full";
    }
    WriteWorkSite(QStringLiteral("demo.bvk"));
    WriteFile(QStringLiteral("demo.new"), "ancien\r\n");
    hooks_.fileAnswers = {PathOf(QStringLiteral("demo.bvk"))};
    auto window = NewWindow();
    MenuItem(*window, "OuvrirChantier1")->trigger();
    Control<QPushButton>(*window, "BBCalcul")->click();
    ASSERT_TRUE(hooks_.messages.empty()) << hooks_.messages.front().text.toStdString();
    window->State().ListingFile.Create("/dev/full");  // every write: disk full
    Control<QComboBox>(*window, "CBDepart")->setCurrentIndex(0);
    ASSERT_EQ(hooks_.messages.size(), 1U);
    EXPECT_TRUE(hooks_.messages[0].failure);
    EXPECT_EQ(hooks_.messages[0].text,
              QStringLiteral("Erreur d'écriture dans le fichier /dev/full (Plus de place sur le "
                             "disque)"));

    window->show();
    Control<QPushButton>(*window, "BBFini")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(ReadFile(QStringLiteral("demo.new")), QByteArray("ancien\r\n"));
    ASSERT_EQ(hooks_.messages.size(), 2U);
    EXPECT_FALSE(hooks_.messages[1].failure);
    EXPECT_TRUE(
        hooks_.messages[1].text.contains(QStringLiteral("n'est pas écrit : le calcul a été "
                                                        "interrompu par une erreur")))
        << hooks_.messages[1].text.toStdString();
}
#endif

}  // namespace
}  // namespace calctopo
