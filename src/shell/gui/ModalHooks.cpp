#include "shell/gui/ModalHooks.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QUrl>
#include <cstdlib>

#include "shell/gui/Parametre.h"

namespace calctopo {

QString NativeHooks::ChooseFile(QWidget* parent, const FileDialogRequest& request) {
    QFileDialog dialog(parent, request.caption, request.directory, request.filter);
    dialog.setObjectName(request.name);
    if (request.mode == FileDialogRequest::Mode::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    }
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.first();
}

void NativeHooks::ShowMessage(QWidget* parent, const QString& caption, const QString& text,
                              bool failure) {
    QMessageBox box(failure ? QMessageBox::Critical : QMessageBox::NoIcon, caption, text,
                    QMessageBox::Ok, parent);
    box.exec();
}

Answer NativeHooks::Ask(QWidget* parent, const QString& caption, const Question& question) {
    QMessageBox box(QMessageBox::Question, caption, question.text, QMessageBox::NoButton, parent);
    box.setObjectName(question.name);
    box.setInformativeText(question.detail);
    QPushButton* accept = box.addButton(question.accept, QMessageBox::AcceptRole);
    QPushButton* reject = box.addButton(question.reject, QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(accept);
    box.exec();
    if (box.clickedButton() == accept) {
        return Answer::Accept;
    }
    return box.clickedButton() == reject ? Answer::Reject : Answer::Cancel;
}

bool NativeHooks::ExecParameters(TFParametre& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

bool NativeHooks::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

void NativeHooks::EndProgram(int status) {
    // The program ends here, as after a fatal error: the window's close
    // handling does not run.
    std::exit(status);
}

}  // namespace calctopo
