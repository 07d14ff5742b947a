#include <QCoreApplication>

#include <gtest/gtest.h>

// A test main with an application object, so tests can run event loops (background scans
// report through queued calls). GUI test programs use their own main with a QApplication.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
