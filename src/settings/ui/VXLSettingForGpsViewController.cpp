#include "VXLSettingForGpsViewController.h"

#include "ui_VXLSettingForGpsViewController.h"

#include <array>

namespace {

constexpr std::array<VXLSettingBinder::Outlet, 6> kOutlets = {{
    {"drivingDaySeg", "nodriving_day"},
    {"speedDisplayUnitSeg", "speed_disp_unit"},
    {"summerTimeChk", "summer_time"},
    {"osdSpeedDisplaySeg", "osd_speed_flag"},
    {"saveDurationSeg", "SaveDuration"},
    {"nightTimeSeg", "NightTime"},
}};

} // namespace

VXLSettingForGpsViewController::VXLSettingForGpsViewController(QWidget* parent)
    : VXLSettingPage(parent), m_ui(std::make_unique<Ui::VXLSettingForGpsViewController>())
{
    m_ui->setupUi(this);
    setUpPage(SettingPage::Gps, kOutlets);
    m_ui->timeGmtCombo->clear();
    for (int i = 0; i < int(kTimeZoneTable.size()); ++i)
        m_ui->timeGmtCombo->addItem(timeZoneLabel(i));
}

VXLSettingForGpsViewController::~VXLSettingForGpsViewController() = default;

void VXLSettingForGpsViewController::displayFileData()
{
    VXLSettingPage::displayFileData();
    // A zone the table lacks (-1, or a damaged value) shows no item.
    const int zone = fileData()->time_gmt;
    m_ui->timeGmtCombo->setCurrentIndex(zone >= 0 && zone < m_ui->timeGmtCombo->count() ? zone
                                                                                        : -1);
}

bool VXLSettingForGpsViewController::storeFileData()
{
    VXLSettingPage::storeFileData();
    fileData()->time_gmt = m_ui->timeGmtCombo->currentIndex();
    return true;
}
