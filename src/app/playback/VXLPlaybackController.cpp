#include "VXLPlaybackController.h"

#include "PlaybackLog.h"
#include "library/VXLMediaList.h"

#include <algorithm>
#include <cmath>

namespace {

// Thresholds of the end of a recording.
constexpr double kEndedPausedPosition = 0.95; // a paused master at or past it has ended
constexpr double kAtEndPosition = 0.998;      // the play button's and the slider's "end"

bool isPaused(const VXLPlayerInterface* player)
{
    return player->state() == VLCMediaPlayerState::Paused;
}

bool playsMedia(const VXLPlayerInterface* player)
{
    return player->media() && player->isPlaying();
}

} // namespace

VXLPlaybackController::VXLPlaybackController(VXLPlayerInterface* player1,
                                             VXLPlayerInterface* player2, VXLMediaList* mediaList,
                                             VXLPlayInfo* playInfo, VXLPlaybackView* view,
                                             QObject* parent)
    : QObject(parent), m_player1(player1), m_player2(player2), m_mediaList(mediaList),
      m_playInfo(playInfo), m_view(view), m_alignment(player1, player2)
{
    connect(&m_alignment, &VXLPartnerAlignment::aligned, this,
            &VXLPlaybackController::partnerAligned);
    // One extraction at a time: they all fill the same drive-data holder.
    m_extractionPool.setMaxThreadCount(1);

    for (VXLPlayerInterface* player : {m_player1, m_player2}) {
        connect(player, &VXLPlayerInterface::mediaPlayerStateChanged, this,
                &VXLPlaybackController::mediaPlayerStateChanged);
        connect(player, &VXLPlayerInterface::mediaPlayerTimeChanged, this,
                &VXLPlaybackController::mediaPlayerTimeChanged);
    }
    connect(m_playInfo, &VXLPlayInfo::audioMediaDirectionChanged, this,
            &VXLPlaybackController::updateAudioUI);

    connect(&m_playStopTimer, &QTimer::timeout, this, &VXLPlaybackController::timerPlayNext);
    m_playNextTimer.setSingleShot(true);
    connect(&m_playNextTimer, &QTimer::timeout, this, [this] {
        // The user may have moved the master away from its end in the meantime.
        if (m_player1->media() && masterStandsPaused() &&
            m_player1->position() >= kEndedPausedPosition)
            playNext();
    });
}

VXLPlaybackController::~VXLPlaybackController()
{
    m_extractionPool.waitForDone();
}

void VXLPlaybackController::setDriveDataExtractor(DriveDataExtractor extractor)
{
    m_extractDriveData = std::move(extractor);
}

void VXLPlaybackController::setTimeScale(double scale)
{
    m_timeScale = scale;
    m_alignment.setTimeScale(scale);
}

void VXLPlaybackController::setOpeningTimeout(double seconds)
{
    m_openingTimeout = seconds;
}

int VXLPlaybackController::delayMs(double seconds) const
{
    return std::max(0, int(std::lround(seconds * 1000 * m_timeScale)));
}

void VXLPlaybackController::setMoving(bool moving, double movingPosition)
{
    m_moving = moving;
    m_movingPosition = movingPosition;
}

bool VXLPlaybackController::isPlaying(const VXLPlayerInterface* player)
{
    return player && playsMedia(player) &&
           player->remainingTime().stringValue() != QLatin1String("00:00");
}

bool VXLPlaybackController::masterPlays() const
{
    // Both stand for a moment while a move's seeks land; to the user they play on.
    return isPlaying(m_player1) || m_alignment.isStartingTogether();
}

bool VXLPlaybackController::masterStandsPaused() const
{
    return isPaused(m_player1) && !m_alignment.isStartingTogether();
}

