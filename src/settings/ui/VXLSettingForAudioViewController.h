#pragma once

#include "VXLSettingPage.h"

#include <memory>

namespace Ui {
class VXLSettingForAudioViewController;
}

// Tab 6: microphone and speaker volume, the hourly time signal and the voice-guidance language.
// Every control is a plain one, bound through the value table.
class VXLSettingForAudioViewController : public VXLSettingPage
{
    Q_OBJECT

public:
    explicit VXLSettingForAudioViewController(QWidget* parent = nullptr);
    ~VXLSettingForAudioViewController() override;

private:
    std::unique_ptr<Ui::VXLSettingForAudioViewController> m_ui;
};
