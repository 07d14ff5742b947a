#include "VXLWindowRouter.h"

#include "cardtools/VolumeDiscovery.h"
#include "cardtools/ui/VXLFormatWindowController.h"
#include "cardtools/ui/VXLTimeSetupController.h"
#include "drivedata/ui/VXLMapWindowController.h"
#include "driverecords/ui/VXLSettingForFlashDataViewController.h"
#include "driverecords/ui/VXLSettingForObdDriveInfoViewController.h"
#include "settings/ui/VXLSettingController.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

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
    {"flash-data",
     [](VXLWindowRouter& router) -> QWidget* {
         return router.showFlashDataWindow();
     }},
    {"obd-info",
     [](VXLWindowRouter& router) -> QWidget* {
         return router.showObdDriveInfoWindow();
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
    m_cardLogLookup.waitForFinished();
    // The windows have no parent: they go with the router.
    delete m_mapWindow;
    delete m_flashDataWindow;
    delete m_obdDriveInfoWindow;
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
    // The OBD page's button opens the OBD drive-info viewer beside the settings.
    controller->setObdDriveInfoOpener([this] { showObdDriveInfoWindow(); });
    controller->setFormatWindowOpener(
        [this](QWidget* settingsWindow) { showFormatWindow(settingsWindow); });
    keepAsLastDialog(controller);
    controller->showWindow(firstTab);
    return controller;
}

VXLSettingForFlashDataViewController* VXLWindowRouter::showFlashDataWindow()
{
    return showKept(m_flashDataWindow, [this] {
        auto* viewer = new VXLSettingForFlashDataViewController;
        // Finding the card runs lsblk: off the GUI thread. The viewer reads the card's log,
        // when there is one, as soon as the card is known.
        auto* lookup = new QFutureWatcher<QString>(viewer);
        connect(lookup, &QFutureWatcherBase::finished, viewer, [viewer, lookup] {
            lookup->deleteLater();
            viewer->setM_FlashDataFilePath(lookup->result());
            viewer->displayFirstTime();
        });
        const BlockDeviceSource& volumes = m_volumes;
        m_cardLogLookup = QtConcurrent::run([&volumes] {
            const std::optional<GWUSBDiskEntity> card = findCardDiskEntity(volumes).found;
            if (!card)
                return QString();
            const QString path = VXLSettingForFlashDataViewController::cardFlashDataFilePath(
                card->mountedURL().toLocalFile());
            return QFileInfo(path).isFile() ? path : QString();
        });
        lookup->setFuture(m_cardLogLookup);
        return viewer;
    });
}

VXLSettingForObdDriveInfoViewController* VXLWindowRouter::showObdDriveInfoWindow()
{
    const bool opened = m_obdDriveInfoWindow;
    VXLSettingForObdDriveInfoViewController* viewer =
        showKept(m_obdDriveInfoWindow, [] { return new VXLSettingForObdDriveInfoViewController; });
    if (!opened)
        viewer->displayFirstTime(); // shown without a file: it asks for one
    return viewer;
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
