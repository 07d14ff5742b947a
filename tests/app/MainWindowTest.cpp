#include "app/VXLAppDelegate.h"
#include "app/VXLApplication.h"
#include "app/VXLLoadingIndicator.h"
#include "app/VXLMainWindowLayout.h"
#include "app/VXLWindowRouter.h"
#include "app/playback/VXLPlayInfo.h"
#include "support/QtPrinters.h"
#include "support/TempDir.h"
#include "widgets/GWAlert.h"
#include "widgets/GWImageButton.h"
#include "widgets/GWSlider.h"

#include <QApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class MainWindowTest : public testing::Test
{
protected:
    MainWindowTest()
    {
        window()->resize(1020, 640 + window()->menuBar()->sizeHint().height());
        window()->show();
        QCoreApplication::processEvents();
    }

    CustomWindow* window() const { return delegate.window(); }

    template <typename T> T* child(const char* name) const
    {
        T* found = window()->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    VXLApplication application;
    VXLAppDelegate& delegate = application.delegate();
};

TEST_F(MainWindowTest, BoxesFollowTheLayoutOfTheContentSize)
{
    const QWidget* content = window()->centralWidget();
    for (bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "windowed");
        window()->setIsFullScreen(fullScreen);
        const VXLMainWindowLayout l = VXLMainWindowLayout::compute(content->size(), fullScreen);
        const std::pair<const char*, QRect> boxes[] = {
            {"backgroundBox", l.backgroundBox}, {"bodyBox", l.bodyBox},
            {"bodyLeftBox", l.bodyLeftBox},     {"videoBox", l.videoBox},
            {"sideButtonBox", l.sideButtonBox}, {"mediaListBox", l.mediaListBox},
            {"subVideoBox", l.subVideoBox},
        };
        for (const auto& [name, rect] : boxes) {
            EXPECT_EQ(child<QWidget>(name)->geometry(), rect) << name;
        }
        EXPECT_EQ(child<QWidget>("headBox")->isVisibleTo(window()), !fullScreen);
        EXPECT_EQ(child<QWidget>("bodyRightBox")->isVisibleTo(window()), !fullScreen);
        EXPECT_EQ(child<QWidget>("mediaControlBox")->isVisibleTo(window()), !fullScreen);
        EXPECT_EQ(child<QWidget>("mediaControlBoxForFullScreen")->isVisibleTo(window()),
                  fullScreen);
    }
    // Windowed again: the window content is the minimum size, with the 50-high head.
    window()->setIsFullScreen(false);
    EXPECT_EQ(content->size(), QSize(1020, 640));
    EXPECT_EQ(child<QWidget>("headBox")->geometry(), QRect(0, 0, 1020, 50));
    EXPECT_EQ(child<QWidget>("bodyRightBox")->geometry(), QRect(676, 0, 334, 582));
}

TEST_F(MainWindowTest, LaunchStoresEnglishAndCentresTheWindowOnItsScreen)
{
    TempDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
    QSettings(QStringLiteral("Vexlo"), QStringLiteral("Vexlo"))
        .setValue(QStringLiteral("language"), QStringList{"ko", "en"});
    delegate.applicationDidFinishLaunching();
    EXPECT_EQ(QSettings(QStringLiteral("Vexlo"), QStringLiteral("Vexlo"))
                  .value(QStringLiteral("language"))
                  .toStringList(),
              QStringList{"en"});
    const QRect expected = minWindowFrame(window()->screen()->availableGeometry()).toRect();
    EXPECT_EQ(window()->initialFrame(), expected);
    EXPECT_EQ(window()->pos(), expected.topLeft());
}

TEST_F(MainWindowTest, PlayStateChangesRedrawTheirControls)
{
    VXLPlayInfo* info = delegate.playInfo();
    auto* speed = child<QPushButton>("speedTextButton");
    auto* size = child<QPushButton>("sizeTextButton");
    auto* play = child<GWImageButton>("playButton");
    auto* slider = child<GWSlider>("videoPositionSlider");
    auto* fullScreenSlider = child<GWSlider>("videoPositionSliderForFullScreen");

    info->setSpeed(2);
    EXPECT_EQ(speed->text(), "2.0x");
    info->setSpeed(1);
    EXPECT_EQ(speed->text(), "1.0x");
    info->setScale(1.25);
    EXPECT_EQ(size->text(), "1.25x");
    info->setScale(0.5);
    EXPECT_EQ(size->text(), "0.50x");

    info->setIsPlaying(true);
    EXPECT_EQ(play->imageName(), "icon_pause_n");
    info->setIsPlaying(false);
    EXPECT_EQ(play->imageName(), "icon_play_n");
    EXPECT_EQ(speed->text(), "1.0x"); // nothing else moved

    for (double position : {0.25, 1.0, 1.5, 0.0}) {
        info->setPosition(position);
        EXPECT_DOUBLE_EQ(slider->fraction(), std::min(position, 1.0)) << position;
        EXPECT_DOUBLE_EQ(fullScreenSlider->fraction(), std::min(position, 1.0)) << position;
    }

    // Dragging a slider writes the play state once, and the other slider follows.
    QSignalSpy positions(info, &VXLPlayInfo::positionChanged);
    slider->setValue(GWSlider::kSteps * 4 / 10);
    EXPECT_EQ(positions.count(), 1);
    EXPECT_DOUBLE_EQ(info->position(), 0.4);
    EXPECT_DOUBLE_EQ(fullScreenSlider->fraction(), 0.4);
    fullScreenSlider->setValue(GWSlider::kSteps * 7 / 10);
    EXPECT_DOUBLE_EQ(info->position(), 0.7);
    EXPECT_DOUBLE_EQ(slider->fraction(), 0.7);
}

