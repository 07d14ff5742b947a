#pragma once

#include <QMainWindow>

// The main window. It reports its closing (before it goes) and keeps the full-screen flag
// the layout follows.
class CustomWindow : public QMainWindow
{
    Q_OBJECT
    Q_PROPERTY(bool isFullScreen READ isFullScreen NOTIFY isFullScreenChanged)

public:
    explicit CustomWindow(QWidget* parent = nullptr);

    bool isFullScreen() const { return m_isFullScreen; }
    void setFullScreenFlag(bool fullScreen);

    // The frame restored on leaving full screen.
    void setInitialFrame(const QRect& frame) { m_initialFrame = frame; }
    const QRect& initialFrame() const { return m_initialFrame; }

Q_SIGNALS:
    void windowWillClose();
    void isFullScreenChanged(bool isFullScreen);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QRect m_initialFrame;
    bool m_isFullScreen = false;
};
