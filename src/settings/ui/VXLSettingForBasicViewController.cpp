#include "VXLSettingForBasicViewController.h"

#include "SettingTexts.h"
#include "VXLValidator.h"
#include "ui_VXLSettingForBasicViewController.h"

#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <QTimer>

#include <cmath>

namespace {

constexpr std::array<VXLSettingBinder::Outlet, 8> kOutlets = {{
    {"alwaysModeTimeoutSeg", "always_mode_timeout"},
    {"gsensorEnableChk", "g_sensor_enable"},
    {"frontLEDSeg", "ledoff"},
    {"rearLEDSeg", "ledoff_rear"},
    {"carNumberField", "szPlateNumber"},
    {"powerVoltageCombo", "sd_mem_always_reserved"},
    {"powerTimeCombo", "sd_mem_motion_reserved"},
    {"cableVoltageLossSeg", "CableVoltCorr"},
}};

// The voltage item that means the camera runs on external power.
constexpr int kExternalPowerItem = 2;
// CableVoltCorr 0 is not a camera value: it is taken as its factory value, 0.3 V.
constexpr uint32_t kCableVoltCorrDefault = 4;

QString thresholdText(int hundredths)
{
    return QString::asprintf("%.2f", hundredths / 100.0);
}

void showThresholds(const std::array<QLineEdit*, 3>& fields, int x, int y, int z)
{
    fields[0]->setText(thresholdText(x));
    fields[1]->setText(thresholdText(y));
    fields[2]->setText(thresholdText(z));
}

bool isPreset(int index)
{
    return index >= 0 && index < kGsensorCustomIndex;
}

} // namespace

VXLSettingForBasicViewController::VXLSettingForBasicViewController(QWidget* parent)
    : VXLSettingPage(parent), m_ui(std::make_unique<Ui::VXLSettingForBasicViewController>())
{
    m_ui->setupUi(this);
    setUpPage(SettingPage::Basic, kOutlets);
    m_drivingFields = {m_ui->gsensorSensitivityThresholdXDrivingField,
                       m_ui->gsensorSensitivityThresholdYDrivingField,
                       m_ui->gsensorSensitivityThresholdZDrivingField};
    m_parkingFields = {m_ui->gsensorSensitivityThresholdXParkingField,
                       m_ui->gsensorSensitivityThresholdYParkingField,
                       m_ui->gsensorSensitivityThresholdZParkingField};
    // One integer digit and two fraction digits: "1.50" at most.
    for (QLineEdit* field : m_drivingFields)
        field->setMaxLength(4);
    for (QLineEdit* field : m_parkingFields)
        field->setMaxLength(4);
    const QStringList sensitivity = settingLabelTexts(gsensorSensitivityLabels());
    m_ui->gsensorSensitivityDrivingSeg->setLabels(sensitivity);
    m_ui->gsensorSensitivityParkingSeg->setLabels(sensitivity);

    connect(m_ui->gsensorEnableChk, &QCheckBox::clicked, this,
            &VXLSettingForBasicViewController::changeGsensorEnable);
    connect(m_ui->gsensorSensitivityDrivingSeg, &GWSegmentedControl::segmentClicked, this,
            &VXLSettingForBasicViewController::updateGsensorThreshold);
    connect(m_ui->gsensorSensitivityParkingSeg, &GWSegmentedControl::segmentClicked, this,
            &VXLSettingForBasicViewController::updateGsensorThreshold);
    connect(m_ui->useExternalPowerChk, &QCheckBox::clicked, this,
            &VXLSettingForBasicViewController::clickUseExternalPowerChk);
    connect(m_ui->powerVoltageCombo, &QComboBox::activated, this,
            &VXLSettingForBasicViewController::powerVoltageSelected);
}

VXLSettingForBasicViewController::~VXLSettingForBasicViewController() = default;

int VXLSettingForBasicViewController::findDrivingGsensorThresholdIndex(int x, int y, int z)
{
    const auto presets = gsensorPresets();
    for (int i = 0; i < int(presets.size()); ++i) {
        const GsensorPreset& preset = presets[std::size_t(i)];
        if (x == preset.drivingX && y == preset.drivingYZ && z == preset.drivingYZ)
            return i;
    }
    return kGsensorCustomIndex;
}

int VXLSettingForBasicViewController::findParkingGsensorThresholdIndex(int x, int y, int z)
{
    const auto presets = gsensorPresets();
    for (int i = 0; i < int(presets.size()); ++i) {
        const int value = presets[std::size_t(i)].parking;
        if (x == value && y == value && z == value)
            return i;
    }
    return kGsensorCustomIndex;
}

int VXLSettingForBasicViewController::thresholdFromText(const QString& text)
{
    // Rounded, not truncated: 0.29 is 28.999... in binary and must still be 29.
    const double value = VXLValidator::leadingNumber(text).value_or(0.0) * 100.0;
    if (!std::isfinite(value) || std::abs(value) > 1e9)
        return 0;
    return int(std::lround(value));
}

