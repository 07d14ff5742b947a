#include "VXLSettingForObdViewController.h"

#include "SettingTexts.h"
#include "ui_VXLSettingForObdViewController.h"

#include "widgets/LocalizedString.h"

#include <array>
#include <cmath>

namespace {

constexpr std::array<VXLSettingBinder::Outlet, 5> kOutlets = {{
    {"drivingDaySeg", "nodriving_day"},
    {"speedDisplayUnitSeg", "speed_disp_unit"},
    {"osdSpeedDisplaySeg", "osd_speed_flag"},
    {"summerTimeChk", "summer_time"},
    {"useEcoDriveChk", "MemConfig"},
}};

// SaveDuration as this page packs it: the save-interval code in bits 0-3, OBD in parking mode
// in bits 4-7.
constexpr uint32_t kIntervalBits = 0x0F;
constexpr uint32_t kParkingBits = 0xF0;
constexpr uint32_t kParkingOn = 0x10;
// A code of 3 or more is one of the GPS page's intervals: the page keeps its bits 0 and 4.
constexpr uint32_t kFirstGpsOnlyCode = 3;
constexpr uint32_t kKeptOfGpsCode = 0x11;

constexpr double kEcoMaximum = 100.0;

qint64 truncated(double value)
{
    return qint64(std::trunc(value));
}

} // namespace

VXLSettingForObdViewController::VXLSettingForObdViewController(QWidget* parent)
    : VXLSettingPage(parent), m_ui(std::make_unique<Ui::VXLSettingForObdViewController>())
{
    m_ui->setupUi(this);
    setUpPage(SettingPage::Obd, kOutlets);
    // Only the voltages: a stored "not used", "automatic" or "external power" of the Basic
    // page shows no item here and is kept.
    binder().bind(m_ui->powerVoltageCombo, "sd_mem_always_reserved", obdPowerVoltageChoices(), -1);
    m_ui->saveDurationSeg->setLabels(settingChoiceTexts(obdSaveIntervalChoices()));
    m_ui->useObdParkingSeg->setLabels(settingChoiceTexts(obdParkingChoices()));
    m_ui->timeGmtCombo->clear();
    for (int i = 0; i < int(kTimeZoneTable.size()); ++i)
        m_ui->timeGmtCombo->addItem(timeZoneLabel(i));

    SMDoubleSlider* slider = m_ui->ecoSlider;
    slider->setTrackingLoKnob(true);
    slider->setMinValue(0.0);
    slider->setMaxValue(kEcoMaximum);
    slider->setAltIncrementValue(1.0);
    slider->bind(QLatin1String(SMDoubleSlider::kObjectLoValueBinding), this,
                 QStringLiteral("ecoLoValue"));
    slider->bind(QLatin1String(SMDoubleSlider::kObjectHiValueBinding), this,
                 QStringLiteral("ecoHiValue"));
    connect(this, &VXLSettingForObdViewController::ecoLoValueChanged, this,
            &VXLSettingForObdViewController::updateEco);
    connect(this, &VXLSettingForObdViewController::ecoHiValueChanged, this,
            &VXLSettingForObdViewController::updateEco);
    updateEco();

    connect(m_ui->useExternalPowerChk, &QCheckBox::clicked, this,
            &VXLSettingForObdViewController::clickUseExternalPowerChk);
    connect(m_ui->obdDriveInfoButton, &QPushButton::clicked, this,
            &VXLSettingForObdViewController::showObdDriveInfo);
    setDriveInfoAvailable(false);
}

VXLSettingForObdViewController::~VXLSettingForObdViewController() = default;

void VXLSettingForObdViewController::setEcoLoValue(double value)
{
    if (value == m_ecoLoValue)
        return;
    m_ecoLoValue = value;
    Q_EMIT ecoLoValueChanged(value);
}

void VXLSettingForObdViewController::setEcoHiValue(double value)
{
    if (value == m_ecoHiValue)
        return;
    m_ecoHiValue = value;
    Q_EMIT ecoHiValueChanged(value);
}

void VXLSettingForObdViewController::setDriveInfoAvailable(bool available)
{
    m_ui->obdDriveInfoButton->setVisible(available);
}

