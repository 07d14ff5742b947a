#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/VXLMainWindow.h"
#include "app/VXLWindowRouter.h"
#include "settings/ui/VXLSettingController.h"
#include "ui_VXLMainWindow.h"

#include <QAction>
#include <QPointer>
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
}

} // namespace
