// The main window driven as a user would: its controls, the message pane, the
// start-point list, the work-site menus, the remembered work site and the
// whole road from opening a work site to the ".new" file.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextStream>
#include <memory>

#include "ScriptedHooks.h"
#include "data/TextNumbers.h"
#include "shell/gui/DialogueInitial.h"

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
        const QByteArray content =
            "1\r\n1\r\n3\r\n 4.50000000000000E+0001\r\n"
            " 1.20000000000000E-0001\r\n" +
            CoreName(PathOf(QStringLiteral("demo.cor"))) + "\r\n" +
            CoreName(PathOf(QStringLiteral("demo.obs"))) + "\r\n" +
            CoreName(PathOf(QStringLiteral("demo.vek"))) + "\r\n";
        WriteFile(name, content);
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
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Calcul topographique approché"));
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

    // Menus: "Chantier" with its three items, then "Paramètres" at the top level.
    QStringList top;
    for (QAction* item : window->menuBar()->actions()) {
        top << item->text();
    }
    EXPECT_EQ(top, QStringList({QStringLiteral("Chantier"), QStringLiteral("Paramètres")}));
    QStringList chantier;
    for (QAction* item : Control<QMenu>(*window, "F1")->actions()) {
        chantier << item->text();
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
    EXPECT_EQ(hooks_.fileDialogs[0].filter, QStringLiteral("Coordonnées (*.cor)"));
    EXPECT_EQ(hooks_.fileDialogs[0].mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(hooks_.fileDialogs[1].filter, QStringLiteral("Observations (*.obs)"));
    EXPECT_EQ(hooks_.fileDialogs[2].filter, QStringLiteral("résultats approchés (*.vek)"));
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
    EXPECT_EQ(hooks_.fileDialogs[0].filter, QStringLiteral("Chantier Belvik (*.bvk)"));
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
    window->close();
    EXPECT_FALSE(QFile::exists(PathOf(QStringLiteral("demo.new"))));
    EXPECT_EQ(window->State().PointCount(), 0);
    EXPECT_FALSE(window->State().ListingFile.IsOpen());
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

}  // namespace
}  // namespace calctopo
