#pragma once

#include <QTime>
#include <QWidget>

// A time picker in the form of an analogue clock: drag a hand to set the hours, minutes or
// seconds, click the AM/PM mark to switch the half of the day. The arrow keys step the minutes
// (up/down) or the seconds (left/right).
class GWClockTimePicker : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QTime time READ time WRITE setTime NOTIFY timeChanged USER true)

public:
    explicit GWClockTimePicker(QWidget* parent = nullptr);

    QTime time() const { return m_time; }
    // Emits timeChanged when the time differs (seconds precision).
    void setTime(const QTime& time);

    QSize sizeHint() const override { return {150, 150}; }
    QSize minimumSizeHint() const override { return {90, 90}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return width; }

Q_SIGNALS:
    void timeChanged(const QTime& time);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class Hand { None, Hour, Minute, Second };

    QRectF dial() const;
    QRectF halfOfDayMark() const;
    // Clockwise angle from 12 o'clock, in degrees 0..360, of the pointer at `point`.
    double angleAt(const QPointF& point) const;
    Hand handNear(const QPointF& point) const;
    void moveHand(Hand hand, const QPointF& point);

    QTime m_time{0, 0, 0};
    Hand m_dragged = Hand::None;
};
