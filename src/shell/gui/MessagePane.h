// The message pane `Memo`: coloured lines appended in order and never
// cleared, with its find bar. The pane keeps the user's selection where the
// user put it while lines are appended, can be searched, copied and saved as
// UTF-8 text.
#pragma once

#include <QColor>
#include <QList>
#include <QPlainTextEdit>
#include <QString>
#include <QTextCursor>
#include <QWidget>

class QAction;
class QLineEdit;

namespace calctopo {

class MessagePane : public QPlainTextEdit {
    Q_OBJECT
  public:
    explicit MessagePane(QWidget* parent = nullptr);

    // Appends text as the new last line, in colour.
    void AppendLine(const QString& text, const QColor& colour);

    // The lines of one action are laid out together when it ends, which keeps
    // a load or a run of tens of thousands of lines quick; batches nest.
    void BeginBatch();
    void EndBatch();
    // Lays out and shows the lines appended so far, for a modal box in the
    // middle of an action; the batch goes on afterwards.
    void ShowAsItStands();

    // Looks for text from the selection on (or back from it), going round the
    // end once; selects what it found. False when the pane does not hold it.
    bool Find(const QString& text, bool backward);

    // Writes every line to the file, UTF-8, lines ended by CR LF. Returns the
    // system's reason when that failed, empty on success.
    QString SaveAsUtf8(const QString& path) const;

    // Actions added below the standard ones of the pane's context menu.
    void SetExtraContextActions(const QList<QAction*>& actions) { extraActions_ = actions; }

  protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    // A view that showed the newest line still shows it when the pane
    // shrinks (a dock opening below it).
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ScrollToEnd();
    void KeepSelectionBegin();
    void KeepSelectionEnd();

    QTextCursor cursor_;  // where lines are appended, apart from the user's
    int batchDepth_ = 0;
    bool empty_ = true;
    // The user's selection while lines are appended: a selection that reached
    // the end would otherwise grow over every new line and hide its colour.
    int keptAnchor_ = 0;
    int keptPosition_ = 0;
    bool keptSelection_ = false;
    QList<QAction*> extraActions_;
};

// The bar under the pane that "Rechercher" (Ctrl+F) shows: Enter finds the
// next occurrence, Maj+Entrée the one before, Échap closes the bar.
class FindBar : public QWidget {
    Q_OBJECT
  public:
    FindBar(MessagePane* pane, QWidget* parent = nullptr);

    // Shows the bar with the focus in its field, its text selected.
    void Open();

  signals:
    // Tells what a search found nothing for (the window says it in its status bar).
    void notFound(const QString& text);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Close();
    void Search(bool backward);

    MessagePane* pane_;
    QLineEdit* field_;
};

}  // namespace calctopo
