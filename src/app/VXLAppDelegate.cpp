#include "VXLAppDelegate.h"

#include "VXLFrameCapture.h"
#include "VXLLoadingIndicator.h"
#include "VXLMainWindow.h"
#include "VXLMainWindowLayout.h"
#include "VXLMediaListModel.h"
#include "VXLWindowRouter.h"
#include "app/playback/VXLPlayInfo.h"
#include "app/playback/VXLPlaybackController.h"
#include "drivedata/DriveDataDisplay.h"
#include "drivedata/VXLBlackBoxData.h"
#include "drivedata/ui/GraphView.h"
#include "drivedata/ui/VXLDriveDataReadouts.h"
#include "drivedata/ui/VXLMapView.h"
#include "library/VXLMediaList.h"
#include "player/VXLPlayerInterface.h"
#include "ui_VXLMainWindow.h"
#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLoggingCategory>
#include <QScreen>
#include <QSettings>

// The window's own diagnostics: "vexlo.app.info=true".
Q_LOGGING_CATEGORY(lcApp, "vexlo.app", QtWarningMsg)

VXLAppDelegate::VXLAppDelegate(const Parts& parts, QObject* parent)
    : QObject(parent), m_window(parts.window), m_mediaList(parts.mediaList),
      m_playInfo(parts.playInfo), m_blackBoxData(parts.blackBoxData), m_player1(parts.player1),
      m_router(parts.router)
{
    m_mediaListModel = new VXLMediaListModel(m_mediaList, this);
    m_frameCapture = new VXLFrameCapture(m_window, m_player1, this);
    m_window->setMediaListModel(m_mediaListModel);
    connect(m_mediaList, &VXLMediaList::mediaListChanged, this, &VXLAppDelegate::mediaListChanged);
}

VXLAppDelegate::~VXLAppDelegate()
{
    die();
}

void VXLAppDelegate::setPlaybackController(VXLPlaybackController* controller)
{
    m_controller = controller;
    connect(m_window, &CustomWindow::windowWillClose, this, [this] {
        if (m_controller) {
            m_controller->stopPlay();
        }
    });
    registerObservers();
    connectMenus();

    m_rightViewMode = 0;
    updateSideViewButton();
    m_controller->setVolume(70);
    setVolumeSliderValue(m_controller->volume());
    m_playInfo->setIsPlaying(false);

    Ui::VXLMainWindow& ui = m_window->ui();
    ui.video1View->hide();
    ui.video2View->hide();
    resetDataReadouts();
    layoutWindow();
    // The speed unit comes from the card's settings, read in the background at launch
    // (VXLApplication); until then speeds show in km/h.
    m_bMileDisplay = false;
}

void VXLAppDelegate::setMileDisplay(bool miles)
{
    m_bMileDisplay = miles;
    m_window->ui().gsensorPanel->setMileDisplay(miles);
}

void VXLAppDelegate::showSettingPanel()
{
    m_router->showSettingWindow();
}

