#include "VXLPlayInfo.h"

namespace {

// Stores the value and notifies only when it changes, so a two-way link does not echo.
template <typename Value, typename Signal>
void assign(VXLPlayInfo* info, Value& field, Value value, Signal changed)
{
    if (field == value)
        return;
    field = value;
    Q_EMIT(info->*changed)(value);
}

} // namespace

void VXLPlayInfo::setIsPlaying(bool isPlaying)
{
    assign(this, m_isPlaying, isPlaying, &VXLPlayInfo::isPlayingChanged);
}

void VXLPlayInfo::setPosition(double position)
{
    assign(this, m_position, position, &VXLPlayInfo::positionChanged);
}

void VXLPlayInfo::setSpeed(double speed)
{
    assign(this, m_speed, speed, &VXLPlayInfo::speedChanged);
}

void VXLPlayInfo::setScale(double scale)
{
    assign(this, m_scale, scale, &VXLPlayInfo::scaleChanged);
}

void VXLPlayInfo::setAudioMediaDirection(int direction)
{
    assign(this, m_audioMediaDirection, direction, &VXLPlayInfo::audioMediaDirectionChanged);
}
