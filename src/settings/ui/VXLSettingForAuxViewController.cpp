#include "VXLSettingForAuxViewController.h"

#include "VXLValidator.h"
#include "ui_VXLSettingForAuxViewController.h"

#include "widgets/GWAlert.h"
#include "widgets/LocalizedString.h"

#include <QButtonGroup>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::array<VXLSettingBinder::Outlet, 10> kOutlets = {{
    {"dayTimeAESeg", "DayTime"},
    {"lcdAutoPowerOffSeg", "lcd_autopoweroff"},
    {"gammaSeg", "Gamma"},
    {"lcdBrightnessSeg", "lcd_brightness"},
    {"lcdNightBrightnessSeg", "lcd_brightness_night"},
    {"parkingRearOffSeg", "parking_rear_off"},
    {"lcdScreenSaverSeg", "lcd_screensaver"},
    {"parkingAlarmSeg", "parking_alarm"},
    {"recordingLengthSeg", "always_mode_recording_time"},
    {"autoFormatAlarmSeg", "autoFormatAlarm"},
}};

constexpr std::array<VXLSettingBinder::Outlet, 3> kWifiOutlets = {{
    {"ssidLabel", "wifi_ssid"},
    {"passwordLabel", "wifi_password"},
    {"wifiChannelCombo", "wifi_channel"},
}};

// The cell of each pip_position value, row 0 at the top: the camera counts from the bottom
// right corner.
struct PipCell
{
    int row;
    int column;
};
constexpr std::array<PipCell, 4> kPipCells = {{{1, 1}, {0, 1}, {0, 0}, {1, 0}}};

// The camera's name and password fields hold 16 bytes; what is typed is what it gets.
constexpr int kWifiTextBytes = 16;
constexpr qsizetype kSsidMinimum = 5;
constexpr qsizetype kPasswordMinimum = 8;

QString percentText(int percent)
{
    return QStringLiteral("%1%").arg(percent);
}

qsizetype characterCount(const QString& text)
{
    return text.toUcs4().size();
}

} // namespace

VXLSettingForAuxViewController::VXLSettingForAuxViewController(QWidget* parent)
    : VXLSettingPage(parent), m_ui(std::make_unique<Ui::VXLSettingForAuxViewController>())
{
    m_ui->setupUi(this);
    setUpPage(SettingPage::Aux, kOutlets);
    for (const VXLSettingBinder::Outlet& outlet : kWifiOutlets) {
        const SettingFieldInfo* info = findSettingFieldInfo(outlet.field);
        Q_ASSERT(info);
        m_wifiBinder.bind(findChild<QWidget*>(QLatin1StringView(outlet.outlet)), outlet.field,
                          info->choices, info->fallbackIndex);
    }
    m_ui->ssidLabel->setMaxLength(kWifiTextBytes);
    m_ui->passwordLabel->setMaxLength(kWifiTextBytes);

    m_pipCells = new QButtonGroup(this);
    for (int value = 0; value < int(kPipCells.size()); ++value) {
        const PipCell& cell = kPipCells[std::size_t(value)];
        m_pipCells->addButton(pipPositionCell(cell.row, cell.column), value);
    }

    SMDoubleSlider* slider = m_ui->sdRatioSlider;
    slider->setTrackingLoKnob(true);
    slider->setMinValue(0.0);
    slider->setMaxValue(100.0);
    slider->setAltIncrementValue(1.0);
    slider->bind(QLatin1String(SMDoubleSlider::kObjectLoValueBinding), this,
                 QStringLiteral("ratioLoValue"));
    slider->bind(QLatin1String(SMDoubleSlider::kObjectHiValueBinding), this,
                 QStringLiteral("ratioHiValue"));
    connect(this, &VXLSettingForAuxViewController::ratioLoValueChanged, this,
            &VXLSettingForAuxViewController::updateRatio);
    connect(this, &VXLSettingForAuxViewController::ratioHiValueChanged, this,
            &VXLSettingForAuxViewController::updateRatio);
    updateRatio();
}

VXLSettingForAuxViewController::~VXLSettingForAuxViewController() = default;

void VXLSettingForAuxViewController::setRatioLoValue(double value)
{
    if (value == m_ratioLoValue)
        return;
    m_ratioLoValue = value;
    Q_EMIT ratioLoValueChanged(value);
}

