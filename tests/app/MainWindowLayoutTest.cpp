#include "app/VXLMainWindowLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(MainWindowLayout, MinimumFrameIsCentredInTheAvailableArea)
{
    const QRectF frame = minWindowFrame(QRectF(0, 25, 1440, 875));
    EXPECT_EQ(frame, QRectF(210, 142.5, 1020, 640));
    // A screen with a panel on the left and a smaller one.
    EXPECT_EQ(minWindowFrame(QRectF(64, 0, 1856, 1080)), QRectF(482, 220, 1020, 640));
    EXPECT_EQ(minWindowFrame(QRectF(1920, 0, 1280, 800)), QRectF(2050, 80, 1020, 640));
    // A screen smaller than the window: its title bar stays reachable.
    EXPECT_EQ(minWindowFrame(QRectF(0, 27, 1024, 573)), QRectF(2, 27, 1020, 640));
    EXPECT_EQ(minWindowFrame(QRectF(0, 0, 800, 600)), QRectF(0, 0, 1020, 640));
}

TEST(MainWindowLayout, WindowedBoxesKeepTheirFixedNumbers)
{
    struct Case
    {
        QSize content;
        int leftWidth;
        int bodyHeight;
    };
    // Minimum size, a big window, and one smaller than the fixed strips (boxes stay >= 0).
    for (const Case& c :
         {Case{{1020, 640}, 656, 582}, Case{{1600, 1000}, 1236, 942}, Case{{300, 200}, 0, 142}}) {
        SCOPED_TRACE(testing::Message() << c.content.width() << "x" << c.content.height());
        const VXLMainWindowLayout l = VXLMainWindowLayout::compute(c.content, false);
        EXPECT_EQ(l.headBox, QRect(0, 0, c.content.width(), 50));
        EXPECT_EQ(l.bodyBox, QRect(0, 50, c.content.width(), c.content.height() - 50));
        EXPECT_EQ(l.bodyLeftBox, QRect(10, 0, c.leftWidth, c.bodyHeight));
        EXPECT_EQ(l.bodyRightBox, QRect(10 + c.leftWidth + 10, 0, 334, c.bodyHeight));
        // 10 from the right edge, 8 from the bottom.
        if (c.leftWidth > 0) {
            EXPECT_EQ(l.bodyRightBox.right() + 1 + 10, c.content.width());
        }
        EXPECT_EQ(l.bodyBox.height() - l.bodyLeftBox.bottom() - 1, 8);

        // Video, 4, G-sensor 130, 4, controls 72, down to the bottom of the left column.
        EXPECT_EQ(l.gsensorBox.height(), 130);
        EXPECT_EQ(l.mediaControlBox.height(), 72);
        EXPECT_EQ(l.gsensorBox.top() - l.videoBox.bottom() - 1, 4);
        EXPECT_EQ(l.mediaControlBox.top() - l.gsensorBox.bottom() - 1, 4);
        if (c.bodyHeight >= 210) {
            EXPECT_EQ(l.mediaControlBox.bottom() + 1, c.bodyHeight);
            EXPECT_EQ(l.videoBox.height(), c.bodyHeight - 210);
        }

        // Side buttons 32, the list, the rear video 250 at the bottom.
        EXPECT_EQ(l.sideButtonBox, QRect(0, 0, 334, 32));
        EXPECT_EQ(l.subVideoBox.height(), 250);
        EXPECT_EQ(l.mediaListBox.top(), 32);
        if (c.bodyHeight >= 282) {
            EXPECT_EQ(l.subVideoBox.bottom() + 1, c.bodyHeight);
            EXPECT_EQ(l.mediaListBox.bottom() + 1, l.subVideoBox.top());
            EXPECT_EQ(l.mapContainerBottomView, QRect(0, l.mediaListBox.height() - 57, 334, 57));
        }
        EXPECT_TRUE(l.mediaControlBoxForFullScreen.isEmpty());
    }
}

TEST(MainWindowLayout, FullScreenKeepsOnlyVideoAndBar)
{
    const VXLMainWindowLayout l = VXLMainWindowLayout::compute({1920, 1080}, true);
    EXPECT_TRUE(l.headBox.isEmpty());
    EXPECT_TRUE(l.bodyRightBox.isEmpty());
    EXPECT_TRUE(l.gsensorBox.isEmpty());
    EXPECT_TRUE(l.mediaControlBox.isEmpty());
    EXPECT_EQ(l.bodyBox, QRect(0, 0, 1920, 1080));
    EXPECT_EQ(l.bodyLeftBox, QRect(0, 0, 1920, 1078));
    EXPECT_EQ(l.videoBox, QRect(0, 0, 1920, 1042));
    EXPECT_EQ(l.mediaControlBoxForFullScreen, QRect(0, 1042, 1918, 36));
}

} // namespace
