// calctopo: the desktop program.
#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <clocale>
#include <csignal>

#include "shell/gui/DialogueInitial.h"

int main(int argc, char* argv[]) {
    // Qt takes its own options (platform, display) from the command line; the
    // program itself reads no argument.
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("calctopo"));
    QApplication::setDesktopFileName(QStringLiteral("calctopo"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("calctopo")));

    // '.' is the decimal separator of every number shown or read, whatever the
    // user's regional settings. QApplication has just set the C library's
    // locale from the environment, so this comes after it.
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    // The program speaks French: so do the toolkit's own dialogs and buttons,
    // when their translations are installed.
    QTranslator toolkitTexts;
    if (toolkitTexts.load(QLocale(QLocale::French, QLocale::France), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&toolkitTexts);
    }

#ifdef SIGXFSZ
    // A file grown past the size limit of the session (ulimit -f) must fail
    // its write, which is reported and keeps the previous results, rather
    // than kill the program halfway through a listing.
    std::signal(SIGXFSZ, SIG_IGN);
#endif

    calctopo::TFInitial window;
    window.show();
    return QApplication::exec();
}
