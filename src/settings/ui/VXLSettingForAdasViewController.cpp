#include "VXLSettingForAdasViewController.h"

#include "ui_VXLSettingForAdasViewController.h"

#include <array>

namespace {

constexpr std::array<VXLSettingBinder::Outlet, 5> kOutlets = {{
    {"adasCarSeg", "ADAS_Car"},
    {"adasLdwsSensSeg", "ADAS_LDWS_Sens"},
    {"adasFcwsSensSeg", "ADAS_FCWS_Sens"},
    {"adasFcmdEnableSeg", "ADAS_FCMD_Enable"},
    {"adasFcmdSensSeg", "ADAS_FCMD_Sens"},
}};

constexpr uint32_t kMilesPerHour = 1;

} // namespace

VXLSettingForAdasViewController::VXLSettingForAdasViewController(_FILEDATA* configData,
                                                                 QWidget* parent)
    : VXLSettingPage(parent), m_ui(std::make_unique<Ui::VXLSettingForAdasViewController>()),
      m_configData(configData)
{
    m_ui->setupUi(this);
    setUpPage(SettingPage::Adas, kOutlets);
    changeSpeed(m_configData ? m_configData->speed_disp_unit : 0);
}

VXLSettingForAdasViewController::~VXLSettingForAdasViewController() = default;

void VXLSettingForAdasViewController::changeSpeed(uint32_t unit)
{
    const bool miles = unit == kMilesPerHour;
    const SettingFieldInfo* ldws = findSettingFieldInfo("ADAS_Ldws_Speed");
    const SettingFieldInfo* fcws = findSettingFieldInfo("ADAS_FCWS_Speed");
    binder().bind(m_ui->adasLdwsSpeedSeg, ldws->field,
                  miles ? adasLdwsSpeedMileChoices() : ldws->choices, kAdasSpeedFallbackIndex);
    binder().bind(m_ui->adasFcwsSpeedSeg, fcws->field,
                  miles ? adasFcwsSpeedMileChoices() : fcws->choices, kAdasSpeedFallbackIndex);
}

void VXLSettingForAdasViewController::displayFileData()
{
    m_configData = fileData();
    changeSpeed(fileData()->speed_disp_unit);
    VXLSettingPage::displayFileData();
}
