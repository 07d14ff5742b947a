#include "SMDoubleSliderCell.h"

#include <algorithm>
#include <cmath>

void SMDoubleSliderCell::setMinValue(double minimum)
{
    if (!std::isfinite(minimum)) {
        return;
    }
    if (m_hiValue < minimum) {
        setDoubleHiValue(minimum);
    }
    if (_sm_loValue < minimum) {
        setDoubleLoValue(minimum);
    }
    m_minValue = minimum;
}

void SMDoubleSliderCell::setMaxValue(double maximum)
{
    if (!std::isfinite(maximum)) {
        return;
    }
    if (_sm_loValue > maximum) {
        setDoubleLoValue(maximum);
    }
    if (m_hiValue > maximum) {
        setDoubleHiValue(maximum);
    }
    m_maxValue = maximum;
}

void SMDoubleSliderCell::setDoubleHiValue(double value)
{
    if (!std::isfinite(value)) {
        return;
    }
    if (value < _sm_loValue) {
        value = _sm_loValue;
    }
    if (value > m_maxValue) {
        value = m_maxValue;
    }
    m_hiValue = value;
}

void SMDoubleSliderCell::setDoubleLoValue(double value)
{
    if (!std::isfinite(value)) {
        return;
    }
    if (value > m_hiValue) {
        value = m_hiValue;
    }
    if (value < m_minValue) {
        value = m_minValue;
    }
    _sm_loValue = value;
}

void SMDoubleSliderCell::setFlag(std::uint32_t flag, bool on)
{
    _sm_flags = on ? (_sm_flags | flag) : (_sm_flags & ~flag);
}

void SMDoubleSliderCell::setTrackingLoKnob(bool tracking)
{
    setFlag(kTrackingLoKnobFlag, tracking);
}

void SMDoubleSliderCell::setLockedSliders(bool locked)
{
    setFlag(kLockedSlidersFlag, locked);
    if (locked) {
        setDoubleLoValue(m_hiValue);
    }
}

void SMDoubleSliderCell::setAltIncrementValue(double increment)
{
    m_altIncrementValue = std::isfinite(increment) && increment > 0 ? increment : 0.0;
}

QRect SMDoubleSliderCell::knobRect(double value, const QRect& bounds) const
{
    const double range = m_maxValue - m_minValue;
    const double fraction = range > 0 ? std::clamp((value - m_minValue) / range, 0.0, 1.0) : 0.0;
    const int travel = std::max(0, bounds.width() - kKnobWidth);
    const int x = bounds.left() + static_cast<int>(std::lround(fraction * travel));
    const int y = bounds.top() + (bounds.height() - kKnobHeight) / 2;
    return {x, y, kKnobWidth, kKnobHeight};
}

QRect SMDoubleSliderCell::barRect(const QRect& bounds) const
{
    // A little wider than the knobs' travel, so a knob at either end still sits on it.
    const int inset = kKnobWidth / 2 - 2;
    const int y = bounds.top() + (bounds.height() - kBarHeight) / 2;
    return {bounds.left() + inset, y, std::max(0, bounds.width() - 2 * inset), kBarHeight};
}

double SMDoubleSliderCell::valueAtPosition(double x, const QRect& bounds) const
{
    const int travel = bounds.width() - kKnobWidth;
    if (travel <= 0) {
        return m_minValue;
    }
    const double fraction = std::clamp((x - bounds.left() - kKnobWidth / 2.0) / travel, 0.0, 1.0);
    return m_minValue + fraction * (m_maxValue - m_minValue);
}

SMDoubleSliderCell::Knob SMDoubleSliderCell::knobForPress(QPointF point, const QRect& bounds) const
{
    const QRect lowRect = knobRect(_sm_loValue, bounds);
    // The centre of an even-width rectangle lies between two pixels.
    if (point.x() >= lowRect.left() + kKnobWidth / 2.0) {
        return Knob::High;
    }
    if (lowRect == knobRect(m_hiValue, bounds) && !(_sm_loValue > m_minValue)) {
        return Knob::High;
    }
    return Knob::Low;
}

SMDoubleSliderCell::Knob SMDoubleSliderCell::startTracking(QPointF point, const QRect& bounds)
{
    m_trackedKnob = knobForPress(point, bounds);
    m_tracking = true;
    setFlag(kDraggingLoKnobFlag, m_trackedKnob == Knob::Low);
    const double value = m_trackedKnob == Knob::Low ? _sm_loValue : m_hiValue;
    const QRect rect = knobRect(value, bounds);
    const double centre = rect.left() + kKnobWidth / 2.0;
    if (rect.contains(point.toPoint())) {
        m_grabOffset = point.x() - centre;
    } else {
        m_grabOffset = 0.0;
        moveKnob(m_trackedKnob, valueAtPosition(point.x(), bounds));
    }
    return m_trackedKnob;
}

void SMDoubleSliderCell::continueTracking(QPointF point, const QRect& bounds,
                                          bool stepByAltIncrement)
{
    if (!m_tracking) {
        return;
    }
    double value = valueAtPosition(point.x() - m_grabOffset, bounds);
    if (stepByAltIncrement && m_altIncrementValue > 0) {
        value = m_minValue +
                std::round((value - m_minValue) / m_altIncrementValue) * m_altIncrementValue;
    }
    moveKnob(m_trackedKnob, value);
}

void SMDoubleSliderCell::stopTracking()
{
    m_tracking = false;
    setFlag(kDraggingLoKnobFlag, false);
}

void SMDoubleSliderCell::moveKnob(Knob knob, double value)
{
    if (!lockedSliders()) {
        if (knob == Knob::Low) {
            setDoubleLoValue(value);
        } else {
            setDoubleHiValue(value);
        }
        return;
    }
    // Locked: the value that makes room moves first, then the other follows onto it.
    value = std::clamp(value, m_minValue, std::max(m_minValue, m_maxValue));
    if (value >= m_hiValue) {
        setDoubleHiValue(value);
        setDoubleLoValue(value);
    } else {
        setDoubleLoValue(value);
        setDoubleHiValue(value);
    }
}

double SMDoubleSliderCell::keyStep() const
{
    return m_altIncrementValue > 0 ? m_altIncrementValue : (m_maxValue - m_minValue) / 100.0;
}

void SMDoubleSliderCell::stepKeyboardKnob(double steps)
{
    const Knob knob = trackingLoKnob() ? Knob::Low : Knob::High;
    const double value = knob == Knob::Low ? _sm_loValue : m_hiValue;
    moveKnob(knob, value + steps * keyStep());
}
