#pragma once

#include "VXLDriveRecordViewer.h"

#include <memory>

namespace Ui {
class VXLSettingForFlashDataViewController;
}

// The drive-information page: the records of the camera's drive-record log (".drv", by
// default the card's DrvInfo/zuva_000.drv) in a fifteen-column table, with the open button,
// the CSV export and the map of a double-clicked record.
class VXLSettingForFlashDataViewController : public VXLDriveRecordViewer
{
    Q_OBJECT

public:
    explicit VXLSettingForFlashDataViewController(QWidget* parent = nullptr);
    ~VXLSettingForFlashDataViewController() override;

    // The log on a card mounted at `mountPath`: DrvInfo/zuva_000.drv.
    static QString cardFlashDataFilePath(const QString& mountPath);

private:
    std::unique_ptr<Ui::VXLSettingForFlashDataViewController> m_ui;
};