bool VXLPlaybackController::playAtIndex(qsizetype index)
{
    if (!m_mediaList || m_mediaList->count() == 0 || m_waitingForPlayStart)
        return false;
    index = std::clamp<qsizetype>(index, 0, m_mediaList->count() - 1);
    m_waitingForPlayStart = true;
    const quint64 opening = ++m_opening;
    m_alignment.cancel();

    for (VXLPlayerInterface* player : {m_player1, m_player2}) {
        player->stop();
        player->setMedia(nullptr);
    }
    m_mediaIndex = index;
    m_view->selectMediaRow(index);

    m_preparingPlayNext = false;
    m_playNextTimer.stop();
    startTimerPlayNext();
    updateVideoUI();

    m_stopVideoLoadingView = false;
    m_view->showLoading(QStringLiteral("Loading..."));

    // Drive data always comes from the front recording of the pair; a rear recording
    // without a front partner has none.
    QString frontPath;
    const VLCMediaPtr master = m_player1->media();
    const VLCMediaPtr partner = m_player2->media();
    if (master && master->isRearMedia())
        frontPath = partner ? partner->path() : QString();
    else if (master)
        frontPath = master->path();

    m_extractionPool.start([this, opening, frontPath, extract = m_extractDriveData] {
        if (extract)
            extract(frontPath);
        QMetaObject::invokeMethod(
            this, [this, opening] { finishDriveDataAndStart(opening); }, Qt::QueuedConnection);
    });
    return true;
}

void VXLPlaybackController::finishDriveDataAndStart(quint64 opening)
{
    // A stopPlay or a failed opening came first.
    if (opening != m_opening)
        return;
    m_view->driveDataReady();
    initMediaControlView();
    m_player1->play();
    if (m_player2->media())
        m_player2->play();
    QTimer::singleShot(delayMs(m_openingTimeout), this, [this, opening] { checkOpening(opening); });
}

void VXLPlaybackController::updateVideoUI()
{
    const VXLMediaPtr media =
        m_mediaList->mediaAtIndex(size_t(std::max<qsizetype>(0, m_mediaIndex)));
    if (!media)
        return;
    const VXLMediaPairPtr pair = m_mediaList->findMediaPairWithFileName(media->mediaName());
    m_player1->setMedia(
        VLCMedia::mediaWithPath(media->path(), mediaDirectionForPath(media->path())));

    VXLMediaPtr partner;
    if (media->isRearMedia()) {
        m_view->setPlayerCameras(VXLMediaDirectionRear, VXLMediaDirectionFront);
        partner = pair ? pair->frontMedia : nullptr;
    } else {
        m_view->setPlayerCameras(media->mediaDirection(), VXLMediaDirectionRear);
        partner = pair ? pair->rearMedia : nullptr;
    }
    if (partner && partner->path() != media->path()) {
        m_player2->setMedia(
            VLCMedia::mediaWithPath(partner->path(), mediaDirectionForPath(partner->path())));
    } else {
        m_player2->stop();
        m_player2->setMedia(nullptr);
    }
    const bool hasPartner = m_player2->media() != nullptr;
    m_view->setVideoViewVisible(2, hasPartner);
    m_view->setAudioToggleVisible(hasPartner);
}

void VXLPlaybackController::initMediaControlView()
{
    m_waitingForPlayStart = true;
    m_view->resetVideoScale();
    m_view->updateSideViewButton();
    m_playInfo->setSpeed(1.0);
    m_alignment.setRate(1.0f);
    m_player1->setRate(1.0f);
    m_player2->setRate(1.0f);
    m_playInfo->setPosition(0);
    m_view->resetDataReadouts();
}

void VXLPlaybackController::stopPlay()
{
    // Whatever was opening is dropped: its late extraction result and timeout do nothing.
    ++m_opening;
    m_alignment.cancel();
    m_waitingForPlayStart = false;
    m_preparingPlayNext = false;
    m_playNextTimer.stop();
    for (VXLPlayerInterface* player : {m_player1, m_player2}) {
        player->pause();
        player->setMedia(nullptr);
    }
    if (!m_stopVideoLoadingView) {
        m_stopVideoLoadingView = true;
        m_view->hideLoading();
    }
    m_view->setVideoViewVisible(1, false);
    m_view->setVideoViewVisible(2, false);
    m_playInfo->setIsPlaying(false);
}

void VXLPlaybackController::updateVideoViewsVisibility()
{
    m_view->setVideoViewVisible(1, playsMedia(m_player1) || isPaused(m_player1));
    m_view->setVideoViewVisible(2, playsMedia(m_player2) || isPaused(m_player2));
}

