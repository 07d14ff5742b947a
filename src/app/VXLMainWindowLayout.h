#pragma once

#include <QRect>
#include <QSize>

// The main window's box geometry, as fixed numbers: a head strip 50 high over the body; on
// the left (10 from each side, 8 from the bottom) the video area, 4 apart from a G-sensor strip
// 130 high, 4 apart from the control strip 72 high; on the right a column 334 wide with a
// 32-high strip of side buttons, the list or map, and the rear video 250 high at the bottom.
// In full screen only the video and a 36-high control bar remain.
//
// Every rectangle is in its parent box's coordinates, as the boxes nest:
// background > head, body; body > bodyLeft, bodyRight; bodyLeft > video, gsensor, control
// (or the full-screen bar); bodyRight > sideButtons, mediaList, subVideo;
// mediaList > mapTop, mapBottom (inside the map container, which fills mediaList).
struct VXLMainWindowLayout
{
    static constexpr int kHeadHeight = 50;
    static constexpr int kSideMargin = 10;
    static constexpr int kBottomMargin = 8;
    static constexpr int kRightColumnWidth = 334;
    static constexpr int kStripGap = 4;
    static constexpr int kGsensorHeight = 130;
    static constexpr int kControlHeight = 72;
    static constexpr int kSideButtonHeight = 32;
    static constexpr int kSubVideoHeight = 250;
    static constexpr int kMapBottomHeight = 57;
    static constexpr int kFullScreenBarHeight = 36;
    static constexpr int kFullScreenBottomMargin = 2;

    QRect backgroundBox;
    QRect headBox; // empty in full screen
    QRect bodyBox;
    QRect bodyLeftBox;
    QRect bodyRightBox; // empty in full screen
    QRect videoBox;
    QRect gsensorBox;                   // empty in full screen
    QRect mediaControlBox;              // empty in full screen
    QRect mediaControlBoxForFullScreen; // empty windowed
    QRect sideButtonBox;
    QRect mediaListBox;
    QRect subVideoBox;
    QRect mapContainerTopView;
    QRect mapContainerBottomView;

    static VXLMainWindowLayout compute(QSize contentSize, bool fullScreen);
};

// Smallest window size.
QSize minWindowSize();
// That size centred in a screen's available area (the area without panels), its top left
// corner kept inside that area.
QRectF minWindowFrame(const QRectF& availableGeometry);
