#pragma once

#include "VLCMedia.h"
#include "VLCTime.h"

#include <QList>
#include <QObject>
#include <QSize>
#include <QString>

// Player states; only Paused is tested by the playback logic, Error ends an opening.
enum class VLCMediaPlayerState : int {
    Stopped = 0,
    Opening = 1,
    Buffering = 2,
    Ended = 3,
    Error = 4,
    Playing = 5,
    Paused = 6
};

// What the playback logic needs of a player. The libVLC player implements it, and so does a
// scripted player in the tests. Lives on the GUI thread; its signals are emitted there.
class VXLPlayerInterface : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~VXLPlayerInterface() override = default;

    // Null when nothing is loaded. Setting null stops and unloads.
    virtual VLCMediaPtr media() const = 0;
    virtual void setMedia(const VLCMediaPtr& media) = 0;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    // The player's own flag: it plays now.
    virtual bool isPlaying() const = 0;
    virtual VLCMediaPlayerState state() const = 0;

    // Fraction 0..1 of the length.
    virtual float position() const = 0;
    virtual void setPosition(float position) = 0;

    virtual VLCTime time() const = 0;
    // setTime(media length) moves to the end, setTime(VLCTime::nullTime()) to the start.
    virtual void setTime(const VLCTime& time) = 0;
    // Negative milliseconds; no time while the length is unknown.
    virtual VLCTime remainingTime() const = 0;

    virtual float rate() const = 0;
    virtual void setRate(float rate) = 0;

    virtual bool isMuted() const = 0;
    virtual void setMute(bool mute) = 0;
    virtual int volume() const = 0;
    // 0..200, clamped.
    virtual void setVolume(int volume) = 0;

    // Ids of the media's audio tracks, empty when it has no sound.
    virtual QList<int> audioTrackIndexes() const = 0;

    virtual bool hasVideoOut() const = 0;
    // Pixels; empty before the first picture.
    virtual QSize videoSize() const = 0;

    virtual void jumpForward(int seconds) = 0;
    virtual void jumpBackward(int seconds) = 0;

    // Writes the current picture (width and height 0: the video's own size) before it
    // returns; JPEG for a ".jpg"/".jpeg" path. Answers false when nothing was written.
    virtual bool saveVideoSnapshotAt(const QString& path, int width, int height) = 0;

    // A seek was sent and the player does not play from its target yet; time() answers the
    // target meanwhile.
    virtual bool isSeeking() const { return false; }

Q_SIGNALS:
    void mediaPlayerStateChanged(VXLPlayerInterface* player);
    // Regularly while playing (the position display follows every third), and once when a
    // pause or a seek settles the time.
    void mediaPlayerTimeChanged(VXLPlayerInterface* player);
};
