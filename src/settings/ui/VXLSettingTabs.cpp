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

constexpr std::array kTabs = {
    VXLSettingTab{"setting.video", "setting.video", createPage<VXLSettingForVideoViewController>},
    VXLSettingTab{"setting.basic", "setting.basic", createPage<VXLSettingForBasicViewController>},
    VXLSettingTab{"setting.gps", "setting.gps", createPage<VXLSettingForGpsViewController>},
    VXLSettingTab{"setting.aux", "setting.aux", createPage<VXLSettingForAuxViewController>},
    VXLSettingTab{"setting.park", "setting.motion", createPage<VXLSettingForMotionViewController>},
    VXLSettingTab{"setting.adas", "setting.adas", createAdasPage},
    VXLSettingTab{"setting.audio", "setting.audio", createPage<VXLSettingForAudioViewController>},
    // The drive-information viewer is still to come; it is made once and kept.
    VXLSettingTab{"setting.driveinfoview", "setting.information", nullptr, true},
    // For a camera that reads the vehicle bus: offered on request only.
    VXLSettingTab{"setting.obd", "setting.obd", createObdPage, false, true},
};
static_assert(kTabs[VXLSettingController::kObdTabIndex].optional);

} // namespace

std::span<const VXLSettingTab> VXLSettingController::defaultTabs()
{
    return kTabs;
}
