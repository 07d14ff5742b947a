#pragma once

#include <QRect>
#include <QString>

class QScreen;

// What a full-screen window asks the desktop to keep out of its way.
enum VXLPresentationOption : int {
    VXLPresentationDefault = 0,
    VXLPresentationAutoHideMenuBar = 0x1, // the top panel
    VXLPresentationAutoHideDock = 0x2,    // a panel at a side or at the bottom
};

// The screen helpers: which desktop panels a screen carries, told by the part of the screen
// that the desktop leaves to windows (availableGeometry) against the whole screen (geometry).
// The presentation options are process-wide, like the desktop's; a window that applies them
// covers the panels it hides (CustomWindow).
namespace VXLScreen {

// A panel along the top edge.
bool hasMenuBar(const QRect& geometry, const QRect& available);
// A panel at a side, or at the bottom (the area left is shorter than the screen less the top
// panel).
bool hasDock(const QRect& geometry, const QRect& available);
bool hasMenuBar(const QScreen* screen);
bool hasDock(const QScreen* screen);

// A screen is known by its output name ("HDMI-1"): X11 gives no stable number.
QString displayID(const QScreen* screen);
QScreen* screenWithDisplayID(const QString& displayID);
bool isScreen(const QScreen* screen, const QScreen* other);

int fullscreenPresentationOptions(int current, bool menuBar, bool dock);
int nonFullscreenPresentationOptions(int current, bool menuBar, bool dock);

int presentationOptions();
void setPresentationOptions(int options);
// Adds (removes) the options that hide the panels of this screen.
void setFullscreenPresentationOptions(const QScreen* screen);
void setNonFullscreenPresentationOptions(const QScreen* screen);

} // namespace VXLScreen
