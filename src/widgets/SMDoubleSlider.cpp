#include "SMDoubleSlider.h"

#include "GWImage.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QVariant>

namespace {

constexpr int kPageSteps = 10;

} // namespace

SMDoubleSlider::SMDoubleSlider(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
    m_cell.setKnobLeftImage(GWImageNamed(QStringLiteral("eco_knob_left.png"), {}, ratio));
    m_cell.setKnobRightImage(GWImageNamed(QStringLiteral("eco_knob_right.png"), {}, ratio));
    m_cell.setBarFillImage(GWImageNamed(QStringLiteral("eco_barFill.png"), {}, ratio));
}

template <typename Change> bool SMDoubleSlider::changeValues(Change change)
{
    const double oldLow = m_cell.doubleLoValue();
    const double oldHigh = m_cell.doubleHiValue();
    change();
    const double low = m_cell.doubleLoValue();
    const double high = m_cell.doubleHiValue();
    if (low == oldLow && high == oldHigh) {
        return false;
    }
    update();
    if (high != oldHigh) {
        Q_EMIT objectHiValueChanged(high);
    }
    if (low != oldLow) {
        Q_EMIT objectLoValueChanged(low);
    }
    return true;
}

void SMDoubleSlider::setMinValue(double minimum)
{
    changeValues([&] { m_cell.setMinValue(minimum); });
    update();
}

void SMDoubleSlider::setMaxValue(double maximum)
{
    changeValues([&] { m_cell.setMaxValue(maximum); });
    update();
}

void SMDoubleSlider::setDoubleLoValue(double value)
{
    changeValues([&] { m_cell.setDoubleLoValue(value); });
}

void SMDoubleSlider::setDoubleHiValue(double value)
{
    changeValues([&] { m_cell.setDoubleHiValue(value); });
}

void SMDoubleSlider::setTrackingLoKnob(bool tracking)
{
    if (tracking != m_cell.trackingLoKnob()) {
        m_cell.setTrackingLoKnob(tracking);
        update();
    }
}

void SMDoubleSlider::setLockedSliders(bool locked)
{
    changeValues([&] { m_cell.setLockedSliders(locked); });
}

void SMDoubleSlider::setKnobLeftImage(const QPixmap& image)
{
    m_cell.setKnobLeftImage(image);
    update();
}

void SMDoubleSlider::setKnobRightImage(const QPixmap& image)
{
    m_cell.setKnobRightImage(image);
    update();
}

void SMDoubleSlider::setBarFillImage(const QPixmap& image)
{
    m_cell.setBarFillImage(image);
    update();
}

// ---- Bindings

bool SMDoubleSlider::bind(const QString& binding, QObject* object, const QString& keyPath)
{
    BindingIndex index;
    if (binding == QLatin1String(kObjectLoValueBinding)) {
        index = LowBinding;
    } else if (binding == QLatin1String(kObjectHiValueBinding)) {
        index = HighBinding;
    } else {
        qWarning("SMDoubleSlider: no binding %s", qPrintable(binding));
        return false;
    }
    if (!object) {
        return false;
    }
    const QMetaObject* meta = object->metaObject();
    const int propertyIndex = meta->indexOfProperty(keyPath.toUtf8().constData());
    if (propertyIndex < 0) {
        qWarning("SMDoubleSlider: %s has no property %s", meta->className(), qPrintable(keyPath));
        return false;
    }
    const QMetaProperty property = meta->property(propertyIndex);
    if (!property.hasNotifySignal() || !property.isWritable()) {
        qWarning("SMDoubleSlider: %s.%s cannot be observed and written", meta->className(),
                 qPrintable(keyPath));
        return false;
    }
    unbind(binding);
    const char* slot =
        index == LowBinding ? "observedLoValueChanged()" : "observedHiValueChanged()";
    const QMetaMethod observer = staticMetaObject.method(staticMetaObject.indexOfSlot(slot));
    Binding& entry = m_bindings[index];
    entry.object = object;
    entry.property = property;
    entry.connection = connect(object, property.notifySignal(), this, observer);
    // Both bound values again, high first: a low value bound before the high one may have
    // been held down by the old high value.
    observedValueChanged(HighBinding);
    observedValueChanged(LowBinding);
    return true;
}

void SMDoubleSlider::unbind(const QString& binding)
{
    for (const BindingIndex index : {LowBinding, HighBinding}) {
        const char* name = index == LowBinding ? kObjectLoValueBinding : kObjectHiValueBinding;
        if (binding == QLatin1String(name)) {
            disconnect(m_bindings[index].connection);
            m_bindings[index] = Binding{};
        }
    }
}

void SMDoubleSlider::unbindAll()
{
    unbind(QLatin1String(kObjectLoValueBinding));
    unbind(QLatin1String(kObjectHiValueBinding));
}

void SMDoubleSlider::observedLoValueChanged()
{
    observedValueChanged(LowBinding);
}

void SMDoubleSlider::observedHiValueChanged()
{
    observedValueChanged(HighBinding);
}

void SMDoubleSlider::observedValueChanged(BindingIndex index)
{
    const Binding& entry = m_bindings[index];
    if (!entry.object) {
        return;
    }
    bool isNumber = false;
    const double value = entry.property.read(entry.object).toDouble(&isNumber);
    if (!isNumber) {
        return;
    }
    if (index == LowBinding) {
        setDoubleLoValue(value);
    } else {
        setDoubleHiValue(value);
    }
}

void SMDoubleSlider::writeBoundValue(BindingIndex index, double value)
{
    const Binding& entry = m_bindings[index];
    if (entry.object) {
        entry.property.write(entry.object, QVariant(value));
    }
}

