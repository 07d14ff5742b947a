#include "CustomWindow.h"

#include <QCloseEvent>

CustomWindow::CustomWindow(QWidget* parent) : QMainWindow(parent) {}

void CustomWindow::setFullScreenFlag(bool fullScreen)
{
    if (fullScreen == m_isFullScreen) {
        return;
    }
    m_isFullScreen = fullScreen;
    Q_EMIT isFullScreenChanged(fullScreen);
}

void CustomWindow::closeEvent(QCloseEvent* event)
{
    Q_EMIT windowWillClose();
    QMainWindow::closeEvent(event);
}