void VXLSettingForBasicViewController::displayFileData()
{
    _FILEDATA* record = fileData();
    if (record->CableVoltCorr == 0)
        record->CableVoltCorr = kCableVoltCorrDefault;
    VXLSettingPage::displayFileData();
    changeGsensorEnable();
    m_ui->gsensorSensitivityDrivingSeg->setSelectedSegment(findDrivingGsensorThresholdIndex(
        record->gsen_x_threshold, record->gsen_y_threshold, record->gsen_z_threshold));
    showThresholds(m_parkingFields, record->parkmode_x_threshold, record->parkmode_y_threshold,
                   record->parkmode_z_threshold);
    m_ui->gsensorSensitivityParkingSeg->setSelectedSegment(findParkingGsensorThresholdIndex(
        record->parkmode_x_threshold, record->parkmode_y_threshold, record->parkmode_z_threshold));
    showThresholds(m_drivingFields, record->gsen_x_threshold, record->gsen_y_threshold,
                   record->gsen_z_threshold);
    updateGsensorThreshold();
    updatePowerUI();
}

QString VXLSettingForBasicViewController::validateUserInput()
{
    const std::pair<GWSegmentedControl*, const std::array<QLineEdit*, 3>*> groups[] = {
        {m_ui->gsensorSensitivityDrivingSeg, &m_drivingFields},
        {m_ui->gsensorSensitivityParkingSeg, &m_parkingFields},
    };
    for (const auto& [segments, fields] : groups) {
        if (segments->selectedSegment() != kGsensorCustomIndex)
            continue;
        for (QLineEdit* field : *fields) {
            const QString message = VXLValidator::validateGsensorThreshold(field->text());
            if (!message.isEmpty()) {
                focus(field);
                return message;
            }
        }
    }
    return {};
}

bool VXLSettingForBasicViewController::storeFileData()
{
    // The end of editing filters the car number; a click on a tab may not end it first.
    m_ui->carNumberField->filterText();
    VXLSettingPage::storeFileData();
    _FILEDATA* record = fileData();
    record->gsen_x_threshold = thresholdFromText(m_drivingFields[0]->text());
    record->gsen_y_threshold = thresholdFromText(m_drivingFields[1]->text());
    record->gsen_z_threshold = thresholdFromText(m_drivingFields[2]->text());
    record->parkmode_x_threshold = thresholdFromText(m_parkingFields[0]->text());
    record->parkmode_y_threshold = thresholdFromText(m_parkingFields[1]->text());
    record->parkmode_z_threshold = thresholdFromText(m_parkingFields[2]->text());
    record->sd_mem_event_reserved = m_ui->useExternalPowerChk->isChecked() ? 1 : 0;
    return true;
}

void VXLSettingForBasicViewController::changeGsensorEnable()
{
    const bool enabled = m_ui->gsensorEnableChk->isChecked();
    m_ui->gsensorSensitivityDrivingSeg->setEnabled(enabled);
    m_ui->gsensorSensitivityParkingSeg->setEnabled(enabled);
    updateGsensorThreshold();
}

void VXLSettingForBasicViewController::updateGsensorThreshold()
{
    const auto presets = gsensorPresets();
    const bool detection = m_ui->gsensorEnableChk->isChecked();

    const int driving = m_ui->gsensorSensitivityDrivingSeg->selectedSegment();
    if (isPreset(driving)) {
        const GsensorPreset& preset = presets[std::size_t(driving)];
        showThresholds(m_drivingFields, preset.drivingX, preset.drivingYZ, preset.drivingYZ);
    }
    // Typed thresholds are open only while detection is on and the group is customized.
    for (QLineEdit* field : m_drivingFields)
        field->setEnabled(detection && driving == kGsensorCustomIndex);

    const int parking = m_ui->gsensorSensitivityParkingSeg->selectedSegment();
    if (isPreset(parking)) {
        const int value = presets[std::size_t(parking)].parking;
        showThresholds(m_parkingFields, value, value, value);
    }
    for (QLineEdit* field : m_parkingFields)
        field->setEnabled(detection && parking == kGsensorCustomIndex);
}

void VXLSettingForBasicViewController::updatePowerUI()
{
    const bool externalPower = fileData() && fileData()->sd_mem_event_reserved == 1;
    m_ui->powerVoltageCombo->setEnabled(!externalPower);
    m_ui->powerTimeCombo->setEnabled(!externalPower);
    m_ui->useExternalPowerChk->setChecked(externalPower);
}

void VXLSettingForBasicViewController::clickUseExternalPowerChk()
{
    if (!fileData())
        return;
    // Written at once: the combos' state follows the record.
    fileData()->sd_mem_event_reserved = m_ui->useExternalPowerChk->isChecked() ? 1 : 0;
    updatePowerUI();
}

void VXLSettingForBasicViewController::powerVoltageSelected(int index)
{
    if (index == kExternalPowerItem) {
        showAlertSheet(window(), QStringLiteral("Warning"),
                       localizedString(QStringLiteral("msg.use_external_power_10v")));
    }
}

void VXLSettingForBasicViewController::focus(QWidget* control)
{
    QTimer::singleShot(0, control, [control] { control->setFocus(Qt::OtherFocusReason); });
}
