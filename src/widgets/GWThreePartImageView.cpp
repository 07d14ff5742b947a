#include "GWThreePartImageView.h"

#include "GWImage.h"

#include <QPainter>
#include <qdrawutil.h>

GWThreePartImageView::GWThreePartImageView(QWidget* parent) : QWidget(parent) {}

void GWThreePartImageView::setImageNames(const QString& left, const QString& middle,
                                         const QString& right, int endWidth)
{
    m_left = left;
    m_middle = middle;
    m_right = right;
    m_endWidth = endWidth;
    update();
}

void GWThreePartImageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    if (m_left == m_middle && m_middle == m_right) {
        // One image: its ends keep their width, its middle stretches.
        const QSize natural = GWImageSize(m_middle);
        if (natural.isEmpty()) {
            return;
        }
        const QPixmap image = GWImageNamed(m_middle, QSize(natural.width(), height()), ratio);
        qDrawBorderPixmap(&painter, rect(), QMargins(m_endWidth, 0, m_endWidth, 0), image);
        return;
    }
    const QSize leftSize = GWImageSize(m_left);
    const QSize rightSize = GWImageSize(m_right);
    const int leftWidth = leftSize.isEmpty() ? 0 : leftSize.width();
    const int rightWidth = rightSize.isEmpty() ? 0 : rightSize.width();
    if (leftWidth > 0) {
        painter.drawPixmap(0, 0, GWImageNamed(m_left, QSize(leftWidth, height()), ratio));
    }
    const int middleWidth = width() - leftWidth - rightWidth;
    if (middleWidth > 0) {
        painter.drawPixmap(leftWidth, 0,
                           GWImageNamed(m_middle, QSize(middleWidth, height()), ratio));
    }
    if (rightWidth > 0) {
        painter.drawPixmap(width() - rightWidth, 0,
                           GWImageNamed(m_right, QSize(rightWidth, height()), ratio));
    }
}
