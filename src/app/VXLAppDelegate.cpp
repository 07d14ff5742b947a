#include "VXLAppDelegate.h"

#include "VXLMainWindowLayout.h"
#include "VXLMediaListModel.h"
#include "VXLScrollableVideoContainerView.h"
#include "app/playback/VXLPlayInfo.h"
#include "app/playback/VXLPlaybackController.h"
#include "drivedata/DriveDataDisplay.h"
#include "drivedata/VXLBlackBoxData.h"
#include "drivedata/ui/GraphView.h"
#include "drivedata/ui/VXLMapView.h"
#include "library/VXLMediaList.h"
#include "player/VLCLibrary.h"
#include "player/VLCMediaPlayer.h"
#include "player/VLCVideoView.h"
#include "widgets/GWAlert.h"
#include "widgets/GWImageButton.h"
#include "widgets/GWSlider.h"
#include "widgets/GWThreePartImageView.h"
#include "widgets/GWVideoBackgroundImageView.h"
#include "widgets/LocalizedString.h"
#include "widgets/QPProgressIndicator.h"

#include <QApplication>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLabel>
#include <QParallelAnimationGroup>
#include <QPropertyAnimation>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QTimer>

namespace {

// The loading indicator advances every 0.3 s and gives up after this many seconds.
constexpr int kLoadingTickMs = 300;
constexpr double kLoadingSeconds = 15;

} // namespace

VXLAppDelegate::VXLAppDelegate(QObject* parent) : QObject(parent)
{
    buildWindow();

    // The players draw into their views; the video views fill their boxes (layoutWindow).
    m_player1 = new VLCMediaPlayer(m_video1View, this);
    m_player2 = new VLCMediaPlayer(m_video2View, this);
    VLCLibrary::sharedLibrary();
    m_playInfo = new VXLPlayInfo(this);
    m_mediaList = new VXLMediaList(this);

    m_mediaControlBoxForFullScreen->setImageNames(QStringLiteral("bottom-background"),
                                                  QStringLiteral("bottom-background"),
                                                  QStringLiteral("bottom-background"));
    m_player1BackgroundView->setBackgroundImageName(QStringLiteral("v1"));
    m_player1BackgroundView->setLogoImageName(QStringLiteral("v1_front_logo"));
    m_player2BackgroundView->setBackgroundImageName(QStringLiteral("v2"));
    m_player2BackgroundView->setLogoImageName(QStringLiteral("v2_rear_logo"));

    initMediaListTableView();
    setupInitialValues();
}

VXLAppDelegate::~VXLAppDelegate()
{
    die();
    delete m_window;
}

void VXLAppDelegate::setupInitialValues()
{
    m_blackBoxData = std::make_unique<VXLBlackBoxData>();
    m_controller =
        new VXLPlaybackController(m_player1, m_player2, m_mediaList, m_playInfo, this, this);
    // Runs on the controller's worker thread; nobody reads the holder until driveDataReady.
    VXLBlackBoxData* blackBoxData = m_blackBoxData.get();
    m_controller->setDriveDataExtractor([blackBoxData](const QString& frontPath) {
        if (frontPath.isEmpty()) {
            blackBoxData->clear();
        } else {
            blackBoxData->ExtractStreamInformation(frontPath);
        }
    });
    connect(m_mediaList, &VXLMediaList::mediaListChanged, this, &VXLAppDelegate::mediaListChanged);
    connect(m_window, &CustomWindow::windowWillClose, this, [this] {
        if (m_controller) {
            m_controller->stopPlay();
        }
    });

    registerObservers();

    m_rightViewMode = 0;
    updateSideViewButton();
    m_controller->setVolume(70);
    setVolumeSliderValue(m_controller->volume());
    m_playInfo->setIsPlaying(false);

    m_video1View->hide();
    m_video2View->hide();
    resetDataReadouts();
    layoutWindow();
    // The speed unit comes from the card's settings once the settings window exists;
    // until then speeds show in km/h.
    m_bMileDisplay = false;
}

