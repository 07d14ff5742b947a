#include <QApplication>

#include <gtest/gtest.h>

// The viewers need a QApplication; their map window is a web view, which wants shared GL
// contexts set first.
int main(int argc, char** argv)
{
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
