#include "VLCVideoView.h"

#include <QEvent>
#include <QGuiApplication>
#include <QMutexLocker>
#include <QPainter>

VLCVideoView::VLCVideoView(QWidget* parent) : QWidget(parent)
{
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    if (usesNativeWindow()) {
        // Native, so that the X server clips the larger surface to this view.
        setAttribute(Qt::WA_NativeWindow);
        setAttribute(Qt::WA_DontCreateNativeAncestors);
        setAutoFillBackground(true);
        m_surface = new QWidget(this);
        // libVLC paints the surface itself; Qt must not paint over it.
        m_surface->setAttribute(Qt::WA_NativeWindow);
        m_surface->setAttribute(Qt::WA_DontCreateNativeAncestors);
        m_surface->setAttribute(Qt::WA_NoSystemBackground);
        m_surface->setAttribute(Qt::WA_OpaquePaintEvent);
        m_surface->installEventFilter(this);
        layoutSurface();
    }
}

WId VLCVideoView::videoWindowId()
{
    return m_surface ? m_surface->winId() : winId();
}

void VLCVideoView::setVideoSize(const QSize& size)
{
    if (size == m_videoSize)
        return;
    m_videoSize = size;
    layoutSurface();
}

void VLCVideoView::layoutSurface()
{
    if (!m_surface)
        return;
    if (m_videoSize.isEmpty() || size().isEmpty()) {
        m_surface->setGeometry(rect());
        return;
    }
    const QSize covering = m_videoSize.scaled(size(), m_fillScreen ? Qt::KeepAspectRatioByExpanding
                                                                   : Qt::KeepAspectRatio);
    m_surface->setGeometry(QRect(
        QPoint((width() - covering.width()) / 2, (height() - covering.height()) / 2), covering));
}

void VLCVideoView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutSurface();
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

bool VLCVideoView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_surface && event->type() == QEvent::WinIdChange)
        Q_EMIT windowIdChanged();
    return QWidget::eventFilter(watched, event);
}

void VLCVideoView::paintEvent(QPaintEvent* event)
{
    if (m_surface) {
        QWidget::paintEvent(event);
        return;
    }
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
