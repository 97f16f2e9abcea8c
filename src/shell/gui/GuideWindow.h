// The user guide in a window of its own: the guide is written in Markdown,
// installed with the program, and laid out here as a page with working links
// to its sections, so it reads well without a browser or any other program.
#pragma once

#include <QString>
#include <QWidget>

class QTextBrowser;
class QUrl;

namespace calctopo {

class ModalHooks;

class GuideWindow : public QWidget {
    Q_OBJECT
  public:
    // hooks: opens the links that lead out of the guide. Not owned.
    GuideWindow(const QString& guidePath, ModalHooks* hooks, QWidget* parent = nullptr);

    // The guide of the program: installed beside it (share/doc/calctopo), or,
    // for a program run from its build tree, in the sources. Empty when none
    // is found.
    static QString FindUserGuide();

    // The anchor a link uses for a section title: letters, digits, blanks,
    // '-' and '_' kept, in lower case, blanks made '-' ("6. Le chantier .bvk"
    // gives "6-le-chantier-bvk").
    static QString SectionAnchor(const QString& title);

    // Scrolls to the section whose anchor this is; false when there is none.
    bool GoToSection(const QString& anchor);

  private:
    void FollowLink(const QUrl& url);

    QTextBrowser* browser_;
    ModalHooks* hooks_;
};

}  // namespace calctopo
