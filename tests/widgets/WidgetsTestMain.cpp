#include <QApplication>

#include <gtest/gtest.h>

// Widget tests need a QApplication.
int main(int argc, char** argv)
{
    // Offscreen also when the test list is read at build time, where no display exists.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
