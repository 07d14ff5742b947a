#include "VXLPlayInfo.h"

void VXLPlayInfo::setIsPlaying(bool isPlaying)
{
    if (m_isPlaying == isPlaying)
        return;
    m_isPlaying = isPlaying;
    Q_EMIT isPlayingChanged(isPlaying);
}

void VXLPlayInfo::setPosition(double position)
{
    if (m_position == position)
        return;
    m_position = position;
    Q_EMIT positionChanged(position);
}

void VXLPlayInfo::setSpeed(double speed)
{
    if (m_speed == speed)
        return;
    m_speed = speed;
    Q_EMIT speedChanged(speed);
}

void VXLPlayInfo::setScale(double scale)
{
    if (m_scale == scale)
        return;
    m_scale = scale;
    Q_EMIT scaleChanged(scale);
}

void VXLPlayInfo::setAudioMediaDirection(int direction)
{
    if (m_audioMediaDirection == direction)
        return;
    m_audioMediaDirection = direction;
    Q_EMIT audioMediaDirectionChanged(direction);
}
