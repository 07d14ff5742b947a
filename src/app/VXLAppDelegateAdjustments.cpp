// The control strip's jump, speed, size, volume and full-screen controls of the main window.
#include "VXLAppDelegate.h"

#include "VXLMainWindow.h"
#include "VXLWindowSizeStep.h"
#include "app/playback/VXLPlaybackController.h"
#include "player/VXLPlayerInterface.h"
#include "ui_VXLMainWindow.h"

#include <QScreen>

void VXLAppDelegate::connectAdjustmentControls()
{
    Ui::VXLMainWindow& ui = m_window->ui();
    connect(ui.jumpBackwardButton, &GWImageButton::clicked, this,
            [this] { m_controller->jumpBackward(); });
    connect(ui.jumpForwardButton, &GWImageButton::clicked, this,
            [this] { m_controller->jumpForward(); });
    connect(ui.decreaseSpeedButton, &QPushButton::clicked, this,
            [this] { m_controller->decreaseSpeed(); });
    connect(ui.increaseSpeedButton, &QPushButton::clicked, this,
            [this] { m_controller->increaseSpeed(); });
    connect(ui.sizeDownButton, &QPushButton::clicked, this, &VXLAppDelegate::sizeDown);
    connect(ui.sizeUpButton, &QPushButton::clicked, this, &VXLAppDelegate::sizeUp);
    connect(ui.volumeDownButton, &QPushButton::clicked, this,
            [this] { m_controller->volumeDown(); });
    connect(ui.volumeUpButton, &QPushButton::clicked, this, [this] { m_controller->volumeUp(); });
    connect(ui.fullScreenButton, &GWImageButton::clicked, this, &VXLAppDelegate::toggleFullScreen);
}

void VXLAppDelegate::toggleFullScreen()
{
    if (m_window->isFullScreen()) {
        m_window->leaveFullscreen();
    } else {
        m_window->enterFullscreen();
    }
}

void VXLAppDelegate::setVideoScaleIndex(int n)
{
    const QScreen* screen = m_window->screen();
    if (!screen) {
        return;
    }
    const VXLWindowSizeStep step = VXLWindowSizeStep::compute(
        screen->geometry(), m_window->geometry(), m_window->isFullScreen(), n);
    switch (step.action) {
    case VXLWindowSizeStep::Resize:
        m_window->setGeometry(step.frame);
        break;
    case VXLWindowSizeStep::EnterFullScreen:
        m_window->enterFullscreen();
        break;
    case VXLWindowSizeStep::LeaveFullScreen:
        m_window->leaveFullscreen();
        break;
    case VXLWindowSizeStep::Nothing:
        break;
    }
}

void VXLAppDelegate::sizeUp()
{
    if (m_player1 && m_player1->isPlaying()) {
        setVideoScaleIndex(1);
    }
}

void VXLAppDelegate::sizeDown()
{
    if (m_player1 && m_player1->isPlaying()) {
        setVideoScaleIndex(-1);
    }
}
