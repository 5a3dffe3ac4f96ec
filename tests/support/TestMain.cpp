#include <gtest/gtest.h>
#include <QApplication>

// Every test binary runs with a Qt application on the offscreen platform, so widgets, timers
// and images behave as in the real program without a display.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