void VXLPlaybackController::mediaPlayerStateChanged(VXLPlayerInterface* player)
{
    // A damaged file can report playing first and fail right after: an error ends its
    // playback whether or not the opening has finished.
    if (player->media() && player->state() == VLCMediaPlayerState::Error) {
        failOpening(player);
        return;
    }
    const bool p1 = playsMedia(m_player1);
    const bool p2 = playsMedia(m_player2);
    updateVideoViewsVisibility();

    if (!m_player1->media())
        return;
    if (m_player2->media()) {
        if (isPaused(m_player1) && isPaused(m_player2))
            didFinishPlay();
        else if (p1 && p2)
            startOrUpdateAudio();
    } else {
        if (isPaused(m_player1))
            didFinishPlay();
        else if (p1)
            startOrUpdateAudio();
    }
}

void VXLPlaybackController::startOrUpdateAudio()
{
    if (m_waitingForPlayStart) {
        m_waitingForPlayStart = false;
        didStartPlayer();
        Q_EMIT openingFinished(true);
    } else {
        updateAudioUI();
    }
}

void VXLPlaybackController::checkOpening(quint64 opening)
{
    if (opening != m_opening || !m_waitingForPlayStart)
        return;
    if (m_player1->media() && !m_player1->isPlaying())
        failOpening(m_player1);
    else if (m_player2->media() && !m_player2->isPlaying())
        failOpening(m_player2);
}

void VXLPlaybackController::failOpening(VXLPlayerInterface* player)
{
    const QString path = player->media()->path();
    qCWarning(lcPlayback, "cannot play %s", qPrintable(path));
    m_alignment.cancel();

    if (player == m_player2 && m_player1->media() &&
        m_player1->state() != VLCMediaPlayerState::Error) {
        // Only the partner is broken: the master plays (on) alone.
        m_player2->stop();
        m_player2->setMedia(nullptr);
        m_view->setVideoViewVisible(2, false);
        m_view->setAudioToggleVisible(false);
        m_view->openingFailed(path);
        mediaPlayerStateChanged(m_player1);
        return;
    }

    const bool wasWaiting = m_waitingForPlayStart;
    ++m_opening;
    m_waitingForPlayStart = false;
    m_preparingPlayNext = false;
    m_playNextTimer.stop();
    for (VXLPlayerInterface* other : {m_player1, m_player2}) {
        other->stop();
        other->setMedia(nullptr);
    }
    m_view->setVideoViewVisible(1, false);
    m_view->setVideoViewVisible(2, false);
    m_stopVideoLoadingView = true;
    m_view->hideLoading();
    m_playInfo->setIsPlaying(false);
    m_view->openingFailed(path);
    if (wasWaiting)
        Q_EMIT openingFinished(false);
}

void VXLPlaybackController::didStartPlayer()
{
    if (!m_player1->media())
        return;
    m_playInfo->setSpeed(m_player1->rate());
    m_playInfo->setIsPlaying(masterPlays());
    chooseAudioAuto();
    if (m_playInfo->scale() == 0 && m_player1->hasVideoOut() && m_player1->videoSize().width() > 0)
        m_view->updatePlayInfoScale();
}

void VXLPlaybackController::didFinishPlay()
{
    m_playInfo->setPosition(m_player1->position());
    m_playInfo->setIsPlaying(masterPlays());
}

void VXLPlaybackController::mediaPlayerTimeChanged(VXLPlayerInterface* player)
{
    updateVideoViewsVisibility();
    m_preparingPlayNext = false;
    if (!m_stopVideoLoadingView) {
        // Once per opening, at its first time change.
        m_stopVideoLoadingView = true;
        m_view->hideLoading();
        chooseAudioAuto();
    }
    m_playInfo->setIsPlaying(masterPlays());
    if (m_moving) {
        m_timeChangeCounter = -1;
        if (m_movingPosition > 0)
            m_playInfo->setPosition(m_movingPosition);
    } else if (player == m_player1) {
        // After a position change the first time change updates the position, then every third.
        m_timeChangeCounter = (m_timeChangeCounter + 1) % 3;
        if (m_timeChangeCounter == 0)
            m_playInfo->setPosition(m_player1->position());
    }
}

void VXLPlaybackController::startTimerPlayNext()
{
    m_playStopTimer.start(delayMs(1.0));
}