void VXLAppDelegate::registerObservers()
{
    Ui::VXLMainWindow& ui = m_window->ui();
    // Both position sliders and the play state are bound both ways. A slider reports only
    // moves by the user's hand, and the play state only real changes, so nothing echoes.
    for (GWSlider* slider : {ui.videoPositionSlider, ui.videoPositionSliderForFullScreen}) {
        connect(slider, &GWSlider::userMoved, this, [this](double fraction) {
            m_playInfo->setPosition(fraction);
            m_controller->videoPositionSliderMoved(fraction);
        });
    }
    connect(ui.playButton, &GWImageButton::clicked, this,
            [this] { m_controller->clickPlayButton(); });
    connect(ui.swapButton, &GWImageButton::clicked, this, [this] { m_controller->swapPlayer(); });
    connect(ui.openButton, &GWImageButton::clicked, this,
            &VXLAppDelegate::openMediaDirectoryDialog);
    connect(ui.captureVideoButton, &GWImageButton::clicked, this, &VXLAppDelegate::captureVideo);
    connect(ui.printButton, &GWImageButton::clicked, this, &VXLAppDelegate::print);
    connect(ui.recordButtonImageView, &GWImageButton::clicked, this,
            &VXLAppDelegate::clickMediaListViewButton);
    connect(ui.informationButtonImageView, &GWImageButton::clicked, this,
            &VXLAppDelegate::clickMapViewButton);
    connect(ui.mediaListTableView, &QTableView::doubleClicked, this,
            &VXLAppDelegate::changeAndPlay);
    // A click on the graph moves playback like the position slider does.
    connect(ui.graphView, &GraphView::graphPositionClicked, this, [this](double fraction) {
        if (m_controller->mediaIndex() < 0) {
            return;
        }
        m_playInfo->setPosition(fraction);
        m_controller->videoPositionSliderMoved(fraction);
    });
    // The bar follows the first player's own position, which a seek changes only some time
    // later, and not at all while paused: after a move by hand it goes to the new place now.
    for (GWSlider* slider : {ui.videoPositionSlider, ui.videoPositionSliderForFullScreen}) {
        connect(slider, &GWSlider::userMoved, ui.graphView, &GraphView::updateTimePosition);
    }
    connect(ui.graphView, &GraphView::graphPositionClicked, ui.graphView,
            &GraphView::updateTimePosition);
    connect(ui.volumeSlider, &QSlider::valueChanged, this,
            [this](int value) { m_controller->volumeSliderMoved(value); });
    connectAdjustmentControls();
    connect(ui.audioToggleButton, &QPushButton::clicked, this,
            [this](bool rearOn) { m_controller->toggleAudioChoice(rearOn); });

    connect(m_playInfo, &VXLPlayInfo::speedChanged, this, [this](double speed) {
        m_window->ui().speedTextButton->setText(QString::asprintf("%.1fx", speed));
    });
    connect(m_controller, &VXLPlaybackController::volumeChanged, this,
            [this] { m_controller->updateAudioUI(); });
    connect(m_playInfo, &VXLPlayInfo::scaleChanged, this, [this](double scale) {
        // 0 means "not known yet" (an opening): the title keeps the last known scale.
        if (scale > 0) {
            m_window->ui().sizeTextButton->setText(QString::asprintf("%.2fx", scale));
        }
    });
    connect(m_playInfo, &VXLPlayInfo::isPlayingChanged, this, [this](bool playing) {
        m_window->ui().playButton->setImageName(playing ? QStringLiteral("icon_pause_n")
                                                        : QStringLiteral("icon_play_n"));
    });
    connect(m_playInfo, &VXLPlayInfo::positionChanged, this, [this](double position) {
        Ui::VXLMainWindow& ui = m_window->ui();
        ui.videoPositionSlider->setFraction(std::min(position, 1.0));
        ui.videoPositionSliderForFullScreen->setFraction(std::min(position, 1.0));
        updateTimeLabels();
        updateGsensorUIByPlayPositon();
        updateGpsUIByPlayPosition();
    });
    connect(m_playInfo, &VXLPlayInfo::audioMediaDirectionChanged, this,
            [this] { m_controller->updateAudioUI(); });
    connect(m_window, &VXLMainWindow::contentResized, this, &VXLAppDelegate::updatePlayInfoScale);
    // libVLC knows the picture size only some time after it reports playing: take the scale
    // from the first time change that has it.
    connect(m_player1, &VXLPlayerInterface::mediaPlayerTimeChanged, this, [this] {
        if (m_playInfo->scale() == 0) {
            updatePlayInfoScale();
        }
    });
    // The length is known only once the master has opened its recording, and a stop clears it.
    connect(m_player1, &VXLPlayerInterface::mediaPlayerStateChanged, this,
            &VXLAppDelegate::updateTimeLabels);
    connect(m_player1, &VXLPlayerInterface::mediaPlayerTimeChanged, this,
            &VXLAppDelegate::updateTimeLabels);
}

void VXLAppDelegate::connectMenus()
{
    Ui::VXLMainWindow& ui = m_window->ui();
    const auto on = [this](QAction* action, auto slot) {
        connect(action, &QAction::triggered, this, slot);
    };
    on(ui.actionOpenDirectory, &VXLAppDelegate::openMediaDirectoryDialog);
    on(ui.actionShowSettings, &VXLAppDelegate::showSettingPanel);
    on(ui.actionCaptureVideo, &VXLAppDelegate::captureVideo);
    on(ui.actionPrint, &VXLAppDelegate::print);
    on(ui.actionOpenObdDriveInfo, [this] {
        if (m_router)
            m_router->showObdDriveInfoWindow();
    });
    on(ui.actionCloseWindow, &VXLAppDelegate::closeWindow);
    on(ui.actionQuit, &VXLAppDelegate::closeWindow);
    on(ui.actionShowRecordings, &VXLAppDelegate::clickMediaListViewButton);
    on(ui.actionShowMap, &VXLAppDelegate::clickMapViewButton);
    on(ui.actionPlayPause, [this] { m_controller->clickPlayButton(); });
    on(ui.actionSwap, [this] { m_controller->swapPlayer(); });
    on(ui.actionJumpBackward, [this] { m_controller->jumpBackward(); });
    on(ui.actionJumpForward, [this] { m_controller->jumpForward(); });
    on(ui.actionSpeedUp, [this] { m_controller->increaseSpeed(); });
    on(ui.actionSpeedDown, [this] { m_controller->decreaseSpeed(); });
    on(ui.actionVolumeUp, [this] { m_controller->volumeUp(); });
    on(ui.actionVolumeDown, [this] { m_controller->volumeDown(); });
    on(ui.actionFullScreen, &VXLAppDelegate::toggleFullScreen);
    on(ui.actionSizeUp, &VXLAppDelegate::sizeUp);
    on(ui.actionSizeDown, &VXLAppDelegate::sizeDown);
    on(ui.actionSetClock, [this] { m_router->showTimeSetupPanel(); });
    on(ui.actionFormatCard, [this] { m_router->showFormatWindow(); });
}

