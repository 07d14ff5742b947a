#pragma once

#include <QString>
#include <QWidget>

#include <memory>

struct DriveDataDisplayValues;

namespace Ui {
class VXLDriveDataReadouts;
}

// The texts the readouts show for the drive data of a play position. An empty text leaves
// the field as it was.
struct DriveDataReadoutTexts
{
    QString gsensorX; // "X=+0.25", "Y=-1.50", "Z=0.00"
    QString gsensorY;
    QString gsensorZ;
    QString speed;      // "18 Km/h", "11 Mi/h", or "- Km/h" without any fix
    QString hdop;       // "%.1f", or "-.-" without any fix
    QString satellites; // "%d", or "-" without any fix
};

// `milesWithoutFix`: the card's settings use mi/h, the unit shown while there is no fix.
DriveDataReadoutTexts driveDataReadoutTexts(const DriveDataDisplayValues& values,
                                            bool milesWithoutFix = false);

// The panel beside the G-sensor graph: the G values, speed, HDOP and satellites at the play
// position.
class VXLDriveDataReadouts : public QWidget
{
    Q_OBJECT

public:
    explicit VXLDriveDataReadouts(QWidget* parent = nullptr);
    ~VXLDriveDataReadouts() override;

    void showValues(const DriveDataDisplayValues& values);
    // The speed unit of the card's settings, shown with a speed no fix gives ("- Mi/h").
    void setMileDisplay(bool miles) { m_mileDisplay = miles; }
    // "X=+0.00", "Y=+0.00", "Z=+0.00"; speed, HDOP and satellites empty.
    void reset();

private:
    std::unique_ptr<Ui::VXLDriveDataReadouts> m_ui;
    bool m_mileDisplay = false;
};
