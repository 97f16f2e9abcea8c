// Everything the windows show modally, behind one interface: the file
// dialogs, the message boxes, the parameters dialog, and the end of the program
// after a table limit. The program uses the desktop versions (NativeHooks);
// tests give scripted answers so that nothing ever waits for a user.
#pragma once

#include <QString>

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

class ModalHooks {
  public:
    virtual ~ModalHooks() = default;

    // Shows a file dialog; returns the chosen full name, empty when cancelled.
    virtual QString ChooseFile(QWidget* parent, const FileDialogRequest& request) = 0;
    // A modal message box; failure marks the report of a failure that ended an action.
    virtual void ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                             bool failure) = 0;
    // Shows the parameters dialog modally; true when it was confirmed.
    virtual bool ExecParameters(TFParametre& dialog) = 0;
    // Ends the program at once (after a table limit was reported).
    virtual void EndProgram(int status) = 0;
};

// The real dialogs.
class NativeHooks : public ModalHooks {
  public:
    QString ChooseFile(QWidget* parent, const FileDialogRequest& request) override;
    void ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                     bool failure) override;
    bool ExecParameters(TFParametre& dialog) override;
    void EndProgram(int status) override;
};

}  // namespace calctopo