void SMDoubleSlider::writeBoundValues(SMDoubleSliderCell::Knob knob)
{
    // High first: an observer that moves the slider in answer (a page rounding the values)
    // then sets them in the order that keeps both.
    if (knob == SMDoubleSliderCell::Knob::High || m_cell.lockedSliders()) {
        writeBoundValue(HighBinding, m_cell.doubleHiValue());
    }
    if (knob == SMDoubleSliderCell::Knob::Low || m_cell.lockedSliders()) {
        writeBoundValue(LowBinding, m_cell.doubleLoValue());
    }
}

// ---- Mouse and keyboard

void SMDoubleSlider::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || m_cell.isTracking()) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    SMDoubleSliderCell::Knob knob = SMDoubleSliderCell::Knob::High;
    const bool moved =
        changeValues([&] { knob = m_cell.startTracking(event->position(), rect()); });
    // The knob taken also takes the keyboard.
    setTrackingLoKnob(knob == SMDoubleSliderCell::Knob::Low);
    update();
    if (moved && m_continuous) {
        writeBoundValues(knob);
    }
}

void SMDoubleSlider::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_cell.isTracking()) {
        QWidget::mouseMoveEvent(event);
        return;
    }
    event->accept();
    const bool moved = changeValues([&] {
        m_cell.continueTracking(event->position(), rect(),
                                event->modifiers().testFlag(Qt::AltModifier));
    });
    if (moved && m_continuous) {
        writeBoundValues(m_cell.trackedKnob());
    }
}

void SMDoubleSlider::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_cell.isTracking()) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    const SMDoubleSliderCell::Knob knob = m_cell.trackedKnob();
    m_cell.stopTracking();
    update();
    writeBoundValues(knob);
}

bool SMDoubleSlider::event(QEvent* event)
{
    // Tab and Backtab first walk from one knob to the other, then leave the slider as usual.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const bool backward =
                key->key() == Qt::Key_Backtab ||
                (key->key() == Qt::Key_Tab && key->modifiers().testFlag(Qt::ShiftModifier));
            const bool forward = !backward && key->key() == Qt::Key_Tab;
            if (forward) {
                if (trackingLoKnob()) {
                    setTrackingLoKnob(false);
                    event->accept();
                    return true;
                }
                setTrackingLoKnob(true);
            } else if (backward && !trackingLoKnob()) {
                setTrackingLoKnob(true);
                event->accept();
                return true;
            }
        }
    }
    return QWidget::event(event);
}

void SMDoubleSlider::keyPressEvent(QKeyEvent* event)
{
    double steps = 0;
    bool toEnd = false;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Down:
        steps = -1;
        break;
    case Qt::Key_Right:
    case Qt::Key_Up:
        steps = 1;
        break;
    case Qt::Key_PageDown:
        steps = -kPageSteps;
        break;
    case Qt::Key_PageUp:
        steps = kPageSteps;
        break;
    case Qt::Key_Home:
    case Qt::Key_End:
        toEnd = true;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    const auto knob =
        trackingLoKnob() ? SMDoubleSliderCell::Knob::Low : SMDoubleSliderCell::Knob::High;
    const bool moved = changeValues([&] {
        if (toEnd) {
            m_cell.moveKnob(knob,
                            event->key() == Qt::Key_Home ? m_cell.minValue() : m_cell.maxValue());
        } else {
            m_cell.stepKeyboardKnob(steps);
        }
    });
    if (moved) {
        writeBoundValues(knob);
    }
}

void SMDoubleSlider::focusInEvent(QFocusEvent* event)
{
    if (event->reason() == Qt::TabFocusReason) {
        setTrackingLoKnob(true);
    } else if (event->reason() == Qt::BacktabFocusReason) {
        setTrackingLoKnob(false);
    }
    update();
    QWidget::focusInEvent(event);
}

void SMDoubleSlider::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

// ---- Drawing

QSize SMDoubleSlider::sizeHint() const
{
    return {200, SMDoubleSliderCell::kKnobHeight + 4};
}

QSize SMDoubleSlider::minimumSizeHint() const
{
    return {3 * SMDoubleSliderCell::kKnobWidth, SMDoubleSliderCell::kKnobHeight + 4};
}

void SMDoubleSlider::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!isEnabled()) {
        painter.setOpacity(0.45);
    }
    const QRect bar = m_cell.barRect(rect());
    const QRect low = loKnobRect();
    const QRect high = hiKnobRect();
    const int half = SMDoubleSliderCell::kKnobWidth / 2;

    if (!m_cell.barFillImage().isNull()) {
        painter.drawPixmap(bar, m_cell.barFillImage());
    } else {
        painter.fillRect(bar, palette().color(QPalette::Mid));
    }
    // The chosen range, between the two knobs' value lines.
    QColor range = palette().color(QPalette::Highlight);
    range.setAlpha(200);
    const QRect chosen(low.left() + half, bar.top(), high.left() - low.left(), bar.height());
    painter.fillRect(chosen, range);

    const QRect lowHalf(low.left(), low.top(), half, low.height());
    const QRect highHalf(high.left() + half, high.top(), half, high.height());
    painter.drawPixmap(lowHalf, m_cell.knobLeftImage());
    painter.drawPixmap(highHalf, m_cell.knobRightImage());

    if (hasFocus()) {
        QPen ring(palette().color(QPalette::Highlight), 2);
        painter.setPen(ring);
        painter.setBrush(Qt::NoBrush);
        const QRectF focused = QRectF(trackingLoKnob() ? lowHalf : highHalf).adjusted(1, 1, -1, -1);
        painter.drawRoundedRect(focused, 3, 3);
    }
}
