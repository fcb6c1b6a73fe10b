// The main of every test program that needs Qt: a QApplication on the offscreen platform unless
// the environment names another, so the tests run without a display.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Test discovery starts the program without the test's environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QApplication application(argc, argv);
    return RUN_ALL_TESTS();
}
