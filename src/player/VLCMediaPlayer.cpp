#include "VLCMediaPlayer.h"

#include "PlayerLog.h"
#include "VLCLibrary.h"
#include "VLCVideoView.h"
#include "fileio/NativeFileName.h"

#include <QFileInfo>
#include <QImage>
#include <QMutexLocker>
#include <QTemporaryDir>

#include <vlc/vlc.h>

#include <algorithm>

namespace {

// A seek that has not landed after this long is taken to have ended wherever libVLC stands.
constexpr int64_t kSeekGiveUpNs = 3000LL * 1000 * 1000;

constexpr libvlc_event_e kStateEvents[] = {
    libvlc_MediaPlayerOpening, libvlc_MediaPlayerPlaying,    libvlc_MediaPlayerPaused,
    libvlc_MediaPlayerStopped, libvlc_MediaPlayerEndReached, libvlc_MediaPlayerEncounteredError,
};

VLCMediaPlayerState stateFromLibVLC(libvlc_state_t state)
{
    switch (state) {
    case libvlc_Opening:
        return VLCMediaPlayerState::Opening;
    case libvlc_Buffering:
        return VLCMediaPlayerState::Buffering;
    case libvlc_Playing:
        return VLCMediaPlayerState::Playing;
    case libvlc_Paused:
        return VLCMediaPlayerState::Paused;
    case libvlc_Ended:
        return VLCMediaPlayerState::Ended;
    case libvlc_Error:
        return VLCMediaPlayerState::Error;
    case libvlc_NothingSpecial:
    case libvlc_Stopped:
        break;
    }
    return VLCMediaPlayerState::Stopped;
}

} // namespace

VLCMediaPlayer::VLCMediaPlayer(VLCVideoView* videoView, QObject* parent)
    : VXLPlayerInterface(parent), m_videoView(videoView)
{
    libvlc_instance_t* instance = VLCLibrary::sharedLibrary().instance();
    if (!instance)
        return;
    m_player = libvlc_media_player_new(instance);
    if (!m_player)
        return;
    // Clicks and keys belong to the window (double click on the list, shortcuts).
    libvlc_video_set_mouse_input(m_player, 0);
    libvlc_video_set_key_input(m_player, 0);

    libvlc_event_manager_t* events = libvlc_media_player_event_manager(m_player);
    for (libvlc_event_e type : kStateEvents)
        libvlc_event_attach(events, type, &VLCMediaPlayer::handleEvent, this);
    libvlc_event_attach(events, libvlc_MediaPlayerTimeChanged, &VLCMediaPlayer::handleEvent, this);
    libvlc_event_attach(events, libvlc_MediaPlayerLengthChanged, &VLCMediaPlayer::handleEvent,
                        this);
    libvlc_event_attach(events, libvlc_MediaPlayerBuffering, &VLCMediaPlayer::handleEvent, this);

    m_timeChangeTimer.setInterval(1000 / kTimeChangesPerSecond);
    m_timeChangeTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_timeChangeTimer, &QTimer::timeout, this,
            [this] { Q_EMIT mediaPlayerTimeChanged(this); });

    VLCLibrary& library = VLCLibrary::sharedLibrary();
    if (library.playsSilently())
        playSilently();
    connect(&library, &VLCLibrary::soundOutputFailed, this, &VLCMediaPlayer::playSilently);

    if (m_videoView && !VLCVideoView::usesNativeWindow()) {
        libvlc_video_set_format_callbacks(m_player, &VLCMediaPlayer::formatCallback, nullptr);
        libvlc_video_set_callbacks(m_player, &VLCMediaPlayer::lockCallback,
                                   &VLCMediaPlayer::unlockCallback,
                                   &VLCMediaPlayer::displayCallback, this);
    } else if (m_videoView) {
        connect(m_videoView, &VLCVideoView::windowIdChanged, this,
                &VLCMediaPlayer::attachVideoOutput);
    }
}

VLCMediaPlayer::~VLCMediaPlayer()
{
    if (!m_player)
        return;
    // Detach first: no callback may reach a half-destroyed object.
    libvlc_event_manager_t* events = libvlc_media_player_event_manager(m_player);
    for (libvlc_event_e type : kStateEvents)
        libvlc_event_detach(events, type, &VLCMediaPlayer::handleEvent, this);
    libvlc_event_detach(events, libvlc_MediaPlayerTimeChanged, &VLCMediaPlayer::handleEvent, this);
    libvlc_event_detach(events, libvlc_MediaPlayerLengthChanged, &VLCMediaPlayer::handleEvent,
                        this);
    libvlc_event_detach(events, libvlc_MediaPlayerBuffering, &VLCMediaPlayer::handleEvent, this);
    libvlc_media_player_stop(m_player);
    libvlc_media_player_release(m_player);
}

