#pragma once

#include <QImage>
#include <QMutex>
#include <QWidget>

// The widget a player draws into. On X11 it is a native child window that libVLC paints
// itself; on other platforms (offscreen, Wayland) the player hands it decoded frames, which
// it paints scaled to fill its area.
class VLCVideoView : public QWidget
{
    Q_OBJECT

public:
    explicit VLCVideoView(QWidget* parent = nullptr);

    // True when libVLC draws into this widget's window; false when frames come through
    // presentFrame().
    static bool usesNativeWindow();

    // The picture fills the view (kept for callers of the original view; always on).
    void setFillScreen(bool fill) { m_fillScreen = fill; }
    bool fillScreen() const { return m_fillScreen; }

    // The last frame handed over, for memory rendering (any thread).
    void presentFrame(const QImage& frame);
    QImage currentFrame() const;

Q_SIGNALS:
    // The native window changed (reparenting); the player must point libVLC at it again.
    void windowIdChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    mutable QMutex m_frameMutex;
    QImage m_frame;
    bool m_fillScreen = true;
};
