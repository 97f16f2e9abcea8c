// The main window: the three file fields, "Initialisation", the start-point
// list, the coloured message pane and "Terminer", with the menus "Chantier"
// and "Paramètres", then "Journal", "Résultats" and "Aide". It owns the survey
// model, which holds the survey state, and is the desktop provider of the
// window services. After each action it refreshes the model and every view
// from it. Its status bar tells the work site and the counts of the last load
// and run; its docks list the points a run left and why, the data check, the
// sketch, and the points and observations.
#pragma once

#include <QColor>
#include <QLineEdit>
#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "data/GLOBAL.h"
#include "data/WindowServices.h"
#include "shell/app/Actions.h"
#include "shell/app/SurveyModel.h"
#include "shell/app/WorkSite.h"
#include "shell/gui/ModalHooks.h"

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;

namespace calctopo {

class ControlView;
class FindBar;
class GuideWindow;
class MessagePane;
class PointsLeftDock;
class SketchDock;
class SurveyDock;

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
    // What the views show of the state, as of the last action.
    const SurveyModel& Model() const { return model_; }
    // The dock "Points et observations" (hidden until the user opens it).
    SurveyDock* Survey() const { return survey_; }
    // The "Contrôle" view of the data check.
    ControlView* Controle() const { return Controle_; }
    // The "Croquis" dock beside the pane.
    SketchDock* Sketch() const { return sketch_; }
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
    // "Journal" > "Enregistrer le journal...": the pane's lines as UTF-8 text.
    void EnregistrerJournalClick();
    // "Résultats": the ".new" file and the listing in the desktop's viewer.
    void OuvrirResultatsClick();
    void OuvrirListingClick();
    // "Aide".
    void GuideClick();
    void AProposClick();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void BuildControls();
    void BuildStatusBar();
    void BuildMenus();
    void FormCreate();
    void FormClose();

    // Runs a handler's work, turning the failures that leave the logic into
    // the failure report, or into the end of the program for a table limit.
    void Guarded(const std::function<void()>& action);
    void RefreshResultViews();
    void ShowFields(const FileFields& fields);
    FileFields FieldsShown() const;
    void ReadWorkSite();
    void ShowModalMessage(const std::string& text, bool failure);
    QString ChooseFile(const FileDialogRequest& request);
    QString ChooseWorkSiteToSave();
    void AddRecentItem(const QString& workSite);
    void OpenWithViewer(const std::string& name);

    // The work site as last read or written: what the window shows now differs
    // from it when the caption carries its mark.
    void MarkSaved();
    void UpdateModified();
    void FieldsChanged();
    // Asks whether to write the changed work site before it is left; false
    // when the user stays.
    bool ConfirmLeavingWorkSite();
    bool WriteWorkSiteShown();

    void ShowWorkSitePanel();
    void ShowLoadCounts();
    void ShowRunCounts();

    // The model owns the state; state_ names it for the handlers (declared
    // after the model, so bound once the model exists).
    SurveyModel model_;
    SurveyState& state_ = model_.State();
    RunOptions runOptions_;
    std::unique_ptr<ModalHooks> ownHooks_;
    ModalHooks* hooks_;

    ClickableLineEdit* LEPoint_ = nullptr;
    ClickableLineEdit* LEMes_ = nullptr;
    ClickableLineEdit* LELis_ = nullptr;
    QPushButton* BBCalcul_ = nullptr;
    QLabel* LDepart_ = nullptr;
    QComboBox* CBDepart_ = nullptr;
    MessagePane* Memo_ = nullptr;
    FindBar* findBar_ = nullptr;
    QPushButton* BBFini_ = nullptr;
    QMenu* F1_ = nullptr;
    ControlView* Controle_ = nullptr;
    QAction* recentItem_ = nullptr;
    PointsLeftDock* pointsLeft_ = nullptr;
    QLabel* workSitePanel_ = nullptr;
    QLabel* loadPanel_ = nullptr;
    QLabel* runPanel_ = nullptr;
    QPointer<GuideWindow> guide_;
    SketchDock* sketch_ = nullptr;
    SurveyDock* survey_ = nullptr;

    QColor lastColour_ = Qt::black;
    ComputationParameters savedParameters_;
    FileFields savedFields_;
    // Where the file dialogs open: the work site's folder once one is opened,
    // until "Initialisation" makes the coordinates' folder current.
    QString dialogFolder_;
    bool resultsPending_ = false;  // a run since the last load, no ".new" written yet
    bool quitting_ = false;        // "Terminer" has written the results: close at once
    bool closed_ = false;
    bool ended_ = false;
};

}  // namespace calctopo
