#include "VXLSettingForObdDriveInfoViewController.h"

#include "ui_VXLSettingForObdDriveInfoViewController.h"

#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

VXLSettingForObdDriveInfoViewController::VXLSettingForObdDriveInfoViewController(QWidget* parent)
    : VXLDriveRecordViewer(DriveRecordKind::ObdDriveInfo,
                           {"obd", "zuva_obd", "ZUVA", "setting.obd_information"}, parent),
      m_ui(std::make_unique<Ui::VXLSettingForObdDriveInfoViewController>())
{
    m_ui->setupUi(this);
    setUpViewer(m_ui->openButton, m_ui->exportButton, m_ui->tableView, m_ui->statusField,
                m_ui->progressBar);
}

VXLSettingForObdDriveInfoViewController::~VXLSettingForObdDriveInfoViewController() = default;

void VXLSettingForObdDriveInfoViewController::noFileAtFirstDisplay()
{
    showAlertSheet(window(), QStringLiteral("Alarm"),
                   localizedString(QStringLiteral("setting.flashdata.warning")));
}
