// Modal dialogs for the tests: file dialogs and questions answer from a
// script, message boxes and opened files are recorded, the parameters dialog
// runs a test's function.
#pragma once

#include <QString>
#include <QUrl>
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
    // The answers of the next questions, in order; none left: Reject, which
    // goes on as the window did before it asked anything.
    std::deque<Answer> answers;
    std::vector<Question> questions;
    // What the desktop viewer was asked to open; openResult: whether it could.
    std::vector<QUrl> opened;
    bool openResult = true;

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
    Answer Ask(QWidget*, const QString&, const Question& question) override {
        questions.push_back(question);
        if (answers.empty()) {
            return Answer::Reject;
        }
        const Answer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool OpenUrl(const QUrl& url) override {
        opened.push_back(url);
        return openResult;
    }
    bool ExecParameters(TFParametre& dialog) override {
        ++parameterDialogs;
        return parameters(dialog);
    }
    void EndProgram(int status) override { endings.push_back(status); }
};

}  // namespace calctopo::testing
