#pragma once

#include <QObject>

// The observable play state the window follows: written by the playback logic (and by the
// position sliders), observed through the NOTIFY signals. Every value starts at zero/false.
// A setter emits only when the value changes, so a two-way slider link does not echo.
class VXLPlayInfo : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isPlaying READ isPlaying WRITE setIsPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(double position READ position WRITE setPosition NOTIFY positionChanged)
    Q_PROPERTY(double speed READ speed WRITE setSpeed NOTIFY speedChanged)
    Q_PROPERTY(double scale READ scale WRITE setScale NOTIFY scaleChanged)
    Q_PROPERTY(int audioMediaDirection READ audioMediaDirection WRITE setAudioMediaDirection NOTIFY
                   audioMediaDirectionChanged)

public:
    using QObject::QObject;

    bool isPlaying() const { return m_isPlaying; }
    double position() const { return m_position; }
    double speed() const { return m_speed; }
    double scale() const { return m_scale; }
    // 0 front, 1 rear, 2 none.
    int audioMediaDirection() const { return m_audioMediaDirection; }

    void setIsPlaying(bool isPlaying);
    void setPosition(double position);
    void setSpeed(double speed);
    void setScale(double scale);
    void setAudioMediaDirection(int direction);

Q_SIGNALS:
    void isPlayingChanged(bool isPlaying);
    void positionChanged(double position);
    void speedChanged(double speed);
    void scaleChanged(double scale);
    void audioMediaDirectionChanged(int direction);

private:
    bool m_isPlaying = false;
    double m_position = 0;
    double m_speed = 0;
    double m_scale = 0;
    int m_audioMediaDirection = 0;
};
