#include "VXLMainWindowLayout.h"

#include <algorithm>

namespace {

// Boxes never get a negative size when the window is smaller than the fixed strips.
int atLeastZero(int value)
{
    return std::max(0, value);
}

} // namespace

VXLMainWindowLayout VXLMainWindowLayout::compute(QSize contentSize, bool fullScreen)
{
    VXLMainWindowLayout l;
    const int width = atLeastZero(contentSize.width());
    const int height = atLeastZero(contentSize.height());
    l.backgroundBox = QRect(0, 0, width, height);

    if (fullScreen) {
        l.bodyBox = QRect(0, 0, width, height);
        l.bodyLeftBox = QRect(0, 0, width, atLeastZero(height - kFullScreenBottomMargin));
        const int leftHeight = l.bodyLeftBox.height();
        l.videoBox = QRect(0, 0, width, atLeastZero(leftHeight - kFullScreenBarHeight));
        l.mediaControlBoxForFullScreen =
            QRect(0, l.videoBox.height(), atLeastZero(width - kFullScreenBottomMargin),
                  std::min(kFullScreenBarHeight, leftHeight));
        return l;
    }

    l.headBox = QRect(0, 0, width, kHeadHeight);
    l.bodyBox = QRect(0, kHeadHeight, width, atLeastZero(height - kHeadHeight));

    const int bodyHeight = atLeastZero(l.bodyBox.height() - kBottomMargin);
    const int leftWidth = atLeastZero(width - 3 * kSideMargin - kRightColumnWidth);
    l.bodyLeftBox = QRect(kSideMargin, 0, leftWidth, bodyHeight);
    l.bodyRightBox = QRect(kSideMargin + leftWidth + kSideMargin, 0, kRightColumnWidth, bodyHeight);

    const int videoHeight =
        atLeastZero(bodyHeight - kStripGap - kGsensorHeight - kStripGap - kControlHeight);
    l.videoBox = QRect(0, 0, leftWidth, videoHeight);
    l.gsensorBox = QRect(0, videoHeight + kStripGap, leftWidth, kGsensorHeight);
    l.mediaControlBox = QRect(0, l.gsensorBox.bottom() + 1 + kStripGap, leftWidth, kControlHeight);

    const int listHeight = atLeastZero(bodyHeight - kSideButtonHeight - kSubVideoHeight);
    l.sideButtonBox = QRect(0, 0, kRightColumnWidth, kSideButtonHeight);
    l.mediaListBox = QRect(0, kSideButtonHeight, kRightColumnWidth, listHeight);
    l.subVideoBox = QRect(0, kSideButtonHeight + listHeight, kRightColumnWidth, kSubVideoHeight);

    const int mapTopHeight = atLeastZero(listHeight - kMapBottomHeight);
    l.mapContainerTopView = QRect(0, 0, kRightColumnWidth, mapTopHeight);
    l.mapContainerBottomView = QRect(0, mapTopHeight, kRightColumnWidth, kMapBottomHeight);
    return l;
}

QSize minWindowSize()
{
    return {1020, 640};
}

QRectF minWindowFrame(const QRectF& availableGeometry)
{
    const QSizeF size = minWindowSize();
    // On a screen smaller than the window, centring would push the title bar off the top
    // and the window could not be moved back: keep the top left corner on the screen.
    const QPointF origin(
        std::max(availableGeometry.x(),
                 availableGeometry.x() + (availableGeometry.width() - size.width()) / 2),
        std::max(availableGeometry.y(),
                 availableGeometry.y() + (availableGeometry.height() - size.height()) / 2));
    return {origin, size};
}
