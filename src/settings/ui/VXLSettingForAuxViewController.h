#pragma once

#include "VXLSettingPage.h"

#include <memory>

class QButtonGroup;
class QRadioButton;
namespace Ui {
class VXLSettingForAuxViewController;
}

// Tab 3: the share of the card for each recording mode, the camera's screen, mains frequency,
// parking options, recording length, the corner of the inset picture, the format reminder and
// the camera's Wi-Fi access point.
class VXLSettingForAuxViewController : public VXLSettingPage
{
    Q_OBJECT
    // The two knobs of the share slider, bound to it both ways: the always share and the
    // always + motion share, in percent.
    Q_PROPERTY(
        double ratioLoValue READ ratioLoValue WRITE setRatioLoValue NOTIFY ratioLoValueChanged)
    Q_PROPERTY(
        double ratioHiValue READ ratioHiValue WRITE setRatioHiValue NOTIFY ratioHiValueChanged)

public:
    explicit VXLSettingForAuxViewController(QWidget* parent = nullptr);
    ~VXLSettingForAuxViewController() override;

    double ratioLoValue() const { return m_ratioLoValue; }
    void setRatioLoValue(double value);
    double ratioHiValue() const { return m_ratioHiValue; }
    void setRatioHiValue(double value);

    // The first share below the camera's minimum, as its message; empty when all three pass.
    QString validateUserInput() override;
    // Only printable ASCII without the blank ("!" to "~"); the empty text passes.
    static bool validString(const QString& text);
    // The cell of the inset picture's corner (row 0 is the top).
    QRadioButton* pipPositionCell(int row, int column) const;

    // Brings the slider and the three share fields in line with the two knob values.
    void updateRatio();

Q_SIGNALS:
    void ratioLoValueChanged(double value);
    void ratioHiValueChanged(double value);

protected:
    void displayFileData() override;
    // Stores everything but the Wi-Fi fields, then checks the Wi-Fi texts: a failing check
    // warns and stops here (false), else the Wi-Fi fields are stored too.
    bool storeFileData() override;

private:
    // The string-table key of the first failing Wi-Fi check, or empty.
    QString wifiCheckFailure() const;
    int lowShare() const;
    int highShare() const;

    std::unique_ptr<Ui::VXLSettingForAuxViewController> m_ui;
    // Name, password and channel: stored only once their checks have passed.
    VXLSettingBinder m_wifiBinder;
    // The four corners, each with its pip_position value as id.
    QButtonGroup* m_pipCells = nullptr;
    double m_ratioLoValue = 0.0;
    double m_ratioHiValue = 0.0;
};
