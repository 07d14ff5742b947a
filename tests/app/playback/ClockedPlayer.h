#pragma once

#include "player/VXLPlayerInterface.h"

#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>

// A player whose media time runs with the real clock, sped up by 1 / timeScale (the
// controller's delays are scaled by the same factor), and whose seeks land only after a set
// time, as libVLC's do: until then time() answers the target and isSeeking() is true, and a
// playing player starts from the target when the seek lands. Rates and pauses take effect at
// once. It records the seeks it was sent, with the time the other player showed then.
class ClockedPlayer : public VXLPlayerInterface
{
public:
    struct Seek
    {
        int64_t targetMs;
        int64_t otherMs; // the other player's time when this seek was sent
        bool whilePlaying;
    };

    explicit ClockedPlayer(double timeScale) : m_timeScale(timeScale) { m_clock.start(); }

    void setOther(const ClockedPlayer* other) { m_other = other; }
    // Virtual milliseconds a seek takes to land.
    int64_t seekLatencyMs = 200;
    int64_t lengthMs = 60000;
    QList<Seek> seeks;
    QList<float> rates;
    int pauses = 0;

    VLCMediaPtr media() const override { return m_media; }
    void setMedia(const VLCMediaPtr& media) override
    {
        m_media = media;
        if (m_media)
            m_media->setLength(VLCTime::timeWithInt(lengthMs));
        m_playing = false;
        m_baseMs = 0;
        m_baseAt = nowMs();
        m_landAt = -1;
        emitState();
    }
    void play() override
    {
        if (!m_media || m_playing)
            return;
        rebase();
        m_playing = true;
        emitState();
    }
    void pause() override
    {
        if (!m_playing)
            return;
        rebase();
        m_playing = false;
        ++pauses;
        emitState();
    }
    void stop() override
    {
        m_playing = false;
        m_baseMs = 0;
        m_baseAt = nowMs();
        m_landAt = -1;
        emitState();
    }
    bool isPlaying() const override { return m_media && m_playing; }
    VLCMediaPlayerState state() const override
    {
        if (!m_media)
            return VLCMediaPlayerState::Stopped;
        return m_playing ? VLCMediaPlayerState::Playing : VLCMediaPlayerState::Paused;
    }

    float position() const override { return float(double(time().intValue()) / lengthMs); }
    void setPosition(float position) override
    {
        setTime(VLCTime::timeWithInt(int64_t(double(position) * double(lengthMs))));
    }
    VLCTime time() const override
    {
        landIfDue();
        if (m_landAt >= 0)
            return VLCTime::timeWithInt(m_targetMs);
        const double run = m_playing ? (nowMs() - m_baseAt) * m_rate : 0;
        return VLCTime::timeWithInt(std::min<int64_t>(lengthMs, m_baseMs + int64_t(run)));
    }
    void setTime(const VLCTime& time) override
    {
        if (!m_media)
            return;
        seeks.append({time.intValue(), m_other ? m_other->time().intValue() : -1, m_playing});
        m_targetMs = std::clamp<int64_t>(time.intValue(), 0, lengthMs);
        m_landAt = nowMs() + double(seekLatencyMs);
    }
    VLCTime remainingTime() const override
    {
        return VLCTime::timeWithInt(time().intValue() - lengthMs);
    }
    float rate() const override { return m_rate; }
    void setRate(float rate) override
    {
        rebase();
        m_rate = rate;
        rates.append(rate);
    }
    bool isMuted() const override { return m_muted; }
    void setMute(bool mute) override { m_muted = mute; }
    int volume() const override { return m_volume; }
    void setVolume(int volume) override { m_volume = volume; }
    QList<int> audioTrackIndexes() const override { return {}; }
    bool hasVideoOut() const override { return m_playing; }
    QSize videoSize() const override { return QSize(1280, 720); }
    void jumpForward(int seconds) override
    {
        setTime(VLCTime::timeWithInt(time().intValue() + seconds * 1000));
    }
    void jumpBackward(int seconds) override
    {
        setTime(VLCTime::timeWithInt(time().intValue() - seconds * 1000));
    }
    bool saveVideoSnapshotAt(const QString&, int, int) override { return false; }
    bool isSeeking() const override
    {
        landIfDue();
        return m_landAt >= 0;
    }

private:
    double nowMs() const { return double(m_clock.nsecsElapsed()) / 1e6 / m_timeScale; }
    // A seek whose time has come: the media runs from its target since the landing.
    void landIfDue() const
    {
        if (m_landAt >= 0 && nowMs() >= m_landAt) {
            m_baseMs = m_targetMs;
            m_baseAt = m_landAt;
            m_landAt = -1;
        }
    }
    // The time so far becomes the new start, so that a change of rate or state counts from
    // now. During a seek nothing runs yet: it lands as it would have.
    void rebase()
    {
        landIfDue();
        if (m_landAt >= 0)
            return;
        m_baseMs = time().intValue();
        m_baseAt = nowMs();
    }
    void emitState()
    {
        QTimer::singleShot(0, this, [this] { Q_EMIT mediaPlayerStateChanged(this); });
    }

    QElapsedTimer m_clock;
    double m_timeScale;
    const ClockedPlayer* m_other = nullptr;
    VLCMediaPtr m_media;
    bool m_playing = false;
    float m_rate = 1;
    mutable int64_t m_baseMs = 0;
    mutable double m_baseAt = 0;
    int64_t m_targetMs = 0;
    mutable double m_landAt = -1;
    bool m_muted = false;
    int m_volume = 100;
};