void VXLAppDelegate::applicationDidFinishLaunching()
{
    QSettings defaults(QStringLiteral("Vexlo"), QStringLiteral("Vexlo"));
    for (const QString& language : defaults.value(QStringLiteral("language")).toStringList()) {
        qCInfo(lcApp, "SUPPORT_LANGUAGE=%s", qPrintable(language));
    }
    defaults.setValue(QStringLiteral("language"), QStringList{QStringLiteral("en")});

    const QRect frame = minWindowFrame().toRect();
    m_window->resize(frame.size());
    m_window->move(frame.topLeft());
    m_window->setInitialFrame(frame);
    m_window->show();
}

CustomWindow* VXLAppDelegate::window() const
{
    return m_window;
}

QSize VXLAppDelegate::minWindowSize()
{
    return ::minWindowSize();
}

QRectF VXLAppDelegate::minWindowFrame() const
{
    QScreen* screen = m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    return ::minWindowFrame(screen ? QRectF(screen->availableGeometry()) : QRectF());
}

void VXLAppDelegate::layoutWindow()
{
    if (m_window) {
        m_window->layoutWindow();
    }
}

void VXLAppDelegate::updateSideViewButton()
{
    m_window->updateSideViewButton(m_rightViewMode);
}

void VXLAppDelegate::clickMediaListViewButton()
{
    if (m_rightViewMode != 0) {
        m_rightViewMode = 0;
        updateSideViewButton();
    }
}

void VXLAppDelegate::clickMapViewButton()
{
    if (m_rightViewMode != 1) {
        m_rightViewMode = 1;
        updateSideViewButton();
    }
}

bool VXLAppDelegate::isLoadingVisible() const
{
    return m_window->ui().progressIndicator->isLoadingVisible();
}

double VXLAppDelegate::loadingProgress() const
{
    return m_window->ui().progressIndicator->progress();
}

void VXLAppDelegate::showLoading(const QString& title)
{
    Q_UNUSED(title);
    m_window->startLoadingIndicator();
    // The drive data is refilled during the opening; the readouts wait until it is ready.
    m_blackBoxDataReady = false;
}

void VXLAppDelegate::hideLoading()
{
    m_window->ui().progressIndicator->stopLoading();
}

void VXLAppDelegate::openMediaDirectoryDialog()
{
    auto* dialog =
        new QFileDialog(m_window, localizedString(QStringLiteral("dialog.open_directory")));
    dialog->setObjectName(QStringLiteral("openPanel"));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QFileDialog::fileSelected, this, &VXLAppDelegate::openMediaDirectory);
    dialog->open();
}

void VXLAppDelegate::openMediaDirectory(const QString& path)
{
    if (path.isEmpty()) {
        return;
    }
    m_controller->stopPlay();
    m_mediaList->setDirectoryPath(path);
}

void VXLAppDelegate::mediaListChanged()
{
    m_rightViewMode = 0;
    updateSideViewButton();
    m_mediaListModel->reload();
    if (const qsizetype leftOut = m_mediaList->leftOutCount(); leftOut > 0) {
        // The list stops at its limit on a huge folder: the user is told it is incomplete.
        showAlertSheet(m_window, localizedString(QStringLiteral("msg.media_list_limit")),
                       localizedString(QStringLiteral("msg.media_list_limit_detail"))
                           .arg(m_mediaList->count())
                           .arg(leftOut));
    }
    if (m_playFirstWhenScanned) {
        m_playFirstWhenScanned = false;
        if (m_mediaList->count() > 0) {
            m_controller->playAtIndex(0);
        }
    }
}

void VXLAppDelegate::changeAndPlay()
{
    const QModelIndex current = m_window->ui().mediaListTableView->currentIndex();
    m_controller->changeAndPlay(current.isValid() ? current.row() : -1);
}

void VXLAppDelegate::selectMediaRow(qsizetype row)
{
    const QModelIndex index = m_mediaListModel->index(static_cast<int>(row), 0);
    if (!index.isValid()) {
        return;
    }
    QTableView* table = m_window->ui().mediaListTableView;
    table->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                        QItemSelectionModel::Rows);
    table->scrollTo(index);
}

void VXLAppDelegate::setVideoViewVisible(int playerNumber, bool visible)
{
    Ui::VXLMainWindow& ui = m_window->ui();
    (playerNumber == 1 ? ui.video1View : ui.video2View)->setVisible(visible);
}

