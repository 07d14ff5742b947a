#include "GWSlider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

#include <algorithm>
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

void GWSlider::setMarkedSpan(double inFraction, double outFraction)
{
    if (m_hasMarkedSpan && m_markedIn == inFraction && m_markedOut == outFraction)
        return;
    m_hasMarkedSpan = true;
    m_markedIn = inFraction;
    m_markedOut = outFraction;
    update();
}

void GWSlider::clearMarkedSpan()
{
    if (!m_hasMarkedSpan)
        return;
    m_hasMarkedSpan = false;
    update();
}

void GWSlider::setMarkColor(const QColor& color)
{
    m_markColor = color;
    update();
}

void GWSlider::paintEvent(QPaintEvent* event)
{
    QSlider::paintEvent(event);
    if (!m_hasMarkedSpan || !(m_markedOut > 0) || !(m_markedIn < 1))
        return;
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    // The same mapping as a click: the handle's centre travels between half a handle from
    // either end.
    const double left = handle.width() / 2.0;
    const double span = std::max(1, width() - handle.width());
    const auto xOf = [&](double f) {
        return left + std::clamp(f, 0.0, 1.0) * span;
    };
    const double x0 = xOf(m_markedIn);
    const double x1 = xOf(m_markedOut);
    const double middle = height() / 2.0;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor band = m_markColor;
    band.setAlphaF(0.45f);
    painter.fillRect(QRectF(x0, middle - 3, std::max(1.0, x1 - x0), 6), band);
    painter.setPen(QPen(m_markColor, 2));
    const double top = 1;
    const double bottom = height() - 1;
    if (m_markedIn >= 0 && m_markedIn <= 1) // "["
        painter.drawPolyline(QPolygonF{{x0 + 4, top}, {x0, top}, {x0, bottom}, {x0 + 4, bottom}});
    if (m_markedOut >= 0 && m_markedOut <= 1) // "]"
        painter.drawPolyline(QPolygonF{{x1 - 4, top}, {x1, top}, {x1, bottom}, {x1 - 4, bottom}});
}
