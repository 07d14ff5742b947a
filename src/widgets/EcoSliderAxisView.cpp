#include "EcoSliderAxisView.h"

#include "SMDoubleSliderCell.h"

#include <QPainter>

EcoSliderAxisView::EcoSliderAxisView(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QList<QRectF> EcoSliderAxisView::tickRects(int width)
{
    // The slider's knob centre travels from half a knob in at the left to half a knob in at
    // the right; the ticks span exactly that travel, so the ends line up with the extremes.
    const double inset = SMDoubleSliderCell::kKnobWidth / 2.0;
    const double step = (width - 2 * inset) / (kTickCount - 1);
    QList<QRectF> ticks;
    ticks.reserve(kTickCount);
    for (int i = 0; i < kTickCount; ++i) {
        const bool isLong = i == 0 || i == 10 || i == kTickCount - 1;
        ticks.append(QRectF(inset + i * step, isLong ? 3 : 5, 1, isLong ? 8 : 5));
    }
    return ticks;
}

QSize EcoSliderAxisView::sizeHint() const
{
    return {200, 14};
}

void EcoSliderAxisView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QColor ink = palette().color(QPalette::WindowText);
    for (const QRectF& tick : tickRects(width())) {
        painter.fillRect(tick, ink);
    }
}
