// GoogleTest main for tests that need Qt: one application object, offscreen unless told
// otherwise. Built twice: with widgets (QApplication) for the window tests, and without
// (QGuiApplication: fonts and images, no widgets) for the core libraries' tests.
#include <gtest/gtest.h>

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
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
