#pragma once

#include "VXLSettingPage.h"

#include <memory>

namespace Ui {
class VXLSettingForGpsViewController;
}

// Tab 2: weekly alarm day, speed unit, time zone and summer time, speed in the video overlay,
// route saving interval and GPS in parking mode.
class VXLSettingForGpsViewController : public VXLSettingPage
{
    Q_OBJECT

public:
    explicit VXLSettingForGpsViewController(QWidget* parent = nullptr);
    ~VXLSettingForGpsViewController() override;

protected:
    void displayFileData() override;
    bool storeFileData() override;

private:
    std::unique_ptr<Ui::VXLSettingForGpsViewController> m_ui;
};
