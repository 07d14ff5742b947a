#pragma once

#include "player/VXLPlayerInterface.h"

#include <QTimer>

// A player that behaves like the libVLC one as far as the playback logic can tell: state
// changes arrive later on the event loop, a media reaching its end leaves the player paused
// at 0.97. Time passes only when the test calls tick(). A path containing "damaged" fails
// with the error state, one containing "stuck" never leaves opening; front recordings have
// sound, rear ones none.
class ScriptedPlayer : public VXLPlayerInterface
{
public:
    static constexpr int64_t kLengthMs = 30000;

    VLCMediaPtr media() const override { return m_media; }
    void setMedia(const VLCMediaPtr& media) override
    {
        m_media = media;
        if (m_media)
            m_media->setLength(VLCTime::timeWithInt(kLengthMs));
        setState(VLCMediaPlayerState::Stopped);
        m_position = 0;
    }
    void play() override
    {
        if (!m_media)
            return;
        if (m_media->path().contains("damaged"))
            setState(VLCMediaPlayerState::Error);
        else if (m_media->path().contains("stuck"))
            setState(VLCMediaPlayerState::Opening);
        else
            setState(VLCMediaPlayerState::Playing);
    }
    void pause() override
    {
        if (m_state == VLCMediaPlayerState::Playing)
            setState(VLCMediaPlayerState::Paused);
    }
    void stop() override
    {
        setState(VLCMediaPlayerState::Stopped);
        m_position = 0;
    }
    bool isPlaying() const override { return m_state == VLCMediaPlayerState::Playing; }
    VLCMediaPlayerState state() const override { return m_state; }

    float position() const override { return m_position; }
    void setPosition(float position) override
    {
        if (!m_media)
            return;
        m_position = position;
        if (m_position >= 1.0f && m_state == VLCMediaPlayerState::Playing)
            setState(VLCMediaPlayerState::Paused);
    }
    VLCTime time() const override { return VLCTime::timeWithInt(int64_t(m_position * kLengthMs)); }
    void setTime(const VLCTime& time) override { setPosition(float(time.intValue()) / kLengthMs); }
    VLCTime remainingTime() const override
    {
        return VLCTime::timeWithInt(time().intValue() - kLengthMs);
    }
    float rate() const override { return m_rate; }
    void setRate(float rate) override { m_rate = rate; }
    bool isMuted() const override { return m_muted; }
    void setMute(bool mute) override { m_muted = mute; }
    int volume() const override { return m_volume; }
    void setVolume(int volume) override { m_volume = volume; }
    QList<int> audioTrackIndexes() const override
    {
        return m_media && m_media->isFrontMedia() ? QList<int>{1} : QList<int>{};
    }
    bool hasVideoOut() const override { return isPlaying(); }
    QSize videoSize() const override { return QSize(1280, 720); }
    void jumpForward(int seconds) override
    {
        setPosition(m_position + seconds * 1000.0f / kLengthMs);
    }
    void jumpBackward(int seconds) override
    {
        setPosition(m_position - seconds * 1000.0f / kLengthMs);
    }
    bool saveVideoSnapshotAt(const QString&, int, int) override { return false; }

    // One time change, a second of playing.
    void tick()
    {
        if (m_state != VLCMediaPlayerState::Playing)
            return;
        m_position += 1000.0f / kLengthMs;
        Q_EMIT mediaPlayerTimeChanged(this);
    }
    // The media plays to its end: paused on its last picture, as with --play-and-pause.
    void reachEnd()
    {
        if (m_state != VLCMediaPlayerState::Playing)
            return;
        m_position = 0.97f;
        setState(VLCMediaPlayerState::Paused);
    }

private:
    void setState(VLCMediaPlayerState state)
    {
        m_state = state;
        QTimer::singleShot(0, this, [this] { Q_EMIT mediaPlayerStateChanged(this); });
    }

    VLCMediaPtr m_media;
    VLCMediaPlayerState m_state = VLCMediaPlayerState::Stopped;
    float m_position = 0;
    float m_rate = 1;
    bool m_muted = false;
    int m_volume = 100;
};
