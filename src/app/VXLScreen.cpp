#include "VXLScreen.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

int g_presentationOptions = VXLPresentationDefault;

int hiddenBy(bool menuBar, bool dock)
{
    int options = VXLPresentationDefault;
    if (menuBar) {
        options |= VXLPresentationAutoHideMenuBar;
    }
    // A top panel may carry the dock's items too: hide both with it.
    if (menuBar || dock) {
        options |= VXLPresentationAutoHideDock;
    }
    return options;
}

} // namespace

namespace VXLScreen {

bool hasMenuBar(const QRect& geometry, const QRect& available)
{
    return available.isValid() && available.top() > geometry.top();
}

bool hasDock(const QRect& geometry, const QRect& available)
{
    if (!available.isValid()) {
        return false;
    }
    if (available.width() < geometry.width()) {
        return true;
    }
    const int menuBarThickness =
        hasMenuBar(geometry, available) ? available.top() - geometry.top() : 0;
    return geometry.height() > available.height() + menuBarThickness;
}

bool hasMenuBar(const QScreen* screen)
{
    return screen && hasMenuBar(screen->geometry(), screen->availableGeometry());
}

bool hasDock(const QScreen* screen)
{
    return screen && hasDock(screen->geometry(), screen->availableGeometry());
}

QString displayID(const QScreen* screen)
{
    return screen ? screen->name() : QString();
}

QScreen* screenWithDisplayID(const QString& id)
{
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen->name() == id) {
            return screen;
        }
    }
    return nullptr;
}

bool isScreen(const QScreen* screen, const QScreen* other)
{
    return screen && other && displayID(screen) == displayID(other);
}

int fullscreenPresentationOptions(int current, bool menuBar, bool dock)
{
    return current | hiddenBy(menuBar, dock);
}

int nonFullscreenPresentationOptions(int current, bool menuBar, bool dock)
{
    return current & ~hiddenBy(menuBar, dock);
}

int presentationOptions()
{
    return g_presentationOptions;
}

void setPresentationOptions(int options)
{
    g_presentationOptions = options;
}

void setFullscreenPresentationOptions(const QScreen* screen)
{
    setPresentationOptions(
        fullscreenPresentationOptions(presentationOptions(), hasMenuBar(screen), hasDock(screen)));
}

void setNonFullscreenPresentationOptions(const QScreen* screen)
{
    setPresentationOptions(nonFullscreenPresentationOptions(presentationOptions(),
                                                            hasMenuBar(screen), hasDock(screen)));
}

} // namespace VXLScreen
