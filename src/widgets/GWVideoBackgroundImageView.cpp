#include "GWVideoBackgroundImageView.h"

#include "GWImage.h"

#include <QPainter>
#include <qdrawutil.h>

GWVideoBackgroundImageView::GWVideoBackgroundImageView(QWidget* parent) : QWidget(parent) {}

void GWVideoBackgroundImageView::setBackgroundImageName(const QString& name, int corner)
{
    m_backgroundImageName = name;
    m_corner = corner;
    update();
}

void GWVideoBackgroundImageView::setLogoImageName(const QString& name)
{
    m_logoImageName = name;
    update();
}

void GWVideoBackgroundImageView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const qreal ratio = devicePixelRatioF();
    const QPixmap background = GWImageNamed(m_backgroundImageName, {}, ratio);
    if (!background.isNull()) {
        const QMargins corners(m_corner, m_corner, m_corner, m_corner);
        qDrawBorderPixmap(&painter, rect(), corners, background);
    }
    QSize logoSize = GWImageSize(m_logoImageName);
    if (logoSize.isEmpty()) {
        return;
    }
    // A small view (the rear video under the list) gets a smaller logo.
    const qreal fit =
        std::min({1.0, width() * 0.5 / logoSize.width(), height() * 0.5 / logoSize.height()});
    logoSize = (QSizeF(logoSize) * fit).toSize();
    const QPixmap logo = GWImageNamed(m_logoImageName, logoSize, ratio);
    painter.drawPixmap((width() - logoSize.width()) / 2, (height() - logoSize.height()) / 2, logo);
}
