#include "app/CustomWindow.h"
#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/VXLScreen.h"
#include "app/VXLWindowSizeStep.h"

#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(WindowSizeStep, StepsInFifthsOfTheSmallestSizeUpToFullScreenAndBack)
{
    const QRect screen(0, 0, 1440, 900);
    const QPoint origin(210, 142);
    using Step = VXLWindowSizeStep;
    struct Case
    {
        const char* name;
        QSize window;
        bool fullScreen;
        int n;
        Step::Action action;
        QSize size; // for Resize
    };
    const Case cases[] = {
        {"first step up", {1020, 640}, false, 1, Step::Resize, {1224, 768}},
        {"1428 x 896 is higher than the screen less 100",
         {1224, 768},
         false,
         1,
         Step::EnterFullScreen,
         {}},
        {"up in full screen", {1440, 900}, true, 1, Step::Nothing, {}},
        {"down in full screen leaves it without resizing",
         {1440, 900},
         true,
         -1,
         Step::LeaveFullScreen,
         {}},
        {"down at the smallest size", {1020, 640}, false, -1, Step::Resize, {1020, 640}},
        {"reset of a window below the smallest size",
         {900, 700},
         false,
         0,
         Step::Resize,
         {1020, 640}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Step step = Step::compute(screen, QRect(origin, c.window), c.fullScreen, c.n);
        EXPECT_EQ(step.action, c.action);
        if (c.action == Step::Resize) {
            EXPECT_EQ(step.frame, QRect(origin, c.size));
        }
    }
}

TEST(ScreenHelpers, PanelsAreToldByTheAvailableAreaAndDecideWhatFullScreenHides)
{
    const QRect geometry(1920, 0, 1440, 900);
    struct Case
    {
        const char* name;
        QRect available;
        bool menuBar;
        bool dock;
        int hidden;
    };
    const int both = VXLPresentationAutoHideMenuBar | VXLPresentationAutoHideDock;
    const Case cases[] = {
        {"no panels", geometry, false, false, VXLPresentationDefault},
        {"top panel", geometry.adjusted(0, 27, 0, 0), true, false, both},
        {"top and bottom panels", geometry.adjusted(0, 27, 0, -48), true, true, both},
        {"bottom panel", geometry.adjusted(0, 0, 0, -48), false, true, VXLPresentationAutoHideDock},
        {"left panel", geometry.adjusted(64, 0, 0, 0), false, true, VXLPresentationAutoHideDock},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(VXLScreen::hasMenuBar(geometry, c.available), c.menuBar);
        EXPECT_EQ(VXLScreen::hasDock(geometry, c.available), c.dock);
        // Options set by others are kept in both directions.
        const int other = 0x100;
        const int full = VXLScreen::fullscreenPresentationOptions(other, c.menuBar, c.dock);
        EXPECT_EQ(full, other | c.hidden);
        EXPECT_EQ(VXLScreen::nonFullscreenPresentationOptions(full, c.menuBar, c.dock), other);
    }
}

// The offscreen platform's one screen is 800 x 600, without panels.
class FullScreenWindowTest : public testing::Test
{
protected:
    FullScreenWindowTest()
    {
        window()->setInitialFrame(kLaunchFrame);
        window()->setGeometry(kLaunchFrame);
        window()->show();
        window()->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window()));
    }
    CustomWindow* window() const { return delegate.window(); }

    static constexpr QRect kLaunchFrame{30, 20, 1020, 640};
    VXLApplication application;
    VXLAppDelegate& delegate = application.delegate();
};

TEST_F(FullScreenWindowTest, LeavingReturnsToTheLaunchFrameNotToALaterSize)
{
    ASSERT_NE(window()->menuWidget(), nullptr);
    window()->setGeometry(QRect(60, 40, 1224, 768));
    // A step up that does not fit the 800 x 600 screen goes to full screen.
    delegate.setVideoScaleIndex(1);
    ASSERT_TRUE(window()->isFullScreen());
    EXPECT_EQ(window()->geometry(), window()->screen()->geometry());
    EXPECT_FALSE(window()->menuWidget()->isVisibleTo(window()));

    delegate.setVideoScaleIndex(-1);
    EXPECT_FALSE(window()->isFullScreen());
    EXPECT_EQ(window()->geometry(), kLaunchFrame);
    EXPECT_TRUE(window()->menuWidget()->isVisibleTo(window()));
}

TEST_F(FullScreenWindowTest, KeysEnterAndLeaveFullScreenAndEscapeGoesOnOutsideIt)
{
    QTest::keyClick(window(), Qt::Key_F);
    ASSERT_TRUE(window()->isFullScreen());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(window(), &escape);
    EXPECT_TRUE(escape.isAccepted());
    EXPECT_FALSE(window()->isFullScreen());
    EXPECT_EQ(window()->geometry(), kLaunchFrame);

    QKeyEvent again(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(window(), &again);
    EXPECT_FALSE(again.isAccepted()) << "passed on to the normal handling";
}

TEST_F(FullScreenWindowTest, DraggingTheBackgroundMovesTheWindowButNotAboveTheTop)
{
    const QPoint grab(400, 30); // on the head strip, outside every control
    const auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(global - window()->pos()), QPointF(global), Qt::LeftButton,
                          buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(window(), &event);
    };
    const QPoint start = window()->pos() + grab;
    send(QEvent::MouseButtonPress, start, Qt::LeftButton);
    send(QEvent::MouseMove, start + QPoint(15, 25), Qt::LeftButton);
    EXPECT_EQ(window()->pos(), kLaunchFrame.topLeft() + QPoint(15, 25));
    // Far up: the top edge stops at the top of the available area.
    send(QEvent::MouseMove, start + QPoint(-10, -300), Qt::LeftButton);
    EXPECT_EQ(window()->pos(), QPoint(kLaunchFrame.x() - 10,
                                      QGuiApplication::primaryScreen()->availableGeometry().y()));
    send(QEvent::MouseButtonRelease, start, Qt::NoButton);
    const QPoint released = window()->pos();
    send(QEvent::MouseMove, start + QPoint(50, 50), Qt::NoButton);
    EXPECT_EQ(window()->pos(), released);
}

} // namespace
