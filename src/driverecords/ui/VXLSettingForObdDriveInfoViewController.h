#pragma once

#include "VXLDriveRecordViewer.h"

#include <memory>

namespace Ui {
class VXLSettingForObdDriveInfoViewController;
}

// The OBD drive-info viewer: the records of an ".obd" file the user opens, in a twenty-six
// column table, with the CSV export and the map of a double-clicked record. Shown the first
// time without a file, it asks for one ("Alarm").
class VXLSettingForObdDriveInfoViewController : public VXLDriveRecordViewer
{
    Q_OBJECT

public:
    explicit VXLSettingForObdDriveInfoViewController(QWidget* parent = nullptr);
    ~VXLSettingForObdDriveInfoViewController() override;

private:
    void noFileAtFirstDisplay() override;

    std::unique_ptr<Ui::VXLSettingForObdDriveInfoViewController> m_ui;
};
