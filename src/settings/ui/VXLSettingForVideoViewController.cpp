#include "VXLSettingForVideoViewController.h"

#include "ui_VXLSettingForVideoViewController.h"

#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <array>

namespace {

constexpr std::array<VXLSettingBinder::Outlet, 9> kOutlets = {{
    {"videoEncodingBitrate", "vid_enc_bitrate"},
    {"videoEncodingBitrateRear", "vid_enc_bitrate_R"},
    {"videoBrightness", "vid_brightness"},
    {"videoBrightnessRear", "vid_brightness_R"},
    {"flipVideoRealSeg", "flip_video"},
    {"rearfpsSeg", "rear_fps"},
    {"frontTinting", "front_cpl_use"},
    {"rearTinting", "rear_cpl_use"},
    {"wdr", "En_SuperNightVision"},
}};

} // namespace

VXLSettingForVideoViewController::VXLSettingForVideoViewController(QWidget* parent)
    : VXLSettingPage(parent), m_ui(std::make_unique<Ui::VXLSettingForVideoViewController>())
{
    m_ui->setupUi(this);
    setUpPage(SettingPage::Video, kOutlets);
}

VXLSettingForVideoViewController::~VXLSettingForVideoViewController() = default;

void VXLSettingForVideoViewController::displayFileData()
{
    // The full rear frame rate follows the mains frequency: 25 fps at 50 Hz, else 30 fps. The
    // stored value is the segment either way.
    const SettingFieldInfo* rearFps = findSettingFieldInfo("rear_fps");
    binder().bind(m_ui->rearfpsSeg, "rear_fps",
                  fileData()->Gamma != 0 ? rearFpsChoicesAt50Hz() : rearFps->choices,
                  rearFps->fallbackIndex);
    VXLSettingPage::displayFileData();
    m_forntVideoQuality = fileData()->vid_enc_bitrate;
    m_rearVideoQuality = fileData()->vid_enc_bitrate_R;
}

bool VXLSettingForVideoViewController::storeFileData()
{
    VXLSettingPage::storeFileData();
    if (fileData()->vid_enc_bitrate != m_forntVideoQuality ||
        fileData()->vid_enc_bitrate_R != m_rearVideoQuality) {
        showAlertSheet(window(), QStringLiteral("Warning"),
                       localizedString(QStringLiteral("msg.video_quality_warning")));
    }
    return true;
}