void VLCMediaPlayer::handleEvent(const libvlc_event_t* event, void* opaque)
{
    // libVLC's thread: post only, never call libVLC from here. The moment of the event is
    // taken here, so that a busy GUI thread does not make the reported time late.
    auto* self = static_cast<VLCMediaPlayer*>(opaque);
    const quint64 generation = self->m_mediaGeneration.load();
    const quint64 seekGeneration = self->m_seekGeneration.load();
    const int64_t stampNs = VLCPlayerClock::steadyNowNs();
    const auto post = [self, generation](auto handler) {
        QMetaObject::invokeMethod(
            self,
            [self, generation, handler] {
                if (generation == self->m_mediaGeneration.load())
                    handler();
            },
            Qt::QueuedConnection);
    };
    switch (event->type) {
    case libvlc_MediaPlayerTimeChanged: {
        const int64_t time = event->u.media_player_time_changed.new_time;
        post([self, time, stampNs, seekGeneration] {
            self->onTimeEvent(time, stampNs, seekGeneration);
        });
        break;
    }
    case libvlc_MediaPlayerLengthChanged: {
        const int64_t length = event->u.media_player_length_changed.new_length;
        post([self, length] { self->onLengthEvent(length); });
        break;
    }
    case libvlc_MediaPlayerBuffering:
        if (event->u.media_player_buffering.new_cache >= 100.0f)
            post([self, seekGeneration] { self->onBufferingDone(seekGeneration); });
        break;
    default:
        post([self, stampNs] { self->onStateEvent(stampNs); });
        break;
    }
}

void VLCMediaPlayer::onStateEvent(int64_t stampNs)
{
    const VLCMediaPlayerState now = stateFromLibVLC(libvlc_media_player_get_state(m_player));
    qCDebug(lcPlayer, "%p: state %d", static_cast<void*>(this), int(now));
    bool timeSettled = false;
    // A volume or mute set before the Playing event may be lost: apply it again.
    if (now == VLCMediaPlayerState::Playing) {
        applyAudio();
        m_pausedAtEnd = false;
        m_clock.playing(stampNs);
        if (!m_timeChangeTimer.isActive())
            m_timeChangeTimer.start();
    } else {
        m_timeChangeTimer.stop();
        if (now == VLCMediaPlayerState::Paused) {
            m_pausedAtEnd = !m_pauseRequested;
            m_pauseRequested = false;
            // The picture stopped when libVLC paused: that is the time from now on.
            m_clock.paused(stampNs, lengthMs());
            timeSettled = true;
        }
    }
    if ((m_pausedAtEnd || now == VLCMediaPlayerState::Ended) && !m_sawTime &&
        libvlc_media_player_get_length(m_player) <= 0)
        m_unplayable = true;
    Q_EMIT mediaPlayerStateChanged(this);
    if (timeSettled && m_media)
        Q_EMIT mediaPlayerTimeChanged(this);
}

void VLCMediaPlayer::onTimeEvent(int64_t libVLCMs, int64_t stampNs, quint64 seekGeneration)
{
    m_sawTime = true;
    if (m_videoView && VLCVideoView::usesNativeWindow())
        m_videoView->setVideoSize(videoSize());
    onLengthEvent(libvlc_media_player_get_length(m_player));
    const int64_t target = m_clock.seekTargetMs();
    const bool landed = m_clock.timeReported(libVLCMs, stampNs, seekGeneration);
    if (landed)
        qCDebug(lcPlayer, "%p: seek to %lld ms landed at %lld ms, %lld ms after it was sent",
                static_cast<void*>(this), (long long)target, (long long)libVLCMs,
                (long long)((stampNs - m_clock.seekStartedNs()) / 1000000));
    // While playing, the regular time changes carry this report on.
    if (landed || !m_timeChangeTimer.isActive())
        Q_EMIT mediaPlayerTimeChanged(this);
}

