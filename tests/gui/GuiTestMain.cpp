// Entry of the window tests: an offscreen application whose settings store
// lives in a temporary folder, with '.' as the decimal separator as in the
// program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLocale>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <clocale>

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QTemporaryDir settingsFolder;
    qputenv("XDG_CONFIG_HOME", settingsFolder.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);

    QApplication application(argc, argv);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsFolder.path());
#ifdef Q_OS_WIN
    // On Windows the native format is the registry, which setPath does not
    // move: the tests would overwrite the surveyor's own remembered work site
    // under HKEY_CURRENT_USER\Software\Ostrel\Belvik. They use the
    // temporary INI files instead.
    QSettings::setDefaultFormat(QSettings::IniFormat);
#endif
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());

    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