void VXLSettingForAuxViewController::setRatioHiValue(double value)
{
    if (value == m_ratioHiValue)
        return;
    m_ratioHiValue = value;
    Q_EMIT ratioHiValueChanged(value);
}

QRadioButton* VXLSettingForAuxViewController::pipPositionCell(int row, int column) const
{
    return findChild<QRadioButton*>(QStringLiteral("pipPositionCell%1%2").arg(row).arg(column));
}

int VXLSettingForAuxViewController::lowShare() const
{
    return int(std::trunc(m_ratioLoValue));
}

int VXLSettingForAuxViewController::highShare() const
{
    return int(std::trunc(m_ratioHiValue));
}

void VXLSettingForAuxViewController::updateRatio()
{
    const int low = lowShare();
    const int high = highShare();
    SMDoubleSlider* slider = m_ui->sdRatioSlider;
    // High first: each value makes room for the other only in this order.
    slider->setIntegerHiValue(high);
    slider->setIntegerLoValue(low);
    const int maximum = int(slider->maxValue());
    m_ui->alwaysField->setText(percentText(low));
    m_ui->motionField->setText(percentText(high - low));
    m_ui->eventField->setText(percentText(maximum - low - (high - low)));
}

void VXLSettingForAuxViewController::displayFileData()
{
    VXLSettingPage::displayFileData();
    m_wifiBinder.display(*fileData());
    const _FILEDATA& record = *fileData();
    // Shares beyond the slider's reach (a damaged record) are shown where the knobs can
    // stand, so the fields and the knobs agree; such a record fails the share checks anyway.
    const double maximum = m_ui->sdRatioSlider->maxValue();
    const double low = std::min<double>(record.sd_mem_always_ratio, maximum);
    const double high = std::clamp<double>(
        double(record.sd_mem_always_ratio) + double(record.sd_mem_motion_ratio), low, maximum);
    setRatioLoValue(low);
    setRatioHiValue(high);
    const uint32_t pip = record.pip_position;
    m_pipCells->button(pip < kPipCells.size() ? int(pip) : 0)->setChecked(true);
}

QString VXLSettingForAuxViewController::validateUserInput()
{
    const int low = lowShare();
    const int high = highShare();
    const int maximum = int(m_ui->sdRatioSlider->maxValue());
    for (const int share : {low, high - low, maximum - high}) {
        const QString message = VXLValidator::validateSDCardSizeRatio(share);
        if (!message.isEmpty())
            return message;
    }
    return {};
}

bool VXLSettingForAuxViewController::validString(const QString& text)
{
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x21 && c.unicode() <= 0x7E; });
}

QString VXLSettingForAuxViewController::wifiCheckFailure() const
{
    const QString ssid = m_ui->ssidLabel->text();
    const QString password = m_ui->passwordLabel->text();
    if (characterCount(ssid) < kSsidMinimum)
        return QString::fromLatin1(stringKey("setting.aux.ssid_length"));
    if (!validString(ssid))
        return QString::fromLatin1(stringKey("setting.aux.ssid_invalid"));
    if (characterCount(password) < kPasswordMinimum)
        return QString::fromLatin1(stringKey("setting.aux.password_length"));
    if (!validString(password))
        return QString::fromLatin1(stringKey("setting.aux.password_invalid"));
    return {};
}

bool VXLSettingForAuxViewController::storeFileData()
{
    VXLSettingPage::storeFileData();
    _FILEDATA* record = fileData();
    const int low = lowShare();
    const int high = highShare();
    const int maximum = int(m_ui->sdRatioSlider->maxValue());
    record->sd_mem_always_ratio = uint32_t(low);
    record->sd_mem_motion_ratio = uint32_t(high - low);
    record->sd_mem_event_ratio = uint32_t(maximum - low - (high - low));
    if (const int pip = m_pipCells->checkedId(); pip >= 0)
        record->pip_position = uint32_t(pip);

    const QString failure = wifiCheckFailure();
    if (!failure.isEmpty()) {
        showAlertSheet(window(), QStringLiteral("Warning"), localizedString(failure));
        return false;
    }
    m_wifiBinder.store(record);
    return true;
}
