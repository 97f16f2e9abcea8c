// The main window: the three file fields, "Initialisation", the start-point
// list, the coloured message pane and "Terminer", with the menus "Chantier"
// and "Paramètres". It owns the survey state and is the desktop provider of
// the window services.
#pragma once

#include <QColor>
#include <QLineEdit>
#include <QMainWindow>
#include <QString>
#include <QTextCursor>
#include <functional>
#include <memory>
#include <string>

#include "data/GLOBAL.h"
#include "data/WindowServices.h"
#include "shell/app/Actions.h"
#include "shell/app/WorkSite.h"
#include "shell/gui/ModalHooks.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace calctopo {

// A line edit that reports a mouse click, so that clicking a file field opens
// its file dialog.
class ClickableLineEdit : public QLineEdit {
    Q_OBJECT
  public:
    using QLineEdit::QLineEdit;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class TFInitial : public QMainWindow, public WindowServices {
    Q_OBJECT
  public:
    // hooks: the modal dialogs to use; null for the desktop ones. The window
    // does not take ownership of hooks. The constructor runs FormCreate.
    explicit TFInitial(ModalHooks* hooks = nullptr, QWidget* parent = nullptr);
    ~TFInitial() override;

    SurveyState& State() { return state_; }
    // The options of the next determination runs ("Calcul étendu").
    const RunOptions& Options() const { return runOptions_; }

    // Window services.
    void Affiche(const std::string& text, MessageKind kind) override;
    void AppendPlain(const std::string& text) override;
    void AddStartPoint(const std::string& name) override;
    void ClearStartPoints() override;
    std::string StartPointText() override;
    void EnableStartPoint() override;
    void MessageBox(const std::string& text) override;
    void ReportFailure(const std::string& message) override;
    void StandardOutput(const std::string& line) override;

  public slots:
    void LEPointClick();
    void LEMesClick();
    void LELisClick();
    void BBCalculClick();
    void CBDepartChange(const QString& text);
    void Quitter1Click();
    void Nouveau1Click();
    void OuvrirChantier1Click();
    void FMenuClick();
    // Returns false when a field of the dialog was not a number.
    bool Paramtres1Click();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void BuildMenus();
    void FormCreate();
    void FormClose();

    // Runs a handler's work, turning the failures that leave the logic into
    // the failure report, or into the end of the program for a table limit.
    void Guarded(const std::function<void()>& action);
    void ShowFields(const FileFields& fields);
    FileFields FieldsShown() const;
    void AppendLine(const QString& text, const QColor& colour);
    void ScrollPaneToEnd();
    void BeginPaneBatch();
    void EndPaneBatch();
    void ShowModalMessage(const std::string& text, bool failure);
    QString ChooseFile(const FileDialogRequest& request);
    void AddRecentItem(const QString& workSite);

    SurveyState state_;
    RunOptions runOptions_;
    std::unique_ptr<ModalHooks> ownHooks_;
    ModalHooks* hooks_;

    ClickableLineEdit* LEPoint_ = nullptr;
    ClickableLineEdit* LEMes_ = nullptr;
    ClickableLineEdit* LELis_ = nullptr;
    QPushButton* BBCalcul_ = nullptr;
    QLabel* LDepart_ = nullptr;
    QComboBox* CBDepart_ = nullptr;
    QPlainTextEdit* Memo_ = nullptr;
    QPushButton* BBFini_ = nullptr;
    QMenu* F1_ = nullptr;
    QAction* recentItem_ = nullptr;

    QTextCursor paneCursor_;
    int paneBatchDepth_ = 0;
    QColor lastColour_ = Qt::black;
    bool memoEmpty_ = true;
    bool closed_ = false;
    bool ended_ = false;
};

}  // namespace calctopo
