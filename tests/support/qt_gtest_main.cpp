// GoogleTest main for tests that need Qt: one application object, offscreen unless told
// otherwise. Built twice: with widgets (QApplication) for the window tests, and without
// (QGuiApplication: fonts and images, no widgets) for the core libraries' tests. Settings go
// to a temporary folder of the run's own.
#include <gtest/gtest.h>

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#ifdef TRELLICAP_TEST_WIDGETS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    TestApplication app(argc, argv);
    // The programs keep recent files in the user's settings: a test run keeps its own, in a
    // folder that goes with it, and never touches the user's.
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
