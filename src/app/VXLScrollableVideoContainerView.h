#pragma once

#include <QPoint>
#include <QRect>
#include <QWidget>

// The view that holds the main video. It reports the pointer's entry and exit and keeps a
// tracking area, its bounds grown by 4 pixels on every side, that callers test pointer
// positions against; it handles no other mouse events (presses go on to drag the window).
class VXLScrollableVideoContainerView : public QWidget
{
    Q_OBJECT

public:
    explicit VXLScrollableVideoContainerView(QWidget* parent = nullptr);

    QPoint initialLocation() const { return m_initialLocation; }
    void setInitialLocation(const QPoint& location) { m_initialLocation = location; }

    // In the view's coordinates; follows the view's size.
    QRect mouseTrackingArea() const { return m_mouseTrackingArea; }
    void updateTrackingAreas();

Q_SIGNALS:
    void mouseEntered();
    void mouseExited();

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPoint m_initialLocation;
    QRect m_mouseTrackingArea;
};