TEST_F(MainWindowTest, ReadoutsStartAtZeroAndEmpty)
{
    EXPECT_EQ(child<QLabel>("gsensorXField")->text(), "X=+0.00");
    EXPECT_EQ(child<QLabel>("gsensorYField")->text(), "Y=+0.00");
    EXPECT_EQ(child<QLabel>("gsensorZField")->text(), "Z=+0.00");
    EXPECT_EQ(child<QLabel>("speedField")->text(), "");
    EXPECT_EQ(child<QLabel>("sateliteField")->text(), "");
    // No drive data yet: a position change leaves the readouts alone.
    delegate.playInfo()->setPosition(0.5);
    EXPECT_EQ(child<QLabel>("gsensorXField")->text(), "X=+0.00");
}

TEST_F(MainWindowTest, LoadingIndicatorCentresOverTheHeadAndGoesAfterHide)
{
    auto* indicator = child<VXLLoadingIndicator>("progressIndicator");
    ASSERT_NE(indicator, nullptr);
    indicator->setTimeScale(0.05); // steps of 15 ms
    delegate.showLoading(QStringLiteral("Loading..."));
    EXPECT_TRUE(delegate.isLoadingVisible());
    EXPECT_EQ(indicator->geometry().center().x(),
              child<QWidget>("headBox")->geometry().center().x());
    delegate.hideLoading();
    // Hidden at the next step, not at once.
    EXPECT_TRUE(delegate.isLoadingVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!delegate.isLoadingVisible(), 5000);

    // A second opening starts over from zero; left alone, it gives up once full.
    delegate.showLoading({});
    QTRY_VERIFY_WITH_TIMEOUT(delegate.loadingProgress() > 0, 5000);
    delegate.showLoading({});
    EXPECT_EQ(delegate.loadingProgress(), 0);
    EXPECT_TRUE(delegate.isLoadingVisible());
    QTRY_VERIFY_WITH_TIMEOUT(!delegate.isLoadingVisible(), 10000);
}

TEST_F(MainWindowTest, FailedOpeningWarnsWithTheFileName)
{
    QString message;
    QString informative;
    setAlertHookForTesting([&](QMessageBox* box) {
        message = box->text();
        informative = box->informativeText();
        EXPECT_EQ(box->windowModality(), Qt::WindowModal);
        box->accept();
    });
    delegate.openingFailed(QStringLiteral("/card/DCIM/alwa_20230415_093012_F.MP4"));
    setAlertHookForTesting({});
    EXPECT_FALSE(message.isEmpty());
    EXPECT_EQ(informative, "alwa_20230415_093012_F.MP4");
}

TEST_F(MainWindowTest, FileMenuOpensTheObdDriveInfoViewer)
{
    QStringList alerts;
    setAlertHookForTesting([&](QMessageBox* box) {
        alerts << box->text();
        box->accept();
    });
    auto* action = child<QAction>("actionOpenObdDriveInfo");
    ASSERT_TRUE(action);
    EXPECT_EQ(action->text(), "Open OBD drive info...");
    action->trigger();
    QTRY_COMPARE_WITH_TIMEOUT(alerts, QStringList({"Alarm"}), 5000);
    setAlertHookForTesting({});
    QWidget* viewer = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == u"VXLSettingForObdDriveInfoViewController")
            viewer = widget;
    }
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->isVisible());
}

TEST_F(MainWindowTest, CardWindowsOpenOnceFromTheMenuAndTheSettingsWindow)
{
    const auto openWindows = [](const QString& name) {
        int count = 0;
        for (const QWidget* widget : QApplication::topLevelWidgets()) {
            count += widget->objectName() == name && widget->isVisible();
        }
        return count;
    };
    const QString format = QStringLiteral("VXLFormatWindowController");
    QWidget* settings = application.router().showWindowNamed("settings");
    ASSERT_NE(settings, nullptr);
    auto* formatButton = settings->findChild<QPushButton*>("sdcardFormatButton");
    ASSERT_NE(formatButton, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return formatButton->isEnabled(); }));
    formatButton->click();
    EXPECT_EQ(openWindows(format), 1) << "the settings window's format button";

    const std::pair<const char*, const char*> entries[] = {
        {"actionFormatCard", "VXLFormatWindowController"},
        {"actionSetClock", "VXLTimeSetupController"},
    };
    for (const auto& [actionName, windowName] : entries) {
        SCOPED_TRACE(windowName);
        QAction* action = window()->findChild<QAction*>(QString::fromLatin1(actionName));
        ASSERT_NE(action, nullptr);
        action->trigger();
        action->trigger(); // raised again, not opened twice
        EXPECT_EQ(openWindows(QString::fromLatin1(windowName)), 1);
    }
    const QWidget* byName = application.router().showWindowNamed("format");
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName->objectName(), format);
}

} // namespace