void VXLAppDelegate::registerObservers()
{
    // Both position sliders and the play state are bound both ways. A slider reports only
    // moves by the user's hand, and the play state only real changes, so nothing echoes.
    for (GWSlider* slider : {m_videoPositionSlider, m_videoPositionSliderForFullScreen}) {
        connect(slider, &GWSlider::userMoved, this, [this](double fraction) {
            m_playInfo->setPosition(fraction);
            m_controller->videoPositionSliderMoved(fraction);
        });
    }
    connect(m_playButton, &GWImageButton::clicked, this,
            [this] { m_controller->clickPlayButton(); });
    connect(m_swapButton, &GWImageButton::clicked, this, [this] { m_controller->swapPlayer(); });
    // A click on the graph moves playback like the position slider does.
    connect(m_graphView, &GraphView::graphPositionClicked, this, [this](double fraction) {
        if (m_controller->mediaIndex() < 0) {
            return;
        }
        m_playInfo->setPosition(fraction);
        m_controller->videoPositionSliderMoved(fraction);
    });
    // The bar follows the first player's own position, which a seek changes only some time
    // later, and not at all while paused: after a move by hand it goes to the new place now.
    for (GWSlider* slider : {m_videoPositionSlider, m_videoPositionSliderForFullScreen}) {
        connect(slider, &GWSlider::userMoved, m_graphView, &GraphView::updateTimePosition);
    }
    connect(m_graphView, &GraphView::graphPositionClicked, m_graphView,
            &GraphView::updateTimePosition);
    connect(m_volumeSlider, &QSlider::valueChanged, this,
            [this](int value) { m_controller->volumeSliderMoved(value); });
    connectAdjustmentControls();
    connect(m_audioToggleButton, &QPushButton::clicked, this,
            [this](bool rearOn) { m_controller->toggleAudioChoice(rearOn); });

    connect(m_playInfo, &VXLPlayInfo::speedChanged, this, [this](double speed) {
        m_speedTextButton->setText(QString::asprintf("%.1fx", speed));
    });
    connect(m_controller, &VXLPlaybackController::volumeChanged, this,
            [this] { m_controller->updateAudioUI(); });
    connect(m_playInfo, &VXLPlayInfo::scaleChanged, this, [this](double scale) {
        // 0 means "not known yet" (an opening): the title keeps the last known scale.
        if (scale > 0) {
            m_sizeTextButton->setText(QString::asprintf("%.2fx", scale));
        }
    });
    connect(m_playInfo, &VXLPlayInfo::isPlayingChanged, this, [this](bool playing) {
        m_playButton->setImageName(playing ? QStringLiteral("icon_pause_n")
                                           : QStringLiteral("icon_play_n"));
    });
    connect(m_playInfo, &VXLPlayInfo::positionChanged, this, [this](double position) {
        m_videoPositionSlider->setFraction(std::min(position, 1.0));
        m_videoPositionSliderForFullScreen->setFraction(std::min(position, 1.0));
        updateGsensorUIByPlayPositon();
        updateGpsUIByPlayPosition();
    });
    connect(m_playInfo, &VXLPlayInfo::audioMediaDirectionChanged, this,
            [this] { m_controller->updateAudioUI(); });
    connect(m_window, &CustomWindow::isFullScreenChanged, this, &VXLAppDelegate::layoutWindow);
    // libVLC knows the picture size only some time after it reports playing: take the scale
    // from the first time change that has it.
    connect(m_player1, &VXLPlayerInterface::mediaPlayerTimeChanged, this, [this] {
        if (m_playInfo->scale() == 0) {
            updatePlayInfoScale();
        }
    });
}

