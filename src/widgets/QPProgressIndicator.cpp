#include "QPProgressIndicator.h"

#include <QLinearGradient>
#include <QPainter>

QPProgressIndicator::QPProgressIndicator(QWidget* parent) : QWidget(parent)
{
    m_animation.setInterval(30);
    connect(&m_animation, &QTimer::timeout, this, [this] {
        m_phase = (m_phase + 1) % 60;
        update();
    });
}

void QPProgressIndicator::setIndeterminate(bool indeterminate)
{
    m_indeterminate = indeterminate;
    update();
}

void QPProgressIndicator::setDoubleValue(double value)
{
    m_value = std::clamp(value, m_minValue, m_maxValue);
    update();
}

void QPProgressIndicator::startAnimation()
{
    m_animation.start();
}

void QPProgressIndicator::stopAnimation()
{
    m_animation.stop();
    m_phase = 0;
    update();
}

void QPProgressIndicator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = track.height() / 2;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 40));
    painter.drawRoundedRect(track, radius, radius);

    const QColor accent(0x2f, 0x9b, 0xe0);
    if (m_indeterminate) {
        // A highlight a third of the width long, sweeping from left to right.
        const qreal span = track.width() / 3;
        const qreal x = track.left() - span + (track.width() + span) * m_phase / 60.0;
        QRectF sweep(x, track.top(), span, track.height());
        sweep = sweep.intersected(track);
        QLinearGradient gradient(sweep.topLeft(), sweep.topRight());
        gradient.setColorAt(0, QColor(accent.red(), accent.green(), accent.blue(), 0));
        gradient.setColorAt(0.5, accent);
        gradient.setColorAt(1, QColor(accent.red(), accent.green(), accent.blue(), 0));
        painter.setBrush(gradient);
        painter.drawRoundedRect(sweep, radius, radius);
        return;
    }
    const double fraction = (m_value - m_minValue) / (m_maxValue - m_minValue);
    if (fraction > 0) {
        painter.setBrush(accent);
        painter.drawRoundedRect(
            QRectF(track.topLeft(), QSizeF(track.width() * fraction, track.height())), radius,
            radius);
    }
}
