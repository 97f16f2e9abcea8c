#include "shell/gui/MessagePane.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSaveFile>
#include <QScrollBar>
#include <QStyle>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QToolButton>
#include <memory>

namespace calctopo {

MessagePane::MessagePane(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("Memo"));
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    cursor_ = QTextCursor(document());
}

void MessagePane::AppendLine(const QString& text, const QColor& colour) {
    if (batchDepth_ == 0) {
        KeepSelectionBegin();
    }
    cursor_.movePosition(QTextCursor::End);
    if (!empty_) {
        cursor_.insertBlock();
    }
    QTextCharFormat format;
    format.setForeground(colour);
    cursor_.insertText(text, format);
    empty_ = false;
    if (batchDepth_ == 0) {
        KeepSelectionEnd();
        ScrollToEnd();
    }
}

void MessagePane::BeginBatch() {
    if (batchDepth_++ == 0) {
        KeepSelectionBegin();
        cursor_.beginEditBlock();
    }
}

void MessagePane::EndBatch() {
    if (--batchDepth_ == 0) {
        cursor_.endEditBlock();
        KeepSelectionEnd();
        ScrollToEnd();
    }
}

void MessagePane::ShowAsItStands() {
    if (batchDepth_ == 0) {
        return;
    }
    cursor_.endEditBlock();
    KeepSelectionEnd();
    ScrollToEnd();
    KeepSelectionBegin();
    cursor_.beginEditBlock();
}

void MessagePane::ScrollToEnd() {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->maximum());
}

void MessagePane::KeepSelectionBegin() {
    const QTextCursor view = textCursor();
    keptSelection_ = view.hasSelection();
    keptAnchor_ = view.anchor();
    keptPosition_ = view.position();
}

// Text is only ever added after the end, so the positions kept still name the
// same characters.
void MessagePane::KeepSelectionEnd() {
    if (!keptSelection_) {
        return;
    }
    QTextCursor view = textCursor();
    if (view.anchor() == keptAnchor_ && view.position() == keptPosition_) {
        return;
    }
    view.setPosition(keptAnchor_);
    view.setPosition(keptPosition_, QTextCursor::KeepAnchor);
    setTextCursor(view);
}

bool MessagePane::Find(const QString& text, bool backward) {
    if (text.isEmpty()) {
        return false;
    }
    const QTextDocument::FindFlags flags =
        backward ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (find(text, flags)) {
        return true;
    }
    // Round the end once: from the other end of the pane.
    const QTextCursor before = textCursor();
    QTextCursor start(document());
    start.movePosition(backward ? QTextCursor::End : QTextCursor::Start);
    setTextCursor(start);
    if (find(text, flags)) {
        return true;
    }
    setTextCursor(before);
    return false;
}

QString MessagePane::SaveAsUtf8(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return file.errorString();
    }
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (empty_) {
            break;
        }
        file.write(block.text().toUtf8());
        file.write("\r\n");
    }
    if (!file.commit()) {
        return file.errorString();
    }
    return {};
}

void MessagePane::resizeEvent(QResizeEvent* event) {
    const QScrollBar* bar = verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    QPlainTextEdit::resizeEvent(event);
    if (atEnd) {
        ScrollToEnd();
    }
}

void MessagePane::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (!extraActions_.isEmpty()) {
        menu->addSeparator();
        menu->addActions(extraActions_);
    }
    menu->exec(event->globalPos());
}

FindBar::FindBar(MessagePane* pane, QWidget* parent) : QWidget(parent), pane_(pane) {
    setObjectName(QStringLiteral("BarreRecherche"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    field_ = new QLineEdit(this);
    field_->setObjectName(QStringLiteral("LERecherche"));
    field_->setPlaceholderText(QStringLiteral("Rechercher dans les messages"));
    field_->setClearButtonEnabled(true);
    field_->installEventFilter(this);
    auto* previous = new QToolButton(this);
    previous->setObjectName(QStringLiteral("BRecherchePrecedent"));
    previous->setArrowType(Qt::UpArrow);
    previous->setToolTip(QStringLiteral("Précédent (Maj+Entrée)"));
    auto* next = new QToolButton(this);
    next->setObjectName(QStringLiteral("BRechercheSuivant"));
    next->setArrowType(Qt::DownArrow);
    next->setToolTip(QStringLiteral("Suivant (Entrée)"));
    auto* close = new QToolButton(this);
    close->setObjectName(QStringLiteral("BRechercheFermer"));
    close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    close->setToolTip(QStringLiteral("Fermer (Échap)"));
    row->addWidget(field_, 1);
    row->addWidget(previous);
    row->addWidget(next);
    row->addWidget(close);
    connect(previous, &QToolButton::clicked, this, [this] { Search(true); });
    connect(next, &QToolButton::clicked, this, [this] { Search(false); });
    connect(close, &QToolButton::clicked, this, &FindBar::Close);
    hide();
}

void FindBar::Open() {
    show();
    field_->setFocus(Qt::ShortcutFocusReason);
    field_->selectAll();
}

void FindBar::Close() {
    hide();
    pane_->setFocus();
}

void FindBar::Search(bool backward) {
    const QString text = field_->text();
    if (!text.isEmpty() && !pane_->Find(text, backward)) {
        emit notFound(text);
    }
}

bool FindBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == field_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            Search(key->modifiers().testFlag(Qt::ShiftModifier));
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            Close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace calctopo