void VXLAppDelegate::applicationDidFinishLaunching()
{
    QSettings defaults(QStringLiteral("Vexlo"), QStringLiteral("Vexlo"));
    for (const QString& language : defaults.value(QStringLiteral("language")).toStringList()) {
        qInfo("SUPPORT_LANGUAGE=%s", qPrintable(language));
    }
    defaults.setValue(QStringLiteral("language"), QStringList{QStringLiteral("en")});

    const QRect frame = minWindowFrame().toRect();
    m_window->resize(frame.size());
    m_window->move(frame.topLeft());
    m_window->setInitialFrame(frame);
    m_window->show();
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

bool VXLAppDelegate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_contentView && event->type() == QEvent::Resize) {
        contentResized();
    }
    return QObject::eventFilter(watched, event);
}

void VXLAppDelegate::contentResized()
{
    layoutWindow();
    updatePlayInfoScale();
}

void VXLAppDelegate::layoutWindow()
{
    if (!m_window) {
        return;
    }
    const bool fullScreen = m_window->isFullScreen();
    const VXLMainWindowLayout l = VXLMainWindowLayout::compute(m_contentView->size(), fullScreen);
    m_backgroundBox->setGeometry(l.backgroundBox);
    m_headBox->setVisible(!fullScreen);
    m_headBox->setGeometry(l.headBox);
    m_bodyBox->setGeometry(l.bodyBox);
    m_bodyLeftBox->setGeometry(l.bodyLeftBox);
    m_bodyRightBox->setVisible(!fullScreen);
    m_bodyRightBox->setGeometry(l.bodyRightBox);
    m_videoBox->setGeometry(l.videoBox);
    m_gsensorBox->setVisible(!fullScreen);
    m_gsensorBox->setGeometry(l.gsensorBox);
    m_mediaControlBox->setVisible(!fullScreen);
    m_mediaControlBox->setGeometry(l.mediaControlBox);
    m_mediaControlBoxForFullScreen->setVisible(fullScreen);
    m_mediaControlBoxForFullScreen->setGeometry(l.mediaControlBoxForFullScreen);
    m_sideButtonBox->setGeometry(l.sideButtonBox);
    m_mediaListBox->setGeometry(l.mediaListBox);
    m_subVideoBox->setGeometry(l.subVideoBox);

    // The video views fill their boxes, inside the frame's one-pixel border.
    const QRect videoArea(QPoint(0, 0), l.videoBox.size());
    m_player1BackgroundView->setGeometry(videoArea);
    m_videoContainerView->setGeometry(videoArea.adjusted(1, 1, -1, -1));
    m_video1View->setGeometry(QRect(QPoint(0, 0), m_videoContainerView->size()));
    const QRect subArea(QPoint(0, 0), l.subVideoBox.size());
    m_player2BackgroundView->setGeometry(subArea);
    m_video2View->setGeometry(subArea.adjusted(1, 1, -1, -1));

    if (!m_progressIndicator->isHidden()) {
        m_progressIndicator->move(l.headBox.x() +
                                      (l.headBox.width() - m_progressIndicator->width()) / 2,
                                  m_progressIndicator->y());
    }
    layoutMapContainer();
}

void VXLAppDelegate::layoutMapContainer()
{
    if (m_window->isFullScreen()) {
        return;
    }
    const VXLMainWindowLayout l = VXLMainWindowLayout::compute(m_contentView->size(), false);
    const QRect listArea(QPoint(0, 0), l.mediaListBox.size());
    if (m_rightViewMode == 1) {
        m_mapContainerView->setGeometry(listArea);
        m_mapContainerTopView->setGeometry(l.mapContainerTopView);
        m_mapContainerBottomView->setGeometry(l.mapContainerBottomView);
    } else {
        m_mediaListScrollView->setGeometry(listArea);
    }
}

void VXLAppDelegate::updateSideViewButton()
{
    const bool list = m_rightViewMode == 0;
    m_recordButtonImageView->setImageName(list ? QStringLiteral("record_p.png")
                                               : QStringLiteral("record_n.png"));
    m_informationButtonImageView->setImageName(list ? QStringLiteral("information_n.png")
                                                    : QStringLiteral("information_p.png"));
    m_mapContainerView->setHidden(m_rightViewMode != 1);
    m_mediaListScrollView->setHidden(m_rightViewMode != 0);
    layoutMapContainer();
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
    return !m_progressIndicator->isHidden();
}

