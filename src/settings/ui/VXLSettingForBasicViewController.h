#pragma once

#include "VXLSettingPage.h"

#include <array>
#include <memory>

class QLineEdit;
namespace Ui {
class VXLSettingForBasicViewController;
}

// Tab 1: automatic parking delay, impact detection with its driving and parking thresholds
// (presets or typed), the LEDs, the car number and the battery protection.
class VXLSettingForBasicViewController : public VXLSettingPage
{
    Q_OBJECT

public:
    explicit VXLSettingForBasicViewController(QWidget* parent = nullptr);
    ~VXLSettingForBasicViewController() override;

    QString validateUserInput() override;

    // The preset whose thresholds (hundredths of g) these are, or the "customize" index.
    static int findDrivingGsensorThresholdIndex(int x, int y, int z);
    static int findParkingGsensorThresholdIndex(int x, int y, int z);
    // A threshold field's text in hundredths of g, rounded to the nearest: "0.29" is 29.
    static int thresholdFromText(const QString& text);

    void changeGsensorEnable();
    void updateGsensorThreshold();
    void updatePowerUI();

protected:
    void displayFileData() override;
    bool storeFileData() override;

private:
    void clickUseExternalPowerChk();
    void powerVoltageSelected(int index);
    void focus(QWidget* control);

    std::unique_ptr<Ui::VXLSettingForBasicViewController> m_ui;
    std::array<QLineEdit*, 3> m_drivingFields{};
    std::array<QLineEdit*, 3> m_parkingFields{};
};
