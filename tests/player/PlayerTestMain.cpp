#include <QApplication>

#include <gtest/gtest.h>

// Real video needs a display: X11 under xvfb-run (libVLC draws into native windows), or,
// where there is none, the offscreen platform (the player renders into memory).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