void VXLAppDelegate::showLoading(const QString& title)
{
    Q_UNUSED(title);
    m_progressIndicator->setIndeterminate(true);
    m_stopVideoLoadingView = false;
    m_progress = 0;
    m_progressIndicator->show();
    m_progressIndicator->raise();
    m_progressIndicator->setDoubleValue(m_progressIndicator->minValue());
    const QRect head = m_headBox->geometry();
    m_progressIndicator->move(head.x() + (head.width() - m_progressIndicator->width()) / 2,
                              m_progressIndicator->y());
    if (m_progressIndicator->isIndeterminate()) {
        m_progressIndicator->startAnimation();
    }
    // The drive data is refilled during the opening; the readouts wait until it is ready.
    m_blackBoxDataReady = false;
    const quint64 generation = ++m_loadingGeneration;
    QTimer::singleShot(kLoadingTickMs, this,
                       [this, generation] { updateLoadingWindow(kLoadingSeconds, generation); });
}

void VXLAppDelegate::updateLoadingWindow(double seconds, quint64 generation)
{
    if (generation != m_loadingGeneration) {
        return;
    }
    m_progress += 100.0 / (seconds / (kLoadingTickMs / 1000.0));
    m_progressIndicator->setDoubleValue(m_progress);
    if (m_progress < 100 && !m_stopVideoLoadingView) {
        QTimer::singleShot(kLoadingTickMs, this, [this, seconds, generation] {
            updateLoadingWindow(seconds, generation);
        });
        return;
    }
    m_progressIndicator->setDoubleValue(m_progressIndicator->minValue());
    m_progressIndicator->stopAnimation();
    m_progressIndicator->hide();
    m_stopVideoLoadingView = true;
}

void VXLAppDelegate::hideLoading()
{
    m_stopVideoLoadingView = true;
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
    if (m_playFirstWhenScanned) {
        m_playFirstWhenScanned = false;
        if (m_mediaList->count() > 0) {
            m_controller->playAtIndex(0);
        }
    }
}

void VXLAppDelegate::changeAndPlay()
{
    const QModelIndex current = m_mediaListTableView->currentIndex();
    m_controller->changeAndPlay(current.isValid() ? current.row() : -1);
}

void VXLAppDelegate::selectMediaRow(qsizetype row)
{
    const QModelIndex index = m_mediaListModel->index(static_cast<int>(row), 0);
    if (!index.isValid()) {
        return;
    }
    m_mediaListTableView->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_mediaListTableView->scrollTo(index);
}

void VXLAppDelegate::setVideoViewVisible(int playerNumber, bool visible)
{
    VLCVideoView* view = playerNumber == 1 ? m_video1View : m_video2View;
    view->setVisible(visible);
}

void VXLAppDelegate::setPlayerLogos(const QString& player1Logo, const QString& player2Logo)
{
    m_player1BackgroundView->setLogoImageName(player1Logo);
    m_player2BackgroundView->setLogoImageName(player2Logo);
}

void VXLAppDelegate::animateSwap()
{
    const QRect target1(QPoint(0, 0), m_videoContainerView->size());
    const QRect target2 = QRect(QPoint(0, 0), m_subVideoBox->size()).adjusted(1, 1, -1, -1);
    m_video1View->setGeometry(QRect(target1.width(), 0, 0, 0));
    m_video2View->setGeometry(QRect(0, target2.bottom() + 1, 0, 0));
    auto* group = new QParallelAnimationGroup(this);
    const std::pair<QWidget*, QRect> views[] = {{m_video1View, target1}, {m_video2View, target2}};
    for (const auto& [view, target] : views) {
        auto* grow = new QPropertyAnimation(view, "geometry", group);
        grow->setDuration(1500);
        grow->setEasingCurve(QEasingCurve::OutCubic);
        grow->setStartValue(view->geometry());
        grow->setEndValue(target);
        group->addAnimation(grow);
    }
    // A resize during the animation would leave the views at old sizes: lay out again.
    connect(group, &QAbstractAnimation::finished, this, &VXLAppDelegate::layoutWindow);
    group->start(QAbstractAnimation::DeleteWhenStopped);
}

