#pragma once

#include "VXLSettingPage.h"

#include <memory>

namespace Ui {
class VXLSettingForVideoViewController;
}

// Tab 0: recording quality and brightness of both cameras, the rear image's reversal and frame
// rate, tint filters and night vision. Warns when a recording quality was changed.
class VXLSettingForVideoViewController : public VXLSettingPage
{
    Q_OBJECT

public:
    explicit VXLSettingForVideoViewController(QWidget* parent = nullptr);
    ~VXLSettingForVideoViewController() override;

protected:
    void displayFileData() override;
    bool storeFileData() override;

private:
    std::unique_ptr<Ui::VXLSettingForVideoViewController> m_ui;
    // The qualities as the record was last shown.
    uint32_t m_forntVideoQuality = 0;
    uint32_t m_rearVideoQuality = 0;
};