void VXLAppDelegate::setPlayerCameras(int player1Direction, int player2Direction)
{
    m_window->setPlayerCameras(player1Direction, player2Direction);
}

void VXLAppDelegate::animateSwap()
{
    m_window->animateSwap();
}

void VXLAppDelegate::setAudioToggleVisible(bool visible)
{
    m_window->ui().audioToggleButton->setVisible(visible);
}

void VXLAppDelegate::setAudioToggleOn(bool on)
{
    QPushButton* toggle = m_window->ui().audioToggleButton;
    toggle->setChecked(on);
    toggle->setText(on ? localizedString(QStringLiteral("audio.rear"))
                       : localizedString(QStringLiteral("audio.front")));
}

void VXLAppDelegate::setVolumeSliderValue(int volume)
{
    QSlider* slider = m_window->ui().volumeSlider;
    const QSignalBlocker blocker(slider);
    slider->setValue(volume);
}

void VXLAppDelegate::resetVideoScale()
{
    setVideoScaleIndex(0);
    // The new recording's picture size is not known yet: the first time change that knows
    // it sets the scale again.
    m_playInfo->setScale(0);
}

void VXLAppDelegate::resetDataReadouts()
{
    m_window->ui().gsensorPanel->reset();
}

void VXLAppDelegate::updatePlayInfoScale()
{
    const QSize video = m_player1 ? m_player1->videoSize() : QSize();
    if (video.height() <= 0 || !m_player1->hasVideoOut()) {
        return;
    }
    m_playInfo->setScale(double(m_window->ui().videoContainerView->height()) / video.height());
}

void VXLAppDelegate::driveDataReady()
{
    m_blackBoxDataReady = true;
    // The graph and the map keep their own copies: the next extraction refills the holder
    // on a worker thread while they still draw.
    Ui::VXLMainWindow& ui = m_window->ui();
    ui.graphView->setGraphData(m_blackBoxData->m_GSensors());
    ui.mapWebView->setRoute(VXLMapView::routeFromFixes(m_blackBoxData->m_NMEAs()));
}

void VXLAppDelegate::openingFailed(const QString& filePath)
{
    showAlertSheet(m_window, localizedString(QStringLiteral("msg.media_open_fail")),
                   QFileInfo(filePath).fileName());
}

void VXLAppDelegate::updateGsensorUIByPlayPositon()
{
    Ui::VXLMainWindow& ui = m_window->ui();
    // The bar follows the first player's own position, the readouts the play state's.
    if (m_player1) {
        ui.graphView->updateTimePosition(m_player1->position());
    }
    if (!m_blackBoxDataReady) {
        return;
    }
    const DriveDataDisplayValues values =
        driveDataDisplayValues(m_blackBoxData->m_GSensors(), m_blackBoxData->m_NMEAs(),
                               m_blackBoxData->m_vGpsData(), m_playInfo->position());
    ui.gsensorPanel->showValues(values);
    ui.mapWebView->showPosition(values);
}

void VXLAppDelegate::updateGpsUIByPlayPosition()
{
    // The G-sensor pass has filled every readout and the map for this position already.
}

void VXLAppDelegate::captureVideo()
{
    m_frameCapture->captureVideo();
}

void VXLAppDelegate::print()
{
    m_frameCapture->print();
}

void VXLAppDelegate::updateTimeLabels()
{
    // The elapsed time goes with the position slider (a move shows its target at once), the
    // total is the master's length; neither is known without a recording.
    QString elapsed = VLCTime::noTime().stringValue();
    QString total = elapsed;
    const VLCMediaPtr media = m_player1 ? m_player1->media() : nullptr;
    const VLCTime length = media ? media->length() : VLCTime::noTime();
    if (length.isValid() && length.intValue() > 0) {
        const double position = std::clamp(m_playInfo->position(), 0.0, 1.0);
        elapsed = VLCTime::timeWithInt(int64_t(position * double(length.intValue()))).stringValue();
        total = length.stringValue();
    }
    Ui::VXLMainWindow& ui = m_window->ui();
    const std::pair<QLabel*, const QString&> labels[] = {
        {ui.elapsedTimeLabel, elapsed},
        {ui.totalTimeLabel, total},
        {ui.elapsedTimeLabelForFullScreen, elapsed},
        {ui.totalTimeLabelForFullScreen, total}};
    for (const auto& [label, text] : labels) {
        if (label->text() != text) {
            label->setText(text);
        }
    }
}

void VXLAppDelegate::closeWindow()
{
    if (m_window) {
        m_window->close();
    }
}

void VXLAppDelegate::die()
{
    if (m_dead) {
        return;
    }
    m_dead = true;
    if (m_controller) {
        m_controller->stopPlay();
    }
}
