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

    // The window libVLC draws into: a native child with the picture's proportions, centred
    // and as large as needed to cover the view (the view clips it). libVLC only ever fits
    // the picture into its window, so this is how the picture fills the view.
    WId videoWindowId();
    // The picture's size in pixels, once the player knows it.
    void setVideoSize(const QSize& size);

Q_SIGNALS:
    // The native window changed (reparenting); the player must point libVLC at it again.
    void windowIdChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void layoutSurface();

    QWidget* m_surface = nullptr;
    QSize m_videoSize;
    mutable QMutex m_frameMutex;
    QImage m_frame;
    bool m_fillScreen = true;
};
