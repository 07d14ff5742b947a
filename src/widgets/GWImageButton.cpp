#include "GWImageButton.h"

#include "GWImage.h"

#include <QEnterEvent>
#include <QPainter>

GWImageButton::GWImageButton(QWidget* parent) : QAbstractButton(parent)
{
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
}

void GWImageButton::setImageName(const QString& name)
{
    QString base = name;
    if (base.endsWith(QLatin1String(".png")) || base.endsWith(QLatin1String(".svg"))) {
        base.chop(4);
    }
    if (base == m_imageName) {
        return;
    }
    m_imageName = base;
    if (m_imageSize.isEmpty()) {
        updateGeometry();
    }
    update();
}

void GWImageButton::setImageSize(QSize size)
{
    m_imageSize = size;
    updateGeometry();
    update();
}

QSize GWImageButton::sizeHint() const
{
    QSize image = m_imageSize.isEmpty() ? GWImageSize(m_imageName) : m_imageSize;
    if (image.isEmpty()) {
        image = QSize(24, 24);
    }
    if (text().isEmpty()) {
        return image;
    }
    const int textWidth = fontMetrics().horizontalAdvance(text());
    return {image.width() + 6 + textWidth + 4, std::max(image.height(), fontMetrics().height())};
}

QString GWImageButton::currentImageName() const
{
    if (!m_imageName.endsWith(QLatin1String("_n")) || !isEnabled()) {
        return m_imageName;
    }
    const QString base = m_imageName.chopped(2);
    if (isDown() || isChecked()) {
        return base + QLatin1String("_p");
    }
    if (m_hovered) {
        return base + QLatin1String("_o");
    }
    return m_imageName;
}

void GWImageButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (!isEnabled()) {
        painter.setOpacity(0.4);
    }
    QSize size = m_imageSize.isEmpty() ? GWImageSize(m_imageName) : m_imageSize;
    size = size.boundedTo(this->size());
    const QPixmap pixmap = GWImageNamed(currentImageName(), size, devicePixelRatioF());
    int x = 0;
    if (text().isEmpty()) {
        x = (width() - size.width()) / 2;
    } else {
        const int textWidth = fontMetrics().horizontalAdvance(text());
        x = std::max(0, (width() - size.width() - 6 - textWidth) / 2);
    }
    const int y = (height() - size.height()) / 2;
    if (!pixmap.isNull()) {
        painter.drawPixmap(x, y, pixmap);
    }
    if (!text().isEmpty()) {
        const bool selected = m_imageName.endsWith(QLatin1String("_p"));
        painter.setPen(selected ? QColor(0x2f, 0x9b, 0xe0)
                                : (m_hovered ? QColor(Qt::white) : QColor(0x8b, 0x94, 0x9e)));
        const QRect textRect(x + size.width() + 6, 0, width() - x - size.width() - 6, height());
        painter.drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft, text());
    }
}

void GWImageButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void GWImageButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}
