#include "VLCVideoView.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMutexLocker>
#include <QPainter>

VLCVideoView::VLCVideoView(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(false);
    if (usesNativeWindow()) {
        // libVLC paints this window itself; Qt must neither paint over it nor turn its
        // ancestors into native windows.
        setAttribute(Qt::WA_NativeWindow);
        setAttribute(Qt::WA_DontCreateNativeAncestors);
        setAttribute(Qt::WA_NoSystemBackground);
        setAttribute(Qt::WA_OpaquePaintEvent);
        QPalette black = palette();
        black.setColor(QPalette::Window, Qt::black);
        setPalette(black);
    }
}

bool VLCVideoView::usesNativeWindow()
{
    // set_xwindow needs an X11 window; with the offscreen platform it crashes.
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

void VLCVideoView::presentFrame(const QImage& frame)
{
    {
        QMutexLocker lock(&m_frameMutex);
        m_frame = frame;
    }
    update();
}

QImage VLCVideoView::currentFrame() const
{
    QMutexLocker lock(&m_frameMutex);
    return m_frame;
}

bool VLCVideoView::event(QEvent* event)
{
    if (event->type() == QEvent::WinIdChange)
        Q_EMIT windowIdChanged();
    return QWidget::event(event);
}

void VLCVideoView::paintEvent(QPaintEvent*)
{
    if (usesNativeWindow())
        return;
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    const QImage frame = currentFrame();
    if (frame.isNull())
        return;
    // Fill the view, keeping the picture's proportions: what overflows is cut off.
    const QSize scaled = frame.size().scaled(size(), m_fillScreen ? Qt::KeepAspectRatioByExpanding
                                                                  : Qt::KeepAspectRatio);
    const QRect target(QPoint((width() - scaled.width()) / 2, (height() - scaled.height()) / 2),
                       scaled);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, frame);
}