void VLCMediaPlayer::onBufferingDone(quint64 seekGeneration)
{
    if (m_clock.bufferingDone(seekGeneration))
        Q_EMIT mediaPlayerTimeChanged(this);
}

void VLCMediaPlayer::onLengthEvent(int64_t length)
{
    if (m_media && length > 0)
        m_media->setLength(VLCTime::timeWithInt(length));
}

int64_t VLCMediaPlayer::lengthMs() const
{
    const int64_t length = m_player ? libvlc_media_player_get_length(m_player) : 0;
    if (length > 0)
        return length;
    return m_media ? m_media->length().intValue() : 0;
}

void VLCMediaPlayer::playSilently()
{
    if (!m_player || m_silentAudio)
        return;
    m_silentAudio = true;
    // The media playing now stops decoding its sound (the next ones are opened without it):
    // libVLC tries no output again. The track list, the volume and the mute stay as they are.
    if (m_media)
        libvlc_audio_set_track(m_player, -1);
}

void VLCMediaPlayer::setMedia(const VLCMediaPtr& media)
{
    if (!m_player)
        return;
    ++m_mediaGeneration;
    m_timeChangeTimer.stop();
    libvlc_media_player_stop(m_player);
    m_clock.reset();
    m_media = media;
    libvlc_media_t* vlcMedia = nullptr;
    if (media) {
        const QByteArray path = NativeFileName::fileNameToBytes(media->path());
        VLCLibrary& library = VLCLibrary::sharedLibrary();
        vlcMedia = libvlc_media_new_path(library.instance(), path.constData());
        for (const QByteArray& option : library.mediaOptions()) {
            if (vlcMedia)
                libvlc_media_add_option(vlcMedia, option.constData());
        }
    }
    libvlc_media_player_set_media(m_player, vlcMedia);
    if (vlcMedia)
        libvlc_media_release(vlcMedia);
    m_pauseRequested = false;
    m_pausedAtEnd = false;
    m_playRequested = false;
    m_sawTime = false;
    m_unplayable = false;
}

void VLCMediaPlayer::attachVideoOutput()
{
    if (!m_player || !m_videoView || !VLCVideoView::usesNativeWindow())
        return;
    // The window id can change (reparenting, a web view in the same window).
    libvlc_media_player_set_xwindow(m_player, uint32_t(m_videoView->videoWindowId()));
}

void VLCMediaPlayer::play()
{
    if (!m_player || !m_media)
        return;
    attachVideoOutput();
    const VLCMediaPlayerState now = state();
    if (now == VLCMediaPlayerState::Ended || now == VLCMediaPlayerState::Error) {
        // An ended input ignores play(); only a fresh one starts.
        libvlc_media_player_stop(m_player);
        m_clock.reset();
    } else if (now == VLCMediaPlayerState::Paused &&
               (m_pausedAtEnd || m_playRequested || position() >= 0.999f)) {
        // Resuming at the end would only end the input (black picture, state Ended):
        // play the recording again from its start instead. A player asked to play that
        // stands paused without a pause() or a seek since was paused by libVLC at the end,
        // even when that state event is still on its way.
        libvlc_media_player_set_position(m_player, 0.0f);
        m_clock.reset();
        markSeek(0);
    } else {
        m_clock.resumed(VLCPlayerClock::steadyNowNs());
    }
    m_pausedAtEnd = false;
    m_sawTime = false;
    m_unplayable = false;
    libvlc_media_player_play(m_player);
    m_playRequested = true;
}

void VLCMediaPlayer::pause()
{
    if (m_player && m_media && state() == VLCMediaPlayerState::Playing) {
        m_pauseRequested = true;
        m_playRequested = false;
        libvlc_media_player_set_pause(m_player, 1);
    }
}

void VLCMediaPlayer::stop()
{
    if (!m_player)
        return;
    m_pausedAtEnd = false;
    m_playRequested = false;
    m_timeChangeTimer.stop();
    libvlc_media_player_stop(m_player);
    m_clock.reset();
}

bool VLCMediaPlayer::isPlaying() const
{
    return state() == VLCMediaPlayerState::Playing;
}

VLCMediaPlayerState VLCMediaPlayer::state() const
{
    if (!m_player)
        return VLCMediaPlayerState::Stopped;
    if (m_unplayable)
        return VLCMediaPlayerState::Error;
    return stateFromLibVLC(libvlc_media_player_get_state(m_player));
}

