#pragma once

#include <QRect>

// One window size step: the window grows or shrinks by a fifth of its smallest size
// (1020 x 640) per step, and a step up that does not fit on the screen goes to full screen.
struct VXLWindowSizeStep
{
    enum Action { Resize, EnterFullScreen, LeaveFullScreen, Nothing };

    Action action = Nothing;
    QRect frame; // for Resize: the origin kept, the new size

    // screenFrame: the whole screen (panels included); n: 1 up, -1 down, 0 reset.
    static VXLWindowSizeStep compute(const QRect& screenFrame, const QRect& windowFrame,
                                     bool fullScreen, int n);
};
