#include "VXLDriveDataReadouts.h"

#include "drivedata/DriveDataDisplay.h"
#include "ui_VXLDriveDataReadouts.h"
#include "widgets/LocalizedString.h"

#include <cstdio>

namespace {

// Formatted by the C library: its rounding of exact halves (1.25 gives "1.2") is what the
// readouts have always shown; Qt's own formatting rounds them up.
template <typename... Args> QString format(const char* pattern, Args... args)
{
    char text[128];
    std::snprintf(text, sizeof text, pattern, args...);
    return QString::fromLatin1(text);
}

QString signedReadout(const char* axis, float value)
{
    return format("%s=%s%.2f", axis, value > 0 ? "+" : "", double(value));
}

void setIfGiven(QLabel* field, const QString& text)
{
    if (!text.isEmpty()) {
        field->setText(text);
    }
}

} // namespace

DriveDataReadoutTexts driveDataReadoutTexts(const DriveDataDisplayValues& values,
                                            bool milesWithoutFix)
{
    DriveDataReadoutTexts texts;
    if (values.hasGSensor) {
        texts.gsensorX = signedReadout("X", values.gSensor.x);
        texts.gsensorY = signedReadout("Y", values.gSensor.y);
        texts.gsensorZ = signedReadout("Z", values.gSensor.z);
    }
    if (values.hasPosition) {
        texts.speed = format(values.speedInKilometres ? "%d Km/h" : "%d Mi/h", values.speed);
    }
    if (!values.hasFix) {
        texts.speed = milesWithoutFix ? QStringLiteral("- Mi/h") : QStringLiteral("- Km/h");
        texts.hdop = QStringLiteral("-.-");
        texts.satellites = QStringLiteral("-");
    } else {
        texts.hdop = format("%.1f", values.hdop);
        texts.satellites = format("%d", int(values.satellites));
    }
    return texts;
}

VXLDriveDataReadouts::VXLDriveDataReadouts(QWidget* parent)
    : QWidget(parent), m_ui(std::make_unique<Ui::VXLDriveDataReadouts>())
{
    m_ui->setupUi(this);
    localizeWidgetTree(this);
    // Its style sheet background (the panel's frame) needs this on a plain widget.
    setAttribute(Qt::WA_StyledBackground);
    reset();
}

VXLDriveDataReadouts::~VXLDriveDataReadouts() = default;

void VXLDriveDataReadouts::showValues(const DriveDataDisplayValues& values)
{
    const DriveDataReadoutTexts texts = driveDataReadoutTexts(values, m_mileDisplay);
    setIfGiven(m_ui->gsensorXField, texts.gsensorX);
    setIfGiven(m_ui->gsensorYField, texts.gsensorY);
    setIfGiven(m_ui->gsensorZField, texts.gsensorZ);
    setIfGiven(m_ui->speedField, texts.speed);
    setIfGiven(m_ui->hdopField, texts.hdop);
    setIfGiven(m_ui->sateliteField, texts.satellites);
}

void VXLDriveDataReadouts::reset()
{
    m_ui->gsensorXField->setText(QStringLiteral("X=+0.00"));
    m_ui->gsensorYField->setText(QStringLiteral("Y=+0.00"));
    m_ui->gsensorZField->setText(QStringLiteral("Z=+0.00"));
    m_ui->speedField->clear();
    m_ui->hdopField->clear();
    m_ui->sateliteField->clear();
}