float VLCMediaPlayer::position() const
{
    if (!m_player || !m_media)
        return 0;
    const int64_t length = lengthMs();
    const VLCTime now = time();
    if (length <= 0 || !now.isValid())
        return std::max(0.0f, libvlc_media_player_get_position(m_player));
    return std::clamp(float(double(now.intValue()) / double(length)), 0.0f, 1.0f);
}

void VLCMediaPlayer::setPosition(float position)
{
    if (m_player && m_media) {
        m_pausedAtEnd = false;
        const float target = std::clamp(position, 0.0f, 1.0f);
        const int64_t length = lengthMs();
        if (length > 0) {
            // By time, so that the target the clock reports is the one libVLC goes to.
            setTime(VLCTime::timeWithInt(int64_t(double(target) * double(length))));
            return;
        }
        markSeek(0);
        libvlc_media_player_set_position(m_player, target);
    }
}

VLCTime VLCMediaPlayer::time() const
{
    if (!m_player || !m_media)
        return VLCTime::noTime();
    const int64_t now = VLCPlayerClock::steadyNowNs();
    if (m_clock.isSeeking() && now - m_clock.seekStartedNs() > kSeekGiveUpNs) {
        qCDebug(lcPlayer, "seek to %lld ms did not land", (long long)m_clock.seekTargetMs());
        m_clock.abandonSeek();
    }
    const int64_t libVLCTime = libvlc_media_player_get_time(m_player);
    const int64_t time =
        m_clock.timeAt(now, state() == VLCMediaPlayerState::Playing, libVLCTime, lengthMs());
    return time < 0 ? VLCTime::noTime() : VLCTime::timeWithInt(time);
}

bool VLCMediaPlayer::isSeeking() const
{
    // Asking for the time gives up a seek that takes too long.
    time();
    return m_clock.isSeeking();
}

void VLCMediaPlayer::markSeek(int64_t targetMs)
{
    // Only play() itself keeps its request; any other seek moves the player off the end.
    m_playRequested = false;
    m_clock.seekStarted(targetMs, ++m_seekGeneration);
}

void VLCMediaPlayer::setTime(const VLCTime& time)
{
    if (!m_player || !m_media || !time.isValid())
        return;
    m_pausedAtEnd = false;
    const int64_t target = std::max<int64_t>(0, time.intValue());
    // Tagged before libVLC is asked: it repeats the target at once, and that echo must not
    // count as the landing.
    markSeek(target);
    libvlc_media_player_set_time(m_player, target);
}

VLCTime VLCMediaPlayer::remainingTime() const
{
    const VLCTime now = time();
    if (!m_media || !now.isValid())
        return VLCTime::noTime();
    const int64_t length = lengthMs();
    if (length <= 0)
        return VLCTime::noTime();
    return VLCTime::timeWithInt(std::min<int64_t>(0, now.intValue() - length));
}

void VLCMediaPlayer::setRate(float rate)
{
    // get_rate reads the old rate for up to half a second: answer the rate asked for.
    m_rate = rate;
    m_clock.setRate(rate, VLCPlayerClock::steadyNowNs());
    if (m_player)
        libvlc_media_player_set_rate(m_player, rate);
}

void VLCMediaPlayer::setMute(bool mute)
{
    m_muted = mute;
    applyAudio();
}

void VLCMediaPlayer::setVolume(int volume)
{
    // libVLC does not bound the volume above.
    m_volume = std::clamp(volume, 0, 200);
    applyAudio();
}

void VLCMediaPlayer::applyAudio()
{
    if (!m_player)
        return;
    libvlc_audio_set_mute(m_player, m_muted ? 1 : 0);
    libvlc_audio_set_volume(m_player, m_volume);
}

QList<int> VLCMediaPlayer::audioTrackIndexes() const
{
    QList<int> tracks;
    if (!m_player || !m_media)
        return tracks;
    libvlc_track_description_t* list = libvlc_audio_get_track_description(m_player);
    // The list holds a "Disable" entry with id -1: not a track.
    for (libvlc_track_description_t* entry = list; entry; entry = entry->p_next) {
        if (entry->i_id != -1)
            tracks.append(entry->i_id);
    }
    if (list)
        libvlc_track_description_list_release(list);
    return tracks;
}

bool VLCMediaPlayer::hasVideoOut() const
{
    return m_player && m_media && libvlc_media_player_has_vout(m_player) > 0;
}

