#pragma once

#include <QColor>
#include <QList>
#include <QRectF>
#include <QWidget>

// The tick strip drawn under a range slider of the same width: 22 ticks one pixel wide from
// under the knob at the minimum to under the knob at the maximum, the first, the eleventh and
// the last long. `backgroundColor` is kept for the form that sets it; the strip is drawn
// without a background.
class EcoSliderAxisView : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QColor backgroundColor READ backgroundColor WRITE setBackgroundColor)

public:
    static constexpr int kTickCount = 22;

    explicit EcoSliderAxisView(QWidget* parent = nullptr);

    QColor backgroundColor() const { return m_backgroundColor; }
    void setBackgroundColor(const QColor& color) { m_backgroundColor = color; }

    // The ticks of a strip `width` pixels wide.
    static QList<QRectF> tickRects(int width);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor m_backgroundColor;
};