void VXLSettingForObdViewController::updateEco()
{
    const qint64 low = truncated(m_ecoLoValue);
    const qint64 high = truncated(m_ecoHiValue);
    SMDoubleSlider* slider = m_ui->ecoSlider;
    slider->setIntegerHiValue(high);
    slider->setIntegerLoValue(low);
    const double eco = double(100 - low) / 100.0;
    const double uneco = double(100 - high) / 100.0;
    m_ui->ecoDriveLabel->setText(QStringLiteral("Eco Drive : %1 %2")
                                     .arg(eco, 0, 'f', 2)
                                     .arg(localizedString(QStringLiteral("over"))));
    m_ui->normalDriveLabel->setText(
        QStringLiteral("Normal Drive : %1 ~ %2").arg(eco, 0, 'f', 2).arg(uneco, 0, 'f', 2));
    m_ui->unecoDriveLabel->setText(QStringLiteral("Uneco Drive : %1 %2")
                                       .arg(uneco, 0, 'f', 2)
                                       .arg(localizedString(QStringLiteral("under"))));
}

void VXLSettingForObdViewController::updatePowerUI()
{
    const bool externalPower = fileData() && fileData()->sd_mem_event_reserved == 1;
    m_ui->powerVoltageCombo->setEnabled(!externalPower);
    m_ui->useObdParkingSeg->setEnabled(!externalPower);
    m_ui->useExternalPowerChk->setChecked(externalPower);
}

void VXLSettingForObdViewController::clickUseExternalPowerChk()
{
    if (!fileData())
        return;
    // Written at once: the controls' state follows the record.
    fileData()->sd_mem_event_reserved = m_ui->useExternalPowerChk->isChecked() ? 1 : 0;
    updatePowerUI();
}

void VXLSettingForObdViewController::displayFileData()
{
    VXLSettingPage::displayFileData();
    _FILEDATA* record = fileData();
    const int zone = record->time_gmt;
    m_ui->timeGmtCombo->setCurrentIndex(zone >= 0 && zone < m_ui->timeGmtCombo->count() ? zone
                                                                                        : -1);

    if ((record->SaveDuration & kIntervalBits) >= kFirstGpsOnlyCode)
        record->SaveDuration &= kKeptOfGpsCode;
    const uint32_t code = record->SaveDuration;
    // The code the page stores for each segment selects it again; 0 shows as the first.
    m_ui->saveDurationSeg->setSelectedSegment(
        settingChoiceIndex(obdSaveIntervalChoices(), code & kIntervalBits, 0));
    m_ui->useObdParkingSeg->setSelectedSegment((code & kParkingBits) == kParkingOn ? 1 : 0);

    // Kept as they are, even beyond the slider: a save of an untouched page writes them back.
    setEcoLoValue(kEcoMaximum - double(record->drivingSecurity));
    setEcoHiValue(kEcoMaximum - double(record->parkingSecurity));
    updatePowerUI();
}

bool VXLSettingForObdViewController::storeFileData()
{
    VXLSettingPage::storeFileData();
    _FILEDATA* record = fileData();
    // No item (a zone the table lacks) keeps the stored zone.
    if (const int zone = m_ui->timeGmtCombo->currentIndex(); zone >= 0)
        record->time_gmt = zone;

    const auto intervals = obdSaveIntervalChoices();
    const int interval = m_ui->saveDurationSeg->selectedSegment();
    uint32_t code = record->SaveDuration & kParkingBits;
    code |= uint32_t(intervals[interval == 1 ? 1 : 0].value);
    if (m_ui->useObdParkingSeg->selectedSegment() == 1)
        code |= kParkingOn;
    else
        code &= kIntervalBits;
    record->SaveDuration = code;

    record->sd_mem_event_reserved = m_ui->useExternalPowerChk->isChecked() ? 1 : 0;
    record->drivingSecurity = uint32_t(qint64(kEcoMaximum) - truncated(m_ecoLoValue));
    record->parkingSecurity = uint32_t(qint64(kEcoMaximum) - truncated(m_ecoHiValue));
    return true;
}
