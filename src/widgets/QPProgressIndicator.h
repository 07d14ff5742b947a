#pragma once

#include <QTimer>
#include <QWidget>

// A slim progress bar. Determinate, it fills up to its value between minimum and maximum;
// indeterminate, a highlight sweeps along it while its animation runs.
class QPProgressIndicator : public QWidget
{
    Q_OBJECT

public:
    explicit QPProgressIndicator(QWidget* parent = nullptr);

    void setIndeterminate(bool indeterminate);
    bool isIndeterminate() const { return m_indeterminate; }
    double minValue() const { return m_minValue; }
    double maxValue() const { return m_maxValue; }
    void setDoubleValue(double value);
    double doubleValue() const { return m_value; }

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return m_animation.isActive(); }

    QSize sizeHint() const override { return {180, 6}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer m_animation;
    double m_minValue = 0;
    double m_maxValue = 100;
    double m_value = 0;
    int m_phase = 0;
    bool m_indeterminate = false;
};
