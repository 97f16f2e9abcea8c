// The user guide's window: found from the build tree, laid out from its
// Markdown, its section links followed inside, the others handed out.
#include "shell/gui/GuideWindow.h"

#include <gtest/gtest.h>

#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QUrl>

#include "QStringPrinter.h"
#include "ScriptedHooks.h"

namespace calctopo {
namespace {

// The anchors the guide's table of contents uses.
TEST(GuideWindow, SectionAnchorsAreThoseOfTheContents) {
    EXPECT_EQ(GuideWindow::SectionAnchor(QStringLiteral("1. Travailler avec la fenêtre")),
              QStringLiteral("1-travailler-avec-la-fenêtre"));
    EXPECT_EQ(GuideWindow::SectionAnchor(QStringLiteral("4. Le fichier d'observations .obs")),
              QStringLiteral("4-le-fichier-dobservations-obs"));
    EXPECT_EQ(GuideWindow::SectionAnchor(QStringLiteral("11. La commande calctopo-batch")),
              QStringLiteral("11-la-commande-calctopo-batch"));
}

TEST(GuideWindow, ShowsTheGuideAndFollowsItsLinks) {
    const QString path = GuideWindow::FindUserGuide();
    ASSERT_FALSE(path.isEmpty());
    testing::ScriptedHooks hooks;
    GuideWindow window(path, &hooks);
    auto* text = window.findChild<QTextBrowser*>(QStringLiteral("GuideTexte"));
    ASSERT_NE(text, nullptr);
    // Laid out, not raw Markdown.
    EXPECT_TRUE(text->toPlainText().startsWith(QStringLiteral("calctopo — guide")));
    EXPECT_FALSE(text->toPlainText().contains(QStringLiteral("## ")));

    // Every section the contents name is found.
    ASSERT_TRUE(window.GoToSection(QStringLiteral("6-le-chantier-bvk")));
    EXPECT_TRUE(text->textCursor().block().text().startsWith(QStringLiteral("6. Le chantier")));
    EXPECT_FALSE(window.GoToSection(QStringLiteral("pas-de-section")));
    emit text->anchorClicked(QUrl(QStringLiteral("#9-le-listing-vek")));
    EXPECT_TRUE(text->textCursor().block().text().startsWith(QStringLiteral("9. Le listing")));
    // The same link resolved against the guide, and a section with accents.
    QUrl resolved = QUrl::fromLocalFile(path);
    resolved.setFragment(QStringLiteral("7-comment-les-points-sont-déterminés"));
    emit text->anchorClicked(resolved);
    EXPECT_TRUE(text->textCursor().block().text().startsWith(QStringLiteral("7. Comment")));
    EXPECT_TRUE(hooks.opened.empty());
    // A link out of the guide goes to the desktop, resolved against it.
    emit text->anchorClicked(QUrl(QStringLiteral("architecture.md")));
    ASSERT_EQ(hooks.opened.size(), 1U);
    EXPECT_EQ(hooks.opened[0], QUrl::fromLocalFile(path).resolved(QUrl("architecture.md")));
}

}  // namespace
}  // namespace calctopo
