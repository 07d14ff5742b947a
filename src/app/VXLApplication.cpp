#include "VXLApplication.h"

#include "VXLAppDelegate.h"
#include "VXLClipController.h"
#include "VXLMainWindow.h"
#include "VXLWindowRouter.h"
#include "app/playback/VXLPlayInfo.h"
#include "app/playback/VXLPlaybackController.h"
#include "cardtools/VolumeDiscovery.h"
#include "drivedata/VXLBlackBoxData.h"
#include "library/VXLMediaList.h"
#include "player/VLCLibrary.h"
#include "player/VLCMediaPlayer.h"
#include "settings/ui/VXLSettingCard.h"
#include "ui_VXLMainWindow.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// The machine's volumes, with the card folder given at launch as one more volume (a card
// copied to disk, or a reader's mount point the system does not list as removable).
std::unique_ptr<BlockDeviceSource> volumeSource(const QString& cardFolder)
{
    if (cardFolder.isEmpty()) {
        return std::make_unique<SystemBlockDeviceSource>();
    }
    return std::make_unique<CardFolderBlockDeviceSource>(systemBlockDeviceSource(), cardFolder);
}

} // namespace

VXLApplication::VXLApplication(const Options& options, QObject* parent)
    : QObject(parent), m_cardFolder(options.cardFolder),
      m_volumes(volumeSource(options.cardFolder)), m_window(std::make_unique<VXLMainWindow>())
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

    // The speed unit of the card's settings: the low byte of speed_disp_unit. Read in the
    // background (lsblk, the card); no rename at launch, the settings window does that.
    const BlockDeviceSource* volumes = m_volumes.get();
    m_mileDisplayRead = QtConcurrent::run([volumes] {
        const std::optional<_FILEDATA> record = readSettingCard(*volumes, {}).record;
        return record && (record->speed_disp_unit & 0xFFu) != 0;
    });
    auto* watcher = new QFutureWatcher<bool>(this);
    connect(watcher, &QFutureWatcher<bool>::finished, this, [this, watcher] {
        m_delegate->setMileDisplay(watcher->result());
        watcher->deleteLater();
    });
    watcher->setFuture(m_mileDisplayRead);

    VXLAppDelegate* delegate = m_delegate;
    m_clipController = new VXLClipController({m_window.get(), m_mediaList, m_playInfo, m_player1,
                                              [delegate] {
                                                  return delegate->mileDisplay();
                                              }},
                                             this);
    Ui::VXLMainWindow& ui = m_window->ui();
    connect(ui.actionMarkIn, &QAction::triggered, m_clipController, &VXLClipController::markIn);
    connect(ui.actionMarkOut, &QAction::triggered, m_clipController, &VXLClipController::markOut);
    connect(ui.actionClearMarks, &QAction::triggered, m_clipController,
            &VXLClipController::clearMarks);
    connect(ui.actionExportClip, &QAction::triggered, m_clipController,
            &VXLClipController::showExportDialog);
}

VXLApplication::~VXLApplication()
{
    m_mileDisplayRead.waitForFinished();
    die();
    // Secondary windows first, then the delegate, then the main window with the views.
    delete m_clipController;
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
