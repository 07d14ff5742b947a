#pragma once

#include "CustomWindow.h"

#include <memory>

class QAbstractItemModel;

namespace Ui {
class VXLMainWindow;
}

// The main window's widget tree, built from its Designer file, and how it is laid out: the
// boxes take the geometry of VXLMainWindowLayout for the content size and the full-screen
// flag; controls inside a box use the box's layout. It shows what it is told and decides
// nothing about playback.
class VXLMainWindow : public CustomWindow
{
    Q_OBJECT

public:
    explicit VXLMainWindow(QWidget* parent = nullptr);
    ~VXLMainWindow() override;

    // The boxes, controls and menu actions, named as in the Designer file.
    Ui::VXLMainWindow& ui() const { return *m_ui; }

    void setMediaListModel(QAbstractItemModel* model);

    void layoutWindow();
    // Side panel 0 (recording list) or 1 (map): the button images, which pane shows, and
    // that pane's layout.
    void updateSideViewButton(int rightViewMode);
    void layoutMapContainer(int rightViewMode);

    // The camera logos behind the two views (VXLMediaDirection codes).
    void setPlayerCameras(int player1Direction, int player2Direction);
    // Collapses both video views and grows them back into their boxes over 1.5 s.
    void animateSwap();
    // Shows the loading indicator from zero, centred over the head strip.
    void startLoadingIndicator();

Q_SIGNALS:
    // The content view changed size (after the boxes were laid out again).
    void contentResized();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<Ui::VXLMainWindow> m_ui;
    int m_rightViewMode = 0;
};
