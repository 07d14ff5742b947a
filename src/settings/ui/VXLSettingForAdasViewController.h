#pragma once

#include "VXLSettingPage.h"

#include <memory>

namespace Ui {
class VXLSettingForAdasViewController;
}

// Tab 5: the driver-assistance warnings. The minimum speeds are offered in the record's speed
// unit but always stored in km/h.
class VXLSettingForAdasViewController : public VXLSettingPage
{
    Q_OBJECT

public:
    // The record is given at creation as well as by setFileData; both are the window's one.
    explicit VXLSettingForAdasViewController(_FILEDATA* configData = nullptr,
                                             QWidget* parent = nullptr);
    ~VXLSettingForAdasViewController() override;

    // Offers the speed lists of a unit: 1 mi/h, anything else km/h.
    void changeSpeed(uint32_t unit);

protected:
    void displayFileData() override;

private:
    std::unique_ptr<Ui::VXLSettingForAdasViewController> m_ui;
    _FILEDATA* m_configData;
};