void VXLPlaybackController::timerPlayNext()
{
    if (m_preparingPlayNext || !m_player1->media() || !masterStandsPaused() ||
        m_player1->position() < kEndedPausedPosition)
        return;
    m_preparingPlayNext = true;
    // A time change of the partner clears the flag; the one scheduled call stays.
    if (!m_playNextTimer.isActive())
        m_playNextTimer.start(delayMs(1.0));
}

bool VXLPlaybackController::playNext()
{
    if (m_mediaIndex < 0)
        return false;
    const VXLMediaPtr media = m_mediaList->mediaAtIndex(size_t(m_mediaIndex));
    if (!media)
        return false;
    const VXLMediaPairPtr pair = m_mediaList->findMediaPairWithFileName(media->mediaName());
    // The two files of a pair sit next to each other in the list.
    const qsizetype next = m_mediaIndex + (pair && pair->frontMedia && pair->rearMedia ? 2 : 1);
    if (next < m_mediaList->count())
        return playAtIndex(next);
    return false;
}

void VXLPlaybackController::syncVideoPositionDelay(double seconds)
{
    if (!m_player1->media() || !m_player2->media()) {
        m_moving = false;
        return;
    }
    const quint64 opening = m_opening;
    QTimer::singleShot(delayMs(seconds), this, [this, opening] {
        m_moving = false;
        // A standing master reports no more time changes: show where it stands now.
        if (opening == m_opening && m_player1->media() && !m_player1->isPlaying())
            m_playInfo->setPosition(m_player1->position());
        // The partner is given the master's position: brought to the frame the master shows
        // and checked there (a seek sent now would land behind a playing master).
        if (opening == m_opening && m_player1->media() && m_player2->media())
            m_alignment.align();
    });
}

void VXLPlaybackController::changeAndPlay(qsizetype selectedRow)
{
    qCDebug(lcPlayback, "selectedRow=%ld,mediaIndex=%ld,isPlaying=%d,count=%ld", long(selectedRow),
            long(m_mediaIndex), int(m_player1->isPlaying()),
            long(m_mediaList ? m_mediaList->count() : 0));
    // A master without media (its opening failed) is opened again too.
    if (selectedRow != m_mediaIndex || !m_player1->media()) {
        playAtIndex(std::max<qsizetype>(0, selectedRow));
        return;
    }
    if (masterStandsPaused()) {
        m_player1->setPosition(0);
        m_player2->setPosition(0);
    }
    m_player1->play();
    if (m_player2->media()) {
        m_player2->play();
        syncVideoPositionDelay(0.1);
    }
}

void VXLPlaybackController::clickPlayButton()
{
    if (!m_player1->media())
        return;
    if (m_playInfo->isPlaying()) {
        // Players standing for a common start stay standing, and are shown paused.
        if (m_alignment.isStartingTogether()) {
            m_alignment.cancelStanding();
            didFinishPlay();
        }
        for (VXLPlayerInterface* player : {m_player1, m_player2}) {
            if (isPlaying(player))
                player->pause();
        }
        return;
    }
    if (m_player1->position() >= kAtEndPosition) {
        const double slider = m_playInfo->position();
        if (slider >= kAtEndPosition) {
            // From the start again, as a fresh opening.
            m_player1->setMedia(nullptr);
            m_player2->setMedia(nullptr);
            playAtIndex(m_mediaIndex);
        } else {
            const VLCTime target = VLCTime::timeWithInt(
                int64_t(slider * double(m_player1->media()->length().intValue())));
            m_player1->setTime(target);
            m_player2->setTime(target);
            QTimer::singleShot(delayMs(0.1), this, [this] {
                m_player1->play();
                if (m_player2->media())
                    m_player2->play();
            });
        }
        return;
    }
    m_player1->play();
    if (m_player2->media()) {
        m_player2->play();
        syncVideoPositionDelay(0.3);
    }
}

void VXLPlaybackController::videoPositionSliderMoved(double value)
{
    qCDebug(lcPlayback, "[%s] position slider moved:%lf <=> %lf", "D ", m_playInfo->position(),
            value);
    m_playInfo->setIsPlaying(masterPlays());
    if (m_moving)
        return;
    if (value >= kAtEndPosition) {
        // The end-of-recording rule takes over from here.
        for (VXLPlayerInterface* player : {m_player1, m_player2}) {
            if (!player->media())
                continue;
            const VLCTime length = player->media()->length();
            if (length.isValid() && length.intValue() > 0)
                player->setTime(length);
            else
                player->setPosition(1.0f);
        }
        return;
    }
    m_moving = true;
    m_movingPosition = value;
    m_alignment.startTogether();
    m_player1->setPosition(float(value));
    if (m_player2->media())
        m_player2->setPosition(float(value));
    syncVideoPositionDelay(0.3);
}

