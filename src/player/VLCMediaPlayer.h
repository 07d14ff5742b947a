#pragma once

#include "VLCPlayerClock.h"
#include "VXLPlayerInterface.h"

#include <QImage>
#include <QMutex>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <vector>

struct libvlc_media_player_t;
struct libvlc_event_t;
class VLCVideoView;

// The libVLC player behind the player interface. One per video view, on the GUI thread.
// libVLC reports on its own threads; those callbacks only post to this object, and every
// libVLC call is made from the GUI thread. While it plays, the player reports a time change
// at the frame rate (libVLC itself reports about three a second); nothing runs while it is
// paused.
class VLCMediaPlayer : public VXLPlayerInterface
{
    Q_OBJECT

public:
    // The view may be null (sound and snapshots only, e.g. in tests).
    explicit VLCMediaPlayer(VLCVideoView* videoView, QObject* parent = nullptr);
    ~VLCMediaPlayer() override;

    VLCMediaPtr media() const override { return m_media; }
    void setMedia(const VLCMediaPtr& media) override;

    void play() override;
    void pause() override;
    void stop() override;
    bool isPlaying() const override;
    VLCMediaPlayerState state() const override;

    float position() const override;
    void setPosition(float position) override;
    VLCTime time() const override;
    void setTime(const VLCTime& time) override;
    VLCTime remainingTime() const override;

    float rate() const override { return m_rate; }
    void setRate(float rate) override;

    bool isMuted() const override { return m_muted; }
    void setMute(bool mute) override;
    int volume() const override { return m_volume; }
    void setVolume(int volume) override;

    QList<int> audioTrackIndexes() const override;
    bool hasVideoOut() const override;
    QSize videoSize() const override;

    void jumpForward(int seconds) override;
    void jumpBackward(int seconds) override;

    bool saveVideoSnapshotAt(const QString& path, int width, int height) override;

    bool isSeeking() const override;

    // Time changes a second while playing.
    static constexpr int kTimeChangesPerSecond = 30;

    VLCVideoView* videoView() const { return m_videoView; }
    // libVLC's own player: tests read back what libVLC itself applied (rate, mute, volume).
    libvlc_media_player_t* libVLCPlayer() const { return m_player; }

private:
    static void handleEvent(const libvlc_event_t* event, void* opaque);
    void onStateEvent(int64_t stampNs);
    void onTimeEvent(int64_t libVLCMs, int64_t stampNs, quint64 seekGeneration);
    void onBufferingDone(quint64 seekGeneration);
    void onLengthEvent(int64_t length);
    void attachVideoOutput();
    void applyAudio();
    void playSilently();
    void markSeek(int64_t targetMs);
    int64_t lengthMs() const;

    // Memory rendering (no native window): libVLC decodes into m_buffer.
    static unsigned formatCallback(void** opaque, char* chroma, unsigned* width, unsigned* height,
                                   unsigned* pitches, unsigned* lines);
    static void* lockCallback(void* opaque, void** planes);
    static void unlockCallback(void* opaque, void* picture, void* const* planes);
    static void displayCallback(void* opaque, void* picture);
    void showLatestFrame();

    libvlc_media_player_t* m_player = nullptr;
    QPointer<VLCVideoView> m_videoView;
    VLCMediaPtr m_media;
    float m_rate = 1.0f;
    // Paused by libVLC at the end of the media (--play-and-pause), not by pause().
    bool m_pauseRequested = false;
    bool m_pausedAtEnd = false;
    // play() was the last request: neither pause() nor a seek came after it.
    bool m_playRequested = false;
    // libVLC "plays" a file it cannot decode: it pauses or ends at once, with no time
    // and no length. Such a media reports the error state.
    bool m_sawTime = false;
    bool m_unplayable = false;
    bool m_silentAudio = false;

    // Read by time(), which is const for the callers but moves the clock's floor.
    mutable VLCPlayerClock m_clock;
    // Bumped by every seek: libVLC's reports are tagged with it on libVLC's thread.
    std::atomic<quint64> m_seekGeneration{0};
    // The frame-rate time changes while playing.
    QTimer m_timeChangeTimer;
    bool m_muted = false;
    int m_volume = 100;

    // Bumped by setMedia: events libVLC posted for the previous media are dropped.
    std::atomic<quint64> m_mediaGeneration{0};

    QMutex m_bufferMutex;
    std::vector<uchar> m_buffer;
    unsigned m_bufferWidth = 0;
    unsigned m_bufferHeight = 0;
    QImage m_latestFrame;
    std::atomic<bool> m_framePending{false};
};
