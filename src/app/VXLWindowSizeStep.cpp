#include "VXLWindowSizeStep.h"

#include "VXLMainWindowLayout.h"

#include <cmath>

namespace {

constexpr double kStepFraction = 0.2;
// A step up must leave this much of the screen's height free, or it goes to full screen.
constexpr int kScreenHeightReserve = 100;

} // namespace

VXLWindowSizeStep VXLWindowSizeStep::compute(const QRect& screenFrame, const QRect& windowFrame,
                                             bool fullScreen, int n)
{
    const QSize unit = minWindowSize();
    QSize size(windowFrame.width() + int(std::lround(unit.width() * kStepFraction * n)),
               windowFrame.height() + int(std::lround(unit.height() * kStepFraction * n)));
    if (n > 0) {
        if (fullScreen) {
            return {Nothing, {}};
        }
        if (size.width() > screenFrame.width() ||
            size.height() > screenFrame.height() - kScreenHeightReserve) {
            return {EnterFullScreen, {}};
        }
    } else if (fullScreen) {
        return {LeaveFullScreen, {}};
    }
    if (size.width() < unit.width() || size.height() < unit.height()) {
        size = unit;
    }
    return {Resize, QRect(windowFrame.topLeft(), size)};
}