void VXLAppDelegate::setAudioToggleVisible(bool visible)
{
    m_audioToggleButton->setVisible(visible);
}

void VXLAppDelegate::setAudioToggleOn(bool on)
{
    m_audioToggleButton->setChecked(on);
    m_audioToggleButton->setText(on ? localizedString(QStringLiteral("audio.rear"))
                                    : localizedString(QStringLiteral("audio.front")));
}

void VXLAppDelegate::setVolumeSliderValue(int volume)
{
    const QSignalBlocker blocker(m_volumeSlider);
    m_volumeSlider->setValue(volume);
}

double VXLAppDelegate::mainPositionSliderValue() const
{
    return m_videoPositionSlider->fraction();
}

void VXLAppDelegate::setMainPositionSliderValue(double value)
{
    m_videoPositionSlider->setFraction(value);
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
    m_gsensorXField->setText(QStringLiteral("X=+0.00"));
    m_gsensorYField->setText(QStringLiteral("Y=+0.00"));
    m_gsensorZField->setText(QStringLiteral("Z=+0.00"));
    m_speedField->clear();
    m_hdopField->clear();
    m_sateliteField->clear();
}

void VXLAppDelegate::updatePlayInfoScale()
{
    const QSize video = m_player1 ? m_player1->videoSize() : QSize();
    if (video.height() <= 0 || !m_player1->hasVideoOut()) {
        return;
    }
    m_playInfo->setScale(double(m_videoContainerView->height()) / video.height());
}

void VXLAppDelegate::driveDataReady()
{
    m_blackBoxDataReady = true;
    // The graph and the map keep their own copies: the next extraction refills the holder
    // on a worker thread while they still draw.
    m_graphView->setGraphData(m_blackBoxData->m_GSensors());
    m_mapWebView->setRoute(VXLMapView::routeFromFixes(m_blackBoxData->m_NMEAs()));
}

void VXLAppDelegate::openingFailed(const QString& filePath)
{
    showAlertSheet(m_window, localizedString(QStringLiteral("msg.media_open_fail")),
                   QFileInfo(filePath).fileName());
}

void VXLAppDelegate::updateGsensorUIByPlayPositon()
{
    // The bar follows the first player's own position, the readouts the play state's.
    if (m_player1) {
        m_graphView->updateTimePosition(m_player1->position());
    }
    updateDriveDataReadouts();
}

void VXLAppDelegate::updateGpsUIByPlayPosition()
{
    // The G-sensor pass has filled every readout for this position already.
}

void VXLAppDelegate::updateDriveDataReadouts()
{
    if (!m_blackBoxDataReady) {
        return;
    }
    const DriveDataDisplayValues values =
        driveDataDisplayValues(m_blackBoxData->m_GSensors(), m_blackBoxData->m_NMEAs(),
                               m_blackBoxData->m_vGpsData(), m_playInfo->position());
    if (values.hasGSensor) {
        m_gsensorXField->setText(values.gsensorXText);
        m_gsensorYField->setText(values.gsensorYText);
        m_gsensorZField->setText(values.gsensorZText);
    }
    if (!values.speedText.isEmpty()) {
        m_speedField->setText(values.speedText);
    }
    if (!values.hdopText.isEmpty()) {
        m_hdopField->setText(values.hdopText);
    }
    if (!values.satelliteText.isEmpty()) {
        m_sateliteField->setText(values.satelliteText);
    }
    if (!values.mapScript.isEmpty()) {
        m_mapWebView->evaluateWebScript(values.mapScript);
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
    // Players stop and go before their views, which libVLC may still be drawing into.
    m_controller->stopPlay();
    delete m_controller;
    m_controller = nullptr;
    delete m_player1;
    m_player1 = nullptr;
    delete m_player2;
    m_player2 = nullptr;
}
