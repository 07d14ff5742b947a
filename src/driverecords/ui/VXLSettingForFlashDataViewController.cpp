#include "VXLSettingForFlashDataViewController.h"

#include "ui_VXLSettingForFlashDataViewController.h"

#include <QDir>

VXLSettingForFlashDataViewController::VXLSettingForFlashDataViewController(QWidget* parent)
    : VXLDriveRecordViewer(DriveRecordKind::FlashData,
                           {"drv", "zuva_000", "VEXLO", "setting.information"}, parent),
      m_ui(std::make_unique<Ui::VXLSettingForFlashDataViewController>())
{
    m_ui->setupUi(this);
    setUpViewer(m_ui->openButton, m_ui->exportButton, m_ui->tableView, m_ui->statusField,
                m_ui->progressBar);
}

VXLSettingForFlashDataViewController::~VXLSettingForFlashDataViewController() = default;

QString VXLSettingForFlashDataViewController::cardFlashDataFilePath(const QString& mountPath)
{
    return QDir(mountPath).filePath(QStringLiteral("DrvInfo/zuva_000.drv"));
}
