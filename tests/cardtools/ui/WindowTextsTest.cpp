#include "cardtools/CardFormatSystem.h"
#include "cardtools/VolumeDiscovery.h"
#include "cardtools/ui/VXLFormatWindowController.h"
#include "cardtools/ui/VXLTimeSetupController.h"

#include "support/TempDir.h"

#include <QAbstractButton>
#include <QDir>
#include <QLabel>
#include <QSemaphore>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class OneVolume : public CardFormatSystem
{
public:
    // Once set, a listing waits for it: the window shows its progress meanwhile.
    QSemaphore* listingGate = nullptr;

    QList<GWUSBDiskEntity> volumes() const override
    {
        if (listingGate)
            listingGate->acquire();
        return {GWUSBDiskEntity("ZUVA", QUrl::fromLocalFile("/media/user/ZUVA"), "/dev/sdb1",
                                "Multi-Card Reader", 31914983424, true, false, "sdb1")};
    }
    QString formatTargetProblem(const GWUSBDiskEntity&) const override { return {}; }
    QVariantMap unmount(const GWUSBDiskEntity&) override { return {}; }
    QVariantMap format(const GWUSBDiskEntity&, int) override { return {}; }
    QVariantMap mount(const GWUSBDiskEntity&) override { return {}; }
};

class NoDevices : public BlockDeviceSource
{
public:
    QByteArray blockDeviceListing() const override { return R"({"blockdevices":[]})"; }
    QString probeVolumeLabel(const QString&) const override { return {}; }
};

// Every label and button shows its whole text at the window's own size. With
// VEXLO_SCREENSHOT_DIR set, the windows are also saved there as PNG images.
void expectTextsWhole(QWidget& window, const char* name)
{
    window.show();
    QTest::qWait(50); // layouts settle on the event loop; nothing else is awaited
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (label->isVisible() && !label->text().isEmpty() && !label->wordWrap()) {
            EXPECT_GE(label->width(), label->sizeHint().width())
                << name << ": " << label->objectName().toStdString() << " cut off";
        }
    }
    for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        if (button->isVisible() && !button->text().isEmpty()) {
            EXPECT_GE(button->width(), button->sizeHint().width())
                << name << ": " << button->objectName().toStdString() << " cut off";
        }
    }
    const QString folder = qEnvironmentVariable("VEXLO_SCREENSHOT_DIR");
    if (!folder.isEmpty()) {
        QDir().mkpath(folder);
        EXPECT_TRUE(window.grab().save(folder + "/" + name + ".png"));
    }
}

TEST(CardWindows, EveryTextShowsWhole)
{
    auto system = std::make_shared<OneVolume>();
    VXLFormatWindowController format(system);
    bool loaded = false;
    QObject::connect(&format, &VXLFormatWindowController::usbVolumesLoaded, [&] { loaded = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return loaded; }));
    expectTextsWhole(format, "format-window");

    QSemaphore gate;
    system->listingGate = &gate;
    format.loadUSBVolumes();
    expectTextsWhole(format, "format-window-searching");
    EXPECT_TRUE(format.isProgressShown());
    gate.release();

    const NoDevices noDevices;
    VXLTimeSetupController clock(noDevices);
    ASSERT_TRUE(QTest::qWaitFor([&] { return clock.isCardSearchDone(); }));
    expectTextsWhole(clock, "clock-window");
}

} // namespace
