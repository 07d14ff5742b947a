#pragma once

#include "SMDoubleSliderCell.h"

#include <QMetaProperty>
#include <QPointer>
#include <QWidget>

// A horizontal slider with two knobs that selects a range: a low and a high value inside
// its minimum and maximum, kept in order by its cell. Either value can be bound two ways to
// a numeric property of another object (a settings page): the slider shows the property and
// follows its notify signal, and a drag or a key writes the new value back as a double.
// Tab and Backtab move the keyboard from one knob to the other before leaving the slider.
class SMDoubleSlider : public QWidget
{
    Q_OBJECT
    // Limits before values, so a form that sets them in this order keeps both values.
    Q_PROPERTY(double minValue READ minValue WRITE setMinValue)
    Q_PROPERTY(double maxValue READ maxValue WRITE setMaxValue)
    Q_PROPERTY(double altIncrementValue READ altIncrementValue WRITE setAltIncrementValue)
    Q_PROPERTY(bool continuous READ isContinuous WRITE setContinuous)
    Q_PROPERTY(bool trackingLoKnob READ trackingLoKnob WRITE setTrackingLoKnob)
    // The high value before the low one: each makes room for the other only in this order.
    Q_PROPERTY(
        double objectHiValue READ objectHiValue WRITE setObjectHiValue NOTIFY objectHiValueChanged)
    Q_PROPERTY(
        double objectLoValue READ objectLoValue WRITE setObjectLoValue NOTIFY objectLoValueChanged)
    Q_PROPERTY(bool lockedSliders READ lockedSliders WRITE setLockedSliders)

public:
    // The names of the two bindings.
    static constexpr const char* kObjectLoValueBinding = "objectLoValue";
    static constexpr const char* kObjectHiValueBinding = "objectHiValue";

    explicit SMDoubleSlider(QWidget* parent = nullptr);

    const SMDoubleSliderCell& cell() const { return m_cell; }

    double minValue() const { return m_cell.minValue(); }
    void setMinValue(double minimum);
    double maxValue() const { return m_cell.maxValue(); }
    void setMaxValue(double maximum);
    double altIncrementValue() const { return m_cell.altIncrementValue(); }
    void setAltIncrementValue(double increment) { m_cell.setAltIncrementValue(increment); }
    // A continuous slider writes its bound value on every move of a drag, else only at the end.
    bool isContinuous() const { return m_continuous; }
    void setContinuous(bool continuous) { m_continuous = continuous; }

    double doubleLoValue() const { return m_cell.doubleLoValue(); }
    double doubleHiValue() const { return m_cell.doubleHiValue(); }
    void setDoubleLoValue(double value);
    void setDoubleHiValue(double value);
    qint64 integerLoValue() const { return m_cell.integerLoValue(); }
    qint64 integerHiValue() const { return m_cell.integerHiValue(); }
    void setIntegerLoValue(qint64 value) { setDoubleLoValue(static_cast<double>(value)); }
    void setIntegerHiValue(qint64 value) { setDoubleHiValue(static_cast<double>(value)); }
    int intLoValue() const { return m_cell.intLoValue(); }
    int intHiValue() const { return m_cell.intHiValue(); }
    void setIntLoValue(int value) { setDoubleLoValue(value); }
    void setIntHiValue(int value) { setDoubleHiValue(value); }
    float floatLoValue() const { return m_cell.floatLoValue(); }
    float floatHiValue() const { return m_cell.floatHiValue(); }
    void setFloatLoValue(float value) { setDoubleLoValue(value); }
    void setFloatHiValue(float value) { setDoubleHiValue(value); }
    QString stringLoValue() const { return m_cell.stringLoValue(); }
    QString stringHiValue() const { return m_cell.stringHiValue(); }
    void setStringLoValue(const QString& value) { setDoubleLoValue(value.toDouble()); }
    void setStringHiValue(const QString& value) { setDoubleHiValue(value.toDouble()); }
    double objectLoValue() const { return m_cell.objectLoValue(); }
    double objectHiValue() const { return m_cell.objectHiValue(); }
    void setObjectLoValue(double value) { setDoubleLoValue(value); }
    void setObjectHiValue(double value) { setDoubleHiValue(value); }

    bool trackingLoKnob() const { return m_cell.trackingLoKnob(); }
    void setTrackingLoKnob(bool tracking);
    bool lockedSliders() const { return m_cell.lockedSliders(); }
    void setLockedSliders(bool locked);

    const QPixmap& knobLeftImage() const { return m_cell.knobLeftImage(); }
    void setKnobLeftImage(const QPixmap& image);
    const QPixmap& knobRightImage() const { return m_cell.knobRightImage(); }
    void setKnobRightImage(const QPixmap& image);
    const QPixmap& barFillImage() const { return m_cell.barFillImage(); }
    void setBarFillImage(const QPixmap& image);

    // Where each knob stands, in the slider's own coordinates.
    QRect loKnobRect() const { return m_cell.knobRect(doubleLoValue(), rect()); }
    QRect hiKnobRect() const { return m_cell.knobRect(doubleHiValue(), rect()); }

    // Binds "objectLoValue" or "objectHiValue" to `object`'s numeric property `keyPath`, which
    // needs a notify signal. The slider takes the property's value at once. False, and nothing
    // bound, for another binding name or a property that cannot be observed.
    bool bind(const QString& binding, QObject* object, const QString& keyPath);
    void unbind(const QString& binding);
    void unbindAll();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void objectLoValueChanged(double value);
    void objectHiValueChanged(double value);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private Q_SLOTS:
    void observedLoValueChanged();
    void observedHiValueChanged();

private:
    enum BindingIndex { LowBinding = 0, HighBinding = 1 };

    struct Binding
    {
        QPointer<QObject> object;
        QMetaProperty property;
        QMetaObject::Connection connection;
    };

    // Runs a change of the cell, then redraws and tells observers of whatever value moved;
    // true when one did.
    template <typename Change> bool changeValues(Change change);
    void observedValueChanged(BindingIndex index);
    // The user moved `knob` (both knobs when locked): bound properties hear of it.
    void writeBoundValues(SMDoubleSliderCell::Knob knob);
    void writeBoundValue(BindingIndex index, double value);

    SMDoubleSliderCell m_cell;
    bool m_continuous = true;
    Binding m_bindings[2];
};
