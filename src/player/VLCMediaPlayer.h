#pragma once

#include "VXLPlayerInterface.h"

#include <QElapsedTimer>
#include <QImage>
#include <QMutex>
#include <QPointer>

#include <atomic>
#include <vector>

struct libvlc_media_player_t;
struct libvlc_event_t;
class VLCVideoView;

// The libVLC player behind the player interface. One per video view, on the GUI thread.
// libVLC reports on its own threads; those callbacks only post to this object, and every
// libVLC call is made from the GUI thread.
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

    VLCVideoView* videoView() const { return m_videoView; }
    // libVLC's own player: tests read back what libVLC itself applied (rate, mute, volume).
    libvlc_media_player_t* libVLCPlayer() const { return m_player; }

private:
    static void handleEvent(const libvlc_event_t* event, void* opaque);
    void onStateEvent();
    void onTimeEvent();
    void onLengthEvent(int64_t length);
    void attachVideoOutput();
    void applyAudio();
    void markSeek(int64_t targetMs = -1);

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

    // libVLC's time moves in steps of about a third of a second; between steps the time of
    // a playing media is carried on by the clock, so two players can be compared and aligned.
    mutable int64_t m_lastLibVLCTime = -1;
    // After a seek libVLC reads the target until the input has really moved: nothing is
    // carried on before that.
    mutable bool m_seeking = false;
    mutable QElapsedTimer m_sinceLastLibVLCTime;
    // libVLC's input takes a seek on its own thread, late when the machine is busy; until its
    // time is near the target, the player reports the target, so a partner aligned to it in
    // the meantime goes where the master is going rather than where it was.
    mutable int64_t m_seekTargetMs = -1;
    mutable QElapsedTimer m_sinceSeek;
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
