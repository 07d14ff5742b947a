#pragma once

#include "VXLSettingPage.h"

#include <memory>

namespace Ui {
class VXLSettingForObdViewController;
}

// The page for a camera that reads the vehicle bus (OBD): no-driving day, speed unit and
// on-screen speed, time zone and summer time, the driving-route saving, OBD in parking mode,
// the battery cut-off with the external-power switch, and the eco-drive range. Several of its
// fields are the ones the Basic and GPS pages edit.
class VXLSettingForObdViewController : public VXLSettingPage
{
    Q_OBJECT
    // The two knobs of the eco-drive slider, bound to it both ways; the record holds 100
    // minus each (the slider's scale runs opposite to the stored bounds).
    Q_PROPERTY(double ecoLoValue READ ecoLoValue WRITE setEcoLoValue NOTIFY ecoLoValueChanged)
    Q_PROPERTY(double ecoHiValue READ ecoHiValue WRITE setEcoHiValue NOTIFY ecoHiValueChanged)

public:
    explicit VXLSettingForObdViewController(QWidget* parent = nullptr);
    ~VXLSettingForObdViewController() override;

    double ecoLoValue() const { return m_ecoLoValue; }
    void setEcoLoValue(double value);
    double ecoHiValue() const { return m_ecoHiValue; }
    void setEcoHiValue(double value);

    // The OBD drive-info viewer can be opened from the page only when someone listens to
    // showObdDriveInfo.
    void setDriveInfoAvailable(bool available);

    // Brings the slider and the three band texts in line with the two knob values.
    void updateEco();
    // With external power the cut-off voltage and OBD in parking mode do not apply.
    void updatePowerUI();

Q_SIGNALS:
    void ecoLoValueChanged(double value);
    void ecoHiValueChanged(double value);
    // The user asked for the OBD drive-info viewer.
    void showObdDriveInfo();

protected:
    void displayFileData() override;
    bool storeFileData() override;

private:
    void clickUseExternalPowerChk();

    std::unique_ptr<Ui::VXLSettingForObdViewController> m_ui;
    double m_ecoLoValue = 0.0;
    double m_ecoHiValue = 0.0;
};
