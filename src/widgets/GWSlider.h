#pragma once

#include <QSlider>

// A horizontal slider over a fraction 0..1 that jumps to where it is clicked (a position
// bar, not a page-stepping scroller). userMoved() comes only from the user's hand, never
// from setFraction(), so a two-way link with a model does not echo.
class GWSlider : public QSlider
{
    Q_OBJECT

public:
    static constexpr int kSteps = 10000;

    explicit GWSlider(QWidget* parent = nullptr);

    double fraction() const { return double(value()) / kSteps; }
    void setFraction(double fraction);

Q_SIGNALS:
    void userMoved(double fraction);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool m_settingFromCode = false;
};
