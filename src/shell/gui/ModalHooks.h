// Everything the windows show modally, behind one interface: the file
// dialogs, the message boxes and questions, the parameters dialog, the
// desktop's viewer for a file, and the end of the program after a table limit.
// The program uses the desktop versions (NativeHooks); tests give scripted
// answers so that nothing ever waits for a user or starts another program.
#pragma once

#include <QString>

class QUrl;
class QWidget;

namespace calctopo {

class TFParametre;

// One file dialog of the windows.
struct FileDialogRequest {
    enum class Mode { Open, Save };
    QString name;  // ODPoint, ODMes, SDLis, ODChantier, SDChantier
    Mode mode = Mode::Open;
    QString caption;  // empty: the platform's caption
    QString filter;   // "Coordonnées (*.cor)"
    QString defaultSuffix;
    bool confirmOverwrite = true;  // save dialogs only
    QString directory;             // where the dialog opens
};

// A question with three answers: do the first thing, go on without it, or
// stay where one was.
struct Question {
    QString name;    // what is asked: "ChantierModifie", "ResultatsNonEcrits"
    QString text;    // the question itself
    QString detail;  // what follows from each answer
    QString accept;  // the button that does the thing: "Enregistrer"
    QString reject;  // the button that goes on without it: "Ne pas enregistrer"
};

enum class Answer { Accept, Reject, Cancel };

class ModalHooks {
  public:
    virtual ~ModalHooks() = default;

    // Shows a file dialog; returns the chosen full name, empty when cancelled.
    virtual QString ChooseFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // A modal message box; failure marks the report of a failure that ended an action.
    virtual void ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                             bool failure) = 0;
    // Asks a question modally; closing the box answers Cancel.
    virtual Answer Ask(QWidget* parent, const QString& caption, const Question& question) = 0;
    // Shows the parameters dialog modally; true when it was confirmed.
    virtual bool ExecParameters(TFParametre& dialog) = 0;
    // Opens a file or a page with the desktop's viewer; false when none could.
    virtual bool OpenUrl(const QUrl& url) = 0;
    // Ends the program at once (after a table limit was reported).
    virtual void EndProgram(int status) = 0;
};

// The real dialogs.
class NativeHooks : public ModalHooks {
  public:
    QString ChooseFile(QWidget* parent, const FileDialogRequest& request) override;
    void ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                     bool failure) override;
    Answer Ask(QWidget* parent, const QString& caption, const Question& question) override;
    bool ExecParameters(TFParametre& dialog) override;
    bool OpenUrl(const QUrl& url) override;
    void EndProgram(int status) override;
};

}  // namespace calctopo
