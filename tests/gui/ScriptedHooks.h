// Modal dialogs for the tests: file dialogs answer from a script, message
// boxes are recorded, the parameters dialog runs a test's function.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "shell/gui/ModalHooks.h"
#include "shell/gui/Parametre.h"

namespace calctopo::testing {

class ScriptedHooks : public ModalHooks {
  public:
    struct Shown {
        QString caption;
        QString text;
        bool failure;
    };

    // The answers of the next file dialogs, in order; none left: cancelled.
    std::deque<QString> fileAnswers;
    std::vector<FileDialogRequest> fileDialogs;
    std::vector<Shown> messages;
    // Plays the user in the parameters dialog; returns true to confirm.
    std::function<bool(TFParametre&)> parameters = [](TFParametre&) { return false; };
    int parameterDialogs = 0;
    std::vector<int> endings;

    QString ChooseFile(QWidget*, const FileDialogRequest& request) override {
        fileDialogs.push_back(request);
        if (fileAnswers.empty()) {
            return {};
        }
        QString answer = fileAnswers.front();
        fileAnswers.pop_front();
        return answer;
    }
    void ShowMessage(QWidget*, const QString& caption, const QString& text, bool failure) override {
        messages.push_back({caption, text, failure});
    }
    bool ExecParameters(TFParametre& dialog) override {
        ++parameterDialogs;
        return parameters(dialog);
    }
    void EndProgram(int status) override { endings.push_back(status); }
};

}  // namespace calctopo::testing
