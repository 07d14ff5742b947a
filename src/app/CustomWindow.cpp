#include "CustomWindow.h"

#include "VXLScreen.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>

CustomWindow::CustomWindow(QWidget* parent) : QMainWindow(parent)
{
    setWindowFlag(Qt::FramelessWindowHint);
}

void CustomWindow::setIsFullScreen(bool fullScreen)
{
    if (fullScreen == m_isFullScreen) {
        return;
    }
    m_isFullScreen = fullScreen;
    // The menus' keys stay active while the bar is hidden: their actions belong to the window.
    if (QWidget* bar = menuWidget()) {
        bar->setVisible(!fullScreen);
    }
    Q_EMIT isFullScreenChanged(fullScreen);
}

void CustomWindow::enterFullscreen()
{
    if (m_isFullScreen) {
        return;
    }
    setIsFullScreen(true);
    // The launch frame is kept: leaving always returns to it, not to a later size.
    if (m_initialFrame.width() == 0 || m_initialFrame.height() == 0) {
        m_initialFrame = geometry();
    }
    // The screen may be smaller than the windowed minimum.
    m_windowedMinimumSize = minimumSize();
    setMinimumSize(0, 0);
    if (QScreen* target = screen()) {
        setGeometry(target->geometry());
        VXLScreen::setFullscreenPresentationOptions(target);
    }
    applyPresentationOptions();
}

void CustomWindow::leaveFullscreen()
{
    if (!m_isFullScreen) {
        return;
    }
    setIsFullScreen(false);
    VXLScreen::setNonFullscreenPresentationOptions(screen());
    applyPresentationOptions();
    setMinimumSize(m_windowedMinimumSize);
    setGeometry(m_initialFrame);
}

void CustomWindow::applyPresentationOptions()
{
    // Desktop panels stay above ordinary windows; the window manager's full-screen state is
    // what stacks a window over them. Without panels to hide the plain frame is enough.
    const bool coverPanels = m_isFullScreen && VXLScreen::presentationOptions() != 0;
    const Qt::WindowStates state = windowState();
    const Qt::WindowStates wanted =
        coverPanels ? (state | Qt::WindowFullScreen) : (state & ~Qt::WindowFullScreen);
    if (wanted != state) {
        setWindowState(wanted);
    }
}

QPoint CustomWindow::draggedOrigin(const QPoint& pointer, const QPoint& initialLocation,
                                   const QRect& mainAvailableArea)
{
    QPoint origin = pointer - initialLocation;
    if (mainAvailableArea.isValid() && origin.y() < mainAvailableArea.top()) {
        origin.setY(mainAvailableArea.top());
    }
    return origin;
}

void CustomWindow::closeEvent(QCloseEvent* event)
{
    Q_EMIT windowWillClose();
    QMainWindow::closeEvent(event);
}

void CustomWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && m_isFullScreen) {
        leaveFullscreen();
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void CustomWindow::mousePressEvent(QMouseEvent* event)
{
    // Presses that no control took: the window has no title bar to be moved by.
    if (event->button() == Qt::LeftButton && !m_isFullScreen) {
        m_initialLocation = event->position().toPoint();
        m_dragging = true;
        event->accept();
        return;
    }
    QMainWindow::mousePressEvent(event);
}

void CustomWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        const QScreen* main = QGuiApplication::primaryScreen();
        move(draggedOrigin(event->globalPosition().toPoint(), m_initialLocation,
                           main ? main->availableGeometry() : QRect()));
        event->accept();
        return;
    }
    QMainWindow::mouseMoveEvent(event);
}

void CustomWindow::mouseReleaseEvent(QMouseEvent* event)
{
    m_dragging = false;
    QMainWindow::mouseReleaseEvent(event);
}
