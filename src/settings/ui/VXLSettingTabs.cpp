// The tabs of the settings window, in segment order. Adding a page is one line here: its
// segment label, its title and the function that makes it.
#include "VXLSettingController.h"
#include "VXLSettingForAdasViewController.h"
#include "VXLSettingForAudioViewController.h"
#include "VXLSettingForAuxViewController.h"
#include "VXLSettingForBasicViewController.h"
#include "VXLSettingForGpsViewController.h"
#include "VXLSettingForMotionViewController.h"
#include "VXLSettingForObdViewController.h"
#include "VXLSettingForVideoViewController.h"
#include "driverecords/ui/VXLSettingForFlashDataViewController.h"

#include <QFileInfo>

#include <array>

namespace {

template <typename Page> QWidget* createPage(VXLSettingController&)
{
    return new Page;
}

QWidget* createAdasPage(VXLSettingController& controller)
{
    return new VXLSettingForAdasViewController(controller.filedata());
}

// The OBD page opens the OBD drive-info viewer through the window, when it has a way to.
QWidget* createObdPage(VXLSettingController& controller)
{
    auto* page = new VXLSettingForObdViewController;
    page->setDriveInfoAvailable(controller.hasObdDriveInfoOpener());
    QObject::connect(page, &VXLSettingForObdViewController::showObdDriveInfo, &controller,
                     &VXLSettingController::onObdDriveInfo);
    return page;
}

// The drive-information page reads the card's log, when the card found has one, and shows
// its reading and export in the window's progress sheet.
QWidget* createDriveInfoController(VXLSettingController& controller)
{
    auto* page = new VXLSettingForFlashDataViewController;
    if (const std::optional<GWUSBDiskEntity>& card = controller.selectedUSBDisk()) {
        const QString path = VXLSettingForFlashDataViewController::cardFlashDataFilePath(
            card->mountedURL().toLocalFile());
        if (QFileInfo(path).isFile())
            page->setM_FlashDataFilePath(path);
    }
    QObject::connect(page, &VXLDriveRecordViewer::loadingStarted, &controller,
                     &VXLSettingController::showLoading);
    QObject::connect(page, &VXLDriveRecordViewer::loadingFinished, &controller,
                     &VXLSettingController::hideLoading);
    return page;
}

constexpr std::array kTabs = {
    VXLSettingTab{"setting.video", "setting.video", createPage<VXLSettingForVideoViewController>},
    VXLSettingTab{"setting.basic", "setting.basic", createPage<VXLSettingForBasicViewController>},
    VXLSettingTab{"setting.gps", "setting.gps", createPage<VXLSettingForGpsViewController>},
    VXLSettingTab{"setting.aux", "setting.aux", createPage<VXLSettingForAuxViewController>},
    VXLSettingTab{"setting.park", "setting.motion", createPage<VXLSettingForMotionViewController>},
    VXLSettingTab{"setting.adas", "setting.adas", createAdasPage},
    VXLSettingTab{"setting.audio", "setting.audio", createPage<VXLSettingForAudioViewController>},
    // The drive-information page is made once and kept.
    VXLSettingTab{"setting.driveinfoview", "setting.information", createDriveInfoController, true},
    // For a camera that reads the vehicle bus: offered on request only.
    VXLSettingTab{"setting.obd", "setting.obd", createObdPage, false, true},
};
static_assert(kTabs[VXLSettingController::kObdTabIndex].optional);

} // namespace

std::span<const VXLSettingTab> VXLSettingController::defaultTabs()
{
    return kTabs;
}
