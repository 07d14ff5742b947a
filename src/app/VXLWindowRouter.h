#pragma once

#include <QFuture>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class BlockDeviceSource;
class VXLFormatWindowController;
class VXLMapWindowController;
class VXLSettingController;
class VXLSettingForFlashDataViewController;
class VXLSettingForObdDriveInfoViewController;
class VXLTimeSetupController;

// Opens, keeps and raises the application's secondary windows. Each window has one method
// here, a name for `vexlo --window NAME`, and a menu entry in the main window; nothing else
// in the application holds them. Windows have no parent, so the application goes on until
// the last of them is closed, as with the main window.
class VXLWindowRouter : public QObject
{
    Q_OBJECT

public:
    // `volumes` lists the USB volumes (and a card folder given with --card) for the card
    // windows; it outlives the router.
    VXLWindowRouter(QWidget* mainWindow, const BlockDeviceSource& volumes,
                    QObject* parent = nullptr);
    ~VXLWindowRouter() override;

    // The names `vexlo --window` takes, in the order they are listed.
    static QStringList windowNames();
    // Opens the window of that name (kept and raised when already open); null for an
    // unknown name.
    QWidget* showWindowNamed(const QString& name);

    // The map window, beside the main window.
    VXLMapWindowController* showMapWindow();
    // The camera settings window: raised while it is open, else made anew (it reads the card
    // again), replacing the last dialog controller.
    VXLSettingController* showSettingWindow();
    // The same window on its OBD page, which it then offers for this window's life; the
    // user's "Show OBD settings" default stays as it is.
    VXLSettingController* showObdSettingWindow();
    // The drive-record viewer of the card's log (DrvInfo/zuva_000.drv, read once the card
    // has been found off the GUI thread), and the OBD drive-info viewer, which asks for a
    // file.
    VXLSettingForFlashDataViewController* showFlashDataWindow();
    VXLSettingForObdDriveInfoViewController* showObdDriveInfoWindow();
    // The format window, made afresh when it was closed, so its volume list is new; centred
    // over `over` (the settings window it was opened from) when one is given.
    VXLFormatWindowController* showFormatWindow(QWidget* over = nullptr);
    // The clock window; it becomes the last dialog controller.
    VXLTimeSetupController* showTimeSetupPanel();

    // The settings or clock window's controller opened last; opening one replaces (and
    // closes) the other.
    QWidget* lastDialogController() const { return m_lastDialogController; }

private:
    // Shows `window` (created by `create` when there is none yet) and brings it to the front.
    template <typename Window, typename Create>
    Window* showKept(QPointer<Window>& window, Create create);
    // Keeps `controller` as the last dialog controller, letting the one before go.
    void keepAsLastDialog(QWidget* controller);
    // The settings window while it is open, raised; null when there is none.
    VXLSettingController* raiseSettingWindow();
    // A new settings window (it reads the card) showing page `firstTab`.
    VXLSettingController* newSettingWindow(int firstTab);

    QPointer<QWidget> m_mainWindow;
    const BlockDeviceSource& m_volumes;
    QPointer<VXLMapWindowController> m_mapWindow;
    QPointer<VXLSettingForFlashDataViewController> m_flashDataWindow;
    QPointer<VXLSettingForObdDriveInfoViewController> m_obdDriveInfoWindow;
    QFuture<QString> m_cardLogLookup; // uses m_volumes: waited for before the router goes
    QPointer<VXLFormatWindowController> m_formatWindow;
    QPointer<QWidget> m_lastDialogController;
};
