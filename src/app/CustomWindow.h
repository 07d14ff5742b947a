#pragma once

#include <QMainWindow>
#include <QPoint>

// The main window: frameless, dragged by its background, with a full-screen mode of its own
// that covers its screen and returns to the frame it was launched with. It reports its closing
// (before it goes) and keeps the full-screen flag the layout follows.
class CustomWindow : public QMainWindow
{
    Q_OBJECT
    Q_PROPERTY(bool isFullScreen READ isFullScreen NOTIFY isFullScreenChanged)

public:
    explicit CustomWindow(QWidget* parent = nullptr);

    bool isFullScreen() const { return m_isFullScreen; }
    void setIsFullScreen(bool fullScreen);

    // The frame restored on leaving full screen.
    void setInitialFrame(const QRect& frame) { m_initialFrame = frame; }
    const QRect& initialFrame() const { return m_initialFrame; }

    void enterFullscreen();
    void leaveFullscreen();

    // Pointer position in the window when a drag began.
    QPoint initialLocation() const { return m_initialLocation; }
    void setInitialLocation(const QPoint& location) { m_initialLocation = location; }

    // Where a drag puts the window's top left: its top edge never rises above the top of the
    // main screen's available area, where it could no longer be caught.
    static QPoint draggedOrigin(const QPoint& pointer, const QPoint& initialLocation,
                                const QRect& mainAvailableArea);

Q_SIGNALS:
    void windowWillClose();
    void isFullScreenChanged(bool isFullScreen);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void applyPresentationOptions();

    QRect m_initialFrame;
    QPoint m_initialLocation;
    QSize m_windowedMinimumSize;
    bool m_isFullScreen = false;
    bool m_dragging = false;
};
