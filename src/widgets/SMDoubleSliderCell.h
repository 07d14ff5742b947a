#pragma once

#include <QPixmap>
#include <QPointF>
#include <QRect>
#include <QString>

#include <cstdint>

// The values and the dragging of a two-knob range slider: a low and a high value kept in
// order between a minimum and a maximum, which knob a press takes and where a drag may move
// it. Knob rectangles are whole pixels inside the bounds the control gives, so two values
// closer than a pixel share one rectangle, as on any slider. A plain value: a slider's
// settings copy with it.
class SMDoubleSliderCell
{
public:
    enum class Knob { Low, High };

    // One knob rectangle; the low knob's image fills its left half, the high knob's its right
    // half, so two knobs at one value stay both visible and the half pressed says which one.
    static constexpr int kKnobWidth = 20;
    static constexpr int kKnobHeight = 22;
    static constexpr int kBarHeight = 6;

    double minValue() const { return m_minValue; }
    // A new limit first brings both values inside it, then takes it. The value farther from
    // the limit moves first, so that the order rules cannot leave the other one outside.
    void setMinValue(double minimum);
    double maxValue() const { return m_maxValue; }
    void setMaxValue(double maximum);

    // Raised to the low value, then lowered to the maximum.
    void setDoubleHiValue(double value);
    // Lowered to the high value, then raised to the minimum.
    void setDoubleLoValue(double value);
    double doubleHiValue() const { return m_hiValue; }
    double doubleLoValue() const { return _sm_loValue; }

    // The same two values in other types; integers truncate.
    qint64 integerLoValue() const { return static_cast<qint64>(_sm_loValue); }
    qint64 integerHiValue() const { return static_cast<qint64>(m_hiValue); }
    void setIntegerLoValue(qint64 value) { setDoubleLoValue(static_cast<double>(value)); }
    void setIntegerHiValue(qint64 value) { setDoubleHiValue(static_cast<double>(value)); }
    int intLoValue() const { return static_cast<int>(_sm_loValue); }
    int intHiValue() const { return static_cast<int>(m_hiValue); }
    void setIntLoValue(int value) { setDoubleLoValue(value); }
    void setIntHiValue(int value) { setDoubleHiValue(value); }
    float floatLoValue() const { return static_cast<float>(_sm_loValue); }
    float floatHiValue() const { return static_cast<float>(m_hiValue); }
    void setFloatLoValue(float value) { setDoubleLoValue(value); }
    void setFloatHiValue(float value) { setDoubleHiValue(value); }
    QString stringLoValue() const { return QString::number(_sm_loValue); }
    QString stringHiValue() const { return QString::number(m_hiValue); }
    // A text that is no number counts as 0.
    void setStringLoValue(const QString& value) { setDoubleLoValue(value.toDouble()); }
    void setStringHiValue(const QString& value) { setDoubleHiValue(value.toDouble()); }
    double objectLoValue() const { return _sm_loValue; }
    double objectHiValue() const { return m_hiValue; }
    void setObjectLoValue(double value) { setDoubleLoValue(value); }
    void setObjectHiValue(double value) { setDoubleHiValue(value); }

    // Which knob has the keyboard: arrow keys move it.
    bool trackingLoKnob() const { return (_sm_flags & kTrackingLoKnobFlag) != 0; }
    void setTrackingLoKnob(bool tracking);
    // Locked knobs stand at one value and move as one; locking puts the low knob on the high.
    bool lockedSliders() const { return (_sm_flags & kLockedSlidersFlag) != 0; }
    void setLockedSliders(bool locked);
    bool isDraggingLoKnob() const { return (_sm_flags & kDraggingLoKnobFlag) != 0; }

    // The step of a drag while Alt is held, and of the arrow keys; 0 for a hundredth of the
    // range on the keys and no steps on a drag.
    double altIncrementValue() const { return m_altIncrementValue; }
    void setAltIncrementValue(double increment);

    const QPixmap& knobLeftImage() const { return m_knobLeftImage; }
    void setKnobLeftImage(const QPixmap& image) { m_knobLeftImage = image; }
    const QPixmap& knobRightImage() const { return m_knobRightImage; }
    void setKnobRightImage(const QPixmap& image) { m_knobRightImage = image; }
    const QPixmap& barFillImage() const { return m_barFillImage; }
    void setBarFillImage(const QPixmap& image) { m_barFillImage = image; }

    // Geometry inside the control's bounds: the knob's centre travels from half a knob in
    // from the left edge to half a knob in from the right.
    QRect knobRect(double value, const QRect& bounds) const;
    QRect barRect(const QRect& bounds) const;
    double valueAtPosition(double x, const QRect& bounds) const;

    // The knob a press at `point` takes: the low one left of its knob's centre, else the
    // high one; from two knobs in one place standing at the minimum, the high one, so they
    // can be pulled apart.
    Knob knobForPress(QPointF point, const QRect& bounds) const;
    // A press on a knob drags it from where it was caught; a press on the bar brings the
    // knob to the press first. Answers the knob taken.
    Knob startTracking(QPointF point, const QRect& bounds);
    void continueTracking(QPointF point, const QRect& bounds, bool stepByAltIncrement);
    void stopTracking();
    bool isTracking() const { return m_tracking; }
    Knob trackedKnob() const { return m_trackedKnob; }

    // Moves one knob (both when locked) to `value` as far as the order and limits allow.
    void moveKnob(Knob knob, double value);
    // One key step of the knob that has the keyboard: `steps` may be negative.
    void stepKeyboardKnob(double steps);
    double keyStep() const;

private:
    static constexpr std::uint32_t kLockedSlidersFlag = 1u << 0;
    static constexpr std::uint32_t kTrackingLoKnobFlag = 1u << 1;
    static constexpr std::uint32_t kDraggingLoKnobFlag = 1u << 2;

    void setFlag(std::uint32_t flag, bool on);

    double m_minValue = 0.0;
    double m_maxValue = 1.0;
    double m_hiValue = 0.0;
    double _sm_loValue = 0.0;
    std::uint32_t _sm_flags = kTrackingLoKnobFlag;
    double m_altIncrementValue = 0.0;

    bool m_tracking = false;
    Knob m_trackedKnob = Knob::High;
    // Where in the knob the press caught it, so the knob does not jump under the pointer.
    double m_grabOffset = 0.0;

    QPixmap m_knobLeftImage;
    QPixmap m_knobRightImage;
    QPixmap m_barFillImage;
};
