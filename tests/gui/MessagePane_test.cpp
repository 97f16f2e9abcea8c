// The message pane on its own: the user's selection against lines appended
// later, the search, and the journal written as UTF-8 text.
#include "shell/gui/MessagePane.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>

#include "QStringPrinter.h"

namespace calctopo {
namespace {

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 128, 0);

// After "Tout sélectionner", lines appended later are not selected: their
// colours stay in sight. What was selected stays selected.
TEST(MessagePane, LinesAppendedLaterAreNeverSelected) {
    MessagePane pane;
    pane.AppendLine(QStringLiteral("première"), kRed);
    pane.AppendLine(QStringLiteral("deuxième"), kGreen);
    pane.selectAll();
    const int selectedEnd = pane.textCursor().selectionEnd();

    pane.AppendLine(QStringLiteral("troisième, seule"), kGreen);
    EXPECT_EQ(pane.textCursor().selectionStart(), 0);
    EXPECT_EQ(pane.textCursor().selectionEnd(), selectedEnd);
    // The same within an action, whose lines are laid out at its end.
    pane.BeginBatch();
    pane.AppendLine(QStringLiteral("quatrième"), kRed);
    pane.ShowAsItStands();  // a message box in the middle of the action
    pane.AppendLine(QStringLiteral("cinquième"), kRed);
    pane.EndBatch();
    EXPECT_EQ(pane.textCursor().selectionEnd(), selectedEnd);
    EXPECT_EQ(pane.textCursor().selectedText(),
              QStringLiteral("première\u2029deuxième"));  // the paragraph separator Qt uses
    EXPECT_EQ(pane.document()->blockCount(), 5);
    EXPECT_EQ(pane.document()->lastBlock().begin().fragment().charFormat().foreground().color(),
              kRed);

    // Without a selection nothing is kept or restored.
    QTextCursor none = pane.textCursor();
    none.clearSelection();
    pane.setTextCursor(none);
    pane.AppendLine(QStringLiteral("sixième"), kGreen);
    EXPECT_FALSE(pane.textCursor().hasSelection());
}

TEST(MessagePane, FindGoesRoundTheEndOnce) {
    MessagePane pane;
    for (const char* line :
         {"Point :        P calculé", "Point :        Q non calculé", "Point :        R calculé"}) {
        pane.AppendLine(QString::fromUtf8(line), kGreen);
    }
    QTextCursor start(pane.document());
    pane.setTextCursor(start);
    ASSERT_TRUE(pane.Find(QStringLiteral("calculé"), false));
    EXPECT_EQ(pane.textCursor().block().blockNumber(), 0);
    ASSERT_TRUE(pane.Find(QStringLiteral("calculé"), false));
    EXPECT_EQ(pane.textCursor().block().blockNumber(), 1);
    ASSERT_TRUE(pane.Find(QStringLiteral("calculé"), false));
    ASSERT_TRUE(pane.Find(QStringLiteral("calculé"), false));  // round the end
    EXPECT_EQ(pane.textCursor().block().blockNumber(), 0);
    ASSERT_TRUE(pane.Find(QStringLiteral("calculé"), true));  // back round the start
    EXPECT_EQ(pane.textCursor().block().blockNumber(), 2);
    // Not there: the selection stays where it was.
    EXPECT_FALSE(pane.Find(QStringLiteral("rayonné"), false));
    EXPECT_EQ(pane.textCursor().block().blockNumber(), 2);
    EXPECT_FALSE(pane.Find(QString(), false));
}

TEST(MessagePane, TheFindBarSearchesOnEnterAndClosesOnEscape) {
    MessagePane pane;
    pane.AppendLine(QStringLiteral("Nombre de zénithales    :      1"), kGreen);
    FindBar bar(&pane);
    QSignalSpy notFound(&bar, &FindBar::notFound);
    bar.Open();
    EXPECT_TRUE(bar.isVisible());
    auto* field = bar.findChild<QLineEdit*>(QStringLiteral("LERecherche"));
    ASSERT_NE(field, nullptr);
    field->setText(QStringLiteral("zénith"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(pane.textCursor().selectedText(), QStringLiteral("zénith"));
    EXPECT_EQ(notFound.count(), 0);
    field->setText(QStringLiteral("azimut"));
    QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);
    ASSERT_EQ(notFound.count(), 1);
    EXPECT_EQ(notFound[0][0].toString(), QStringLiteral("azimut"));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_FALSE(bar.isVisible());
}

TEST(MessagePane, SavesEveryLineAsUtf8) {
    QTemporaryDir folder;
    MessagePane pane;
    const QString path = folder.filePath(QStringLiteral("journal.txt"));
    // An empty pane gives an empty file.
    EXPECT_TRUE(pane.SaveAsUtf8(path).isEmpty());
    QFile empty(path);
    ASSERT_TRUE(empty.open(QIODevice::ReadOnly));
    EXPECT_TRUE(empty.readAll().isEmpty());
    empty.close();

    pane.AppendLine(QStringLiteral("  Point :        é calculé  "), kGreen);
    pane.AppendLine(QString(), kRed);
    pane.AppendLine(QStringLiteral("fin"), kRed);
    EXPECT_TRUE(pane.SaveAsUtf8(path).isEmpty());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              QByteArray("  Point :        \xC3\xA9 calcul\xC3\xA9  \r\n\r\nfin\r\n"));

    // A folder that is not there: the system's reason, no file.
    EXPECT_FALSE(pane.SaveAsUtf8(folder.filePath(QStringLiteral("absent/j.txt"))).isEmpty());
}

// A run on a network of thousands of points writes a line per point placed,
// levelled and computed: tens of thousands of lines in one action. Laid out
// together when the action ends, 20 000 of them take well under a second, so
// the window answers as soon as the computation is done (measured about
// 200 ms in a debug build on a busy two-core machine).
constexpr qint64 kTwentyThousandLinesMilliseconds = 1000;

TEST(MessagePane, TwentyThousandLinesOfOneActionAppearInUnderASecond) {
    MessagePane pane;
    pane.resize(700, 400);
    pane.show();
    QElapsedTimer timer;
    timer.start();
    pane.BeginBatch();
    for (int line = 0; line < 20000; ++line) {
        pane.AppendLine(QStringLiteral("Point : %1 calculé").arg(line, 8),
                        line % 3 ? kGreen : kRed);
    }
    pane.EndBatch();
    QApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    EXPECT_LT(elapsed, kTwentyThousandLinesMilliseconds) << elapsed << " ms";
    EXPECT_EQ(pane.document()->blockCount(), 20000);
    EXPECT_EQ(pane.verticalScrollBar()->value(), pane.verticalScrollBar()->maximum());
}

}  // namespace
}  // namespace calctopo