QSize VLCMediaPlayer::videoSize() const
{
    unsigned width = 0;
    unsigned height = 0;
    if (!m_player || !m_media || libvlc_video_get_size(m_player, 0, &width, &height) != 0)
        return {};
    return QSize(int(width), int(height));
}

void VLCMediaPlayer::jumpForward(int seconds)
{
    const VLCTime now = time();
    if (!now.isValid())
        return;
    int64_t target = now.intValue() + int64_t(seconds) * 1000;
    const int64_t length = lengthMs();
    if (length > 0)
        target = std::min(target, length);
    setTime(VLCTime::timeWithInt(target));
}

void VLCMediaPlayer::jumpBackward(int seconds)
{
    const VLCTime now = time();
    if (now.isValid())
        setTime(
            VLCTime::timeWithInt(std::max<int64_t>(0, now.intValue() - int64_t(seconds) * 1000)));
}

bool VLCMediaPlayer::saveVideoSnapshotAt(const QString& path, int width, int height)
{
    if (!m_player || !m_media || path.isEmpty())
        return false;
    QImage picture;
    // libVLC writes PNG whatever the extension, and returns once the file is written.
    QTemporaryDir scratch;
    if (scratch.isValid()) {
        const QByteArray pngPath = QFile::encodeName(scratch.filePath(QStringLiteral("frame.png")));
        if (libvlc_video_take_snapshot(m_player, 0, pngPath.constData(),
                                       unsigned(std::max(0, width)),
                                       unsigned(std::max(0, height))) == 0)
            picture.load(QString::fromLocal8Bit(pngPath));
    }
    if (picture.isNull()) {
        QMutexLocker lock(&m_bufferMutex);
        picture = m_latestFrame.copy();
    }
    if (picture.isNull())
        return false;
    if (width > 0 && height > 0 && picture.size() != QSize(width, height))
        picture = picture.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

    const QString suffix = QFileInfo(path).suffix().toLower();
    const char* format = (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg"))
                             ? "JPEG"
                         : suffix == QLatin1String("bmp") ? "BMP"
                                                          : "PNG";
    return picture.convertToFormat(QImage::Format_RGB32).save(path, format, 92);
}

unsigned VLCMediaPlayer::formatCallback(void** opaque, char* chroma, unsigned* width,
                                        unsigned* height, unsigned* pitches, unsigned* lines)
{
    auto* self = static_cast<VLCMediaPlayer*>(*opaque);
    // RV32 is laid out as QImage::Format_RGB32 on little-endian machines.
    memcpy(chroma, "RV32", 4);
    QMutexLocker lock(&self->m_bufferMutex);
    self->m_bufferWidth = *width;
    self->m_bufferHeight = *height;
    pitches[0] = *width * 4;
    lines[0] = *height;
    self->m_buffer.assign(size_t(pitches[0]) * lines[0], 0);
    return 1;
}

void* VLCMediaPlayer::lockCallback(void* opaque, void** planes)
{
    auto* self = static_cast<VLCMediaPlayer*>(opaque);
    self->m_bufferMutex.lock();
    planes[0] = self->m_buffer.data();
    return nullptr;
}

void VLCMediaPlayer::unlockCallback(void* opaque, void*, void* const*)
{
    static_cast<VLCMediaPlayer*>(opaque)->m_bufferMutex.unlock();
}

void VLCMediaPlayer::displayCallback(void* opaque, void*)
{
    auto* self = static_cast<VLCMediaPlayer*>(opaque);
    {
        QMutexLocker lock(&self->m_bufferMutex);
        if (self->m_buffer.empty())
            return;
        self->m_latestFrame =
            QImage(self->m_buffer.data(), int(self->m_bufferWidth), int(self->m_bufferHeight),
                   int(self->m_bufferWidth * 4), QImage::Format_RGB32)
                .copy();
    }
    // One pending hand-over at a time: a slow GUI thread skips frames instead of queueing them.
    if (!self->m_framePending.exchange(true))
        QMetaObject::invokeMethod(self, &VLCMediaPlayer::showLatestFrame, Qt::QueuedConnection);
}

void VLCMediaPlayer::showLatestFrame()
{
    m_framePending = false;
    QImage frame;
    {
        QMutexLocker lock(&m_bufferMutex);
        frame = m_latestFrame;
    }
    if (m_videoView)
        m_videoView->presentFrame(frame);
}
