#include "VXLWindowRouter.h"

#include "cardtools/ui/VXLFormatWindowController.h"
#include "cardtools/ui/VXLTimeSetupController.h"
#include "drivedata/ui/VXLMapWindowController.h"
#include "settings/ui/VXLSettingController.h"

namespace {

// One entry per window that `vexlo --window NAME` can open.
struct WindowEntry
{
    const char* name;
    QWidget* (*show)(VXLWindowRouter& router);
};

const WindowEntry kWindows[] = {
    {"map",
     [](VXLWindowRouter& router) -> QWidget* {
         return router.showMapWindow();
     }},
    {"settings",
     [](VXLWindowRouter& router) -> QWidget* {
         return router.showSettingWindow();
     }},
    {"obd-settings",
     [](VXLWindowRouter& router) -> QWidget* {
         return router.showObdSettingWindow();
     }},
    {"format",
     [](VXLWindowRouter& router) -> QWidget* {
         return router.showFormatWindow();
     }},
    {"clock",
     [](VXLWindowRouter& router) -> QWidget* {
         return router.showTimeSetupPanel();
     }},
};

} // namespace

VXLWindowRouter::VXLWindowRouter(QWidget* mainWindow, const BlockDeviceSource& volumes,
                                 QObject* parent)
    : QObject(parent), m_mainWindow(mainWindow), m_volumes(volumes)
{
}

VXLWindowRouter::~VXLWindowRouter()
{
    // The windows have no parent: they go with the router.
    delete m_mapWindow;
    delete m_formatWindow;
    delete m_lastDialogController;
}

QStringList VXLWindowRouter::windowNames()
{
    QStringList names;
    for (const WindowEntry& entry : kWindows) {
        names << QString::fromLatin1(entry.name);
    }
    return names;
}

QWidget* VXLWindowRouter::showWindowNamed(const QString& name)
{
    for (const WindowEntry& entry : kWindows) {
        if (name == QLatin1StringView(entry.name)) {
            return entry.show(*this);
        }
    }
    return nullptr;
}

template <typename Window, typename Create>
Window* VXLWindowRouter::showKept(QPointer<Window>& window, Create create)
{
    if (!window) {
        window = create();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void VXLWindowRouter::keepAsLastDialog(QWidget* controller)
{
    if (m_lastDialogController && m_lastDialogController != controller) {
        m_lastDialogController->close();
        m_lastDialogController->deleteLater();
    }
    m_lastDialogController = controller;
}

VXLMapWindowController* VXLWindowRouter::showMapWindow()
{
    return showKept(m_mapWindow, [this] {
        auto* window = new VXLMapWindowController;
        if (m_mainWindow) {
            window->moveWindowRightBy(m_mainWindow->frameGeometry());
        }
        return window;
    });
}

VXLSettingController* VXLWindowRouter::showSettingWindow()
{
    if (VXLSettingController* open = raiseSettingWindow()) {
        return open;
    }
    return newSettingWindow(0);
}

VXLSettingController* VXLWindowRouter::showObdSettingWindow()
{
    if (VXLSettingController* open = raiseSettingWindow()) {
        open->setOptionalTabsShown(true);
        open->changeViewController(VXLSettingController::kObdTabIndex);
        return open;
    }
    return newSettingWindow(VXLSettingController::kObdTabIndex);
}

VXLSettingController* VXLWindowRouter::raiseSettingWindow()
{
    auto* open = qobject_cast<VXLSettingController*>(m_lastDialogController.data());
    if (!open || !open->isVisible()) {
        return nullptr;
    }
    open->raise();
    open->activateWindow();
    return open;
}

VXLSettingController* VXLWindowRouter::newSettingWindow(int firstTab)
{
    auto* controller = new VXLSettingController(m_volumes);
    controller->setFormatWindowOpener(
        [this](QWidget* settingsWindow) { showFormatWindow(settingsWindow); });
    keepAsLastDialog(controller);
    controller->showWindow(firstTab);
    return controller;
}

VXLFormatWindowController* VXLWindowRouter::showFormatWindow(QWidget* over)
{
    VXLFormatWindowController* window = showKept(m_formatWindow, [this] {
        auto* created = new VXLFormatWindowController(m_volumes);
        created->setAttribute(Qt::WA_DeleteOnClose);
        return created;
    });
    if (over) {
        window->move(over->frameGeometry().center() - window->rect().center());
    }
    return window;
}

VXLTimeSetupController* VXLWindowRouter::showTimeSetupPanel()
{
    auto* open = qobject_cast<VXLTimeSetupController*>(m_lastDialogController.data());
    if (!open || !open->isVisible()) {
        open = new VXLTimeSetupController(m_volumes);
        open->setAttribute(Qt::WA_DeleteOnClose);
        keepAsLastDialog(open);
    }
    open->show();
    open->raise();
    open->activateWindow();
    return open;
}