void VXLPlaybackController::swapPlayer()
{
    if (m_swapping || !isPlaying(m_player1) || !isPlaying(m_player2))
        return;
    m_swapping = true;
    m_alignment.cancel();
    const float position = m_player1->position();

    m_player1->pause();
    m_player2->pause();
    const VLCMediaPtr master = m_player1->media();
    const VLCMediaPtr partner = m_player2->media();
    m_player1->setMedia(partner);
    m_player2->setMedia(master);
    m_player1->play();
    m_player2->play();

    m_view->setPlayerCameras(partner->mediaDirection(), master->mediaDirection());
    m_moving = true;
    m_movingPosition = m_player1->position();
    m_view->animateSwap();

    const quint64 opening = m_opening;
    QTimer::singleShot(delayMs(0.8), this, [this, opening, position] {
        m_moving = false;
        if (opening != m_opening)
            return;
        m_alignment.startTogether();
        m_player1->setPosition(position);
        m_player2->setPosition(position);
        // Both seeks land at their own moments: the partner is checked against the master.
        m_alignment.align();
    });

    // Silent while the two reopen and find the old position; sound comes back afterwards.
    m_player1->setMute(true);
    m_player2->setMute(true);
    QTimer::singleShot(delayMs(1.7), this, [this] {
        m_swapping = false;
        updateAudioUI();
    });
}

void VXLPlaybackController::setVolume(int volume)
{
    volume = std::clamp(volume, 0, 200);
    if (volume != m_volume) {
        m_volume = volume;
        Q_EMIT volumeChanged(volume);
    }
    updateAudioUI();
}

bool VXLPlaybackController::hasAudio(const VXLPlayerInterface* player) const
{
    return player->media() && !player->audioTrackIndexes().isEmpty();
}

void VXLPlaybackController::chooseAudioAuto()
{
    int direction = VXLMediaDirectionUnknown;
    const VXLPlayerInterface* heard = hasAudio(m_player1)   ? m_player1
                                      : hasAudio(m_player2) ? m_player2
                                                            : nullptr;
    if (heard)
        direction = heard->media()->mediaDirection();
    if (direction == m_playInfo->audioMediaDirection())
        updateAudioUI(); // the players are new even when the direction is not
    else
        m_playInfo->setAudioMediaDirection(direction);
}

void VXLPlaybackController::toggleAudioChoice(bool rearOn)
{
    m_playInfo->setAudioMediaDirection(rearOn ? VXLMediaDirectionRear : VXLMediaDirectionFront);
}

void VXLPlaybackController::updateAudioUI()
{
    const int direction = m_playInfo->audioMediaDirection();
    const auto playerOf = [this](bool rear) -> VXLPlayerInterface* {
        for (VXLPlayerInterface* player : {m_player1, m_player2}) {
            if (player->media() &&
                (rear ? player->media()->isRearMedia() : player->media()->isFrontMedia()))
                return player;
        }
        return nullptr;
    };
    VXLPlayerInterface* wanted = nullptr;
    if (direction == VXLMediaDirectionFront || direction == VXLMediaDirectionRear) {
        // A choice between cameras needs two of them.
        m_view->setAudioToggleVisible(m_player2->media() != nullptr);
        m_view->setAudioToggleOn(direction == VXLMediaDirectionRear);
        wanted = playerOf(direction == VXLMediaDirectionRear);
    } else if (direction == VXLMediaDirectionUnknown) {
        m_view->setAudioToggleVisible(false);
    }
    // Both stay silent while a swap reopens them.
    if (m_swapping)
        wanted = nullptr;

    for (VXLPlayerInterface* player : {m_player1, m_player2}) {
        if (player == wanted) {
            player->setMute(false);
            player->setVolume(m_volume);
        } else {
            player->setMute(true);
        }
    }
    m_view->setVolumeSliderValue(m_volume);
}
