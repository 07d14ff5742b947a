#include <QApplication>

#include <gtest/gtest.h>

// Window tests need a QApplication; dialogs are Qt's own so a test can drive them.
int main(int argc, char** argv)
{
    // Offscreen also when the test list is read at build time, where no display exists.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    // The window's map pane is a web view.
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
