#include "VXLApplication.h"

#include "VXLAppDelegate.h"
#include "VXLMainWindow.h"
#include "VXLWindowRouter.h"
#include "app/playback/VXLPlayInfo.h"
#include "app/playback/VXLPlaybackController.h"
#include "cardtools/VolumeDiscovery.h"
#include "drivedata/VXLBlackBoxData.h"
#include "library/VXLMediaList.h"
#include "player/VLCLibrary.h"
#include "player/VLCMediaPlayer.h"
#include "ui_VXLMainWindow.h"

VXLApplication::VXLApplication(const Options& options, QObject* parent)
    : QObject(parent), m_cardFolder(options.cardFolder),
      m_volumes(std::make_unique<SystemBlockDeviceSource>()),
      m_window(std::make_unique<VXLMainWindow>())
{
    // The players draw into the window's views.
    m_player1 = new VLCMediaPlayer(m_window->ui().video1View, this);
    m_player2 = new VLCMediaPlayer(m_window->ui().video2View, this);
    VLCLibrary::sharedLibrary();
    m_playInfo = new VXLPlayInfo(this);
    m_mediaList = new VXLMediaList(this);
    m_blackBoxData = std::make_unique<VXLBlackBoxData>();
    m_router = new VXLWindowRouter(m_window.get(), *m_volumes, this);

    m_delegate = new VXLAppDelegate(
        {m_window.get(), m_mediaList, m_playInfo, m_blackBoxData.get(), m_player1, m_router}, this);
    m_controller =
        new VXLPlaybackController(m_player1, m_player2, m_mediaList, m_playInfo, m_delegate, this);
    // Runs on the controller's worker thread; nobody reads the holder until driveDataReady.
    VXLBlackBoxData* blackBoxData = m_blackBoxData.get();
    m_controller->setDriveDataExtractor([blackBoxData](const QString& frontPath) {
        if (frontPath.isEmpty()) {
            blackBoxData->clear();
        } else {
            blackBoxData->ExtractStreamInformation(frontPath);
        }
    });
    m_delegate->setPlaybackController(m_controller);
}

VXLApplication::~VXLApplication()
{
    die();
    // Secondary windows first, then the delegate, then the main window with the views.
    delete m_router;
    delete m_delegate;
    m_window.reset();
}

void VXLApplication::die()
{
    if (!m_controller) {
        return;
    }
    m_delegate->die();
    // Players stop and go before their views, which libVLC may still be drawing into.
    delete m_controller;
    m_controller = nullptr;
    delete m_player1;
    m_player1 = nullptr;
    delete m_player2;
    m_player2 = nullptr;
}
