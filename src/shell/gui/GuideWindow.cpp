#include "shell/gui/GuideWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include "shell/gui/ModalHooks.h"

namespace calctopo {

GuideWindow::GuideWindow(const QString& guidePath, ModalHooks* hooks, QWidget* parent)
    : QWidget(parent, Qt::Window), hooks_(hooks) {
    setObjectName(QStringLiteral("FGuide"));
    setWindowTitle(QStringLiteral("calctopo — guide de l'utilisateur"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("GuideTexte"));
    // Every link goes through FollowLink: the sections inside the page, the
    // rest to the desktop.
    browser_->setOpenLinks(false);
    browser_->setSource(QUrl::fromLocalFile(guidePath), QTextDocument::MarkdownResource);
    layout->addWidget(browser_);
    connect(browser_, &QTextBrowser::anchorClicked, this, &GuideWindow::FollowLink);
    resize(780, 640);
}

QString GuideWindow::FindUserGuide() {
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral(CALCTOPO_GUIDE_FROM_PROGRAM));
    for (const QString& candidate : {installed, QStringLiteral(CALCTOPO_GUIDE_IN_SOURCES)}) {
        if (QFileInfo(candidate).isFile()) {
            return QFileInfo(candidate).canonicalFilePath();
        }
    }
    return {};
}

QString GuideWindow::SectionAnchor(const QString& title) {
    QString anchor;
    for (const QChar c : title.toLower()) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_')) {
            anchor += c;
        } else if (c == QLatin1Char(' ')) {
            anchor += QLatin1Char('-');
        }
    }
    return anchor;
}

bool GuideWindow::GoToSection(const QString& anchor) {
    QTextDocument* document = browser_->document();
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() > 0 && SectionAnchor(block.text()) == anchor) {
            // The title at the top of the view: to the end first, then back.
            QTextCursor cursor(document);
            cursor.movePosition(QTextCursor::End);
            browser_->setTextCursor(cursor);
            cursor.setPosition(block.position());
            browser_->setTextCursor(cursor);
            return true;
        }
    }
    return false;
}

void GuideWindow::FollowLink(const QUrl& url) {
    // A link to a section comes as "#section" or resolved against the guide.
    const QUrl page = url.adjusted(QUrl::RemoveFragment);
    const bool inThisPage =
        url.hasFragment() &&
        (page.isEmpty() || page == browser_->source().adjusted(QUrl::RemoveFragment));
    if (inThisPage && GoToSection(url.fragment(QUrl::FullyDecoded))) {
        return;
    }
    hooks_->OpenUrl(browser_->source().resolved(url));
}

}  // namespace calctopo
