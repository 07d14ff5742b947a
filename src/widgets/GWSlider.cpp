#include "GWSlider.h"

#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSlider>

#include <cmath>

GWSlider::GWSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setRange(0, kSteps);
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QSlider::valueChanged, this, [this](int) {
        if (!m_settingFromCode) {
            Q_EMIT userMoved(fraction());
        }
    });
}

void GWSlider::setFraction(double fraction)
{
    const int steps = static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * kSteps));
    m_settingFromCode = true;
    setValue(steps);
    m_settingFromCode = false;
}

void GWSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect handle =
            style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        if (!handle.contains(event->position().toPoint())) {
            const int span = std::max(1, width() - handle.width());
            const int x = static_cast<int>(event->position().x()) - handle.width() / 2;
            setValue(QStyle::sliderValueFromPosition(minimum(), maximum(), x, span));
        }
    }
    QSlider::mousePressEvent(event);
}
