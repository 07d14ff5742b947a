#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/VXLMainWindow.h"
#include "app/VXLWindowRouter.h"
#include "cardtools/VolumeDiscovery.h"
#include "driverecords/ui/VXLSettingForFlashDataViewController.h"
#include "driverecords/ui/VXLSettingForObdDriveInfoViewController.h"
#include "settings/ui/VXLSettingController.h"
#include "support/TempDir.h"
#include "ui_VXLMainWindow.h"
#include "widgets/GWAlert.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The settings window opens by name and from the main window's menu; while open it is raised,
// once closed the next opening makes a new one, which reads the card again.
TEST(WindowRouter, SettingsWindowByNameAndFromTheMenu)
{
    VXLApplication application;
    VXLWindowRouter& router = application.router();
    EXPECT_TRUE(VXLWindowRouter::windowNames().contains(QStringLiteral("settings")));

    QPointer<QWidget> first = router.showWindowNamed(QStringLiteral("settings"));
    auto* settings = qobject_cast<VXLSettingController*>(first.data());
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !settings->isLoading(); }));
    EXPECT_TRUE(settings->isVisible());
    EXPECT_EQ(router.lastDialogController(), settings);

    application.mainWindow()->ui().actionShowSettings->trigger();
    EXPECT_EQ(router.lastDialogController(), first.data()) << "raised, not made again";

    settings->onCloseCmd();
    application.mainWindow()->ui().actionShowSettings->trigger();
    ASSERT_NE(router.lastDialogController(), nullptr);
    EXPECT_NE(router.lastDialogController(), first.data());
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.isNull(); })) << "the closed one goes";
    auto* second = qobject_cast<VXLSettingController*>(router.lastDialogController());
    ASSERT_NE(second, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !second->isLoading(); }));
}

// A card folder given at launch (vexlo --card DIR) is the card the settings window reads, even
// where no removable volume is mounted at all.
TEST(WindowRouter, CardFolderGivenAtLaunchIsTheSettingsWindowsCard)
{
    const QString sample = qEnvironmentVariable("VEXLO_BINARY_DIR") + "/sample-card/config.bin";
    QFile factory(sample);
    ASSERT_TRUE(factory.open(QIODevice::ReadOnly)) << qPrintable(sample);
    TempDir card;
    const QString config = card.write("config.bin", factory.readAll());

    VXLApplication application({card.path()});
    auto* settings = qobject_cast<VXLSettingController*>(
        application.router().showWindowNamed(QStringLiteral("settings")));
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !settings->isLoading(); }));
    EXPECT_EQ(QDir(settings->settingFilePath()), QDir(config));
    EXPECT_TRUE(settings->windowTitle().endsWith(" : " + settings->settingFilePath()));
}

// `vexlo --window obd-settings` opens the settings window on its OBD page, also when the OBD
// tab is not offered by default, and turns an open settings window to it.
TEST(WindowRouter, ObdSettingsByName)
{
    VXLApplication application;
    VXLWindowRouter& router = application.router();
    auto* settings =
        qobject_cast<VXLSettingController*>(router.showWindowNamed(QStringLiteral("obd-settings")));
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !settings->isLoading(); }));
    EXPECT_EQ(settings->lastSelectedTabIndex(), VXLSettingController::kObdTabIndex);

    settings->changeViewController(0);
    EXPECT_EQ(router.showWindowNamed(QStringLiteral("obd-settings")), settings);
    EXPECT_EQ(settings->lastSelectedTabIndex(), VXLSettingController::kObdTabIndex);

    // The page's button opens the OBD drive-info viewer, which asks for a file.
    QStringList alerts;
    setAlertHookForTesting([&](QMessageBox* box) {
        alerts << box->text();
        box->accept();
    });
    auto* button = settings->targetController()->findChild<QPushButton*>("obdDriveInfoButton");
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isVisible());
    button->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return alerts.contains("Alarm"); }, 5000));
    setAlertHookForTesting({});
}

// One card reader whose card, labelled ZUVA, is mounted at `mountPoint`.
class OneCard : public BlockDeviceSource
{
public:
    explicit OneCard(const QString& mountPoint)
        : m_listing(QByteArray(R"({"blockdevices": [
            {"name":"sdb", "path":"/dev/sdb", "label":null, "mountpoint":null, "rm":true,
             "hotplug":true, "tran":"usb", "model":"Card Reader", "size":15931539456,
             "ro":false, "type":"disk", "pkname":null, "children": [
                {"name":"sdb1", "path":"/dev/sdb1", "label":"ZUVA", "mountpoint":"@MNT@",
                 "rm":true, "hotplug":true, "tran":null, "model":null, "size":15927345152,
                 "ro":false, "type":"part", "pkname":"sdb"}]}]})")
                        .replace("@MNT@", mountPoint.toUtf8()))
    {
    }
    BlockDeviceListing blockDeviceListing() const override { return {m_listing, {}}; }
    QString probeVolumeLabel(const QString&) const override { return {}; }

private:
    QByteArray m_listing;
};

// The drive-record viewers open by name: the card's log is read into the flash-data viewer,
// the OBD viewer asks for a file once; asked again, each window is raised, not made anew.
TEST(WindowRouter, OpensTheDriveRecordViewersByName)
{
    const QString card = qEnvironmentVariable("VEXLO_BINARY_DIR") + QStringLiteral("/sample-card");
    const OneCard volumes(card);
    QStringList alerts;
    setAlertHookForTesting([&](QMessageBox* box) {
        alerts << box->text();
        box->accept();
    });
    VXLWindowRouter router(nullptr, volumes);
    EXPECT_TRUE(VXLWindowRouter::windowNames().contains("flash-data"));
    EXPECT_TRUE(VXLWindowRouter::windowNames().contains("obd-info"));

    auto* flash = qobject_cast<VXLSettingForFlashDataViewController*>(
        router.showWindowNamed(QStringLiteral("flash-data")));
    ASSERT_TRUE(flash);
    ASSERT_TRUE(QTest::qWaitFor([&] { return flash->flashDataNum() > 0; }, 20000));
    EXPECT_EQ(flash->flashDataNum(), 240);
    EXPECT_EQ(QDir(flash->flashDataFilePath()),
              QDir(card + QStringLiteral("/DrvInfo")).filePath(QStringLiteral("zuva_000.drv")));
    EXPECT_EQ(router.showWindowNamed(QStringLiteral("flash-data")), flash);

    QWidget* obd = router.showWindowNamed(QStringLiteral("obd-info"));
    ASSERT_TRUE(qobject_cast<VXLSettingForObdDriveInfoViewController*>(obd));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !alerts.isEmpty(); }, 5000));
    EXPECT_EQ(alerts, QStringList({"Alarm"}));
    EXPECT_EQ(router.showWindowNamed(QStringLiteral("obd-info")), obd);
    QCoreApplication::processEvents();
    EXPECT_EQ(alerts.size(), 1);
    setAlertHookForTesting({});
}

} // namespace
