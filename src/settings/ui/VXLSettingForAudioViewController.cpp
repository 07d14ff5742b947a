#include "VXLSettingForAudioViewController.h"

#include "ui_VXLSettingForAudioViewController.h"

#include <array>

namespace {

constexpr std::array<VXLSettingBinder::Outlet, 4> kOutlets = {{
    {"micSeg", "aud_input_vol"},
    {"speakerSeg", "aud_output_vol"},
    {"useEveryHourNoticeChk", "alarm_ontime_flag"},
    {"voiceLangRadio", "Brightness1"},
}};

} // namespace

VXLSettingForAudioViewController::VXLSettingForAudioViewController(QWidget* parent)
    : VXLSettingPage(parent), m_ui(std::make_unique<Ui::VXLSettingForAudioViewController>())
{
    m_ui->setupUi(this);
    setUpPage(SettingPage::Audio, kOutlets);
}

VXLSettingForAudioViewController::~VXLSettingForAudioViewController() = default;
